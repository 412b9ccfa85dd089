// The real window, headless, in a temporary config folder: start-up, shutdown, settings, languages,
// layout and the commands this window already serves.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <csignal>
#include <memory>
#include <sstream>

#include <gtest/gtest.h>

#include "app/image_file.h"
#include "find_control.h"
#include "form_fixture.h"
#include "ui/cgauge.h"
#include "ui/close_on_signal.h"
#include "ui/controls.h"
#include "ui/form_hlav.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;

class FormHlavTest : public FormFixture {
protected:
    QString FilePath(const QString& name) const { return QDir(Dir.path()).filePath(name); }
    // A text file as the tool wrote it, its lines ended by "\n" whatever the platform (Windows
    // writes "\r\n", as the settings files there always were).
    QByteArray ReadFile(const QString& name) const {
        QFile file(FilePath(name));
        QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
#ifdef _WIN32
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "every line ends in CR LF on Windows";
        bytes.replace("\r\n", "\n");
#endif
        return bytes;
    }
    void WriteFile(const QString& name, const QByteArray& bytes) const {
        QFile file(FilePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static std::string DefaultImageText() {
        DeviceImage image;
        SetDefaults(image);
        std::ostringstream out;
        WriteImageFile(out, image, AllCellsFlags{});
        return out.str();
    }
};

TEST_F(FormHlavTest, FirstRunStartsWithDefaultsAndCloseLeavesBothFiles) {
    auto form = Start();
    EXPECT_EQ(form->Language(), LanguageCzech);
    EXPECT_TRUE(Control<QAction>(*form, "MenuCzech")->isChecked());
    EXPECT_FALSE(Control<QAction>(*form, "MenuEnglish")->isChecked());
    EXPECT_EQ(form->PortChosen().ComPortIndex, AutoSearchPortIndex);
    EXPECT_EQ(form->PortChosen().AutoPortNumber, 0);
    EXPECT_EQ(Control<TLabel>(*form, "LabelFile2")->Caption(), QString());
    EXPECT_EQ(form->LastFileFolder(), QString());
    EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentIndex(), 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Nastavování jednotky \"ZEVO\""));
    // Centred on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form->pos().x(), (screen.width() - form->width()) / 2);
    EXPECT_EQ(form->pos().y(), (screen.height() - form->height()) / 2);
    EXPECT_EQ(Control<TUpDown>(*form, "UpDownTps0")->Position(), 480);
    EXPECT_EQ(Control<TEdit>(*form, "EditTps0")->text(), QStringLiteral("480"));
    EXPECT_TRUE(Control<QRadioButton>(*form, "RadioPocPulsu1")->isChecked());

    form->close();
    const QString ini = QString::fromUtf8(ReadFile(QStringLiteral("ZEVO_v56.ini")));
    EXPECT_TRUE(ini.startsWith(QStringLiteral("[FORM_HLAV]\n")));
    EXPECT_TRUE(ini.contains(QStringLiteral("\nComPort=21\n")));
    EXPECT_TRUE(ini.contains(QStringLiteral("\nLanguage=0\n")));
    EXPECT_TRUE(ini.contains(QStringLiteral("[BASIC]\nComPortAuto=1\n")));
    EXPECT_TRUE(ini.contains(QStringLiteral("[IGNITION]\nPageControl1->ActivePageIndex=0\n")));
    EXPECT_EQ(ReadFile(QStringLiteral("_ZEVO_v56.ini")).toStdString(), DefaultImageText());
}

TEST_F(FormHlavTest, SecondRunRestoresWhatTheFirstLeft) {
    {
        // The set of a session before: an unused byte the tool must carry along, a byte of the
        // identification page, servo 1's "All" box ticked.
        DeviceImage set = DefaultSet();
        set.BlockByte(11) = 0xAB;
        set.Page(0)[3] = 7;
        LeaveForStart(set, {1, 0});
        auto form = Start({QStringLiteral("DEUTSCH")});
        EXPECT_EQ(form->Language(), LanguageGerman);
        testing::ClickTab(*form, 2);
        form->move(form->pos() + QPoint(10, 20));
        form->resize(760, 560); // fits the 800 x 600 test screen, so it comes back as it was

        form->close();
    }
    EXPECT_TRUE(ReadFile(QStringLiteral("ZEVO_v56.ini")).contains("Language=2"));
    auto form = Start();
    EXPECT_EQ(form->Language(), LanguageGerman);
    EXPECT_TRUE(Control<QAction>(*form, "MenuGerman")->isChecked());
    EXPECT_EQ(Control<QMenu>(*form, "MenuFile")->title(), QStringLiteral("&Datei"));
    EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentIndex(), 2);
    EXPECT_EQ(form->Parameters().Image.BlockByte(11), 0xAB);
    EXPECT_EQ(form->Parameters().Image.Page(0)[3], 7);
    EXPECT_EQ(form->AllCellsTicked()[0], 1);
    EXPECT_EQ(form->size(), QSize(760, 560));
}

