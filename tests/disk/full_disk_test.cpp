// Every file the tool and zevo-cli write, on a real small file system filled to the brim or turned
// read-only half way: the write is said to have failed, the file from before is whole, and nothing
// shows a set as saved that is not.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "files/checked_write.h"
#include "files/ign_format.h"
#include "files/restore_store.h"
#include "find_control.h"
#include "form_fixture.h"
#include "link_rig.h"
#include "ui/servo_curves_window.h"
#include "sim_process.h"
#include "small_disk.h"
#include "ui/controls.h"
#include "ui/up_down.h"
#include <QPushButton>
#include "ui/form_hlav.h"

#ifndef ZEVO_CLI_PATH
#error "ZEVO_CLI_PATH must name the zevo-cli executable"
#endif

namespace zevo {
namespace {

using testing::Control;
using testing::Find;

using test::SmallDisk;

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray IgnOf(const DeviceImage& image) {
    std::ostringstream out(std::ios::binary);
    WriteIgnFile(out, image);
    return QByteArray::fromStdString(out.str());
}

// Nothing but the named files: a cancelled save leaves no temporary file behind.
QStringList Files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// ---- the checked write itself ------------------------------------------------------------------

TEST(FullDisk, AWriteThatDoesNotLandKeepsTheOldFileAndSaysWhy) {
    ZEVO_NEED_SMALL_DISK();
    SmallDisk disk(QStringLiteral("checked"));
    const QByteArray old = QByteArray(2533, 'o');
    struct Case {
        const char* Name;
        std::function<WriteResult(const QString&)> Write;
    };
    const QByteArray small(2533, 's');    // stays in the save file's buffer until the flush
    const QByteArray large(100000, 'l'); // goes past the buffer, written as it comes
    const Case cases[] = {
        {"a small file", [&](const QString& p) { return WriteFileChecked(p, small); }},
        {"a small text file", [&](const QString& p) { return WriteFileChecked(p, small, /*textMode=*/true); }},
        {"a large file", [&](const QString& p) { return WriteFileChecked(p, large); }},
        {"a streamed PNG", [&](const QString& p) {
             QImage image(64, 64, QImage::Format_RGB32);
             image.fill(Qt::darkGreen);
             return WriteFileChecked(p, [&](QIODevice& device) { return image.save(&device, "PNG"); });
         }},
    };
    for (const bool readOnly : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + (readOnly ? ", read-only" : ", full"));
            const QString path = disk.Path(QStringLiteral("a.bin"));
            ASSERT_TRUE(Put(path, old));
            readOnly ? disk.ReadOnly() : disk.Fill();
            const WriteResult written = c.Write(path);
            EXPECT_FALSE(written.Landed);
            EXPECT_FALSE(written.Reason.isEmpty());
            disk.Writable();
            disk.Free();
            EXPECT_EQ(Bytes(path), old) << "the old file is whole";
            EXPECT_EQ(Files(disk.Path()), QStringList{QStringLiteral("a.bin")});
            // With room again the same write lands.
            EXPECT_TRUE(c.Write(path).Landed);
            EXPECT_NE(Bytes(path), old);
        }
    }
}

// ---- the window --------------------------------------------------------------------------------

class FullDiskWindow : public FormFixture {
protected:
    std::unique_ptr<TFormHlav> Form;

