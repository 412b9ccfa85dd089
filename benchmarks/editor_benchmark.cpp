// The editor's refresh: filling a servo page from the block (165 fields), and switching tabs, which
// moves the shared servo page and fills it again. Runs headless.
#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

#include "ui/form_hlav.h"
#include "ui/prompter.h"

namespace {

// Answers nothing and opens no port: the benchmark measures the editor alone.
class SilentPrompter final : public zevo::Prompter {
public:
    zevo::PromptAnswer ConfirmYesNoCancel(QWidget*, const QString&) override { return zevo::PromptAnswer::Cancel; }
    zevo::PromptAnswer ConfirmYesNo(QWidget*, const QString&) override { return zevo::PromptAnswer::No; }
    void ShowMessage(QWidget*, const QString&, const QString&) override {}
    QString OpenFileName(QWidget*, const zevo::FileDialogSettings&) override { return {}; }
    QString SaveFileName(QWidget*, const zevo::FileDialogSettings&) override { return {}; }
};

struct Window {
    QTemporaryDir Dir;
    SilentPrompter Prompts;
    std::unique_ptr<zevo::TFormHlav> Form;
    Window() {
        zevo::StartOptions options;
        options.ConfigDir = Dir.path();
        options.Prompts = &Prompts;
        Form = std::make_unique<zevo::TFormHlav>(options);
        Form->show();
        QApplication::processEvents();
    }
};

void BlockToEditorServoPage(benchmark::State& state) {
    Window window;
    window.Form->PageControl1->setCurrentIndex(1);
    int value = 0;
    for (auto _ : state) {
        // A different block each time, so every field really changes.
        window.Form->Image.MapCell(0, 0) = static_cast<std::uint8_t>(++value);
        for (int k = 0; k < zevo::MapCells; ++k)
            window.Form->Image.MapCell(0, k) = static_cast<std::uint8_t>((k + value) % 250);
        window.Form->BlockToEditor();
    }
}
BENCHMARK(BlockToEditorServoPage)->Unit(benchmark::kMicrosecond);

void SwitchServoTabs(benchmark::State& state) {
    Window window;
    int tab = 1;
    for (auto _ : state) {
        tab = tab == 1 ? 2 : 1;
        window.Form->PageControl1->setCurrentIndex(tab);
        QApplication::processEvents(); // includes the repaint of the newly shown page
    }
}
BENCHMARK(SwitchServoTabs)->Unit(benchmark::kMicrosecond);

void BuildWindow(benchmark::State& state) {
    for (auto _ : state) {
        Window window;
        benchmark::DoNotOptimize(window.Form.get());
    }
}
BENCHMARK(BuildWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
