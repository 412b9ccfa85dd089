// Print, About and the user manual on the real window, headless. Pages go to PDF files, never to a
// printer, and no document viewer is started.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QFontInfo>
#include <QImage>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <vector>

#include <gtest/gtest.h>

#include "about/form_about.h"
#include "app/project_version.h"
#include "ui/printing.h"
#include "find_control.h"
#include "form_fixture.h"
#include "model_line.h"
#include "ui/cgauge.h"
#include "ui/controls.h"
#include "ui/up_down.h"

namespace zevo {
namespace {

using testing::Control;

const QString White = QStringLiteral("#ffffff");

// A widget's background as "#rrggbb", so a failure reads as a colour.
QString Background(const QWidget* widget) {
    return widget->palette().color(QPalette::Window).name();
}

// Every control that has no place on paper, listed here from the window's own names.
std::vector<QWidget*> OperatingControls(TFormHlav& form) {
    std::vector<QWidget*> controls;
    for (const char* name : {"StatusBar1", "GroupBoxToolBar", "LabelSpojeni", "UpDownHystMv", "UpDownHystRpm",
                             "ButtonMinus", "ButtonPlus", "CheckBoxAll", "UpDownTps0", "UpDownTps100", "ButtonTps0",
                             "ButtonTps100", "CGaugeRpm", "CGaugeTps"})
        controls.push_back(Control<QWidget>(form, name));
    for (int c = 0; c < MapColumns; ++c) {
        controls.push_back(Control<QWidget>(form, QStringLiteral("UpDownRpm%1").arg(c)));
        controls.push_back(Control<QWidget>(form, QStringLiteral("CSpinButtonColumn%1").arg(c)));
        for (int r = 0; r < MapRows; ++r)
            controls.push_back(Control<QWidget>(form, QStringLiteral("UpDownMap%1_%2").arg(r).arg(c)));
    }
    return controls;
}

std::vector<bool> HiddenFlags(const std::vector<QWidget*>& controls) {
    std::vector<bool> hidden;
    for (QWidget* control : controls)
        hidden.push_back(control->isHidden());
    return hidden;
}

// A PDF file with a page drawn on it, not an empty document.
bool IsPdf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 1000;
}

class PrintAboutTest : public FormFixture {
protected:
    QString PdfPath() const { return QDir(Dir.path()).filePath(QStringLiteral("page.pdf")); }

    // What a print to the default printer does, with a PDF file standing in for the printer.
    PrintOutcome PrintToPdf(const QImage& page) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PdfPath());
        return RenderPage(page, printer) ? PrintOutcome{} : PrintOutcome{PrintResult::PrinterFailed, "PDF"};
    }

    // Runs `whileOpen` once the About window is up, then closes it with its OK label; the command
    // returns only when the window is closed.
    static void WithAboutOpen(TFormHlav& form, const std::function<void()>& whileOpen) {
        QTimer::singleShot(0, &form, [&form, whileOpen] {
            EXPECT_TRUE(form.About().isVisible());
            whileOpen();
            QTest::mouseClick(form.About().LabelExit, Qt::LeftButton);
        });
        // A broken OK label must fail the test, not hang it.
        QTimer::singleShot(5000, &form.About(), &QDialog::reject);
        form.MenuAboutClick();
        EXPECT_FALSE(form.About().isVisible());
    }
};

TEST_F(PrintAboutTest, PrintsThePageWithTheHeaderOfTheLanguage) {
    struct Case {
        const char* Argument;
        const char* Header;
    };
    for (const Case& c :
         {Case{"CESKY", "Datum a čas tisku:  "}, Case{"ENGLISH", "Date and Time of printing:  "},
          Case{"DEUTSCH", "Date and Time of printing:  "}}) {
        SCOPED_TRACE(c.Argument);
        QFile::remove(PdfPath());
        PrintPage = [this](const QImage& page) { return PrintToPdf(page); };
        auto form = Start({QString::fromLatin1(c.Argument)});
        const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);

        Control<QAction>(*form, "MenuPrint")->trigger();

        const QString header = Control<TLabel>(*form, "LabelHlaseni")->Caption();
        const QString expected = QString::fromUtf8(c.Header) + today + QStringLiteral("    ");
        EXPECT_TRUE(header.startsWith(expected)) << header.toStdString();
        EXPECT_GT(header.size(), expected.size()) << "the time follows the date";
        EXPECT_TRUE(Control<TLabel>(*form, "LabelHlaseni")->isVisibleTo(form.get()));
        EXPECT_TRUE(Prompts.Asked.isEmpty());
        EXPECT_TRUE(IsPdf(PdfPath()));
    }
}