TEST_F(FormHlavTest, LanguageFromArgumentOverridesTheSettingsOnlyWhenSpelledExactly) {
    struct Row {
        QStringList arguments;
        std::uint8_t expected;
    };
    const Row rows[] = {
        {{}, LanguageEnglish},
        {{QStringLiteral("DEUTSCH")}, LanguageGerman},
        {{QStringLiteral("CESKY")}, LanguageCzech},
        {{QStringLiteral("deutsch")}, LanguageEnglish},
        {{QStringLiteral("English")}, LanguageEnglish},
        {{QStringLiteral("--demo"), QStringLiteral("DEUTSCH")}, LanguageEnglish},
    };
    for (const Row& row : rows) {
        WriteFile(QStringLiteral("ZEVO_v56.ini"), "[form_hlav]\nlanguage=1\n");
        auto form = Start(row.arguments);
        EXPECT_EQ(form->Language(), row.expected) << row.arguments.join(' ').toStdString();
    }
}

TEST_F(FormHlavTest, BadSettingsFallBackAndAreWrittenBackRepaired) {
    WriteFile(QStringLiteral("ZEVO_v56.ini"),
              "[FORM_HLAV]\nLanguage=7\nComPort=0\nLeft=abc\n[BASIC]\nComPortAuto=21\n"
              "[PORTS]\nCOM3=/dev/ttyUSB1\n");
    WriteFile(QStringLiteral("_ZEVO_v56.ini"), "300 -1 12");
    auto form = Start();
    EXPECT_EQ(form->Language(), LanguageCzech);
    EXPECT_EQ(form->PortChosen().ComPortIndex, 0);   // 0 - 1 = 255, repaired to COM1
    EXPECT_EQ(form->PortChosen().AutoPortNumber, 0); // COM21 starts over at COM1
    EXPECT_EQ(form->Parameters().Image.Bytes[0], 44);      // low 8 bits of 300
    EXPECT_EQ(form->Parameters().Image.Bytes[1], 255);
    EXPECT_EQ(form->Parameters().Image.Bytes[2], 12);
    EXPECT_EQ(form->Parameters().Image.Tps0(), 48); // bytes the file did not reach keep the defaults
    form->close();
    const QByteArray ini = ReadFile(QStringLiteral("ZEVO_v56.ini"));
    EXPECT_TRUE(ini.contains("Language=0"));
    EXPECT_TRUE(ini.contains("ComPort=1\n"));
    EXPECT_TRUE(ini.contains("[PORTS]\nCOM3=/dev/ttyUSB1"));
}

TEST_F(FormHlavTest, WindowRectangleIsAppliedWhenItFitsAndBroughtOntoTheScreenOtherwise) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    enum class Placed { AsStored, MovedOnto, Centred };
    struct Row {
        int left, top, width, height;
        Placed placed;
    };
    const Row rows[] = {{screen.left() + 5, screen.top() + 7, 700, 500, Placed::AsStored},
                        {screen.right() - 20, screen.bottom() - 20, 700, 500, Placed::MovedOnto},
                        {screen.left() - 100, screen.top() - 50, 700, 500, Placed::MovedOnto},
                        {screen.left(), screen.top(), 4000, 3000, Placed::MovedOnto},
                        {screen.right() + 4000, screen.top(), 700, 500, Placed::Centred},
                        {-30000, -30000, 700, 500, Placed::Centred}};
    for (const Row& row : rows) {
        WriteFile(QStringLiteral("ZEVO_v56.ini"),
                  QStringLiteral("[FORM_HLAV]\nLeft=%1\nTop=%2\nHeight=%3\nWidth=%4\n")
                      .arg(row.left)
                      .arg(row.top)
                      .arg(row.height)
                      .arg(row.width)
                      .toUtf8());
        auto form = Start();
        const std::string name = std::to_string(row.left) + "," + std::to_string(row.top);
        // Whatever was stored, the whole window with its frame is on the screen.
        EXPECT_TRUE(screen.contains(form->frameGeometry())) << name;
        switch (row.placed) {
        case Placed::AsStored:
            EXPECT_EQ(form->pos(), QPoint(row.left, row.top)) << name;
            EXPECT_EQ(form->size(), QSize(row.width, row.height)) << name;
            break;
        case Placed::MovedOnto:
            EXPECT_EQ(
                form->size(),
                QSize(std::min(row.width, screen.width() - (form->frameGeometry().width() - form->width())),
                      std::min(row.height,
                               screen.height() - (form->frameGeometry().height() - form->height()))))
                << name;
            break;
        case Placed::Centred:
            EXPECT_EQ(form->pos().x(), std::max(0, (screen.width() - form->width()) / 2)) << name;
            break;
        }
    }
}

