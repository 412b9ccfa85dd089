// Open and Save of parameter files from the window, with the dialogs answered by a script.
#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <QTest>
#include <memory>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"
#include "ui/cgauge.h"
#include "ui/form_hlav.h"
#include "ui/up_down.h"

#ifndef ZEVO_TEST_DATA
#error "ZEVO_TEST_DATA must name the test data folder"
#endif

namespace zevo {
namespace {

using testing::Control;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FileCommandsTest : public FormFixture {
protected:
    QTemporaryDir Work;
    std::unique_ptr<TFormHlav> Form;

    void SetUp() override { Form = Start({QStringLiteral("ENGLISH")}); }
    // The window started again on `set`, as an earlier session left it.
    void RestartWith(const DeviceImage& set) {
        Form.reset();
        LeaveForStart(set);
        Form = Start({QStringLiteral("ENGLISH")});
    }
    QString WorkFile(const QString& name) const { return QDir(Work.path()).filePath(name); }
    // A set opened as the user opens one, so the window names its file.
    QString OpenNamed(const QString& name) {
        const QString path = WorkFile(name);
        QFile::copy(Golden(), path);
        Prompts.Paths = {path};
        Control<QAction>(*Form, "MenuOpen")->trigger();
        EXPECT_EQ(Control<TLabel>(*Form, "LabelFile2")->Caption(), path);
        return path;
    }
    // F7 with no unit on the line: the status line and the gauge are shown until the Read gives up.
    void StartReadWithoutUnit() {
        Control<QAction>(*Form, "MenuRead")->trigger();
        Form->Timer1Timer();
        ASSERT_FALSE(Control<TLabel>(*Form, "LabelHlaseni")->isHidden());
    }
    static QString Golden() { return QStringLiteral(ZEVO_TEST_DATA "/default_set.ign"); }
};

TEST_F(FileCommandsTest, SaveWritesTheEditorsSetAndNamesTheFile) {
    const QString path = WorkFile(QStringLiteral("tune.ign"));
    Prompts.Paths = {path};
    Control<QToolButton>(*Form, "SpeedButtonSave")->click();
    EXPECT_EQ(ReadAll(path), ReadAll(Golden()));
    EXPECT_EQ(Control<TLabel>(*Form, "LabelFile2")->Caption(), path);
    EXPECT_EQ(Form->LastFileFolder(), path);
    EXPECT_EQ(Form->OpenDialogName(), path);
    EXPECT_TRUE(Prompts.LastDialog.PromptOverwrite);
    EXPECT_EQ(Prompts.LastDialog.DefaultExtension, QStringLiteral("ign"));
    EXPECT_EQ(Prompts.LastDialog.Filters, QStringList{QStringLiteral("Ignition Parametrs(*.ign)")});
    EXPECT_FALSE(Control<QAction>(*Form, "MenuZpet")->isEnabled()) << "Save records no history step";
}

TEST_F(FileCommandsTest, FailedSaveIsNeverShownAsDone) {
    // The folder cannot be made: a file stands where it should be.
    QFile blocker(WorkFile(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString old = OpenNamed(QStringLiteral("old.ign"));
    Prompts.Paths = {WorkFile(QStringLiteral("blocker/tune.ign"))};
    Control<QAction>(*Form, "MenuSave")->trigger();
    ASSERT_EQ(Prompts.Messages.size(), 1);
    EXPECT_TRUE(Prompts.Messages[0].startsWith(QStringLiteral("Open file error!")));
    EXPECT_EQ(Control<TLabel>(*Form, "LabelFile2")->Caption(), old);
    EXPECT_EQ(Form->LastFileFolder(), old) << "the folder of the file opened, not of the one that failed";
}

TEST_F(FileCommandsTest, SaveIntoAReadOnlyFolderLeavesTheOldFile) {
    const QString path = WorkFile(QStringLiteral("tune.ign"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    QFile::setPermissions(Work.path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(WorkFile(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        QFile::setPermissions(Work.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "this user writes into read-only folders (root)";
    }
    Prompts.Paths = {path};
    Control<QAction>(*Form, "MenuSave")->trigger();
    QFile::setPermissions(Work.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadAll(path), QByteArray("old contents"));
    EXPECT_EQ(Prompts.Messages.size(), 1);
    EXPECT_NE(Control<TLabel>(*Form, "LabelFile2")->Caption(), path);
}

TEST_F(FileCommandsTest, OpenTakesTheSetAsOneUndoStep) {
    const QString path = WorkFile(QStringLiteral("set.ign"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("notes first\nVORTALEX_KEY 56\nTPS 500 4000\n");
    file.close();
    DeviceImage kept = DefaultSet();
    kept.BlockByte(13) = 0x42;
    RestartWith(kept);
    StartReadWithoutUnit();
    Prompts.Paths = {path};
    Control<QToolButton>(*Form, "SpeedButtonOpen")->click();
    EXPECT_EQ(Form->Parameters().Image.Tps0(), 50);
    EXPECT_EQ(Form->Parameters().Image.Tps100(), 150);
    EXPECT_EQ(Form->Parameters().Image.BlockByte(13), 0x42);
    EXPECT_EQ(Control<TEdit>(*Form, "EditTps0")->text(), QStringLiteral("500"));
    EXPECT_EQ(Control<TLabel>(*Form, "LabelFile2")->Caption(), path);
    EXPECT_EQ(Form->SaveDialogName(), path);
    EXPECT_TRUE(Control<QAction>(*Form, "MenuZpet")->isEnabled());
    EXPECT_TRUE(Control<TCGauge>(*Form, "CGaugeProgram")->isHidden());
    EXPECT_TRUE(Form->IgnVersionWasMatched());
}

TEST_F(FileCommandsTest, OpenRefusesAnotherVersionAndChangesNothing) {
    const QString path = WorkFile(QStringLiteral("old.ign"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("VORTALEX_KEY 55\r\nTPS 500 4000\r\n");
    file.close();
    const QString current = OpenNamed(QStringLiteral("current.ign"));
    const DeviceImage before = Form->Parameters().Image;
    Prompts.Paths = {path};
    Control<QAction>(*Form, "MenuOpen")->trigger();
    EXPECT_EQ(Form->Parameters().Image, before);
    EXPECT_EQ(Prompts.Messages, QStringList{QStringLiteral("Unmatched version of *.ign file!")});
    EXPECT_EQ(Control<TLabel>(*Form, "LabelFile2")->Caption(), current);
    EXPECT_FALSE(Form->IgnVersionWasMatched());
}

TEST_F(FileCommandsTest, OpenCancelledOrMissingOnlyHidesTheStatusLine) {
    StartReadWithoutUnit();
    Prompts.Paths = {};
    Control<QAction>(*Form, "MenuOpen")->trigger();
    EXPECT_TRUE(Control<TLabel>(*Form, "LabelHlaseni")->isHidden());
    EXPECT_TRUE(Control<TCGauge>(*Form, "CGaugeProgram")->isHidden());
    EXPECT_TRUE(Prompts.Messages.isEmpty());

    Prompts.Paths = {WorkFile(QStringLiteral("missing.ign"))};
    Control<QAction>(*Form, "MenuOpen")->trigger();
    ASSERT_EQ(Prompts.Messages.size(), 1);
    EXPECT_TRUE(Prompts.Messages[0].startsWith(QStringLiteral("Open file error!")));
}

TEST_F(FileCommandsTest, ExeDirCommandsPresetTheDialogToDataIgn) {
    Prompts.Paths = {};
    Control<QAction>(*Form, "MenuOpenExeDir")->trigger();
    EXPECT_TRUE(Prompts.LastDialog.InitialFileName.endsWith(QStringLiteral("data.ign")));
    EXPECT_EQ(Prompts.LastDialog.Filters.size(), 2);
    Control<QAction>(*Form, "MenuSaveExeDir")->trigger();
    EXPECT_EQ(Prompts.LastDialog.InitialFileName, Form->ProgramDataFile());
}

// Open from the program's folder asks first whether to save an edited set: that Save dialog keeps its
// own name, never the data.ign about to be opened (confirming it would write over the file).
TEST_F(FileCommandsTest, TheSaveQuestionBeforeOpenFromExeDirNeverOffersTheFileToBeOpened) {
    Form.reset();
    Form = StartShown({QStringLiteral("ENGLISH")});
    QTabBar* tabs = Control<QTabWidget>(*Form, "PageControl1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QTest::keyClick(Form.get(), Qt::Key_F5); // an edit that is neither saved nor in the unit
    Prompts.Answers = {PromptAnswer::Yes};
    Prompts.Paths = {}; // the Save dialog is cancelled, so the Open does not go on
    Control<QAction>(*Form, "MenuOpenExeDir")->trigger();
    ASSERT_EQ(Prompts.Dialogs.size(), 1) << Prompts.Dialogs.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(Prompts.Dialogs[0].startsWith(QStringLiteral("save ")));
    EXPECT_FALSE(Prompts.Dialogs[0].endsWith(QStringLiteral("data.ign"))) << Prompts.Dialogs[0].toStdString();

    // Answered No: the Open dialog comes, preset to data.ign as the design has it.
    Prompts.Dialogs.clear();
    Prompts.Answers = {PromptAnswer::No};
    Control<QAction>(*Form, "MenuOpenExeDir")->trigger();
    ASSERT_EQ(Prompts.Dialogs.size(), 1);
    EXPECT_EQ(Prompts.Dialogs[0], QStringLiteral("open ") + Form->ProgramDataFile());
    Control<QAction>(*Form, "MenuSave")->trigger();
    EXPECT_EQ(Prompts.Dialogs.back(), QStringLiteral("save ") + Form->ProgramDataFile()) << "both names, once past the question";
}

TEST_F(FileCommandsTest, SavedSetOpensToTheSameBlock) {
    DeviceImage set = DefaultSet();
    set.PerCentMode(0) = 1;
    set.MapCell(0, 17) = 63;
    set.TpEnable(1) = 1;
    set.RpmAxis(1, 14) = 200;
    RestartWith(set);
    const DeviceImage saved = Form->Parameters().Image;
    const QString path = WorkFile(QStringLiteral("round.ign"));
    Prompts.Paths = {path};
    Control<QAction>(*Form, "MenuSave")->trigger();
    Prompts.Answers = {PromptAnswer::Yes};
    Control<QAction>(*Form, "MenuNew")->trigger();
    ASSERT_NE(Form->Parameters().Image, saved);
    Prompts.Paths = {path};
    Control<QAction>(*Form, "MenuOpen")->trigger();
    EXPECT_EQ(Form->Parameters().Image, saved);
}

// A file damaged on its way (a NUL from a broken copy, another encoding, a runaway size) is refused
// with the open error and why; the set on screen and the file named stay as they were. What an
// editor may leave (a byte order mark, a DOS end mark) opens.
TEST_F(FileCommandsTest, DamagedFilesAreRefusedAndTheSetStays) {
    Form.reset();
    Form = StartShown({QStringLiteral("ENGLISH")});
    QByteArray golden = ReadAll(Golden());
    ASSERT_FALSE(golden.isEmpty());
    const qsizetype tps = golden.indexOf("  480 ") + 3; // the 0 % calibration, "480"
    struct Case {
        const char* Name;
        QByteArray Bytes;
        QString Reason; // empty: the file opens
    };
    QByteArray nul = golden;
    nul[tps + 1] = '\0';
    const qsizetype line = golden.left(tps).count('\n') + 1;
    QByteArray utf16("\xFF\xFE", 2);
    for (const char c : golden.left(40))
        utf16.append(c).append('\0');
    QByteArray huge = golden;
    huge.append(QByteArray(16 * 1024 * 1024 + 1 - golden.size(), ' '));
    const Case cases[] = {
        {"NUL inside the TPS value", nul,
         QStringLiteral("The file is damaged: byte %1 (line %2) is the control character 0x00, which no text editor writes.")
             .arg(tps + 2)
             .arg(line)},
        {"UTF-16", utf16, QStringLiteral("The file is UTF-16 text; a parameter file is plain text (save it as ANSI or UTF-8).")},
        {"16 MiB and a byte", huge, QStringLiteral("The file is larger than 16 MiB; a parameter file is a few kilobytes.")},
        {"a UTF-8 byte order mark", QByteArray("\xEF\xBB\xBF") + golden, QString()},
        {"a DOS end mark", golden + QByteArray("\x1A"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = WorkFile(QStringLiteral("damaged.ign"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(c.Bytes), c.Bytes.size());
        file.close();
        Prompts.Answers = {PromptAnswer::No}; // the edit of the last round need not be saved
        const QString current = OpenNamed(QStringLiteral("current.ign")); // a known set, named
        QTest::mouseDClick(Control<TEdit>(*Form, "EditTps0"), Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("600"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        const DeviceImage before = Form->Parameters().Image;
        Prompts.Messages.clear();
        Prompts.Answers = {PromptAnswer::No}; // the edit need not be saved
        Prompts.Paths = {path};
        Control<QAction>(*Form, "MenuOpen")->trigger();
        if (c.Reason.isEmpty()) {
            EXPECT_TRUE(Prompts.Messages.isEmpty()) << Prompts.Messages.join('\n').toStdString();
            EXPECT_EQ(Control<TEdit>(*Form, "EditTps0")->text(), QStringLiteral("480"));
            EXPECT_EQ(Control<TLabel>(*Form, "LabelFile2")->Caption(), path);
            continue;
        }
        EXPECT_EQ(Prompts.Messages, QStringList{QStringLiteral("Open file error!\n") + c.Reason});
        EXPECT_EQ(Form->Parameters().Image, before);
        EXPECT_EQ(Control<TEdit>(*Form, "EditTps0")->text(), QStringLiteral("600"));
        EXPECT_EQ(Control<TLabel>(*Form, "LabelFile2")->Caption(), current);
    }
}

// A settings file the tool could not read whole is set aside whole, never merged into.
class SettingsFileTest : public FormFixture {
protected:
    QString Settings() const { return QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")); }
};

TEST_F(SettingsFileTest, OneNotReadWholeIsSetAsideAndAFreshOneWritten) {
    QByteArray utf16("\xFF\xFE", 2);
    for (const char c : QByteArray("[FORM_HLAV]\r\nLanguage=1\r\n"))
        utf16.append(c).append('\0');
    QByteArray large("[FORM_HLAV]\nLanguage=1\n[NOTES]\n");
    large.append(QByteArray(1024 * 1024, 'n'));
    for (const QByteArray& bytes : {utf16, large}) {
        SCOPED_TRACE(bytes.size());
        QFile::remove(Settings() + QStringLiteral(".unreadable"));
        QFile file(Settings());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        auto form = Start({QStringLiteral("ENGLISH")});
        EXPECT_EQ(Control<QStatusBar>(*form, "StatusBar1")->currentMessage(),
                  QStringLiteral("The settings file could not be read whole; it was set aside as %1 and new settings "
                                 "are kept.")
                      .arg(QDir::toNativeSeparators(Settings() + QStringLiteral(".unreadable"))));
        form->close();
        form.reset();
        EXPECT_EQ(ReadAll(Settings() + QStringLiteral(".unreadable")), bytes) << "set aside whole";
        const QByteArray fresh = ReadAll(Settings());
        EXPECT_TRUE(fresh.startsWith("[FORM_HLAV]")) << fresh.left(40).toStdString();
        EXPECT_LT(fresh.size(), 4096);
        EXPECT_FALSE(fresh.contains('\0'));
    }
}

} // namespace
} // namespace zevo