TEST_F(PrintAboutTest, TheStatusLineKeepsTheHeaderForTwoHundredTicks) {
    auto form = Start({QStringLiteral("ENGLISH")});
    form->SpeedButtonPrintClick();
    const QString header = Control<TLabel>(*form, "LabelHlaseni")->Caption();
    for (int tick = 0; tick < 200; ++tick)
        form->Timer1Timer();
    EXPECT_TRUE(Control<TLabel>(*form, "LabelHlaseni")->isVisibleTo(form.get()));
    EXPECT_EQ(Control<TLabel>(*form, "LabelHlaseni")->Caption(), header);
    form->Timer1Timer();
    EXPECT_FALSE(Control<TLabel>(*form, "LabelHlaseni")->isVisibleTo(form.get()));
    EXPECT_TRUE(Control<TCGauge>(*form, "CGaugeProgram")->isHidden());
}

TEST_F(PrintAboutTest, TheCaptureHoldsTheActivePageOnWhiteWithoutOperatingControls) {
    for (int active : {0, 1, 2}) {
        SCOPED_TRACE(active);
        TFormHlav* window = nullptr;
        std::vector<QWidget*> shownInCapture;
        std::vector<bool> tabsInCapture;
        QString background, rowCaption;
        QImage captured;
        PrintPage = [&](const QImage& page) {
            captured = page;
            for (QWidget* control : OperatingControls(*window))
                if (!control->isHidden())
                    shownInCapture.push_back(control);
            const auto* tabs = Control<QTabWidget>(*window, "PageControl1");
            for (int tab = 0; tab < tabs->count(); ++tab)
                tabsInCapture.push_back(tabs->isTabVisible(tab));
            background = Background(window);
            rowCaption = Background(Control<QWidget>(*window, "LabelTpRow4"));
            return PrintOutcome{};
        };
        DeviceImage set = DefaultSet();
        set.TpEnable(0) = 1;
        set.TpEnable(1) = 1;
        LeaveForStart(set);
        auto form = StartShown({QStringLiteral("ENGLISH")});
        window = form.get();
        testing::ClickTab(*form, active);
        const std::vector<bool> hiddenBefore = HiddenFlags(OperatingControls(*form));
        const QString face = Background(form.get());

        form->SpeedButtonPrintClick();

        EXPECT_TRUE(shownInCapture.empty()) << shownInCapture.front()->objectName().toStdString();
        std::vector<bool> onlyActive(3, false);
        onlyActive[static_cast<std::size_t>(active)] = true;
        EXPECT_EQ(tabsInCapture, onlyActive);
        EXPECT_EQ(background, White);
        EXPECT_EQ(rowCaption, White);
        ASSERT_FALSE(captured.isNull());
        EXPECT_EQ(captured.pixelColor(8, 8).name(), White) << "the tool bar's place is blank paper";

        // Afterwards the window is as it was.
        EXPECT_EQ(HiddenFlags(OperatingControls(*form)), hiddenBefore);
        EXPECT_FALSE(Control<QStatusBar>(*form, "StatusBar1")->isHidden());
        EXPECT_FALSE(Control<QWidget>(*form, "GroupBoxToolBar")->isHidden());
        for (int tab = 0; tab < 3; ++tab)
            EXPECT_TRUE(Control<QTabWidget>(*form, "PageControl1")->isTabVisible(tab)) << tab;
        EXPECT_EQ(Control<QTabWidget>(*form, "PageControl1")->currentIndex(), active);
        EXPECT_EQ(Background(form.get()), face);
    }
}