    void Show() {
        ConfigDir = Disk->Path(QStringLiteral("config"));
        Form = StartShown({QStringLiteral("ENGLISH")});
    }
    void TearDown() override {
        if (Form) {
            Prompts.Answers = {PromptAnswer::No, PromptAnswer::No};
            Form->close();
        }
        Form.reset();
        Disk.reset();
    }
    void ClickTab(int index) {
        QTabBar* bar = Control<QTabWidget>(*Form, "PageControl1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    // A value typed into the first map cell of servo 1, as a user does.
    void TypeIntoMap(const QString& text) {
        ClickTab(1);
        QTest::mouseDClick(Control<TEdit>(*Form, "EditMap0_0"), Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QStringList FirstLines() const {
        QStringList lines;
        for (const QString& message : Prompts.Messages)
            lines << message.section(QLatin1Char('\n'), 0, 0);
        return lines;
    }
    std::unique_ptr<SmallDisk> Disk;
};

TEST_F(FullDiskWindow, SaveOverAFileFailsAloudAndTheFileAndTitleStayTrue) {
    ZEVO_NEED_SMALL_DISK();
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        Disk = std::make_unique<SmallDisk>(QStringLiteral("save"));
        Show();
        const QString path = Disk->Path(QStringLiteral("a.ign"));
        Prompts.Paths = {path};
        Control<QAction>(*Form, "MenuSave")->trigger();
        const QByteArray saved = Bytes(path);
        ASSERT_EQ(saved.size(), 2533);
        TypeIntoMap(QStringLiteral("1500"));
        ASSERT_TRUE(Form->isWindowModified());

        readOnly ? Disk->ReadOnly() : Disk->Fill();
        Prompts.Paths = {path};
        Control<QAction>(*Form, "MenuSave")->trigger();
        ASSERT_EQ(Prompts.Messages.size(), 1);
        EXPECT_TRUE(Prompts.Messages[0].startsWith(QStringLiteral("Open file error!\n"))) << Prompts.Messages[0].toStdString();
        EXPECT_GT(Prompts.Messages[0].size(), QStringLiteral("Open file error!\n").size()) << "with the system's reason";
        EXPECT_TRUE(Form->isWindowModified()) << "the title never shows the set as saved";
        Disk->Writable();
        Disk->Free();
        EXPECT_EQ(Bytes(path), saved);
        EXPECT_EQ(Files(Disk->Path()), QStringList{QStringLiteral("a.ign")});
        Prompts = FakePrompter{};
        Prompts.Answers = {PromptAnswer::No};
        Form->close();
        Form.reset();
        Disk.reset();
    }
}

TEST_F(FullDiskWindow, CloseOnAFullDiskKeepsTheSettingsTheImageAndWholeRestorePoints) {
    ZEVO_NEED_SMALL_DISK();
    Disk = std::make_unique<SmallDisk>(QStringLiteral("close"));
    const QString config = Disk->Path(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(config));
    ASSERT_TRUE(Put(QDir(config).filePath(QStringLiteral("ZEVO_v56.ini")), "[PORTS]\nCOM3=/dev/ttyUSB7\n"));
    // A first session ends with room: settings, image and a restore point on disk.
    Show();
    TypeIntoMap(QStringLiteral("1500"));
    Prompts.Answers = {PromptAnswer::No};
    Form->close();
    Form.reset();
    const QString settingsPath = QDir(config).filePath(QStringLiteral("ZEVO_v56.ini"));
    const QString imagePath = QDir(config).filePath(QStringLiteral("_ZEVO_v56.ini"));
    const QByteArray settings = Bytes(settingsPath);
    const QByteArray image = Bytes(imagePath);
    ASSERT_TRUE(settings.contains("COM3=/dev/ttyUSB7"));
    ASSERT_FALSE(image.isEmpty());
    const QString backups = RestoreFolder(config);
    const QStringList copies = Files(backups);

    // The second ends on a full disk.
    Show();
    TypeIntoMap(QStringLiteral("2500"));
    Disk->Fill();
    Prompts = FakePrompter{};
    Prompts.Answers = {PromptAnswer::No};
    Form->close();
    Form.reset();
    EXPECT_EQ(FirstLines(),
              (QStringList{QStringLiteral("The settings could not be written to %1. The file keeps what it held before.")
                               .arg(QDir::toNativeSeparators(settingsPath)),
                           QStringLiteral("The set on screen could not be written to %1 for the next start; the next "
                                          "start shows the set from before.")
                               .arg(QDir::toNativeSeparators(imagePath))}));
    Disk->Free();
    EXPECT_EQ(Bytes(settingsPath), settings);
    EXPECT_EQ(Bytes(imagePath), image);
    // No half restore point: every copy has both its files, and the list reads them all.
    EXPECT_EQ(Files(backups), copies);
    for (const RestoreStore::Entry& entry : RestoreStore(backups).List())
        EXPECT_TRUE(entry.Info.has_value()) << entry.Stem.toStdString();

    // The next start shows the set of the first session.
    Prompts = FakePrompter{};
    Show();
    EXPECT_EQ(Control<TEdit>(*Form, "EditMap0_0")->text(), QStringLiteral("1,500"));
}

TEST_F(FullDiskWindow, ReportChartAndPrintoutOnAFullDiskSayTheyFailed) {
    ZEVO_NEED_SMALL_DISK();
    Disk = std::make_unique<SmallDisk>(QStringLiteral("outputs"));
    PrintPage = [](const QImage&) { return PrintOutcome{PrintResult::NoPrinter, QString()}; };
    Show();
    ClickTab(1);
    Control<QAction>(*Form, "MenuServoCurves")->trigger();
    struct Case {
        const char* Name;
        QString File;
        std::function<void()> Act;
        QString Says;
    };
    const Case cases[] = {
        {"report", QStringLiteral("report.pdf"), [&] { Control<QAction>(*Form, "MenuExportReport")->trigger(); },
         QStringLiteral("The report could not be written to ")},
        {"chart", QStringLiteral("curves.png"),
         [&] { QTest::mouseClick(Find<ServoCurvesWindow>(*Form, "ServoCurvesWindow")->SaveButton(), Qt::LeftButton); },
         QStringLiteral("The chart could not be saved to ")},
        {"printout", QStringLiteral("page.pdf"),
         [&] {
             Prompts.Answers = {PromptAnswer::Yes};
             Form->SpeedButtonPrintClick();
         },
         QStringLiteral("The PDF file could not be written.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = Disk->Path(c.File);
        ASSERT_TRUE(Put(path, "the old one"));
        Disk->Fill();
        Prompts.Messages.clear();
        Prompts.Paths = {path};
        c.Act();
        Disk->Free();
        ASSERT_EQ(Prompts.Messages.size(), 1);
        EXPECT_TRUE(Prompts.Messages[0].startsWith(c.Says)) << Prompts.Messages[0].toStdString();
        EXPECT_EQ(Bytes(path), QByteArray("the old one"));
    }
}

// A settings file the tool cannot read whole, on a disk gone read-only: it cannot be set aside, so
// it is never written over either; the close says so.
TEST_F(FullDiskWindow, AnUnreadableSettingsFileThatCannotBeSetAsideIsLeftAlone) {
    ZEVO_NEED_SMALL_DISK();
    Disk = std::make_unique<SmallDisk>(QStringLiteral("aside"));
    const QString config = Disk->Path(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(config));
    const QString settings = QDir(config).filePath(QStringLiteral("ZEVO_v56.ini"));
    const QByteArray utf16("\xFF\xFE[\0P\0O\0R\0T\0S\0]\0", 16);
    ASSERT_TRUE(Put(settings, utf16));
    Disk->ReadOnly();
    Show();
    Prompts.Answers = {PromptAnswer::No};
    Form->close();
    Form.reset();
    Disk->Writable();
    EXPECT_EQ(Bytes(settings), utf16);
    EXPECT_FALSE(QFileInfo::exists(settings + QStringLiteral(".unreadable")));
    ASSERT_FALSE(Prompts.Messages.isEmpty());
    EXPECT_TRUE(Prompts.Messages[0].startsWith(QStringLiteral("The settings could not be written to ")))
        << Prompts.Messages[0].toStdString();
}

// The config folder removed while the tool runs (a cleaner, a roaming profile): the close makes it
// again and keeps everything.
TEST_F(FullDiskWindow, AConfigFolderThatVanishedIsMadeAgainAtClose) {
    QTemporaryDir parent;
    ConfigDir = QDir(parent.path()).filePath(QStringLiteral("config"));
    Form = StartShown({QStringLiteral("ENGLISH")});
    TypeIntoMap(QStringLiteral("1500"));
    ASSERT_TRUE(QDir(ConfigDir).removeRecursively());
    Prompts.Answers = {PromptAnswer::No};
    Form->close();
    Form.reset();
    EXPECT_TRUE(Prompts.Messages.isEmpty()) << Prompts.Messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFileInfo::exists(QDir(ConfigDir).filePath(QStringLiteral("ZEVO_v56.ini"))));
    Form = StartShown({QStringLiteral("ENGLISH")});
    EXPECT_EQ(Control<TEdit>(*Form, "EditMap0_0")->text(), QStringLiteral("1,500"));
}

// ---- zevo-cli ----------------------------------------------------------------------------------

struct CliRun {
    int Exit = -1;
    QString Err;
};

CliRun RunCli(const QStringList& args, const QString& configDir) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZEVO_CONFIG_DIR"), configDir);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ZEVO_CLI_PATH), args);
    CliRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(3000);
        return run;
    }
    run.Exit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(FullDiskCli, ReadOntoAFullDiskExitsTwoAndLeavesTheOldFilesWhole) {
    ZEVO_NEED_SMALL_DISK();
    SmallDisk disk(QStringLiteral("cli"));
    test::SimProcess sim;
    ASSERT_TRUE(sim.Start()) << sim.Diagnostics().toStdString();
    const QString config = disk.Path(QStringLiteral("config"));
    const QString ign = disk.Path(QStringLiteral("out.ign"));
    const QString image = disk.Path(QStringLiteral("out.img"));
    ASSERT_TRUE(Put(ign, IgnOf(test::ChangedSet(1))));
    ASSERT_TRUE(Put(image, "an image from before"));
    const QByteArray oldIgn = Bytes(ign);
    const QStringList args = {QStringLiteral("read"), QStringLiteral("--port"), sim.LinkPath(), ign,
                              QStringLiteral("--image"), image};
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        // Room for the restore point's folder, none for the rest.
        ASSERT_TRUE(QDir().mkpath(RestoreFolder(config)));
        readOnly ? disk.ReadOnly() : disk.Fill();
        const CliRun run = RunCli(args, config);
        disk.Writable();
        disk.Free();
        EXPECT_EQ(run.Exit, 2) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains(QStringLiteral("out.ign"))) << run.Err.toStdString();
        EXPECT_EQ(Bytes(ign), oldIgn);
        EXPECT_EQ(Bytes(image), QByteArray("an image from before"));
        for (const RestoreStore::Entry& entry : RestoreStore(RestoreFolder(config)).List())
            EXPECT_TRUE(entry.Info.has_value()) << "a half restore point " << entry.Stem.toStdString();
    }
    // With room the same command writes both.
    const CliRun run = RunCli(args, config);
    EXPECT_EQ(run.Exit, 0) << run.Err.toStdString();
    EXPECT_NE(Bytes(ign), oldIgn);
}

} // namespace
} // namespace zevo
