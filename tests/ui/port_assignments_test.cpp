// Ignition > Port assignments…: pins made in the window, refused when they name no device, kept in
// [PORTS] for the next start; and the COM menu's hints.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "find_control.h"
#include "form_fixture.h"
#include "ui/port_assignments.h"

namespace zevo {
namespace {

using testing::Control;

#ifndef Q_OS_WIN
// /dev/null stands in for a serial device: a character device every system has.
constexpr const char* Device = "/dev/null";

void ClickCell(QTableWidget* table, int row, int column) {
    const QRect cell = table->visualRect(table->model()->index(row, column));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

// Replaces the path field's text as a person does: click into it, select all, type.
void TypePath(TFormPorts& form, const QString& path) {
    QLineEdit* edit = form.EditPath->lineEdit();
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, path);
}

TEST(PortAssignments, PinsAPortToANumberAndRefusesWhatIsNoDevice) {
    PortDescription port;
    port.Number = 1;
    port.Path = Device;
    port.Present = true;
    port.Vendor = 0x0403;
    port.Product = 0x6001;
    port.Manufacturer = "FTDI";
    port.Serial = "A50285BI";
    TFormPorts form({port}, PortPins{{7, "/dev/zero"}}, LanguageEnglish);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.TablePorts->item(0, 3)->text(), QStringLiteral("0403:6001"));
    EXPECT_EQ(form.TablePins->rowCount(), 1);

    // The port's row fills the fields; COM3 chosen with the keyboard; Pin.
    ClickCell(form.TablePorts, 0, 1);
    EXPECT_EQ(form.EditPath->currentText(), QString::fromLatin1(Device));
    QTest::mouseClick(form.ComboNumber, Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(form.ComboNumber, Qt::Key_Down);
    QTest::keyClick(form.ComboNumber, Qt::Key_Down);
    ASSERT_EQ(form.ComboNumber->currentText(), QStringLiteral("COM3"));
    QTest::mouseClick(form.ButtonPin, Qt::LeftButton);
    EXPECT_EQ(form.Pins(), (PortPins{{3, Device}, {7, "/dev/zero"}}));

    // A folder, a plain file and a path that is not there are no devices.
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& path : {dir.path(), plain.fileName(), dir.filePath(QStringLiteral("gone"))}) {
        TypePath(form, path);
        QTest::mouseClick(form.ButtonPin, Qt::LeftButton);
        EXPECT_TRUE(form.LabelProblem->text().contains(QStringLiteral("is not a serial device")))
            << path.toStdString() << ": " << form.LabelProblem->text().toStdString();
        EXPECT_EQ(form.Pins(), (PortPins{{3, Device}, {7, "/dev/zero"}}));
    }

    // A pin taken away: its row chosen in the pins, Remove pin.
    ClickCell(form.TablePins, 1, 0);
    EXPECT_EQ(form.ComboNumber->currentText(), QStringLiteral("COM7"));
    QTest::mouseClick(form.ButtonUnpin, Qt::LeftButton);
    EXPECT_EQ(form.Pins(), (PortPins{{3, Device}}));
}

class PortAssignmentsWindow : public FormFixture {};

TEST_F(PortAssignmentsWindow, PinsMadeInTheWindowAreKeptForTheNextStart) {
    QFile settings(QDir(Dir.path()).filePath(QStringLiteral("ZEVO_v56.ini")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[FORM_HLAV]\nLeft=10\n[PORTS]\nCOM5=/dev/old\n");
    settings.close();
    {
        auto form = StartShown({QStringLiteral("ENGLISH")});
        Prompts.PortAnswers.push_back(PortPins{{3, Device}});
        Control<QAction>(*form, "MenuPortAssignments")->trigger();
        EXPECT_EQ(Prompts.PinsShown, (PortPins{{5, "/dev/old"}}));
        Control<QAction>(*form, "MenuPortAssignments")->trigger();
        EXPECT_EQ(Prompts.PinsShown, (PortPins{{3, Device}}));
        // Written at once: a crash before the close keeps them.
        ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
        const QByteArray text = settings.readAll();
        settings.close();
        EXPECT_TRUE(text.contains("COM3=/dev/null")) << text.toStdString();
        EXPECT_TRUE(text.contains("Left=")) << "the rest of the file stays";
    }
    auto again = Start();
    Control<QAction>(*again, "MenuPortAssignments")->trigger();
    EXPECT_EQ(Prompts.PinsShown, (PortPins{{3, Device}}));
}

TEST_F(PortAssignmentsWindow, EveryComItemSaysWhichDeviceIsBehindIt) {
    auto form = StartShown({QStringLiteral("ENGLISH")});
    QTest::keyClick(form.get(), Qt::Key_C, Qt::AltModifier); // the Com menu opens
    ASSERT_TRUE(QTest::qWaitFor([&form] { return Control<QMenu>(*form, "MenuCom")->isVisible(); }, 2000));
    // The headless line has no devices.
    EXPECT_EQ(Control<QAction>(*form, "MenuComItem2")->statusTip(), QStringLiteral("COM3: no port present"));
    QTest::keyClick(Control<QMenu>(*form, "MenuCom"), Qt::Key_Escape);
}
#endif

} // namespace
} // namespace zevo
