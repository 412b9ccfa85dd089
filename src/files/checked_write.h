#pragma once
#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace zevo {

// Whether a file write landed: every byte reached the file system and the file stands under its
// name. When it did not, the file that stood there before is untouched and Reason says why in the
// system's words.
struct WriteResult {
    bool Landed = false;
    QString Reason;
    explicit operator bool() const { return Landed; }
};

// Every file the tool and zevo-cli write goes through here (a ride log, streamed row by row, is the
// one exception). The bytes go into a temporary file beside the target, which is flushed and checked
// before it is renamed over the old file: Qt's save file buffers, so a full disk shows only when the
// buffer goes out, and its commit would rename the short file over a good one and call it done. The
// folder must be there: a path chosen in a dialog names one, and the config folder is made at start.
// In text mode line ends become the platform's.
WriteResult WriteFileChecked(const QString& path, const QByteArray& bytes, bool textMode = false);

// The same for a writer that streams into a device (a PDF, a PNG): `fill` writes and says whether it
// managed. Nothing of a fill that failed ever replaces the old file.
WriteResult WriteFileChecked(const QString& path, const std::function<bool(QIODevice&)>& fill, bool textMode = false);

} // namespace zevo
