#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Widget tests need one application object that lives for the whole run and goes before
// the program's static objects do.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
