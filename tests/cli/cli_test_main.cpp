#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// An application object for QSerialPort and QProcess; its event loop never runs, as the tool's
// timer tick must work from whatever the line already holds.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Every zevo-cli the tests start keeps its restore points and reads its settings in a folder of
    // the run's own, never in the user's; a test that needs its own folder sets it per process.
    QTemporaryDir config;
    qputenv("ZEVO_CONFIG_DIR", config.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