TEST_F(PrintAboutTest, WhatTheWindowKeepsHiddenOrColouredIsSoAfterPrinting) {
    // A unit on COM1 sends telemetry: the live highlight marks the engine's cell.
    ModelLine model;
    Line = &model;
    QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[FORM_HLAV]\nComPort=1\n");
    settings.close();
    DeviceImage set = DefaultSet();
    set.TpEnable(0) = 1;
    LeaveForStart(set);
    auto form = Start({QStringLiteral("ENGLISH")});
    testing::ClickTab(*form, 1);
    model.Unit.HoldEngine(0, 0); // standstill, closed throttle
    for (int tick = 0; tick < 12; ++tick) {
        model.Advance(55);
        form->Timer1Timer();
    }
    const QString live = Background(Control<TLabel>(*form, "LabelTpRow0"));
    const QString plain = Background(Control<TLabel>(*form, "LabelTpRow4"));
    ASSERT_NE(live, plain);
    form->SpeedButtonPrintClick();
    EXPECT_EQ(Background(Control<TLabel>(*form, "LabelTpRow0")), live);
    EXPECT_EQ(Background(Control<TLabel>(*form, "LabelTpRow4")), plain);

    // Without TP only the first map row is in use; and while the unit answers there is no
    // "No connection" label.
    testing::SetTicked(*form, "CheckBoxTpEnable", false);
    ASSERT_TRUE(Control<TEdit>(*form, "EditMap1_0")->isHidden());
    ASSERT_TRUE(Control<TLabel>(*form, "LabelSpojeni")->isHidden()) << "the unit answers";
    form->SpeedButtonPrintClick();
    for (std::size_t c : {0u, 14u}) {
        EXPECT_FALSE(Control<QWidget>(*form, QStringLiteral("UpDownMap0_%1").arg(c))->isHidden());
        EXPECT_TRUE(Control<QWidget>(*form, QStringLiteral("EditMap1_%1").arg(c))->isHidden());
        EXPECT_TRUE(Control<QWidget>(*form, QStringLiteral("UpDownMap9_%1").arg(c))->isHidden());
        EXPECT_TRUE(Control<QWidget>(*form, QStringLiteral("CSpinButtonColumn%1").arg(c))->isHidden());
    }
    EXPECT_TRUE(Control<TLabel>(*form, "LabelTpRow0")->isHidden());
    EXPECT_TRUE(Control<TLabel>(*form, "LabelSpojeni")->isHidden());
}

TEST_F(PrintAboutTest, AFailedPrintSaysWhyAndOffersThePageAsPdf) {
    const QString noPrinter = QStringLiteral("Printing failed: this computer has no default printer.");
    const QString nowhere = QDir(Dir.path()).filePath(QStringLiteral("missing/page.pdf"));
    struct Case {
        PrintOutcome Outcome;
        QString Reason;
        PromptAnswer Answer;
        QString Path; // what the save dialog hands back
        QStringList Messages;
    };
    for (const Case& c : {
             Case{{PrintResult::NoPrinter, {}}, noPrinter, PromptAnswer::Yes, PdfPath(), {}},
             Case{{PrintResult::PrinterFailed, QStringLiteral("Office")},
                  QStringLiteral("Printing failed: the printer \"Office\" did not take the page."),
                  PromptAnswer::No,
                  PdfPath(),
                  {}},
             Case{{PrintResult::NoPrinter, {}},
                  noPrinter,
                  PromptAnswer::Yes,
                  nowhere,
                  {QStringLiteral("The PDF file could not be written.")}},
         }) {
        SCOPED_TRACE(c.Path.toStdString());
        QFile::remove(PdfPath());
        Prompts = FakePrompter{};
        Prompts.Answers = {c.Answer};
        Prompts.Paths = {c.Path};
        PrintPage = [&c](const QImage&) { return c.Outcome; };
        auto form = Start({QStringLiteral("ENGLISH")});
        const QString face = Background(form.get());

        form->SpeedButtonPrintClick();

        EXPECT_EQ(Prompts.Asked,
                  QStringList{c.Reason + QStringLiteral("\nSave the page as a PDF file instead?")});
        EXPECT_EQ(IsPdf(PdfPath()), c.Answer == PromptAnswer::Yes && c.Path == PdfPath());
        QStringList messages;
        for (const QString& message : Prompts.Messages)
            messages << message.section(QLatin1Char('\n'), 0, 0); // the system's reason follows
        EXPECT_EQ(messages, c.Messages);
        // The window is back whatever the outcome.
        EXPECT_EQ(Background(form.get()), face);
        EXPECT_FALSE(Control<QStatusBar>(*form, "StatusBar1")->isHidden());
    }
    EXPECT_EQ(Prompts.LastDialog.Filters, QStringList{QStringLiteral("PDF (*.pdf)")});
    EXPECT_TRUE(Prompts.LastDialog.PromptOverwrite);
}

