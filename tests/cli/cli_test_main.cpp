#include <QCoreApplication>

#include <gtest/gtest.h>

// An application object for QSerialPort and QProcess; its event loop never runs, as the tool's
// timer tick must work from whatever the line already holds.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