TEST_F(FormHlavTest, TestModeFileShowsTheDiagnosticLabels) {
    const std::pair<QByteArray, bool> rows[] = {
        {"abc DIAG_SHOWON xyz", true}, {"DIAG_SHOWONX", false}, {"diag_showon", false}, {"", false}};
    for (const auto& [content, shown] : rows) {
        WriteFile(QStringLiteral("test_tolmek.txt"), content);
        auto form = Start();
        EXPECT_EQ(form->TestModeShown(), shown) << content.constData();
        for (int i = 1; i <= 8; ++i)
            EXPECT_EQ(!Control<TLabel>(*form, QStringLiteral("LabelTest%1").arg(i))->isHidden(), shown);
    }
}

TEST_F(FormHlavTest, SwitchingLanguageRewritesCaptionsPlaceholdersAndKeepsTheSelection) {
    auto form = Start();
    Control<QRadioButton>(*form, "RadioPocPulsu5")->click();
    Control<QAction>(*form, "MenuGerman")->trigger();
    EXPECT_EQ(Control<TLabel>(*form, "LabelServoPoz1")->Caption(), QStringLiteral("Servo Sollspannung 1 = --- mV"));
    EXPECT_EQ(Control<TLabel>(*form, "LabelPocetProgramovani")->Caption(), QStringLiteral("Programmierungsanzahl = = ---"));
    EXPECT_EQ(form->Msg(MsgId::MsgManualOpenError),
              QStringLiteral("Fehler beim öffnen der Datei ZEVO_manual_en.pdf !"));
    EXPECT_TRUE(Control<QAction>(*form, "MenuGerman")->isChecked());
    EXPECT_FALSE(Control<QAction>(*form, "MenuCzech")->isChecked());

    Control<QAction>(*form, "MenuEnglish")->trigger();
    EXPECT_EQ(Control<QPushButton>(*form, "ButtonRead")->text(), QStringLiteral("&Read"));
    EXPECT_EQ(Control<QPushButton>(*form, "ButtonVerify")->text(), QStringLiteral("&Verify"));
    EXPECT_EQ(Control<QPushButton>(*form, "ButtonProgram")->text(), QStringLiteral("&Program"));
    EXPECT_EQ(Control<QRadioButton>(*form, "RadioPocPulsu0")->text(), QStringLiteral("1 per two revolution"));
    EXPECT_EQ(Control<QRadioButton>(*form, "RadioPocPulsu12")->text(), QStringLiteral("12 per one revolution"));
    EXPECT_TRUE(Control<QRadioButton>(*form, "RadioPocPulsu5")->isChecked());
    EXPECT_EQ(form->Parameters().Image.PulsesPerRevIndex(), 5);
    EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->tabText(0), QStringLiteral("Miscellaneous"));
    // The English language hint keeps its short|long split: the status bar gets the long part.
    EXPECT_EQ(Control<QMenu>(*form, "MenuLanguage")->menuAction()->statusTip(),
              QStringLiteral("Set English or German or French"));
    EXPECT_EQ(Control<QPushButton>(*form, "ButtonProgram")->toolTip(), QStringLiteral("Programing  set parametrs to ignition"));
    // The port menu is the same in every language.
    EXPECT_EQ(Control<QAction>(*form, "MenuComItem0")->text(), QStringLiteral("Com 1"));
    EXPECT_EQ(Control<QAction>(*form, "MenuComItem20")->text(), QStringLiteral("Com Auto"));
}