TEST(PrintedSize, FillsThePageHeightOrWidthKeepingProportions) {
    struct Case {
        QSize Image, Page, Printed;
    };
    for (const Case& c : {
             Case{{978, 796}, {4760, 6800}, {4760, 3874}},      // the window on portrait paper: full width
             Case{{100, 1000}, {500, 700}, {70, 700}},          // a tall image: full height
             Case{{50, 100}, {50, 100}, {50, 100}},             // the page's own shape: full page
             Case{{16000, 12000}, {9000, 12000}, {9000, 6750}}, // large enough to overflow an int
             Case{{0, 796}, {4760, 6800}, {}},
         }) {
        EXPECT_EQ(PrintedSize(c.Image, c.Page), c.Printed) << c.Image.width() << "x" << c.Image.height();
    }
}

TEST_F(PrintAboutTest, AboutShowsBuildAndVersionCentredAndTheCaptionOfTheLanguageOfTheMoment) {
    auto form = StartShown({QStringLiteral("ENGLISH")});
    form->move(0, 0); // the About window is centred on the screen, not on the main window
    TFormAbout& about = form->About();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(about.pos(),
              QPoint(screen.width() / 2 - about.width() / 2, screen.height() / 2 - about.height() / 2));
    EXPECT_EQ(about.size(), QSize(273, 375));
    EXPECT_EQ(about.LabelRsKey->text(), QStringLiteral("Version - 56"));
    EXPECT_EQ(about.LabelRelease->text(), QStringLiteral("ZEVO ") + QString::fromLatin1(ProjectVersion));
    // Text widths mean something only where a font draws the text (the offscreen platform under Wine
    // has none and draws boxes).
    if (!QFontInfo(about.LabelDate->font()).family().isEmpty()) {
        EXPECT_FALSE(about.LabelRelease->geometry().intersects(about.LabelDate->geometry()));
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^[A-Z][a-z]{2} [ \d]\d \d{4}$)"))
                    .match(about.LabelDate->text())
                    .hasMatch())
        << about.LabelDate->text().toStdString();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral(R"(^\d\d:\d\d:\d\d$)")).match(about.LabelTime->text()).hasMatch());

    // The caption follows a language chosen while the window was closed.
    struct Case {
        void (TFormHlav::*Choose)();
        const char* Caption;
    };
    for (const Case& c : {Case{&TFormHlav::MenuEnglishClick, "About ZEVO"},
                          Case{&TFormHlav::MenuGermanClick, "Über Programm ZEVO"},
                          Case{&TFormHlav::MenuCzechClick, "O programu ZEVO"}}) {
        (form.get()->*c.Choose)();
        QString caption;
        WithAboutOpen(*form, [&] { caption = about.windowTitle(); });
        EXPECT_EQ(caption, QString::fromUtf8(c.Caption));
    }
}

