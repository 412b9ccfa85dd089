// The window as it is built, before any language, setting or parameter is applied: every control at
// its fixed place, with the texts it carries in the design (English captions; the language applied
// at start replaces the translatable ones).
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "app/window_fit.h"
#include "ui/cgauge.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/map_painter.h"
#include "ui/glyphs.h"
#include "ui/live_strip.h"
#include "ui/up_down.h"

namespace zevo {

namespace {

constexpr int ClientWidth = 978;
constexpr int ClientHeight = 815;
constexpr int StatusBarHeight = 19;

// Named colours of the design.
const QColor clRed(0xFF, 0x00, 0x00);
const QColor clFuchsia(0xFF, 0x00, 0xFF);
const QColor clAqua(0x00, 0xFF, 0xFF);
const QColor clBackground(0x3A, 0x6E, 0xA5); // the classic desktop colour

QFont SansFont(int pixelSize, bool bold = false) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A background of the design's, with black or white text, whichever reads on it: a dark desktop
// theme's light text would not read on red.
void SetBackground(QWidget* widget, const QColor& color) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::WindowText, ToQColor(ReadableText(ToRgb(color))));
    widget->setPalette(palette);
}

TLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const QString& text,
                  int pixelSize = 0, bool bold = false) {
    auto* label = new TLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    if (pixelSize > 0)
        label->setFont(SansFont(pixelSize, bold));
    label->move(left, top);
    label->SetCaption(text);
    return label;
}

// A label whose size the design fixes (it carries a coloured background); it still grows to fit a
// longer caption so no language cuts its text.
TLabel* MakeSizedLabel(QWidget* parent, const char* name, QRect rect, const QString& text, int pixelSize,
                       bool bold) {
    TLabel* label = MakeLabel(parent, name, rect.left(), rect.top(), text, pixelSize, bold);
    label->setMinimumSize(rect.size());
    label->SetCaption(text);
    return label;
}

QAction* MakeAction(QMenu* menu, const char* name, const QString& caption,
                    const QKeySequence& shortcut = {}) {
    auto* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, QRect rect, const QIcon& glyph) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    button->setIcon(glyph);
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* MakeButton(QWidget* parent, const char* name, QRect rect, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    button->setFocusPolicy(Qt::ClickFocus); // not a tab stop
    return button;
}

TCGauge* MakeGauge(QWidget* parent, const char* name, QRect rect, const QColor& color, bool showText) {
    auto* gauge = new TCGauge(parent);
    gauge->setObjectName(QString::fromLatin1(name));
    gauge->setGeometry(rect);
    gauge->SetForeColor(color);
    gauge->SetShowText(showText);
    return gauge;
}

} // namespace