TEST_F(FormHlavTest, NewAsksFirstAndOnlyYesLoadsTheDefaults) {
    DeviceImage kept = DefaultSet();
    kept.BlockByte(12) = 0x5A; // an unused byte, which neither Open nor New brings
    LeaveForStart(kept);
    auto form = StartShown({QStringLiteral("ENGLISH")});
    const QString tune = FilePath(QStringLiteral("tune.ign"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZEVO_TEST_DATA "/default_set.ign"), tune));
    Prompts.Paths = {tune};
    Control<QAction>(*form, "MenuOpen")->trigger();
    // Changed by hand once opened.
    TEdit* tps0 = Control<TEdit>(*form, "EditTps0");
    QTest::mouseClick(tps0, Qt::LeftButton);
    QTest::keyClick(tps0, Qt::Key_Home);
    QTest::keyClick(tps0, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClicks(tps0, QStringLiteral("900"));
    QTest::keyClick(tps0, Qt::Key_Return);
    ASSERT_EQ(form->Parameters().Image.Tps0(), 90);
    // The set was changed and is neither in a file nor in the unit: first the question whether to
    // save it (No: go on without saving), then the design's own.
    for (PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Cancel}) {
        Prompts.Answers = {PromptAnswer::No, answer};
        Control<QToolButton>(*form, "SpeedButtonNew")->click();
        EXPECT_EQ(form->Parameters().Image.Tps0(), 90);
        EXPECT_EQ(Control<TLabel>(*form, "LabelFile2")->Caption(), tune);
    }
    Prompts.Answers = {PromptAnswer::Cancel};
    Control<QToolButton>(*form, "SpeedButtonNew")->click();
    EXPECT_EQ(Prompts.Asked.back(), QStringLiteral("The set on screen is neither saved nor in the unit. Save it first?"));
    EXPECT_EQ(form->Parameters().Image.Tps0(), 90) << "cancelled at the first question";
    Prompts.Answers = {PromptAnswer::No, PromptAnswer::Yes};
    Control<QAction>(*form, "MenuNew")->trigger();
    EXPECT_EQ(Prompts.Asked.back(), QStringLiteral("Do you want default setting?"));
    EXPECT_EQ(form->Parameters().Image.Tps0(), 48);
    EXPECT_EQ(form->Parameters().Image.BlockByte(12), 0x5A);
    EXPECT_EQ(Control<TEdit>(*form, "EditTps0")->text(), QStringLiteral("480"));
    EXPECT_EQ(Control<TLabel>(*form, "LabelFile2")->Caption(), QString());
    EXPECT_TRUE(Control<TLabel>(*form, "LabelHlaseni")->isHidden());
    EXPECT_TRUE(Control<TCGauge>(*form, "CGaugeProgram")->isHidden());
}

TEST_F(FormHlavTest, EnterInACalibrationFieldStoresItAndMovesTheFocus) {
    auto form = Start();
    form->show();
    form->activateWindow();
    QTest::mouseClick(Control<TEdit>(*form, "EditTps0"), Qt::LeftButton);
    Control<TEdit>(*form, "EditTps0")->selectAll();
    QTest::keyClicks(Control<TEdit>(*form, "EditTps0"), QStringLiteral("1234"));
    EXPECT_EQ(form->Parameters().Image.Tps0(), 48); // typed text is only a proposal
    QTest::keyClick(Control<TEdit>(*form, "EditTps0"), Qt::Key_Return);
    EXPECT_EQ(form->Parameters().Image.Tps0(), 123);
    EXPECT_FALSE(Control<TEdit>(*form, "EditTps0")->hasFocus());

    // Out of range: the previous value stands and comes back.
    Control<TEdit>(*form, "EditTps0")->selectAll();
    QTest::keyClicks(Control<TEdit>(*form, "EditTps0"), QStringLiteral("9999"));
    QTest::keyClick(Control<TEdit>(*form, "EditTps0"), Qt::Key_Enter);
    EXPECT_EQ(form->Parameters().Image.Tps0(), 123);
    EXPECT_EQ(Control<TUpDown>(*form, "UpDownTps0")->Position(), 1230);
}

