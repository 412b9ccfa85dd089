#include "ui/config_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

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

WholeFile ReadWholeFile(const QString& path, qint64 maxBytes) {
    WholeFile whole;
    if (!QFileInfo::exists(path))
        return whole;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        whole.Is = WholeFile::State::Unreadable;
        whole.Reason = file.errorString();
        return whole;
    }
    // One byte past the limit tells a file of exactly the limit from a larger one.
    QByteArray bytes = file.read(file.isSequential() ? maxBytes + 1 : std::min(file.size(), maxBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        whole.Is = WholeFile::State::Unreadable;
        whole.Reason = file.errorString();
    } else if (bytes.size() > maxBytes) {
        whole.Is = WholeFile::State::TooLarge;
    } else {
        whole.Is = WholeFile::State::Read;
        whole.Bytes = std::move(bytes);
    }
    return whole;
}

} // namespace zevo
