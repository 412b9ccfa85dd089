#pragma once
#include <QString>

#include <optional>
#include <vector>

#include "files/restore_points.h"

namespace zevo {

// The `backups` folder of restore points, as the window and zevo-cli keep it (Qt Core only). Every
// file goes through a save file, the `.ign` first and the text file last: a copy counts only once its
// text file is whole, so a crash between the two leaves no torn restore point, only a stray `.ign`
// that the next prune removes.
class RestoreStore {
public:
    explicit RestoreStore(QString folder) : Folder(std::move(folder)) {}

    struct Outcome {
        bool Taken = false;
        bool SameAsNewest = false; // nothing written: the newest copy holds the same bytes
        QString Stem;
        QString Error; // why it could not be written, naming the file
    };
    // Takes a copy; `info.Time` empty means now.
    Outcome Take(RestoreInfo info);

    struct Entry {
        QString Stem;
        std::optional<RestoreInfo> Info; // none: the text file is unreadable
    };
    // Newest first. A file that cannot be read is listed, never skipped, never a crash.
    std::vector<Entry> List() const;
    std::optional<RestoreInfo> Load(const QString& stem) const;

    const QString& Path() const { return Folder; }

private:
    void Prune();

    QString Folder;
    // The newest copy's bytes, once known, so a take need not read the folder.
    std::optional<DeviceImage> Newest;
    bool NewestKnown = false;
    std::size_t Kept = 0; // copies in the folder as far as this store knows
};

// The folder the tool keeps its restore points in: `backups` in the config folder.
QString RestoreFolder(const QString& configDir);

} // namespace zevo
