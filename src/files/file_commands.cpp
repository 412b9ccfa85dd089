// File > Open and File > Save of parameter files, and their "exe dir" variants.
#include <QFile>
#include <sstream>

#include "files/ign_format.h"
#include "ui/cgauge.h"
#include "ui/config_files.h"
#include "ui/form_hlav.h"
#include "ui/prompter.h"

namespace zevo {

namespace {

// A parameter file is about 3 kB; anything far larger is not one, and is not read whole.
constexpr qint64 IgnReadLimit = 16 * 1024 * 1024;

} // namespace

FileDialogSettings TFormHlav::OpenDialogSettings() const {
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("ign");
    settings.InitialFileName = OpenDialogFileName;
    settings.Filters = {QStringLiteral("Ignition Parametrs(*.ign)"), QStringLiteral("All Files (*.*)")};
    return settings;
}

FileDialogSettings TFormHlav::SaveDialogSettings() const {
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("ign");
    settings.InitialFileName = SaveDialogFileName;
    settings.Filters = {QStringLiteral("Ignition Parametrs(*.ign)")};
    settings.PromptOverwrite = true;
    settings.HideReadOnly = true;
    return settings;
}

void TFormHlav::MenuSaveClick() {
    const QString path = Prompts ? Prompts->SaveFileName(this, SaveDialogSettings()) : QString();
    if (path.isEmpty())
        return;
    // The file holds exactly what the editor shows after repair.
    EditorToBlock();
    ValidateBlock(Image, Ports);
    BlockToEditor();
    std::ostringstream text(std::ios::binary);
    WriteIgnFile(text, Image);
    QString reason;
    // Written beside the old file and renamed over it: a full disk or a folder without write
    // permission leaves the previous file whole, and the save is not shown as done.
    if (!WriteFileAtomically(path, QByteArray::fromStdString(text.str()), /*textMode=*/false, &reason)) {
        Prompts->ShowMessage(this, Msg(MsgId::MsgOpenFileError), reason);
        return;
    }
    LabelFile2->SetCaption(path);
    IniDir = path;
    OpenDialogFileName = path;
    SaveDialogFileName = path;
    FileSet = Image;
    SafeSet = Image;
    ShowSetState();
}

void TFormHlav::MenuOpenClick() {
    if (!MayLeaveSet())
        return;
    const QString path = Prompts ? Prompts->OpenFileName(this, OpenDialogSettings()) : QString();
    QString message;
    QString reason;
    if (!path.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            message = Msg(MsgId::MsgOpenFileError);
            reason = file.errorString();
        } else {
            const QByteArray bytes = file.read(IgnReadLimit);
            std::istringstream in(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
            const IgnReadResult result = ReadIgnFile(in, Image);
            IgnVersionMatched = result == IgnReadResult::Ok ? 1 : 0;
            if (result == IgnReadResult::Ok) {
                AfterChange();
                LabelFile2->SetCaption(path);
                IniDir = path;
                OpenDialogFileName = path;
                SaveDialogFileName = path;
                FileSet = Image;
                SafeSet = Image;
                TakeRestorePoint(RestoreEvent::Opened);
                ShowSetState();
            } else if (result == IgnReadResult::UnmatchedVersion) {
                message = Msg(MsgId::MsgUnmatchedFileVersion);
            } else {
                message = Msg(MsgId::MsgOpenFileError);
            }
        }
    }
    LabelHlaseni->hide();
    CGaugeProgram->hide();
    // Last: the box is modal and the timer keeps ticking under it.
    if (!message.isEmpty())
        Prompts->ShowMessage(this, message, reason);
}

void TFormHlav::MenuSaveExeDirClick() {
    OpenDialogFileName = DataFilePath;
    SaveDialogFileName = DataFilePath;
    MenuSaveClick();
}

void TFormHlav::MenuOpenExeDirClick() {
    OpenDialogFileName = DataFilePath;
    SaveDialogFileName = DataFilePath;
    MenuOpenClick();
}

} // namespace zevo
