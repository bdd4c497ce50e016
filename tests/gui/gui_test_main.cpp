#include <QApplication>

#include <gmock/gmock.h>

// GoogleTest's main with the QApplication every widget test needs. Without a
// platform chosen the tests run offscreen, so they never need a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