TEST_F(FormHlavTest, LayoutPlacesTheFixedControls) {
    auto form = Start();
    struct Row {
        QWidget* widget;
        QRect rect;
        bool fitsItsCaption = false; // grows where a caption needs more room than the design gave
    };
    const Row rows[] = {
        {Control<QWidget>(*form, "GroupBoxToolBar"), {3, 0, 462, 43}, true},
        {Control<QToolButton>(*form, "SpeedButtonNew"), {12, 12, 24, 23}},
        {Control<QToolButton>(*form, "SpeedButtonZpet"), {156, 13, 23, 22}},
        {Control<QWidget>(*form, "ButtonRead"), {230, 12, 57, 23}, true},
        {Control<QWidget>(*form, "ButtonVerify"), {296, 12, 65, 23}, true},
        {Control<QPushButton>(*form, "ButtonProgram"), {370, 12, 81, 23}, true},
        {Control<QTabWidget>(*form, "PageControl1"), {4, 45, 959, 476}},
        {Control<QWidget>(*form, "GroupBoxSetTps"), {8, 4, 284, 107}},
        {Control<TEdit>(*form, "EditTps0"), {96, 26, 40, 21}},
        {Control<TUpDown>(*form, "UpDownTps0"), {136, 26, 16, 21}},
        {Control<TEdit>(*form, "EditTps100"), {96, 66, 40, 21}},
        {Control<QWidget>(*form, "ButtonTps100"), {192, 64, 75, 25}, true},
        {Control<QWidget>(*form, "RadioGroupPocPulsu"), {326, 7, 235, 386}},
        {Control<TCGauge>(*form, "CGaugeRpm"), {13, 552, 240, 18}},
        {Control<QWidget>(*form, "CGaugeTps"), {13, 612, 240, 18}},
        {Control<TCGauge>(*form, "CGaugeProgram"), {456, 612, 203, 18}},
        {Control<TCheckBox>(*form, "CheckBoxProgHned"), {706, 600, 177, 16}, true},
    };
    // Text widths mean something only where a font draws the text (the offscreen platform under Wine
    // has none, and every caption there measures as if cut).
    const bool fontsDraw = !QFontInfo(form->font()).family().isEmpty();
    for (const Row& row : rows) {
        if (fontsDraw || !row.fitsItsCaption) {
            EXPECT_EQ(row.widget->geometry(), row.rect) << row.widget->objectName().toStdString();
        }
    }
    if (fontsDraw) {
        EXPECT_EQ(Control<TLabel>(*form, "LabelSpojeni")->pos(), QPoint(472, 9));
    }
    EXPECT_EQ(Control<QWidget>(*form, "LabelTest8")->pos(), QPoint(824, 752));
    EXPECT_EQ(Control<QWidget>(*form, "ClientArea")->minimumSize(), QSize(978, 815 - 19));
    EXPECT_EQ(Control<QTimer>(*form, "Timer1")->interval(), 55);
    EXPECT_TRUE(Control<QTimer>(*form, "Timer1")->isActive());
    EXPECT_EQ(Control<TCGauge>(*form, "CGaugeProgram")->MaxValue(), 7);
}

