#include "ui/log_loading.h"

#include <QFile>
#include <vector>

namespace zevo {

LoadedLog LoadLogFile(const QString& path, const std::function<bool(std::int64_t, std::int64_t)>& progress) {
    LoadedLog loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.Reason = file.errorString();
        return loaded;
    }
    const std::int64_t size = file.size();
    LogReader reader;
    std::vector<char> piece(static_cast<std::size_t>(LogPieceBytes));
    std::int64_t done = 0;
    for (;;) {
        const qint64 got = file.read(piece.data(), LogPieceBytes);
        if (got < 0) {
            loaded.Reason = file.errorString();
            return loaded;
        }
        if (got == 0)
            break;
        reader.Feed(std::string_view(piece.data(), static_cast<std::size_t>(got)));
        done += got;
        if (progress && !progress(done, size)) {
            loaded.Outcome = LogLoad::Cancelled;
            return loaded;
        }
    }
    loaded.Data = reader.Finish();
    loaded.Outcome = LogLoad::Loaded;
    return loaded;
}

} // namespace zevo
