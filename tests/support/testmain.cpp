#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Writes back up what the handset held; in tests that goes to a folder of the run's own.
    QTemporaryDir backups;
    if (qEnvironmentVariableIsEmpty("TOLVAN_BACKUP_DIR") && backups.isValid()) {
        qputenv("TOLVAN_BACKUP_DIR", backups.path().toLocal8Bit());
    }
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
