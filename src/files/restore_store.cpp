#include "files/restore_store.h"

#include <QDateTime>
#include <algorithm>
#include <QDir>
#include <QFile>
#include <sstream>

#include "files/checked_write.h"
#include "files/ign_format.h"

namespace zevo {

namespace {

const QString InfoSuffix = QStringLiteral(".txt");
const QString IgnSuffix = QStringLiteral(".ign");

bool Save(const QString& path, const QByteArray& bytes, QString* error) {
    const WriteResult written = WriteFileChecked(path, bytes);
    if (!written)
        *error = path + QStringLiteral(": ") + written.Reason;
    return written.Landed;
}

QStringList InfoStems(const QDir& dir) {
    QStringList stems;
    for (const QString& name : dir.entryList({QStringLiteral("*") + InfoSuffix}, QDir::Files, QDir::Name))
        stems << name.chopped(InfoSuffix.size());
    return stems;
}

} // namespace

QString RestoreFolder(const QString& configDir) {
    return QDir(configDir).filePath(QStringLiteral("backups"));
}

std::optional<RestoreInfo> RestoreStore::Load(const QString& stem) const {
    QFile file(QDir(Folder).filePath(stem + InfoSuffix));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(static_cast<qint64>(RestoreInfoReadLimit) + 1);
    return ReadRestoreInfo(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::vector<RestoreStore::Entry> RestoreStore::List() const {
    std::vector<Entry> entries;
    const QStringList stems = InfoStems(QDir(Folder));
    entries.reserve(static_cast<std::size_t>(stems.size()));
    for (const QString& stem : stems)
        entries.push_back({stem, Load(stem)});
    // Newest first, by the time each copy was taken to the millisecond (several are taken within
    // one second: a Read, then the Program after it); an unreadable copy by the time in its name.
    auto taken = [](const Entry& e) {
        return e.Info ? RestoreSortKey(e.Info->Time) : RestoreSortKey(e.Stem.toStdString());
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        const std::string ka = taken(a), kb = taken(b);
        return ka != kb ? ka > kb : a.Stem > b.Stem;
    });
    return entries;
}

RestoreStore::Outcome RestoreStore::Take(RestoreInfo info) {
    Outcome outcome;
    if (!NewestKnown) {
        const std::vector<Entry> entries = List();
        for (const Entry& entry : entries) {
            if (entry.Info) {
                Newest = entry.Info->Image;
                break;
            }
        }
        Kept = entries.size();
        NewestKnown = true;
    }
    if (Newest && *Newest == info.Image) {
        outcome.SameAsNewest = true;
        return outcome;
    }
    if (!QDir().mkpath(Folder)) {
        outcome.Error = Folder + QStringLiteral(": ") + QObject::tr("cannot create the folder");
        return outcome;
    }
    if (info.Time.empty())
        info.Time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString();
    const QString base = QString::fromStdString(RestoreStem(info.Time, info.Event));
    QString stem = base;
    const QDir dir(Folder);
    for (int n = 2; QFile::exists(dir.filePath(stem + InfoSuffix)) || QFile::exists(dir.filePath(stem + IgnSuffix)); ++n)
        stem = base + QStringLiteral("-%1").arg(n);

    std::ostringstream ign(std::ios::binary);
    WriteIgnFile(ign, info.Image);
    const QString ignPath = dir.filePath(stem + IgnSuffix);
    if (!Save(ignPath, QByteArray::fromStdString(ign.str()), &outcome.Error))
        return outcome;
    if (!Save(dir.filePath(stem + InfoSuffix), QByteArray::fromStdString(WriteRestoreInfo(info)), &outcome.Error)) {
        // Half a restore point is none: the .ign goes again, so the list never shows a copy that
        // cannot be taken back.
        QFile::remove(ignPath);
        return outcome;
    }
    outcome.Taken = true;
    outcome.Stem = stem;
    Newest = info.Image;
    // The folder is looked through only when it may hold more than it keeps.
    if (++Kept > RestorePointsKept)
        Prune();
    return outcome;
}

void RestoreStore::Prune() {
    const QDir dir(Folder);
    std::vector<std::string> stems;
    for (const QString& name : dir.entryList({QStringLiteral("*") + InfoSuffix, QStringLiteral("*") + IgnSuffix},
                                             QDir::Files))
        stems.push_back(QFileInfo(name).completeBaseName().toStdString());
    // A stray .ign without its text file (a copy cut short) counts as a stem of its own and goes
    // first, being older than the copy that follows it.
    const std::vector<std::string> removed = StemsToRemove(stems);
    for (const std::string& stem : removed) {
        const QString s = QString::fromStdString(stem);
        QFile::remove(dir.filePath(s + IgnSuffix));
        QFile::remove(dir.filePath(s + InfoSuffix));
    }
    std::sort(stems.begin(), stems.end());
    stems.erase(std::unique(stems.begin(), stems.end()), stems.end());
    Kept = stems.size() - removed.size();
}

} // namespace zevo
