#include <QCoreApplication>

#include <gtest/gtest.h>

// QSerialPort wants an application object, but the tests never run its event loop: the line has
// to deliver bytes to a tick that no event preceded.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