void SetHint(QWidget* widget, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    widget->setToolTip(bar < 0 ? hint : hint.left(bar));
    widget->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void SetHint(QAction* action, const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void TLabel::SetCaption(const QString& text) {
    setText(text);
    if (AutoSize)
        resize(sizeHint().expandedTo(minimumSize()));
}

void TFormHlav::BuildForm() {
    setObjectName(QStringLiteral("FormHlav"));
    setWindowTitle(QStringLiteral("Programming of \"ZEVO\" unit"));
    setFont(SansFont(11));

    ClientArea = new QWidget;
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setMinimumSize(ClientWidth, ClientHeight - StatusBarHeight);
    // The design's controls keep their places; a window smaller than the design (a workshop laptop's
    // 1366 x 768, or 200 % scaling) scrolls them instead of cutting them off.
    ClientScroll = new QScrollArea(this);
    ClientScroll->setObjectName(QStringLiteral("ClientScroll"));
    ClientScroll->setFrameShape(QFrame::NoFrame);
    ClientScroll->setWidgetResizable(true);
    ClientScroll->setWidget(ClientArea);
    // No wider than the design's area and its scroll bar: the room beyond goes to the docks, not to
    // a blank strip.
    ClientScroll->setMaximumWidth(ClientWidth + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("ClientColumn"));
    column->setMaximumWidth(ClientScroll->maximumWidth());
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->setSpacing(0);
    columnLayout->addWidget(ClientScroll, 1);
    setCentralWidget(column);
    setMinimumSize(SmallestClientWidth, SmallestClientHeight);

    BuildMenu();
    BuildToolBar();

    PageControl1 = new QTabWidget(ClientArea);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(4, 45, 959, 476);
    PageControl1->setFocusPolicy(Qt::NoFocus);
    PageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);
    TabSheet_Ruzne = new QWidget;
    TabSheet_Ruzne->setObjectName(QStringLiteral("TabSheet_Ruzne"));
    TabSheet_Servo1 = new QWidget;
    TabSheet_Servo1->setObjectName(QStringLiteral("TabSheet_Servo1"));
    TabSheet_Servo2 = new QWidget;
    TabSheet_Servo2->setObjectName(QStringLiteral("TabSheet_Servo2"));
    PageControl1->addTab(TabSheet_Ruzne, QStringLiteral("Různé 1"));
    PageControl1->addTab(TabSheet_Servo1, QStringLiteral("Servo1"));
    PageControl1->addTab(TabSheet_Servo2, QStringLiteral("Servo2"));
    PageControl1->setCurrentIndex(0);

    BuildPageRuzne();
    BuildMonitoringArea();
    Strip = new LiveStrip(*ClientScroll,
                          {LabelRpm, LabelTpsMon, LabelServoPoz1, LabelServoMer1, LabelServoPoz2, LabelServoMer2},
                          column);
    columnLayout->addWidget(Strip);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(StatusBarHeight);
    StatusBar1->setSizeGripEnabled(true);
    setStatusBar(StatusBar1);

    // The unit is polled from this one timer on the UI thread; it runs for the window's lifetime.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(55);
    Timer1->setTimerType(Qt::PreciseTimer);

    OpenDialogFileName = QStringLiteral(" ");
    SaveDialogFileName = QString();

    resize(ClientWidth, menuBar()->sizeHint().height() + ClientHeight);
}

void TFormHlav::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    MenuFile = bar->addMenu(QStringLiteral("&File"));
    MenuFile->setObjectName(QStringLiteral("MenuFile"));
    MenuNew = MakeAction(MenuFile, "MenuNew", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    SetHint(MenuNew, QStringLiteral("New|Set default parametrs"));
    MenuFile->addSeparator()->setObjectName(QStringLiteral("N3"));
    MenuOpen = MakeAction(MenuFile, "MenuOpen", QStringLiteral("&Open"), QKeySequence(Qt::Key_F3));
    // The conventional key beside the design's (the menu shows the first).
    MenuOpen->setShortcuts({QKeySequence(Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::Key_O)});
    SetHint(MenuOpen, QStringLiteral("Open|Open file with parametrs"));
    MenuOpenExeDir = MakeAction(MenuFile, "MenuOpenExeDir", QStringLiteral("Open from exe dir"));
    MenuFile->addSeparator()->setObjectName(QStringLiteral("N1"));
    MenuSave = MakeAction(MenuFile, "MenuSave", QStringLiteral("&Save"), QKeySequence(Qt::Key_F2));
    MenuSave->setShortcuts({QKeySequence(Qt::Key_F2), QKeySequence(Qt::CTRL | Qt::Key_S)});
    SetHint(MenuSave, QStringLiteral("Save|Save parametrs to file"));
    MenuSaveExeDir = MakeAction(MenuFile, "MenuSaveExeDir", QStringLiteral("Save to exe dir"));
    MenuFile->addSeparator()->setObjectName(QStringLiteral("N2"));
    MenuPrint =
        MakeAction(MenuFile, "MenuPrint", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    SetHint(MenuPrint, QStringLiteral("Print|Print parametrs"));
    MenuFile->addSeparator()->setObjectName(QStringLiteral("N4"));
    MenuExit = MakeAction(MenuFile, "MenuExit", QStringLiteral("E&xit"));
    SetHint(MenuExit, QStringLiteral("Exit|End of program"));

    MenuCom = bar->addMenu(QStringLiteral("&Com"));
    MenuCom->setObjectName(QStringLiteral("MenuCom"));
    SetHint(MenuCom->menuAction(), QStringLiteral("Com|Set number of com "));

    MenuDevice = bar->addMenu(QStringLiteral("&Device"));
    MenuDevice->setObjectName(QStringLiteral("MenuDevice"));
    MenuRead = MakeAction(MenuDevice, "MenuRead", QStringLiteral("&Read"), QKeySequence(Qt::Key_F7));
    SetHint(MenuRead, QStringLiteral("Read|Reading parametrs from ignition"));
    MenuVerify = MakeAction(MenuDevice, "MenuVerify", QStringLiteral("&Verify"), QKeySequence(Qt::Key_F8));
    SetHint(MenuVerify, QStringLiteral("Verify|Compare set parametrs  with parametrs of ignition"));
    MenuProgram = MakeAction(MenuDevice, "MenuProgram", QStringLiteral("&Program"), QKeySequence(Qt::Key_F9));
    SetHint(MenuProgram, QStringLiteral("Programing|Programing  set parametrs to ignition"));

    MenuTools = bar->addMenu(QStringLiteral("Tools"));
    MenuTools->setObjectName(QStringLiteral("MenuTools"));
    MenuToolsMinus =
        MakeAction(MenuTools, "MenuToolsMinus", QStringLiteral("Minus "), QKeySequence(Qt::Key_F4));
    MenuToolsPlus = MakeAction(MenuTools, "MenuToolsPlus", QStringLiteral("Plus"), QKeySequence(Qt::Key_F5));
    MenuZpet = MakeAction(MenuTools, "MenuZpet", QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    // Redo is Ctrl+Alt+Z, and Ctrl+Y as in most programs a tuner knows (the menu shows the first);
    // Ctrl+Shift+Z is deliberately nothing (see eventFilter).
    MenuZnovu = MakeAction(MenuTools, "MenuZnovu", QStringLiteral("Redo"),
                           QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    MenuZnovu->setShortcuts({QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

    MenuLanguage = bar->addMenu(QStringLiteral("&Language"));
    MenuLanguage->setObjectName(QStringLiteral("MenuLanguage"));
    SetHint(MenuLanguage->menuAction(), QStringLiteral("Language|Set English or Czech"));
    MenuEnglish = MakeAction(MenuLanguage, "MenuEnglish", QStringLiteral("&English"));
    SetHint(MenuEnglish, QStringLiteral("|Set Englich menu"));
    MenuCzech = MakeAction(MenuLanguage, "MenuCzech", QStringLiteral("&Czech"));
    SetHint(MenuCzech, QStringLiteral("|Set Czech menu"));
    MenuGerman = MakeAction(MenuLanguage, "MenuGerman", QStringLiteral("&German"));
    for (QAction* item : {MenuEnglish, MenuCzech, MenuGerman})
        item->setCheckable(true);
    MenuEnglish->setChecked(true);

    MenuHelp = bar->addMenu(QStringLiteral("&Help"));
    MenuHelp->setObjectName(QStringLiteral("MenuHelp"));
    SetHint(MenuHelp->menuAction(), QStringLiteral("Not available jet"));
    MenuContens = MakeAction(MenuHelp, "MenuContens", QStringLiteral("&Contens"), QKeySequence(Qt::Key_F1));
    MenuAbout = MakeAction(MenuHelp, "MenuAbout", QStringLiteral("&About..."));
}

void TFormHlav::BuildToolBar() {
    GroupBoxToolBar = new QGroupBox(ClientArea);
    GroupBoxToolBar->setObjectName(QStringLiteral("GroupBoxToolBar"));
    GroupBoxToolBar->setGeometry(3, 0, 462, 43);

    SpeedButtonNew = MakeSpeedButton(GroupBoxToolBar, "SpeedButtonNew", {12, 12, 24, 23}, GlyphNew());
    SetHint(SpeedButtonNew, QStringLiteral("New|Set default parametrs"));
    SpeedButtonOpen = MakeSpeedButton(GroupBoxToolBar, "SpeedButtonOpen", {48, 12, 24, 23}, GlyphOpen());
    SetHint(SpeedButtonOpen, QStringLiteral("Open|Open file with parametrs"));
    SpeedButtonSave = MakeSpeedButton(GroupBoxToolBar, "SpeedButtonSave", {84, 12, 24, 23}, GlyphSave());
    SetHint(SpeedButtonSave, QStringLiteral("Save|Save parametrs to file"));
    SpeedButtonPrint = MakeSpeedButton(GroupBoxToolBar, "SpeedButtonPrint", {120, 12, 24, 23}, GlyphPrint());
    SetHint(SpeedButtonPrint, QStringLiteral("Print|Print parametrs"));
    SpeedButtonZpet = MakeSpeedButton(GroupBoxToolBar, "SpeedButtonZpet", {156, 13, 23, 22}, GlyphUndo());
    SpeedButtonZnovu = MakeSpeedButton(GroupBoxToolBar, "SpeedButtonZnovu", {192, 13, 23, 22}, GlyphRedo());

    ButtonRead = MakeButton(GroupBoxToolBar, "ButtonRead", {230, 12, 57, 23}, QStringLiteral("&Read"));
    SetHint(ButtonRead, QStringLiteral("Read|Reading parametrs from ignition"));
    ButtonVerify = MakeButton(GroupBoxToolBar, "ButtonVerify", {296, 12, 65, 23}, QStringLiteral("Verify"));
    SetHint(ButtonVerify, QStringLiteral("Verify|Compare set parametrs  with parametrs of ignition"));
    ButtonProgram =
        MakeButton(GroupBoxToolBar, "ButtonProgram", {370, 12, 81, 23}, QStringLiteral("Program"));
    SetHint(ButtonProgram, QStringLiteral("Programing|Programing  set parametrs to ignition"));

    // Undo and redo are enabled only while the history allows the step.
    for (QToolButton* button : {SpeedButtonZpet, SpeedButtonZnovu})
        button->setEnabled(false);
    MenuZpet->setEnabled(false);
    MenuZnovu->setEnabled(false);
}

void TFormHlav::BuildPageRuzne() {
    QWidget* page = TabSheet_Ruzne;

    GroupBoxSetTps = new QGroupBox(QStringLiteral("TPS"), page);
    GroupBoxSetTps->setObjectName(QStringLiteral("GroupBoxSetTps"));
    GroupBoxSetTps->setGeometry(8, 4, 284, 107);
    LabelTps0 = MakeLabel(GroupBoxSetTps, "LabelTps0", 33, 30, QStringLiteral("0%  [mV]"));
    LabelTps100 = MakeLabel(GroupBoxSetTps, "LabelTps100", 21, 69, QStringLiteral("100%  [mv]"));

    EditTps0 = new TEdit(GroupBoxSetTps);
    EditTps0->setObjectName(QStringLiteral("EditTps0"));
    EditTps0->setGeometry(96, 26, 40, 21);
    UpDownTps0 = new TUpDown(GroupBoxSetTps);
    UpDownTps0->setObjectName(QStringLiteral("UpDownTps0"));
    UpDownTps0->setGeometry(136, 26, 16, 21);
    UpDownTps0->SetAssociate(EditTps0);
    UpDownTps0->SetRange(100, 2500);
    UpDownTps0->SetIncrement(10);
    UpDownTps0->SetPosition(200);

    EditTps100 = new TEdit(GroupBoxSetTps);
    EditTps100->setObjectName(QStringLiteral("EditTps100"));
    EditTps100->setGeometry(96, 66, 40, 21);
    UpDownTps100 = new TUpDown(GroupBoxSetTps);
    UpDownTps100->setObjectName(QStringLiteral("UpDownTps100"));
    UpDownTps100->setGeometry(136, 66, 16, 21);
    UpDownTps100->SetAssociate(EditTps100);
    UpDownTps100->SetRange(2500, 4900);
    UpDownTps100->SetIncrement(10);
    UpDownTps100->SetPosition(2600);

    ButtonTps0 = MakeButton(GroupBoxSetTps, "ButtonTps0", {192, 24, 75, 25}, QStringLiteral("TPS 0 %"));
    ButtonTps0->setFocusPolicy(Qt::NoFocus);
    ButtonTps100 = MakeButton(GroupBoxSetTps, "ButtonTps100", {192, 64, 75, 25}, QStringLiteral("TPS 100 %"));
    ButtonTps100->setFocusPolicy(Qt::NoFocus);

    RadioGroupPocPulsu = new QGroupBox(page);
    RadioGroupPocPulsu->setObjectName(QStringLiteral("RadioGroupPocPulsu"));
    RadioGroupPocPulsu->setGeometry(326, 7, 235, 386);
    RadioGroupPocPulsuItems = new QButtonGroup(RadioGroupPocPulsu);
    RadioGroupPocPulsuItems->setExclusive(true);
    // Items share the group's height evenly below its caption, as a radio group lays them out.
    constexpr int firstTop = 18;
    const int pitch = (386 - firstTop - 4) / RadioItemCount;
    for (int i = 0; i < RadioItemCount; ++i) {
        auto* item = new QRadioButton(RadioGroupPocPulsu);
        item->setObjectName(QStringLiteral("RadioPocPulsu%1").arg(i));
        item->setGeometry(8, firstTop + i * pitch, 220, pitch);
        RadioGroupPocPulsuItems->addButton(item, i);
        RadioPocPulsu[static_cast<std::size_t>(i)] = item;
    }
    RadioPocPulsu[0]->setChecked(true);

    LabelVerze2 = MakeLabel(page, "LabelVerze2", 16, 347, QString());
    SetHint(LabelVerze2, QStringLiteral("Date|Date of program in ignition"));
    LabelVerze3 = MakeLabel(page, "LabelVerze3", 82, 347, QString());
    SetHint(LabelVerze3, QStringLiteral("Time|Time of program in ignition"));
    LabelVerze1 = MakeLabel(page, "LabelVerze1", 130, 347, QString());
    SetHint(LabelVerze1, QStringLiteral("Version|Version of program in ignition"));
    LabelFile1 = MakeLabel(page, "LabelFile1", 16, 379, QStringLiteral("File:"));
    LabelFile2 = MakeLabel(page, "LabelFile2", 64, 379, QStringLiteral("----------"));
    LabelPocetProgramovani =
        MakeLabel(page, "LabelPocetProgramovani", 722, 387, QStringLiteral("Number of Programing: -----"));
}

void TFormHlav::BuildMonitoringArea() {
    QWidget* client = ClientArea;

    LabelSpojeni =
        MakeSizedLabel(client, "LabelSpojeni", {472, 9, 174, 29}, QStringLiteral("No Connection"), 23, true);
    SetBackground(LabelSpojeni, clRed);
    LabelRpm = MakeSizedLabel(client, "LabelRpm", {12, 523, 113, 29}, QStringLiteral("RPM = ---"), 23, true);
    CGaugeRpm = MakeGauge(client, "CGaugeRpm", {13, 552, 240, 18}, clFuchsia, false);
    LabelNapeti =
        MakeSizedLabel(client, "LabelNapeti", {292, 553, 75, 24}, QStringLiteral("U = ---[V]"), 19, false);
    LabelTpsMon =
        MakeSizedLabel(client, "LabelTpsMon", {12, 582, 130, 29}, QStringLiteral("TP= --- [%]"), 23, true);
    CGaugeTps = MakeGauge(client, "CGaugeTps", {13, 612, 240, 18}, clBackground, false);

    // The servo captions of servo 1 end where those of servo 2 begin: a narrower face keeps the
    // longest of them ("Servo Sollspannung 1 = 4999 mV") clear of its neighbour.
    LabelServoPoz1 = MakeSizedLabel(client, "LabelServoPoz1", {466, 542, 159, 20},
                                    QStringLiteral("Servo 1 Required= ---"), 16, false);
    LabelServoMer1 = MakeSizedLabel(client, "LabelServoMer1", {466, 569, 166, 20},
                                    QStringLiteral("Servo 1 Measured= ---"), 16, false);
    LabelServoPoz2 = MakeSizedLabel(client, "LabelServoPoz2", {706, 542, 159, 20},
                                    QStringLiteral("Servo 2 Required= ---"), 16, false);
    LabelServoMer2 = MakeSizedLabel(client, "LabelServoMer2", {706, 569, 166, 20},
                                    QStringLiteral("Servo 2 Measured= ---"), 16, false);

    for (TLabel* label : {LabelServoPoz1, LabelServoMer1, LabelServoPoz2, LabelServoMer2}) {
        QFont narrow = label->font();
        narrow.setStretch(QFont::Condensed);
        label->setFont(narrow);
        label->SetCaption(label->Caption());
    }

    LabelHlaseni =
        MakeSizedLabel(client, "LabelHlaseni", {300, 612, 97, 16}, QStringLiteral("Programming:"), 13, true);
    {
        QPalette palette = LabelHlaseni->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        LabelHlaseni->setPalette(palette);
    }
    LabelHlaseni->hide();
    CGaugeProgram = MakeGauge(client, "CGaugeProgram", {456, 612, 203, 18}, clAqua, true);
    CGaugeProgram->SetMaxValue(7);
    CGaugeProgram->hide();

    CheckBoxProgHned = new TCheckBox(QStringLiteral("Program. po změně"), client);
    CheckBoxProgHned->setObjectName(QStringLiteral("CheckBoxProgHned"));
    CheckBoxProgHned->setGeometry(706, 600, 177, 16);
    CheckBoxProgHned->setAutoFillBackground(true);
    SetHint(CheckBoxProgHned, QStringLiteral("pokus"));

    LabelCom = MakeSizedLabel(client, "LabelCom", {706, 622, 69, 20}, QStringLiteral("COM = --"), 16, false);
    LabelEeDataErr = MakeSizedLabel(client, "LabelEeDataErr", {13, 640, 217, 24},
                                    QStringLiteral("Programmed data error"), 19, true);
    SetBackground(LabelEeDataErr, clRed);
    LabelEeDataErr->hide();
    LabelVersion =
        MakeSizedLabel(client, "LabelVersion", {13, 672, 124, 24}, QStringLiteral("LabelVersion"), 19, true);
    SetBackground(LabelVersion, clRed);
    LabelVersion->hide();

    constexpr std::array<int, 8> testLefts = {24, 138, 252, 366, 481, 595, 709, 824};
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = "LabelTest" + QByteArray::number(i + 1);
        TLabel* label =
            MakeSizedLabel(client, name.constData(), {testLefts[static_cast<std::size_t>(i)], 752, 78, 20},
                           QStringLiteral("Test%1 = ---").arg(i + 1), 16, false);
        label->hide();
        LabelTest[static_cast<std::size_t>(i)] = label;
    }
}

} // namespace zevo
