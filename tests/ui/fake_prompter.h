#pragma once
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

#include "ui/prompter.h"

namespace zevo {

// Answers the tool's questions from a script and records what was asked, so no test ever waits on a
// modal window. An unscripted question is answered Cancel and recorded, which makes it visible.
class FakePrompter final : public Prompter {
public:
    std::deque<PromptAnswer> Answers;
    std::deque<QString> Paths;
    QStringList Asked;             // the texts of every confirmation box
    QStringList Messages;          // text + "\n" + details of every message box
    FileDialogSettings LastDialog; // how the last file dialog was set up
    QStringList Dialogs;           // "open " or "save " and the preset name of every file dialog

    PromptAnswer ConfirmYesNoCancel(QWidget*, const QString& text) override {
        Asked << text;
        if (Answers.empty())
            return PromptAnswer::Cancel;
        const PromptAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    // Takes the next scripted answer; unscripted, or scripted Cancel, is No.
    PromptAnswer ConfirmYesNo(QWidget*, const QString& text) override {
        Asked << text;
        if (Answers.empty())
            return PromptAnswer::No;
        const PromptAnswer answer = Answers.front();
        Answers.pop_front();
        return answer == PromptAnswer::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    void ShowMessage(QWidget*, const QString& text, const QString& details) override {
        Messages << (details.isEmpty() ? text : text + QLatin1Char('\n') + details);
    }
    QString OpenFileName(QWidget*, const FileDialogSettings& settings) override {
        LastDialog = settings;
        Dialogs << QStringLiteral("open ") + settings.InitialFileName;
        return NextPath();
    }
    QString SaveFileName(QWidget*, const FileDialogSettings& settings) override {
        LastDialog = settings;
        Dialogs << QStringLiteral("save ") + settings.InitialFileName;
        return NextPath();
    }

    std::deque<std::optional<double>> Numbers; // answers of AskNumber; unscripted is a cancel
    QStringList NumberLabels;
    std::optional<double> AskNumber(QWidget*, const QString& label, double, int) override {
        NumberLabels << label;
        if (Numbers.empty())
            return std::nullopt;
        const std::optional<double> answer = Numbers.front();
        Numbers.pop_front();
        return answer;
    }

    std::deque<std::optional<PortPins>> PortAnswers; // unscripted is a cancel
    std::vector<PortDescription> PortsShown;         // what the last port window listed
    PortPins PinsShown;                              // and the pins it started from
    std::optional<PortPins> AssignPorts(QWidget*, const std::vector<PortDescription>& ports, const PortPins& pins,
                                        std::uint8_t) override {
        PortsShown = ports;
        PinsShown = pins;
        if (PortAnswers.empty())
            return std::nullopt;
        std::optional<PortPins> answer = PortAnswers.front();
        PortAnswers.pop_front();
        return answer;
    }

private:
    QString NextPath() {
        if (Paths.empty())
            return QString();
        QString path = Paths.front();
        Paths.pop_front();
        return path;
    }
};

} // namespace zevo
