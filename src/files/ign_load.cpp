#include "files/ign_load.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <istream>
#include <streambuf>

#include "lang/file_texts.h"
#include "lang/editing_texts.h"

namespace zevo {

namespace {

// The file's bytes as a stream, without a second copy.
class BytesBuffer final : public std::streambuf {
public:
    explicit BytesBuffer(QByteArray& bytes) { setg(bytes.data(), bytes.data(), bytes.data() + bytes.size()); }
};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

IgnLoad LoadIgnFile(const QString& path, DeviceImage& image, std::uint8_t language) {
    IgnLoad load;
    if (QFileInfo(path).isDir()) {
        load.Reason = QStringLiteral("%1 is a folder, not a file").arg(QDir::toNativeSeparators(path));
        return load;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        load.Reason = file.errorString();
        return load;
    }
    // One byte past the limit is enough for the reader to tell a file too large to be one; a file of
    // a few kilobytes asks for no more than it holds.
    const qint64 limit = static_cast<qint64>(IgnFileLimit) + 1;
    QByteArray bytes = file.read(file.isSequential() ? limit : std::min(file.size() + 1, limit));
    if (file.error() != QFileDevice::NoError) {
        load.Reason = file.errorString();
        return load;
    }
    BytesBuffer buffer(bytes);
    std::istream in(&buffer);
    load.Result = ReadIgnFile(in, image, &load.Damage);
    switch (load.Result) {
    case IgnReadResult::Ok:
    case IgnReadResult::UnmatchedVersion:
        break;
    case IgnReadResult::ReadError:
        load.Reason = QStringLiteral("the file cannot be read");
        break;
    case IgnReadResult::Damaged:
        if (load.Damage.Utf16) {
            load.Reason = Text(std::string(FileText(FileTextId::IgnUtf16, language)));
        } else {
            const std::string byte = QString::asprintf("0x%02X", load.Damage.Byte).toStdString();
            // Counted from 1, as the line is: the first byte of the file is byte 1.
            load.Reason = Text(FillPlaceholders(FileText(FileTextId::IgnDamaged, language),
                                                {std::to_string(load.Damage.Offset + 1),
                                                 std::to_string(load.Damage.Line), byte}));
        }
        break;
    case IgnReadResult::TooLarge:
        load.Reason = Text(FillPlaceholders(FileText(FileTextId::IgnTooLarge, language),
                                            {std::to_string(IgnFileLimit / (1024 * 1024))}));
        break;
    }
    return load;
}

} // namespace zevo
