#pragma once
#include <QColor>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMargins>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "about/form_about.h"
#include "app/app_settings.h"
#include "app/log_settings.h"
#include "ui/printing.h"
#include "files/restore_points.h"
#include "link/engine_position.h"
#include "link/link_view.h"
#include "lang/editing_texts.h"
#include "lang/language_tables.h"
#include "link/port_choice.h"
#include "link/port_map.h"
#include "link/system_serial_line.h"
#include "log/cell_times.h"
#include "log/log_format.h"
#include "params/device_image.h"
#include "params/map_look.h"
#include "params/map_operations.h"
#include "params/map_selection.h"
#include "params/parameter_session.h"
#include "params/undo_history.h"
#include "ui/prompter.h"
#include "ui/window_capability.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStatusBar;
class QImage;
class QKeyEvent;
class QTabWidget;
class QTimer;
class QToolButton;

namespace zevo {

class TCGauge;
class TCheckBox;
class TCSpinButton;
class TEdit;
class TFormAbout;
class TUpDown;
class LinkEngine;
class MapPainter;
class MapSelectionControl;
class ServoCurvesWindow;
class LiveChartWindow;
class ReplayWindow;
class CellTimesOverlay;
class LogRecorder;
class RestoreStore;
class RestoreWindow;
class DifferenceWindow;
class SerialLine;
class WindowLinkView;
class PortCommands;
class ViewCommands;
class LiveStrip;
class RideLog;
class RestoreCommands;

// A label that sizes itself to its caption, as the window's labels always have.
class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    void SetCaption(const QString& text);
    QString Caption() const { return text(); }
    bool AutoSize = true;
};

// How the window was started: the command-line words after the program name, the folder that
// holds the settings, image and test-mode files, and where modal questions go.
struct StartOptions {
    QStringList Arguments;
    QString ConfigDir;
    Prompter* Prompts = nullptr;
    // The line to the unit; when none is given the window opens real serial ports.
    SerialLine* Line = nullptr;
    // Where a printed page goes; when none is given, to the default printer.
    std::function<PrintOutcome(const QImage& page)> PrintPage;
    // Opens a document (the user manual) in its viewer and says how that went; when none is given,
    // the desktop's viewer.
    std::function<DocumentOpening(const QString& path)> OpenDocument;
    // A clock in milliseconds that never jumps, for the ride log (its elapsed times, the write once
    // a second, the replay's pace); when none is given, the system's monotonic clock.
    std::function<std::int64_t()> SteadyMs;
};

// The tool's one working window. It owns the parameter set and every control; handlers carry the
// names of the controls and events that raise them.
class TFormHlav : public QMainWindow, private WindowServices {
    Q_OBJECT
public:
    explicit TFormHlav(const StartOptions& options, QWidget* parent = nullptr);
    ~TFormHlav() override;

    // ---- what the window holds, for whoever drives it (the program's start, tests) -------------
    // The set on screen, its history and what is known about it.
    const ParameterSession& Parameters() const { return Session; }
    // The "All" boxes of the two servo pages, and the port chosen in the Com menu.
    const AllCellsFlags& AllCellsTicked() const { return AllCells; }
    const PortChoice& PortChosen() const { return Ports; }
    std::uint8_t Language() const override { return LanguageIndex; }
    bool TestModeShown() const { return TestMode != 0; }
    // The program the connected unit runs, as its identification page says.
    Identification UnitIdentity() const override;
    // Where the engine runs: the unit's frames, or the ride log being replayed.
    const EnginePosition& EngineNow() const override { return Position; }
    // The folder of the last file opened or saved; the program's own data.ign; the two file dialogs'
    // names; whether the last file opened had this version's key word.
    const QString& LastFileFolder() const { return IniDir; }
    const QString& ProgramDataFile() const { return DataFilePath; }
    const QString& OpenDialogName() const { return OpenDialogFileName; }
    const QString& SaveDialogName() const { return SaveDialogFileName; }
    bool IgnVersionWasMatched() const { return IgnVersionMatched != 0; }

    // The message texts of the language applied last.
    const QString& Msg(MsgId id) const { return Messages[static_cast<std::size_t>(id)]; }

    QString SettingsFilePath() const;
    QString ParameterImageFilePath() const;
    QString TestModeFilePath() const;

    // ---- start-up and shutdown ---------------------------------------------------------------
    void FormCreate();
    void FormClose();

