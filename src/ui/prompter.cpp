#include "ui/prompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "ui/port_assignments.h"

namespace zevo {

namespace {

QString BoxTitle(QWidget* parent) {
    const QString name = QApplication::applicationDisplayName();
    if (!name.isEmpty() || !parent)
        return name;
    return parent->window()->windowTitle();
}

// "*.*" means every file on Windows, but elsewhere it only matches names with a dot, which would
// hide an extensionless file under "All Files". Written as "*" it means every file everywhere.
QString PortableFilter(QString filter) {
    static const QRegularExpression anyFile(QStringLiteral(R"((?<=[( ;])\*\.\*(?=[) ;]))"));
    return filter.replace(anyFile, QStringLiteral("*"));
}

} // namespace

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogSettings& settings, FileDialogKind kind) {
    const bool save = kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.PromptOverwrite);
    // HideReadOnly has nothing to act on: Qt's dialogs have no "open as read-only" box to hide.

    QStringList filters;
    for (const QString& filter : settings.Filters)
        filters << PortableFilter(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }

    QString suffix = settings.DefaultExtension;
    while (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);

    // The preset name is often the full path of the last parameter file: the dialog opens in that
    // folder with the name selected. A lone blank stands for "no name".
    const QString initial = QDir::fromNativeSeparators(settings.InitialFileName.trimmed());
    if (initial.isEmpty())
        return;
    const QFileInfo info(initial);
    if (initial.contains(QLatin1Char('/'))) {
        const QString folder = info.absolutePath();
        if (QFileInfo(folder).isDir())
            dialog.setDirectory(folder);
    }
    if (!info.fileName().isEmpty())
        dialog.selectFile(info.fileName());
}

PromptAnswer QtPrompter::ConfirmYesNoCancel(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, BoxTitle(parent), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    // Closing the box by its title bar or with Escape counts as Cancel.
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        return PromptAnswer::Cancel;
    }
}

PromptAnswer QtPrompter::ConfirmYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, BoxTitle(parent), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
}

void QtPrompter::ShowMessage(QWidget* parent, const QString& text, const QString& details) {
    const QString body = details.isEmpty() ? text : text + QLatin1Char('\n') + details;
    QMessageBox box(QMessageBox::Information, BoxTitle(parent), body, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString QtPrompter::OpenFileName(QWidget* parent, const FileDialogSettings& settings) {
    QFileDialog dialog(parent);
    ConfigureFileDialog(dialog, settings, FileDialogKind::Open);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompter::SaveFileName(QWidget* parent, const FileDialogSettings& settings) {
    QFileDialog dialog(parent);
    ConfigureFileDialog(dialog, settings, FileDialogKind::Save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace zevo

namespace zevo {

std::optional<double> QtPrompter::AskNumber(QWidget* parent, const QString& label, double value,
                                            int decimals) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(BoxTitle(parent));
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::DoubleInput);
    // Wide enough for any map value and any sensible step; the operation holds the result to range.
    dialog.setDoubleRange(-100000, 100000);
    dialog.setDoubleDecimals(decimals);
    dialog.setDoubleValue(value);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.doubleValue();
}

std::optional<PortPins> QtPrompter::AssignPorts(QWidget* parent, const std::vector<PortDescription>& ports,
                                                const PortPins& pins, std::uint8_t language) {
    TFormPorts dialog(ports, pins, language, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Pins();
}

} // namespace zevo
