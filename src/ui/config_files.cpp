#include "ui/config_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace zevo {

QString ConfigDirectory() {
    const QString overridden = qEnvironmentVariable("ZEVO_CONFIG_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

std::optional<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(maxBytes);
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, bool textMode, QString* error) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("cannot create folder %1").arg(info.absolutePath());
        return false;
    }
    QSaveFile file(path);
    QIODevice::OpenMode mode = QIODevice::WriteOnly;
    if (textMode)
        mode |= QIODevice::Text;
    if (!file.open(mode)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace zevo