    // ---- servo editor and transfer -----------------------------------------------------------
    void CreateServoPage();
    void UpdateServoPage();
    void EditorToBlock();
    void BlockToEditor();
    void AfterChange() override;
    // The servo shown by the active tab: 0 or 1, or -1 on the Miscellaneous page.
    int ShownServo() const override;

    // ---- device link -------------------------------------------------------------------------
    LinkEngine& Link() override { return *Engine; }

    // ---- history -----------------------------------------------------------------------------
    void HistoryReset();
    void HistoryRecord();
    // The buttons after a record step, and the Program "Programming after change" asked for.
    void ShowRecorded(const HistoryRecordOutcome& outcome);
    void HistoryUpdateButtons();
    // Starts the Program transaction as the Program command does after its own transfer steps.
    void StartProgramTransaction();

    // ---- languages ---------------------------------------------------------------------------
    void ApplyLanguageCaptions();
    void ApplyLanguageMessages();

    // ---- command handlers --------------------------------------------------------------------
    void MenuNewClick();
    void MenuOpenClick();
    void MenuOpenExeDirClick();
    void MenuSaveClick();
    void MenuSaveExeDirClick();
    void SpeedButtonPrintClick();
    // Hides the controls that mean nothing on paper and the tabs of the other pages, and whitens the
    // row captions; `true` puts back exactly what `false` changed.
    void SetPrintControlsVisible(bool visible);
    void MenuExitClick();
    void MenuCom1Click(int position);
    void MenuReadClick();
    void MenuVerifyClick();
    void MenuProgramClick();
    void MenuToolsMinusClick();
    void MenuToolsPlusClick();
    void SpeedButtonZpetClick();
    void SpeedButtonZnovuClick();
    void MenuEnglishClick();
    void MenuCzechClick();
    void MenuGermanClick();
    void MenuContensClick();
    void MenuAboutClick();
    void ButtonTps0Click();
    void ButtonTps100Click();
    void Edit1Exit();
    void UpDown1Click();
    void CheckBoxProgHnedMouseUp();
    void CheckBoxTpEnableMouseUp();
    void CheckBoxProcentaMouseUp();
    void CSpinButtonUpClick_Uni(int column);
    void CSpinButtonDownClick_Uni(int column);
    void FormKeyPress(QWidget* sender);
    void RadioGroupPocPulsuClick(int item);
    void PageControl1Change(int index);
    void HintToStatusBar(const QString& hint);
    void Timer1Timer();

    // Shown by Help > About; built the first time it is needed.
    TFormAbout& About();

    // The two file dialogs' settings (the dialogs themselves are opened through the prompter).
    FileDialogSettings OpenDialogSettings() const;
    FileDialogSettings SaveDialogSettings() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- state -------------------------------------------------------------------------------
    // The set on screen, its history and what is known about it.
    ParameterSession Session;
    DeviceImage& Image = Session.Image;
    UndoHistory& History = Session.History;
    AllCellsFlags AllCells{};
    PortChoice Ports;
    std::uint8_t LanguageIndex = LanguageCzech;
    std::uint8_t TestMode = 0;
    std::uint8_t DisplayBusy = 0;
    // What the unit's identification page says about its program, shown on the Miscellaneous page.
    std::string UnitName;
    std::string UnitBuildDate;
    std::string UnitBuildTime;
    QString DataFilePath;
    QString IniDir;
    QString ConfigDir;
    QString OpenDialogFileName;
    QString SaveDialogFileName;
    std::uint8_t IgnVersionMatched = 0;

    // ---- controls ----------------------------------------------------------------------------
    QWidget* ClientArea = nullptr;
    // Holds ClientArea; scrolls only while the window is smaller than the design.
    QScrollArea* ClientScroll = nullptr;
    // Under ClientScroll: the engine's values while the monitoring area is scrolled out of view.
    LiveStrip* Strip = nullptr;

    QMenu* MenuFile = nullptr;
    QAction* MenuNew = nullptr;
    QAction* MenuOpen = nullptr;
    QAction* MenuOpenExeDir = nullptr;
    QAction* MenuSave = nullptr;
    QAction* MenuSaveExeDir = nullptr;
    QAction* MenuPrint = nullptr;
    QAction* MenuExit = nullptr;
    QMenu* MenuCom = nullptr;
    std::array<QAction*, AutoPortCount> MenuComItems{};
    QMenu* MenuDevice = nullptr;
    QAction* MenuRead = nullptr;
    QAction* MenuVerify = nullptr;
    QAction* MenuProgram = nullptr;
    QMenu* MenuTools = nullptr;
    QAction* MenuToolsMinus = nullptr;
    QAction* MenuToolsPlus = nullptr;
    QAction* MenuZpet = nullptr;
    QAction* MenuZnovu = nullptr;
    QMenu* MenuLanguage = nullptr;
    QAction* MenuEnglish = nullptr;
    QAction* MenuCzech = nullptr;
    QAction* MenuGerman = nullptr;
    QMenu* MenuHelp = nullptr;
    QAction* MenuContens = nullptr;
    QAction* MenuAbout = nullptr;

