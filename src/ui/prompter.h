#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/port_description.h"
#include "link/port_map.h"

class QFileDialog;
class QWidget;

namespace zevo {

enum class PromptAnswer { Yes, No, Cancel, Ok };

// What a file dialog is set up with. Filters are "Description(*.ext)" entries; the first is selected.
struct FileDialogSettings {
    QString DefaultExtension; // without the dot, e.g. "ign"
    QString InitialFileName;  // preset file name (a full path opens the dialog in its folder)
    QStringList Filters;
    bool PromptOverwrite = false; // save dialogs: ask before replacing an existing file
    bool HideReadOnly = false;
};

enum class FileDialogKind { Open, Save };

// Sets a file dialog up from the settings without showing it, so the set-up can be checked headless.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogSettings& settings, FileDialogKind kind);

// Every modal box and file dialog of the tool goes through this interface, so that tests answer them
// without a modal loop. Dialogs hand back plain values: an empty path means the user cancelled.
class Prompter {
public:
    virtual ~Prompter() = default;
    // A confirmation box with the question icon and the buttons Yes, No and Cancel.
    virtual PromptAnswer ConfirmYesNoCancel(QWidget* parent, const QString& text) = 0;
    // A question with the buttons Yes and No; closing the box any other way answers No.
    virtual PromptAnswer ConfirmYesNo(QWidget* parent, const QString& text) = 0;
    // A message box with an OK button; details (the system's reason, say) go on a line under the text.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& details = QString()) = 0;
    virtual QString OpenFileName(QWidget* parent, const FileDialogSettings& settings) = 0;
    virtual QString SaveFileName(QWidget* parent, const FileDialogSettings& settings) = 0;
    // A number typed into a small box (the value of an operation on map cells); nothing when the
    // user cancels. The box starts with `value` and takes up to `decimals` decimals in the locale's
    // writing.
    virtual std::optional<double> AskNumber(QWidget* parent, const QString& label, double value,
                                            int decimals) = 0;
    // The port assignments window over the ports present and the pins now kept; the pins the user
    // leaves it with, or nothing when cancelled.
    virtual std::optional<PortPins> AssignPorts(QWidget* parent, const std::vector<PortDescription>& ports,
                                                const PortPins& pins, std::uint8_t language) = 0;
};

// The real thing: QMessageBox and QFileDialog, the only place in the tool that uses them.
class QtPrompter final : public Prompter {
public:
    PromptAnswer ConfirmYesNoCancel(QWidget* parent, const QString& text) override;
    PromptAnswer ConfirmYesNo(QWidget* parent, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& text, const QString& details = QString()) override;
    QString OpenFileName(QWidget* parent, const FileDialogSettings& settings) override;
    QString SaveFileName(QWidget* parent, const FileDialogSettings& settings) override;
    std::optional<double> AskNumber(QWidget* parent, const QString& label, double value,
                                    int decimals) override;
    std::optional<PortPins> AssignPorts(QWidget* parent, const std::vector<PortDescription>& ports,
                                        const PortPins& pins, std::uint8_t language) override;
};

} // namespace zevo