TEST_F(FormHlavTest, MenuCarriesEveryShortcutAndNoCtrlShiftZ) {
    auto form = Start();
    struct Row {
        QAction* action;
        QKeySequence keys;
    };
    const Row rows[] = {
        {Control<QAction>(*form, "MenuNew"), QKeySequence(Qt::CTRL | Qt::Key_N)},
        {Control<QAction>(*form, "MenuOpen"), QKeySequence(Qt::Key_F3)},
        {Control<QAction>(*form, "MenuSave"), QKeySequence(Qt::Key_F2)},
        {Control<QAction>(*form, "MenuPrint"), QKeySequence(Qt::CTRL | Qt::Key_P)},
        {Control<QAction>(*form, "MenuRead"), QKeySequence(Qt::Key_F7)},
        {Control<QAction>(*form, "MenuVerify"), QKeySequence(Qt::Key_F8)},
        {Control<QAction>(*form, "MenuProgram"), QKeySequence(Qt::Key_F9)},
        {Control<QAction>(*form, "MenuToolsMinus"), QKeySequence(Qt::Key_F4)},
        {Control<QAction>(*form, "MenuToolsPlus"), QKeySequence(Qt::Key_F5)},
        {Control<QAction>(*form, "MenuZpet"), QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {Control<QAction>(*form, "MenuZnovu"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)},
        {Control<QAction>(*form, "MenuContens"), QKeySequence(Qt::Key_F1)},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.action->shortcut(), row.keys) << row.action->objectName().toStdString();
    for (QAction* action : form->findChildren<QAction*>())
        EXPECT_NE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    ASSERT_EQ(Control<QMenu>(*form, "MenuCom")->actions().size(), 21);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(Control<QMenu>(*form, "MenuCom")->actions()[i]->text(), QStringLiteral("Com %1").arg(i + 1));
    EXPECT_FALSE(Control<QAction>(*form, "MenuZpet")->isEnabled());
    EXPECT_FALSE(Control<QToolButton>(*form, "SpeedButtonZnovu")->isEnabled());
}

TEST_F(FormHlavTest, FileMenuKeepsTheDesignsOrderWithExitLastBehindASeparator) {
    auto form = Start();
    // The design's items in their order, the added ones after Print, and Exit alone at the end: a
    // hand reaching for the last added item never lands on Exit.
    QStringList order;
    for (QAction* action : Control<QMenu>(*form, "MenuFile")->actions())
        order << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    const QStringList expected = {"MenuNew", "-", "MenuOpen", "MenuOpenExeDir", "-", "MenuSave", "MenuSaveExeDir", "-",
                                  "MenuPrint", "-", "MenuRestorePoints", "MenuCompareFile", "MenuExportReport", "-",
                                  "MenuExit"};
    EXPECT_EQ(order, expected) << order.join(QLatin1Char(' ')).toStdString();
}

TEST_F(FormHlavTest, NumbersAreWrittenAndReadInTheLanguagesFormatWhateverTheComputersLocale) {
    QLocale::setDefault(QLocale::c()); // a computer set to nothing in particular
    const struct {
        const char* Language;
        QString Shown; // the first cell of servo 1's map, 2 000 mV
        QString Typed;
    } cases[] = {
        {"CESKY", QStringLiteral("2\u00A0000"), QStringLiteral("2 600")},
        {"ENGLISH", QStringLiteral("2,000"), QStringLiteral("2,600")},
        {"DEUTSCH", QStringLiteral("2.000"), QStringLiteral("2.600")},
    };
    for (const auto& c : cases) {
        auto form = StartShown({QString::fromLatin1(c.Language)});
        testing::ClickTab(*form, 1);
        auto* cell = Control<QLineEdit>(*form, "EditMap0_0");
        EXPECT_EQ(cell->text(), c.Shown) << c.Language;
        QTest::mouseClick(cell, Qt::LeftButton, Qt::NoModifier, cell->rect().center());
        QTest::keyClicks(cell, c.Typed);
        QTest::keyClick(cell, Qt::Key_Return);
        EXPECT_EQ(form->Parameters().Image.MapCell(0, 0, 0), 2600 / 20) << c.Language << ": " << c.Typed.toStdString();
        EXPECT_EQ(cell->text(), QString(c.Shown).replace(QStringLiteral("000"), QStringLiteral("600"))) << c.Language;
    }
}

TEST_F(FormHlavTest, LongHintGoesToTheStatusBar) {
    auto form = Start({QStringLiteral("ENGLISH")});
    EXPECT_EQ(Control<QToolButton>(*form, "SpeedButtonOpen")->toolTip(), QStringLiteral("Open"));
    EXPECT_EQ(Control<QToolButton>(*form, "SpeedButtonOpen")->statusTip(), QStringLiteral("Open file with parametrs"));
    QStatusTipEvent tip(Control<QToolButton>(*form, "SpeedButtonOpen")->statusTip());
    QCoreApplication::sendEvent(form.get(), &tip);
    EXPECT_EQ(Control<QStatusBar>(*form, "StatusBar1")->currentMessage(), QStringLiteral("Open file with parametrs"));
    QStatusTipEvent empty{QString()};
    QCoreApplication::sendEvent(form.get(), &empty);
    EXPECT_EQ(Control<QStatusBar>(*form, "StatusBar1")->currentMessage(), QString());
}

TEST_F(FormHlavTest, TerminationSignalClosesTheWindowTheNormalWay) {
    auto form = Start();
    CloseOnTerminationSignals(form.get());
    form->show();
    std::raise(SIGTERM);
    // The flag is looked at by a timer on the UI thread; let the event loop run until it closes.
    for (int i = 0; i < 500 && form->isVisible(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(QFile::exists(FilePath(QStringLiteral("_ZEVO_v56.ini"))));
    std::signal(SIGTERM, SIG_DFL);
}

} // namespace
} // namespace zevo