    QGroupBox* GroupBoxToolBar = nullptr;
    QToolButton* SpeedButtonNew = nullptr;
    QToolButton* SpeedButtonOpen = nullptr;
    QToolButton* SpeedButtonSave = nullptr;
    QToolButton* SpeedButtonPrint = nullptr;
    QToolButton* SpeedButtonZpet = nullptr;
    QToolButton* SpeedButtonZnovu = nullptr;
    QPushButton* ButtonRead = nullptr;
    QPushButton* ButtonVerify = nullptr;
    QPushButton* ButtonProgram = nullptr;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet_Ruzne = nullptr;
    QWidget* TabSheet_Servo1 = nullptr;
    QWidget* TabSheet_Servo2 = nullptr;

    QGroupBox* GroupBoxSetTps = nullptr;
    TLabel* LabelTps0 = nullptr;
    TLabel* LabelTps100 = nullptr;
    TEdit* EditTps0 = nullptr;
    TUpDown* UpDownTps0 = nullptr;
    TEdit* EditTps100 = nullptr;
    TUpDown* UpDownTps100 = nullptr;
    QPushButton* ButtonTps0 = nullptr;
    QPushButton* ButtonTps100 = nullptr;
    QGroupBox* RadioGroupPocPulsu = nullptr;
    QButtonGroup* RadioGroupPocPulsuItems = nullptr;
    std::array<QRadioButton*, RadioItemCount> RadioPocPulsu{};
    TLabel* LabelVerze1 = nullptr;
    TLabel* LabelVerze2 = nullptr;
    TLabel* LabelVerze3 = nullptr;
    TLabel* LabelFile1 = nullptr;
    TLabel* LabelFile2 = nullptr;
    TLabel* LabelPocetProgramovani = nullptr;

    TLabel* LabelSpojeni = nullptr;
    TLabel* LabelRpm = nullptr;
    TCGauge* CGaugeRpm = nullptr;
    TLabel* LabelNapeti = nullptr;
    TLabel* LabelTpsMon = nullptr;
    TCGauge* CGaugeTps = nullptr;
    TLabel* LabelServoPoz1 = nullptr;
    TLabel* LabelServoMer1 = nullptr;
    TLabel* LabelServoPoz2 = nullptr;
    TLabel* LabelServoMer2 = nullptr;
    TLabel* LabelHlaseni = nullptr;
    TCGauge* CGaugeProgram = nullptr;
    TCheckBox* CheckBoxProgHned = nullptr;
    TLabel* LabelCom = nullptr;
    TLabel* LabelEeDataErr = nullptr;
    TLabel* LabelVersion = nullptr;
    std::array<TLabel*, 8> LabelTest{};
    QStatusBar* StatusBar1 = nullptr;

    // The servo page: one set of controls that serves both servo tabs.
    QGroupBox* GroupBoxServo = nullptr;
    TLabel* LabelRpmTitle = nullptr;
    TLabel* LabelTpsTitle = nullptr;
    std::array<TLabel*, MapRows> LabelTpRow{};
    // The unit of the map's values in its corner, "[mV]" or "[%]".
    TLabel* LabelMapUnit = nullptr;
    std::array<TEdit*, MapColumns> EditRpm{};
    std::array<TUpDown*, MapColumns> UpDownRpm{};
    std::array<std::array<TEdit*, MapColumns>, MapRows> EditMap{};
    std::array<std::array<TUpDown*, MapColumns>, MapRows> UpDownMap{};
    std::array<TCSpinButton*, MapColumns> CSpinButtonColumn{};
    TCheckBox* CheckBoxServoEnable = nullptr;
    TCheckBox* CheckBoxTpEnable = nullptr;
    TCheckBox* CheckBoxProcenta = nullptr;
    TEdit* EditHystMv = nullptr;
    TUpDown* UpDownHystMv = nullptr;
    TLabel* LabelHystMv = nullptr;
    TEdit* EditHystRpm = nullptr;
    TUpDown* UpDownHystRpm = nullptr;
    TLabel* LabelHystRpm = nullptr;
    QPushButton* ButtonMinus = nullptr;
    QPushButton* ButtonPlus = nullptr;
    TCheckBox* CheckBoxAll = nullptr;

