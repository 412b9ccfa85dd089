#include "files/checked_write.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace zevo {

WriteResult WriteFileChecked(const QString& path, const QByteArray& bytes, bool textMode) {
    return WriteFileChecked(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); }, textMode);
}

WriteResult WriteFileChecked(const QString& path, const std::function<bool(QIODevice&)>& fill, bool textMode) {
    const QFileInfo info(path);
    if (info.isDir())
        return {false, QStringLiteral("%1 is a folder, not a file").arg(QDir::toNativeSeparators(path))};
    QSaveFile file(path);
    QIODevice::OpenMode mode = QIODevice::WriteOnly;
    if (textMode)
        mode |= QIODevice::Text;
    if (!file.open(mode))
        return {false, file.errorString()};
    const bool filled = fill(file);
    // The buffer goes out here, and with it the write(2) that meets a full disk or a file system gone
    // read-only. Only a file whose every byte went out may replace the old one.
    const bool flushed = filled && file.flush();
    if (!flushed || file.error() != QFileDevice::NoError) {
        QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QString();
        if (reason.isEmpty())
            reason = QStringLiteral("the data could not be written");
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

} // namespace zevo
