// The editor's refresh: filling a servo page from the block (165 fields), and switching tabs, which
// moves the shared servo page and fills it again; operations on many cells, the clipboard, and the
// window's tick with a selection shown. Runs headless, on the simulated unit in-process.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/app_settings.h"
#include "app/image_file.h"
#include "files/checked_write.h"
#include "files/ign_format.h"
#include "files/restore_store.h"
#include "model_line.h"
#include "log/log_format.h"
#include "ui/form_hlav.h"
#include "ui/log_loading.h"
#include "ui/map_selection_control.h"
#include "ui/prompter.h"

namespace {

// Answers nothing and opens no port: the benchmark measures the editor alone.
class SilentPrompter final : public zevo::Prompter {
public:
    zevo::PromptAnswer ConfirmYesNoCancel(QWidget*, const QString&) override {
        return zevo::PromptAnswer::Cancel;
    }
    zevo::PromptAnswer ConfirmYesNo(QWidget*, const QString&) override { return zevo::PromptAnswer::No; }
    void ShowMessage(QWidget*, const QString&, const QString&) override {}
    QString OpenFileName(QWidget*, const zevo::FileDialogSettings&) override { return {}; }
    QString SaveFileName(QWidget*, const zevo::FileDialogSettings&) override { return {}; }
    // Add asks for its amount: +20 mV and -20 mV in turn, so every run really changes the map.
    std::optional<double> AskNumber(QWidget*, const QString&, double, int) override {
        Sign = -Sign;
        return 20.0 * Sign;
    }
    int Sign = 1;
    std::optional<zevo::PortPins> AssignPorts(QWidget*, const std::vector<zevo::PortDescription>&,
                                              const zevo::PortPins&, std::uint8_t) override {
        return std::nullopt;
    }
};

struct Window {
    QTemporaryDir Dir;
    SilentPrompter Prompts;
    zevo::ModelLine Model;
    std::unique_ptr<zevo::TFormHlav> Form;
    // `allRows`: servo 1's map with all ten throttle rows (TP Enable), as the last session left it.
    explicit Window(bool allRows = false) {
        QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
        if (settings.open(QIODevice::WriteOnly))
            settings.write("[FORM_HLAV]\nComPort=1\n"); // the simulated unit, in-process
        settings.close();
        if (allRows) {
            zevo::DeviceImage set;
            zevo::SetDefaults(set);
            set.TpEnable(0) = 1;
            std::ofstream image(QDir(Dir.path()).filePath(QString::fromStdString(zevo::ParameterImageFileName())).toStdString());
            zevo::WriteImageFile(image, set, {});
        }
        zevo::StartOptions options;
        options.ConfigDir = Dir.path();
        options.Prompts = &Prompts;
        options.Line = &Model;
        Form = std::make_unique<zevo::TFormHlav>(options);
        Form->show();
        QApplication::processEvents();
    }
};

void BlockToEditorServoPage(benchmark::State& state) {
    Window window(true);
    window.Form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    // Two sets that differ in every cell, one undo step apart: Undo and Redo in turn show a
    // different block each time, so every field really changes. (The history's own part, a copy of
    // the set, is a few hundred bytes.)
    auto* selection = window.Form->findChild<zevo::MapSelectionControl*>(QStringLiteral("MapSelection"));
    selection->SetSelection(zevo::MapSelection::WholeMap(true));
    window.Form->RunMapOperation(zevo::MapOperation::Add);
    selection->Clear();
    bool undo = true;
    for (auto _ : state) {
        if (undo)
            window.Form->SpeedButtonZpetClick();
        else
            window.Form->SpeedButtonZnovuClick();
        undo = !undo;
    }
}
BENCHMARK(BlockToEditorServoPage)->Unit(benchmark::kMicrosecond);

void SwitchServoTabs(benchmark::State& state) {
    Window window;
    int tab = 1;
    for (auto _ : state) {
        tab = tab == 1 ? 2 : 1;
        window.Form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(tab);
        QApplication::processEvents(); // includes the repaint of the newly shown page
    }
}
BENCHMARK(SwitchServoTabs)->Unit(benchmark::kMicrosecond);

// The servo page with the whole map of servo 1 selected (all ten rows shown).
// The window is made with all rows.
void SelectWholeMap(Window& window) {
    window.Form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    window.Form->BlockToEditor();
    window.Form->findChild<zevo::MapSelectionControl*>(QStringLiteral("MapSelection"))->SetSelection(zevo::MapSelection::WholeMap(true));
}

// Tools > Add on all 150 cells: the operation, validation, the undo record and the redisplay.
void OperationOnAllCells(benchmark::State& state) {
    Window window(true);
    SelectWholeMap(window);
    for (auto _ : state)
        window.Form->RunMapOperation(zevo::MapOperation::Add);
}
BENCHMARK(OperationOnAllCells)->Unit(benchmark::kMicrosecond);

// Ctrl+C of all 150 cells, then Ctrl+V of them back (with the redisplay of the paste).
void CopyAllCells(benchmark::State& state) {
    Window window(true);
    SelectWholeMap(window);
    for (auto _ : state)
        window.Form->CopyCells(false);
}
BENCHMARK(CopyAllCells)->Unit(benchmark::kMicrosecond);

void PasteAllCells(benchmark::State& state) {
    Window window(true);
    SelectWholeMap(window);
    window.Form->CopyCells(false);
    int value = 0;
    for (auto _ : state) {
        // A different map on the clipboard each time, so the paste really writes every cell.
        state.PauseTiming();
        QString table;
        ++value;
        for (int r = 0; r < zevo::MapRows; ++r) {
            for (int c = 0; c < zevo::MapColumns; ++c)
                table += QString::number(20 * ((r * 15 + c + value) % 250)) +
                         (c + 1 < zevo::MapColumns ? "\t" : "\n");
        }
        QApplication::clipboard()->setText(table);
        window.Form->findChild<zevo::MapSelectionControl*>(QStringLiteral("MapSelection"))->SetSelection(zevo::MapSelection::WholeMap(true));
        state.ResumeTiming();
        window.Form->PasteCells();
    }
}
BENCHMARK(PasteAllCells)->Unit(benchmark::kMicrosecond);

// One 55 ms tick of the window with the whole map selected and the engine sweeping: every sixth
// tick a status frame arrives and the live cell moves over the selection.
void TickWithSelectionShown(benchmark::State& state) {
    Window window(true);
    SelectWholeMap(window);
    for (auto _ : state) {
        window.Model.Advance(55);
        window.Form->Timer1Timer();
    }
}
BENCHMARK(TickWithSelectionShown)->Unit(benchmark::kMicrosecond);

// The same tick with everything the View menu paints: colours by value over all ten rows, the
// trail behind a sweeping engine, and the servo curves window following it.
void TickWithColoursTrailAndCurves(benchmark::State& state) {
    Window window(true);
    window.Form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
    window.Form->findChild<QAction*>(QStringLiteral("MenuColourByValue"))->setChecked(true);
    window.Form->findChild<QAction*>(QStringLiteral("MenuTrail"))->setChecked(true);
    if (state.range(0) != 0)
        window.Form->findChild<QAction*>(QStringLiteral("MenuServoCurves"))->trigger();
    QApplication::processEvents();
    for (auto _ : state) {
        window.Model.Advance(55);
        window.Form->Timer1Timer();
        // The chart redraws in the event loop, as it does in the tool.
        QApplication::processEvents();
    }
}
BENCHMARK(TickWithColoursTrailAndCurves)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A restore point taken as a transaction ends: two small files through save files, then the prune
// of a folder that already holds the 500 kept.
void TakeRestorePoint(benchmark::State& state) {
    QTemporaryDir dir;
    zevo::RestoreStore store(dir.path());
    zevo::RestoreInfo info;
    zevo::SetDefaults(info.Image);
    int n = 0;
    for (int i = 0; i < 500; ++i) {
        info.Image.Bytes[100] = static_cast<std::uint8_t>(++n);
        info.Image.Bytes[101] = static_cast<std::uint8_t>(n >> 8);
        info.Time = "2025-01-01 00:00:00." + std::to_string(i);
        store.Take(info);
    }
    for (auto _ : state) {
        info.Image.Bytes[100] = static_cast<std::uint8_t>(++n);
        info.Image.Bytes[101] = static_cast<std::uint8_t>(n >> 8);
        info.Time.clear();
        benchmark::DoNotOptimize(store.Take(info));
    }
}
BENCHMARK(TakeRestorePoint)->Unit(benchmark::kMillisecond);

// File > Save of the default set: Arg 0 as a plain save file commits it (buffered, unchecked), Arg 1
// through the checked write, which flushes and checks before it renames. The difference is what
// knowing that the file landed costs.
void SaveIgnFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("a.ign"));
    zevo::DeviceImage image;
    zevo::SetDefaults(image);
    std::ostringstream text(std::ios::binary);
    zevo::WriteIgnFile(text, image);
    const QByteArray bytes = QByteArray::fromStdString(text.str());
    bool landed = true;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            QSaveFile file(path);
            landed = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit() && landed;
        } else {
            landed = zevo::WriteFileChecked(path, bytes).Landed && landed;
        }
    }
    if (!landed)
        state.SkipWithError("a save did not land");
}
BENCHMARK(SaveIgnFile)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The restore points window's list: all 500 text files read and sorted.
void ListRestorePoints(benchmark::State& state) {
    QTemporaryDir dir;
    zevo::RestoreStore store(dir.path());
    zevo::RestoreInfo info;
    zevo::SetDefaults(info.Image);
    for (int i = 0; i < 500; ++i) {
        info.Image.Bytes[100] = static_cast<std::uint8_t>(i);
        info.Image.Bytes[101] = static_cast<std::uint8_t>(i >> 8);
        info.Time = "2026-01-01 00:00:00." + std::to_string(i);
        store.Take(info);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(zevo::RestoreStore(dir.path()).List());
}
BENCHMARK(ListRestorePoints)->Unit(benchmark::kMillisecond);

// Loading a ride log from a file: an hour (10 800 frames, about 1.4 MB) or a day (259 200 frames).
void LoadLog(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("ride.csv"));
    {
        std::string text = zevo::LogHeader() + "\n";
        const std::int64_t frames = 10800 * state.range(0);
        text.reserve(static_cast<std::size_t>(frames) * 140);
        for (std::int64_t n = 0; n < frames; ++n) {
            zevo::StatusFrame s;
            s.Rpm = static_cast<std::uint16_t>(1000 + n * 37 % 11000);
            s.TpPercent = static_cast<std::uint8_t>(n * 7 % 101);
            s.ServoDesired = {static_cast<std::uint16_t>(2000 + n % 2000), 1500};
            s.Version = 56;
            zevo::AppendLogRow(text, zevo::LogRowFrom(s, 1'796'801'758'000LL + n * 330, n * 330, n % 500 == 0 ? 1 : 0));
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0)
            state.SkipWithError("the log could not be written");
    }
    for (auto _ : state) {
        const zevo::LoadedLog log = zevo::LoadLogFile(path, [](std::int64_t, std::int64_t) { return true; });
        if (log.Data.Rows.size() != static_cast<std::size_t>(10800 * state.range(0)))
            state.SkipWithError("rows were lost");
        benchmark::DoNotOptimize(log.Data.Rows.data());
    }
}
BENCHMARK(LoadLog)->Arg(1)->Arg(24)->Unit(benchmark::kMillisecond);

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
