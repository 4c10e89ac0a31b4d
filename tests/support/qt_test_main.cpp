// The test runner of the window tests: one application object for every test, on the offscreen
// platform unless another one is asked for, so the tests run without a display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velkor");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
