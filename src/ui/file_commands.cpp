// File > Open and File > Save of parameter files, and their "exe dir" variants.
#include <sstream>

#include "files/checked_write.h"
#include "files/ign_format.h"
#include "files/ign_load.h"
#include "ui/cgauge.h"
#include "ui/form_hlav.h"
#include "ui/prompter.h"
#include "ui/restore_commands.h"

namespace zevo {

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
    // Written beside the old file and renamed over it only once every byte is on disk: a full disk
    // or a folder without write permission leaves the previous file whole, and the save is not
    // shown as done.
    const WriteResult written = WriteFileChecked(path, QByteArray::fromStdString(text.str()));
    if (!written) {
        Prompts->ShowMessage(this, Msg(MsgId::MsgOpenFileError), written.Reason);
        return;
    }
    LabelFile2->SetCaption(path);
    IniDir = path;
    OpenDialogFileName = path;
    SaveDialogFileName = path;
    Session.FileHoldsScreen();
    Session.MarkSafe();
    ShowSetState();
}

void TFormHlav::MenuOpenClick() {
    if (!MayLeaveSet())
        return;
    OpenChosenFile();
}

void TFormHlav::OpenChosenFile() {
    const QString path = Prompts ? Prompts->OpenFileName(this, OpenDialogSettings()) : QString();
    QString message;
    QString reason;
    if (!path.isEmpty()) {
        const IgnLoad load = LoadIgnFile(path, Image, LanguageIndex);
        IgnVersionMatched = load.Result == IgnReadResult::Ok ? 1 : 0;
        if (load.Result == IgnReadResult::Ok) {
            AfterChange();
            LabelFile2->SetCaption(path);
            IniDir = path;
            OpenDialogFileName = path;
            SaveDialogFileName = path;
            Session.FileHoldsScreen();
            Session.MarkSafe();
            RestorePoints->Take(RestoreEvent::Opened);
            ShowSetState();
        } else if (load.Result == IgnReadResult::UnmatchedVersion) {
            message = Msg(MsgId::MsgUnmatchedFileVersion);
        } else {
            // Not opened, damaged, too large: the set on screen stays as it was.
            message = Msg(MsgId::MsgOpenFileError);
            reason = load.Reason;
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
    // The question whether to save the set first comes before the names change: its Save dialog
    // must not be preset to the very file about to be opened.
    if (!MayLeaveSet())
        return;
    OpenDialogFileName = DataFilePath;
    SaveDialogFileName = DataFilePath;
    OpenChosenFile();
}

} // namespace zevo
