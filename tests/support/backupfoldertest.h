#pragma once

// A test with a folder of its own for the files it writes, and one for the backups the tool
// takes, named in the environment tolvan-cli inherits.

#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {

class BackupFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid() && m_backups.isValid());
        m_saved = qgetenv("TOLVAN_BACKUP_DIR");
        qputenv("TOLVAN_BACKUP_DIR", m_backups.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("TOLVAN_BACKUP_DIR", m_saved); }

    QTemporaryDir m_dir;
    QTemporaryDir m_backups;
    QByteArray m_saved;
};

} // namespace tolvan::test