TEST_F(PrintAboutTest, ContentsOpensTheManualOfTheLanguageBesideTheProgramOrSaysWhyNot) {
    struct Case {
        const char* Argument;
        const char* Manual;
        DocumentOpening Outcome;
        const char* Message; // the box's old text, then the reason with the manual's path (%1)
    };
    for (const Case& c : {
             Case{"CESKY", "ZEVO_manual_cz.pdf", DocumentOpening::Opened, ""},
             Case{"DEUTSCH", "ZEVO_manual_en.pdf", DocumentOpening::Opened, ""},
             Case{"ENGLISH", "ZEVO_manual_en.pdf", DocumentOpening::NoViewer,
                  "Error by opening file ZEVO_manual_en.pdf !\n"
                  "no program to open PDF files was found; the manual is at %1"},
             Case{"CESKY", "ZEVO_manual_cz.pdf", DocumentOpening::NoViewer,
                  "Chyba při otevírání souboru ZEVO_manual_cz.pdf !\n"
                  "nebyl nalezen žádný program, který otevírá soubory PDF; příručka je uložena v %1"},
             Case{"DEUTSCH", "ZEVO_manual_en.pdf", DocumentOpening::Refused,
                  "Fehler beim öffnen der Datei ZEVO_manual_en.pdf !\n"
                  "der PDF-Betrachter konnte nicht gestartet werden; das Handbuch liegt unter %1"},
             Case{"ENGLISH", "ZEVO_manual_en.pdf", DocumentOpening::Missing,
                  "Error by opening file ZEVO_manual_en.pdf !\nthe file %1 is not there"},
         }) {
        SCOPED_TRACE(c.Argument);
        Prompts = FakePrompter{};
        QStringList opened;
        OpenDocument = [&opened, &c](const QString& path) {
            opened << path;
            return c.Outcome;
        };
        auto form = StartShown({QString::fromLatin1(c.Argument)});
        QTest::keyClick(form.get(), Qt::Key_F1);
        const QString manual =
            QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(c.Manual));
        EXPECT_EQ(opened, QStringList{manual});
        if (c.Outcome == DocumentOpening::Opened)
            EXPECT_EQ(Prompts.Messages, QStringList());
        else
            EXPECT_EQ(Prompts.Messages,
                      QStringList{QString::fromUtf8(c.Message).arg(QDir::toNativeSeparators(manual))});
    }
}

TEST_F(PrintAboutTest, F1WithTheManualMissingSaysSoInGerman) {
    const QString manual =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ZEVO_manual_en.pdf"));
    ASSERT_FALSE(QFileInfo::exists(manual)) << "a manual beside the tests would open a viewer";
    OpenDocument = OpenWithDesktop; // the desktop itself: it must refuse a file that is not there
    auto form = StartShown({QStringLiteral("DEUTSCH")});
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(Prompts.Messages,
              QStringList{QStringLiteral("Fehler beim öffnen der Datei ZEVO_manual_en.pdf !\n"
                                         "die Datei %1 ist nicht vorhanden")
                              .arg(QDir::toNativeSeparators(manual))});
}

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
// The desktop's own launcher and association query, played by two scripts in a PATH of their own.
TEST(OpenWithDesktop, ReportsAPdfThatNoProgramOpensAndHandsOtherwiseToTheLauncher) {
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QString manual = bin.filePath(QStringLiteral("ZEVO_manual_en.pdf"));
    const QString launched = bin.filePath(QStringLiteral("launched"));
    auto script = [&bin](const char* name, const QByteArray& body) {
        QFile file(bin.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    };
    QFile pdf(manual);
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.write("%PDF-1.4\n%%EOF\n");
    pdf.close();
    script("xdg-open", "echo \"$1\" > '" + launched.toUtf8() + "'");
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());

    struct Case {
        const char* Name;
        QByteArray Association; // what xdg-mime prints for application/pdf
        bool NoViewer;
    };
    for (const Case& c : {Case{"nothing associated", "", true},
                          Case{"a viewer associated", "echo org.gnome.Evince.desktop", false}}) {
        SCOPED_TRACE(c.Name);
        QFile::remove(launched);
        script("xdg-mime", c.Association.isEmpty() ? QByteArray("exit 0") : c.Association);
        const DocumentOpening got = OpenWithDesktop(manual);
        EXPECT_EQ(got == DocumentOpening::NoViewer, c.NoViewer);
        // The headless test platform has no desktop services and refuses; on a display the launcher runs.
        if (got == DocumentOpening::Opened) {
            // The launcher runs detached; give it time to start.
            for (int waited = 0; waited < 10000 && QFileInfo(launched).size() == 0; waited += 50)
                QTest::qWait(50);
            QFile got(launched);
            ASSERT_TRUE(got.open(QIODevice::ReadOnly));
            EXPECT_TRUE(QString::fromUtf8(got.readAll()).contains(QStringLiteral("ZEVO_manual_en.pdf")));
        }
    }
    // No launcher at all: nothing could open it.
    QFile::remove(bin.filePath(QStringLiteral("xdg-open")));
    EXPECT_EQ(OpenWithDesktop(manual), DocumentOpening::NoViewer);
    qputenv("PATH", oldPath);
}
#endif

} // namespace
} // namespace zevo
