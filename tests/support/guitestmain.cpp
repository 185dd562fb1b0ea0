#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widget and report tests need a QApplication (fonts, widgets); headless unless a display is set.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Writes back up what the handset held; in tests that goes to a folder of the run's own.
    QTemporaryDir backups;
    if (qEnvironmentVariableIsEmpty("TOLVAN_BACKUP_DIR") && backups.isValid()) {
        qputenv("TOLVAN_BACKUP_DIR", backups.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
