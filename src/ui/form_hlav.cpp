#include "ui/form_hlav.h"
#include "ui/map_painter.h"
#include "files/restore_store.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <sstream>

#include "about/form_about.h"
#include "app/image_file.h"
#include "app/test_mode_file.h"
#include "files/checked_write.h"
#include "lang/editing_texts.h"
#include "lang/file_texts.h"
#include "link/link_engine.h"
#include "link/port_map.h"
#include "link/system_serial_line.h"
#include "params/conversions.h"
#include "ui/cgauge.h"
#include "ui/close_on_signal.h"
#include "ui/live_strip.h"
#include "ui/config_files.h"
#include "ui/controls.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"
#include "ui/restore_commands.h"
#include "ui/servo_curves_window.h"
#include "ui/map_selection_control.h"
#include "ui/up_down.h"
#include "ui/live_chart_window.h"
#include "ui/log_recorder.h"
#include "ui/window_link_view.h"

namespace zevo {

namespace {

std::string ToStd(const QString& text) {
    return text.toUtf8().toStdString();
}
QString FromStd(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TFormHlav::TFormHlav(const StartOptions& options, QWidget* parent)
    : QMainWindow(parent), ConfigDir(options.ConfigDir), Prompts(options.Prompts),
      Arguments(options.Arguments) {
    SerialLine* line = options.Line;
    if (!line) {
        OwnLine = std::make_unique<SystemSerialLine>();
        line = OwnLine.get();
    }
    LinkLine = line;
    PrintPage = options.PrintPage;
    OpenDocument = options.OpenDocument ? options.OpenDocument : OpenWithDesktop;
    SteadyClock = options.SteadyMs;
    View = std::make_unique<WindowLinkView>(*this);
    Engine = std::make_unique<LinkEngine>(Image, Ports, *line, *View);
    BuildForm();
    WireCommands();
    Timer1->start();
    FormCreate();
}

void TFormHlav::ShareKeysWithToolWindows() {
    // The design's keys and the Tools keys act from every window of the tool (the curves, the live
    // chart, the replay, the differences, the restore points) as from the main window: a tuner with
    // the chart in front still steps the live cell with F4 and sets a marker with F11. A modal
    // question still blocks them, and a text field in a tool window keeps its own editing keys.
    for (QAction* action : findChildren<QAction*>())
        if (!action->shortcuts().isEmpty())
            action->setShortcutContext(Qt::ApplicationShortcut);
}

TFormAbout& TFormHlav::About() {
    // Built on first use: drawing its logo costs as much as a tenth of the window's start.
    if (!FormAbout)
        FormAbout = new TFormAbout(LanguageIndex, this);
    return *FormAbout;
}

TFormHlav::~TFormHlav() {
    // The widgets go only after this body, in the toolkit's destructor, and the focus they hand on
    // as they go must not reach the handlers of a window that is no more: a field losing it would
    // take the page, the selection would repaint.
    delete Selection;
    Selection = nullptr;
    // The line under the design's area watches the scrolled area, which goes before it otherwise.
    delete Strip;
    Strip = nullptr;
    for (TEdit* edit : findChildren<TEdit*>())
        disconnect(edit, nullptr, this, nullptr);
}

QString TFormHlav::SettingsFilePath() const {
    return QDir(ConfigDir).filePath(FromStd(SettingsFileName()));
}
QString TFormHlav::ParameterImageFilePath() const {
    return QDir(ConfigDir).filePath(FromStd(ParameterImageFileName()));
}
QString TFormHlav::TestModeFilePath() const {
    return QDir(ConfigDir).filePath(QString::fromLatin1(TestModeFileName));
}

void TFormHlav::WireCommands() {
    auto on = [this](QAction* action, void (TFormHlav::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    auto onButton = [this](QAbstractButton* button, void (TFormHlav::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    on(MenuNew, &TFormHlav::MenuNewClick);
    onButton(SpeedButtonNew, &TFormHlav::MenuNewClick);
    on(MenuOpen, &TFormHlav::MenuOpenClick);
    onButton(SpeedButtonOpen, &TFormHlav::MenuOpenClick);
    on(MenuOpenExeDir, &TFormHlav::MenuOpenExeDirClick);
    on(MenuSave, &TFormHlav::MenuSaveClick);
    onButton(SpeedButtonSave, &TFormHlav::MenuSaveClick);
    on(MenuSaveExeDir, &TFormHlav::MenuSaveExeDirClick);
    on(MenuPrint, &TFormHlav::SpeedButtonPrintClick);
    onButton(SpeedButtonPrint, &TFormHlav::SpeedButtonPrintClick);
    on(MenuExit, &TFormHlav::MenuExitClick);
    on(MenuRead, &TFormHlav::MenuReadClick);
    onButton(ButtonRead, &TFormHlav::MenuReadClick);
    on(MenuVerify, &TFormHlav::MenuVerifyClick);
    onButton(ButtonVerify, &TFormHlav::MenuVerifyClick);
    on(MenuProgram, &TFormHlav::MenuProgramClick);
    onButton(ButtonProgram, &TFormHlav::MenuProgramClick);
    on(MenuToolsMinus, &TFormHlav::MenuToolsMinusClick);
    on(MenuToolsPlus, &TFormHlav::MenuToolsPlusClick);
    on(MenuZpet, &TFormHlav::SpeedButtonZpetClick);
    onButton(SpeedButtonZpet, &TFormHlav::SpeedButtonZpetClick);
    on(MenuZnovu, &TFormHlav::SpeedButtonZnovuClick);
    onButton(SpeedButtonZnovu, &TFormHlav::SpeedButtonZnovuClick);
    on(MenuEnglish, &TFormHlav::MenuEnglishClick);
    on(MenuCzech, &TFormHlav::MenuCzechClick);
    on(MenuGerman, &TFormHlav::MenuGermanClick);
    on(MenuContens, &TFormHlav::MenuContensClick);
    on(MenuAbout, &TFormHlav::MenuAboutClick);
    onButton(ButtonTps0, &TFormHlav::ButtonTps0Click);
    onButton(ButtonTps100, &TFormHlav::ButtonTps100Click);

    connect(EditTps0, &TEdit::Click, this, &TFormHlav::Edit1Exit);
    connect(EditTps100, &TEdit::Click, this, &TFormHlav::Edit1Exit);
    connect(UpDownTps0, &TUpDown::MouseUp, this, &TFormHlav::CheckBoxProgHnedMouseUp);
    connect(UpDownTps100, &TUpDown::MouseUp, this, &TFormHlav::CheckBoxProgHnedMouseUp);
    // Enter in these controls confirms the page and moves on (FormKeyPress).
    WatchEdit(EditTps0);
    WatchEdit(EditTps100);
    CheckBoxProgHned->installEventFilter(this);

    connect(RadioGroupPocPulsuItems, &QButtonGroup::idClicked, this, &TFormHlav::RadioGroupPocPulsuClick);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFormHlav::PageControl1Change);
    connect(Timer1, &QTimer::timeout, this, &TFormHlav::Timer1Timer);
}

// ---- start-up --------------------------------------------------------------------------------

void TFormHlav::FormCreate() {
    CreateServoPage();
    HintHookInstalled = true;
    Ports.ComPortIndex = AutoSearchPortIndex;
    SetDefaults(Image);
    CentreOnScreen();
    DataFilePath = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("data.ign"));
    LoadSettings();
    FitToScreen();

    if (!Arguments.isEmpty()) {
        if (const auto chosen = LanguageFromArgument(ToStd(Arguments.front())))
            LanguageIndex = *chosen;
    }
    ValidateBlock(Image, Ports);
    Session.MarkSafe(); // the set the last run left: what the user changes from here could be lost
    ApplyLanguageCaptions();
    HistoryReset();
    BlockToEditor();
    Engine->OpenPort();
    BlockToEditor();

    LabelHlaseni->hide();
    CGaugeProgram->hide();
    CGaugeProgram->SetMaxValue(7);
    LabelEeDataErr->hide();
    LabelVersion->hide();
    ReadTestModeFile();
    // In the language just applied.
    Starting = false;
    SaySettingsSetAside();
}

void TFormHlav::LoadSettings() {
    AppSettings current;
    current.Window = CurrentWindowRect();
    current.Ports = Ports;
    current.LanguageIndex = LanguageIndex;
    // File and IniDir stay empty until the settings name them.
    current.ActivePageIndex = PageControl1->currentIndex();

    const IniFile ini = ReadSettingsFile().value_or(IniFile());
    // Missing file or keys: the current values stand (centred window, automatic port, Czech).
    const AppSettings loaded = LoadAppSettings(ini, current);
    for (const auto& capability : Capabilities)
        capability->LoadSettings(ini);
    DockState = QByteArray::fromBase64(QByteArray::fromStdString(ini.ReadString("VIEW", "Docks", "")));

    if (!(loaded.Window == current.Window))
        ApplyWindowRect(loaded.Window);
    Ports = loaded.Ports;
    LanguageIndex = loaded.LanguageIndex;
    LabelFile2->SetCaption(FromStd(loaded.File));
    IniDir = FromStd(loaded.IniDir);
    OpenDialogFileName = IniDir;
    SaveDialogFileName = IniDir;
    // An index the tab control does not have leaves the first page active.
    PageControl1->setCurrentIndex(loaded.ActivePageIndex);

    if (const auto bytes = ReadFileBytes(ParameterImageFilePath())) {
        std::istringstream in(std::string(bytes->constData(), static_cast<std::size_t>(bytes->size())));
        ReadImageFile(in, Image, AllCells);
    }
}

void TFormHlav::ReadTestModeFile() {
    TestMode = 0;
    if (const auto bytes = ReadFileBytes(TestModeFilePath())) {
        std::istringstream in(std::string(bytes->constData(), static_cast<std::size_t>(bytes->size())));
        TestMode = zevo::ReadTestModeFile(in) ? 1 : 0;
    }
    for (TLabel* label : LabelTest)
        label->setVisible(TestMode == 1);
}

// ---- shutdown --------------------------------------------------------------------------------

void TFormHlav::closeEvent(QCloseEvent* event) {
    // A close by the session (logout, shutdown: a signal) never asks; the set is kept as a restore
    // point and in the image file all the same.
    if (!Closed && !property(CloseBySignalProperty).toBool() && !MayLeaveSet()) {
        event->ignore();
        return;
    }
    if (!Closed) {
        Closed = true;
        FormClose();
    }
    // Torn-off docks are windows of their own: they go with the main window (their places are kept).
    for (QDockWidget* dock : findChildren<QDockWidget*>())
        if (dock->isFloating())
            dock->hide();
    event->accept();
}

void TFormHlav::FormClose() {
    Engine->ClosePort();
    EditorToBlock();
    ValidateBlock(Image, Ports);
    for (const auto& capability : Capabilities)
        capability->Close();
    const QStringList failures = SaveSettings();
    if (failures.isEmpty())
        return;
    // The files keep what they held; the user learns that the next start will not show this.
    // A session that ends (a signal) has nobody to ask: the words go to standard error.
    if (property(CloseBySignalProperty).toBool() || !Prompts) {
        for (const QString& failure : failures)
            std::fprintf(stderr, "zevo: %s\n", failure.toLocal8Bit().constData());
        return;
    }
    for (const QString& failure : failures) {
        const qsizetype split = failure.indexOf(QLatin1Char('\n'));
        Prompts->ShowMessage(this, failure.left(split), split < 0 ? QString() : failure.mid(split + 1));
    }
}

std::optional<IniFile> TFormHlav::ReadSettingsFile() {
    const QString path = SettingsFilePath();
    const WholeFile file = ReadWholeFile(path);
    const std::string_view bytes(file.Bytes.constData(), static_cast<std::size_t>(file.Bytes.size()));
    if (file.Is == WholeFile::State::Missing)
        return IniFile();
    if (file.Is == WholeFile::State::Read && IniTextUnderstood(bytes))
        return IniFile::Parse(bytes);
    // Read in part, it would be written back in part: it goes aside whole, and a fresh file is
    // written at close. The last one set aside makes room for this one.
    const QString aside = path + QStringLiteral(".unreadable");
    QFile::remove(aside);
    if (!QFile::rename(path, aside))
        return std::nullopt; // it stays where it is, and nothing is written over it
    SettingsSetAside = aside;
    if (!Starting)
        SaySettingsSetAside();
    return IniFile();
}

void TFormHlav::SaySettingsSetAside() {
    if (SettingsSetAside.isEmpty())
        return;
    Say(Text(FillPlaceholders(FileText(FileTextId::SettingsSetAside, LanguageIndex),
                              {QDir::toNativeSeparators(SettingsSetAside).toStdString()})));
    SettingsSetAside.clear();
}

QStringList TFormHlav::SaveSettings() {
    // Keys are merged into the file as it is now, so lines the tool does not know survive.
    std::optional<IniFile> read = ReadSettingsFile();
    IniFile ini = read.value_or(IniFile());
    AppSettings settings;
    settings.Window = CurrentWindowRect();
    settings.Ports = Ports;
    settings.LanguageIndex = LanguageIndex;
    settings.File = ToStd(LabelFile2->Caption());
    settings.IniDir = ToStd(IniDir);
    settings.ActivePageIndex = PageControl1->currentIndex();
    SaveAppSettings(ini, settings);
    for (const auto& capability : Capabilities)
        capability->SaveSettings(ini);
    ini.WriteString("VIEW", "Docks", saveState().toBase64().toStdString());
    // The config folder may never have been made, or may have gone since the start.
    QDir().mkpath(ConfigDir);
    QStringList failures;
    const auto failed = [&](FileTextId text, const QString& path, const WriteResult& written) {
        failures << Text(FillPlaceholders(FileText(text, LanguageIndex), {QDir::toNativeSeparators(path).toStdString()})) +
                        QLatin1Char('\n') + written.Reason;
    };
    const WriteResult written =
        read ? WriteFileChecked(SettingsFilePath(), QByteArray::fromStdString(ini.Serialize()), /*textMode=*/true)
             : WriteResult{false, QStringLiteral("the file cannot be read whole, nor set aside")};
    if (!written)
        failed(FileTextId::SettingsNotWritten, SettingsFilePath(), written);

    std::ostringstream image;
    WriteImageFile(image, Image, AllCells);
    // A parameter image that cannot be written leaves the previous file whole.
    if (const WriteResult written =
            WriteFileChecked(ParameterImageFilePath(), QByteArray::fromStdString(image.str()), /*textMode=*/true);
        !written)
        failed(FileTextId::SetNotKept, ParameterImageFilePath(), written);
    return failures;
}

void TFormHlav::KeepSettingsNow(const std::function<void(IniFile&)>& change) {
    std::optional<IniFile> ini = ReadSettingsFile();
    QDir().mkpath(ConfigDir);
    if (ini)
        change(*ini);
    if (const WriteResult written =
            ini ? WriteFileChecked(SettingsFilePath(), QByteArray::fromStdString(ini->Serialize()), /*textMode=*/true)
                : WriteResult{false, QStringLiteral("the file cannot be read whole, nor set aside")};
        !written && Prompts)
        Prompts->ShowMessage(this,
                             Text(FillPlaceholders(FileText(FileTextId::SettingsNotWritten, LanguageIndex),
                                                   {QDir::toNativeSeparators(SettingsFilePath()).toStdString()})),
                             written.Reason);
}

QMenu* TFormHlav::MenuOf(WindowMenu menu) {
    switch (menu) {
    case WindowMenu::File:
        return MenuFile;
    case WindowMenu::Device:
        return MenuDevice;
    case WindowMenu::Com:
        return MenuCom;
    case WindowMenu::View:
        if (!MenuView) {
            // After Tools, before the design's Language menu.
            MenuView = new QMenu(this);
            MenuView->setObjectName(QStringLiteral("MenuView"));
            menuBar()->insertMenu(MenuLanguage->menuAction(), MenuView);
        }
        return MenuView;
    }
    return MenuFile;
}

QString TFormHlav::NamedFile() const {
    return LabelFile2->Caption();
}

// ---- handlers --------------------------------------------------------------------------------

void TFormHlav::MenuNewClick() {
    if (!MayLeaveSet())
        return;
    if (!Prompts || Prompts->ConfirmYesNoCancel(this, Msg(MsgId::MsgDefaultSetting)) != PromptAnswer::Yes)
        return;
    RestorePoints->Take(RestoreEvent::BeforeNew);
    SetDefaults(Image);
    AfterChange();
    LabelHlaseni->hide();
    CGaugeProgram->hide();
    ForgetNamedFile();
}

void TFormHlav::MenuExitClick() {
    close();
}

void TFormHlav::HintToStatusBar(const QString& hint) {
    StatusBar1->showMessage(hint);
}

void TFormHlav::MenuAboutClick() {
    About().exec();
}

void TFormHlav::MenuContensClick() {
    // The manual of the current language lies beside the program.
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(Msg(MsgId::ManualFileName));
    const DocumentOpening outcome = OpenDocument(path);
    if (outcome == DocumentOpening::Opened || !Prompts)
        return;
    // The box keeps its old text; the line under it says why and where the file is, so the user can
    // open it by hand.
    const ManualTextId reason = outcome == DocumentOpening::Missing    ? ManualTextId::Missing
                                : outcome == DocumentOpening::NoViewer ? ManualTextId::NoViewer
                                                                       : ManualTextId::Refused;
    const QString details =
        FromStd(std::string(ManualText(reason, LanguageIndex))).arg(QDir::toNativeSeparators(path));
    Prompts->ShowMessage(this, Msg(MsgId::MsgManualOpenError), details);
}

// ---- device link -----------------------------------------------------------------------------

void TFormHlav::Timer1Timer() {
    View->NoteThisTick.clear();
    Engine->Tick();
    if (AnsweredNow) {
        AnsweredNow = false;
        UnitAnswered();
    }
    for (const auto& capability : Capabilities)
        capability->Tick();
    Strip->Refresh();
}

void TFormHlav::MenuCom1Click(int position) {
    Engine->MenuCom1Click(position);
    UnitSetUnknown(); // another port, maybe another unit
}

void TFormHlav::MenuReadClick() {
    if (!MayLeaveSet())
        return;
    Engine->StartRead();
}

void TFormHlav::MenuVerifyClick() {
    EditorToBlock();
    ValidateBlock(Image, Ports);
    BlockToEditor();
    Engine->StartVerify();
}

void TFormHlav::MenuProgramClick() {
    EditorToBlock();
    ValidateBlock(Image, Ports);
    BlockToEditor();
    StartProgramTransaction();
}

// ---- events ----------------------------------------------------------------------------------

bool TFormHlav::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        if (HintHookInstalled)
            HintToStatusBar(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TFormHlav::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // An edit would take Ctrl+Z and its redo keys for its own text: here they belong to the
    // parameter history (Ctrl+Z; Ctrl+Alt+Z and Ctrl+Y redo), and Ctrl+Shift+Z does nothing at all.
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool historyKey = (key->key() == Qt::Key_Z && (mods & Qt::ControlModifier)) ||
                            (key->key() == Qt::Key_Y && mods == Qt::ControlModifier);
    if (historyKey)
        return true; // a ShortcutOverride left unaccepted lets the window's shortcuts run
    // In a map field Ctrl+C, Ctrl+V and the operations' keys work on the selected cells, not on the
    // field's text.
    if (type == QEvent::ShortcutOverride && IsMapEditingKey(watched, *key))
        return true;
    if (type == QEvent::KeyPress && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        mods == Qt::NoModifier) {
        FormKeyPress(qobject_cast<QWidget*>(watched));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zevo