    QTimer* Timer1 = nullptr;

    void BuildForm();
    void BuildMenu();
    void BuildToolBar();
    void BuildPageRuzne();
    void BuildMonitoringArea();
    void WireCommands();
    void ShareKeysWithToolWindows();
    void KeepExitLast();
    void LoadSettings();
    // Writes the settings and the image file; what did not land, each as a message line, a line
    // break and the system's reason.
    QStringList SaveSettings();
    // The settings file to read or to merge keys into. One not read whole is set aside first (said
    // once in the status bar); none when it could not be set aside, and then it is never written.
    std::optional<IniFile> ReadSettingsFile();
    void SaySettingsSetAside();
    QString SettingsSetAside; // where an unreadable settings file went, until it is said
    bool Starting = true;
    void ReadTestModeFile();
    // Open after the question whether to save the set on screen first.
    void OpenChosenFile();
    void CentreOnScreen();
    void ApplyWindowRect(const WindowRect& rect);
    WindowRect CurrentWindowRect() const;
    // Brings the window onto the screen it is mostly on (size and place), with the window manager's
    // frame as far as it is known; a window that fits is left alone.
    void FitToScreen();
    void WatchFrameMargins();
    void SelectLanguage(std::uint8_t index);
    void StepMapFromTools(int direction);
    // The servo of a Tools command: servo 1 on its tab, servo 2 otherwise.
    int ToolServo() const;
    void ShowHistoryStep(const HistoryStep& step);
    void BuildComMenu();
    void WatchEdit(TEdit* edit);
    void EditLeft(TEdit* edit, Qt::FocusReason reason);

    // ---- the map's colours and the engine's cell (servo_page.cpp) --------------------------------
private:
    // Where the engine runs: the unit's frames, or the ride log being replayed.
    EnginePosition Position;

public:
    // The engine's cell (row, column) on the servo page shown; none on the Miscellaneous page.
    std::optional<std::pair<int, int>> LiveCell() const override;
    // Every colour of the servo page's fields, painted where it changed: values, selection, live
    // cell and what the capabilities add. Runs after every change of the page and on every tick.
    void PaintMap() override;
    // The live display's tick: the map shows the engine's cell.
    void ShowLive();
    MapPainter& Painter() { return *CellPainter; }

private:
    std::unique_ptr<MapPainter> CellPainter;
    TFormAbout* FormAbout = nullptr;

    // ---- what the window says about the set (set_state.cpp) --------------------------------------
public:
    // The status bar's indicator and the window title (file name, and a mark when the set differs
    // from it), after every change of the set or of what is known about it.
    void ShowSetState();
    // A Read took the unit's set over; a transfer ended (what the unit holds follows from it).
    void ReadSetTaken();
    void TransferEnded(const TransferOutcome& outcome);
    void UnitSetUnknown();
    // The unit's set, read aside by a comparison.
    void UnitSetAside(const DeviceImage& unit);
    // Asks once, before a close, New, Open or Read replaces a set that is at risk, whether to save it
    // first; true to go on.
    bool MayLeaveSet() override;
    // The unit answers after silence or at start: what it holds is read aside once, quietly.
    void UnitAnswered();
    const QString& RestorePointsFolder() const;

private:
    void BuildSetStateLabels();
    void ReadNamedFileSet();
    QLabel* LabelSetState = nullptr;
    // Red while a Program of the set on screen has not landed in the unit.
    QLabel* LabelNotInUnit = nullptr;
    bool AnsweredNow = false;      // the unit answered during this tick
    bool QuietlyComparing = false; // the comparison running is the window's own look at the unit

    // ---- the ride log (log_commands.cpp) --------------------------------------------------------
public:
    // A log is loaded: the monitoring labels and the live cell show its rows, not the unit's.
    bool Replaying() const;

private:
    // The replay began or ended; it is at a row. The monitoring area and the engine's cell follow.
    void ReplayChanged() override;
    void ShowReplayed(const LogRow& row, bool rowChanged) override;
    std::function<std::int64_t()> SteadyClock;

    // ---- many cells at once (map_commands.cpp) -------------------------------------------------
public:
    void RunMapOperation(MapOperation op);
    void CopyCells(bool withAxes);
    void PasteCells();

private:
    // The selection on the servo page, and the Tools menu's operations and clipboard items.
    MapSelectionControl* Selection = nullptr;
    QAction* MenuCopyCells = nullptr;
    QAction* MenuCopyWithAxes = nullptr;
    QAction* MenuPasteCells = nullptr;
    struct TypedEntry {
        TEdit* Field;
        QString Text;
    };
    void BuildMapEditing();
    // What a screen reader says for the controls their captions do not name: the tool bar's glyph
    // buttons and the fields of the Miscellaneous page (per language), and the servo page's fields
    // and arrows (also after every refresh, as their names carry the servo, the RPM and the value).
    void NameControls();
    // Grows the design's controls whose caption the language applied would cut off.
    void FitCaptions();
    std::map<QWidget*, QRect> DesignPlaces;
    void NameServoFields();
    void ApplyMapEditingCaptions();
    bool IsMapEditingKey(const QObject* field, const QKeyEvent& key) const;
    std::optional<MapSelection> ShownSelection() const override;
    std::vector<TypedEntry> TypedEntries() const;
    void ReportEntries(const std::vector<TypedEntry>& typed);
    // Takes the page as every confirmation does, then says which entry did not land as typed.
    void ConfirmPage() override;
    bool FillSelectionFrom(TEdit* field);
    std::vector<std::pair<QAction*, EditingTextId>> MapEditActions;
    void HoldServoBox(bool hold);
    void OfferPdfInstead(const QImage& page, const PrintOutcome& outcome);

    bool ServoBoxHeld = false;
    bool EnterMovesFocus = false;
    // The control inside GroupBoxServo that had the focus when the box was hidden for a refresh.
    QPointer<QWidget> FocusBeforeHold;

    // ---- what the window offers beyond its design, each with the same life cycle ----------------
    // Registered in one line each when the servo page is built; called in that order.
    template <class Capability, class... Extra>
    Capability& Register(Extra&&... extra) {
        auto made = std::make_unique<Capability>(static_cast<WindowServices&>(*this), std::forward<Extra>(extra)...);
        Capability& registered = *made;
        Capabilities.push_back(std::move(made));
        return registered;
    }
    std::vector<std::unique_ptr<WindowCapability>> Capabilities;
    PortCommands* PortAssignments = nullptr;
    ViewCommands* Views = nullptr;
    RestoreCommands* RestorePoints = nullptr;
    RideLog* Log = nullptr;

    // What the capabilities may use of the window.
    QMainWindow& MainWindow() override { return *this; }
    void Dock(QWidget* window, const QString& name, bool closeClosesWindow) override;
    QMenu* MenuOf(WindowMenu menu) override;
    Prompter* Questions() override { return Prompts; }
    void Say(const QString& text) override;
    ParameterSession& SetOnScreen() override { return Session; }
    TEdit* MapField(int row, int column) override;
    QString NamedFile() const override;
    void KeepSettingsNow(const std::function<void(IniFile&)>& change) override;
    void ReopenPort() override { MenuCom1Click(Ports.ComPortIndex); }
    void ForgetNamedFile() override;
    void TakePage() override;
    void Repair(DeviceImage& set) const override;
    FileDialogSettings OpenDialog() const override { return OpenDialogSettings(); }
    const QString& Message(MsgId id) const override { return Msg(id); }
    bool ShowQuietComparison() override;
    QMenu* MenuView = nullptr;
    SerialLine* LinkLine = nullptr;

    friend class WindowLinkView;
    Prompter* Prompts = nullptr;
    QStringList Arguments;
    std::unique_ptr<SystemSerialLine> OwnLine;
    std::unique_ptr<WindowLinkView> View;
    std::unique_ptr<LinkEngine> Engine;
    std::array<QString, static_cast<std::size_t>(MsgId::Count)> Messages;
    std::function<PrintOutcome(const QImage&)> PrintPage;
    std::function<DocumentOpening(const QString&)> OpenDocument;
    // What the print changed, to be put back.
    struct RowLook {
        QPalette Palette;
        bool Filled = false;
    };
    bool PreparedForPrint = false;
    std::vector<QWidget*> HiddenForPrint;
    std::vector<int> TabsHiddenForPrint;
    std::array<RowLook, MapRows> RowLookBeforePrint{};
    bool HintHookInstalled = false;
    bool Closed = false;
    // The frame the window was last fitted with. The window manager frames a window only after it
    // is shown, so it is fitted once more when the frame becomes known.
    QMargins FittedFrame;
    // Where the docks were at the last close ([VIEW] Docks): applied once the window is shown, and
    // to each dock made later, as the tool windows are made on first use.
    QByteArray DockState;
    void RestoreDockPlaces();
    QTimer* FrameWatch = nullptr;
    int FrameChecks = 0;
};

} // namespace zevo
