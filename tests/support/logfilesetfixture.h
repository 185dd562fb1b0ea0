#pragma once

// A folder holding an older saved set (set.jv1, set.jv3, set.jv4), for the tests of writing sets.

#include "common/logfile/logfileset.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::logfile {

class LogFileSetFixture : public ::testing::Test {
protected:
    static constexpr const char* kExtensions[] = {".jv1", ".jv3", ".jv4"};

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        writeOlder();
    }
    // An older set of the same name, as a previous save left it.
    void writeOlder() const {
        for (const char* ext : kExtensions) {
            QFile file(path(ext));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(older(ext));
        }
    }
    QString base() const { return m_dir.filePath(QStringLiteral("set")); }
    QString path(const char* ext) const { return base() + QLatin1String(ext); }
    static QByteArray older(const char* ext) { return QByteArray("older ") + ext + "\r\n"; }
    static QByteArray newer(const char* ext, const char* who = "newer") {
        return QByteArray("\"") + who + "\",\"" + ext + "\"\r\n";
    }
    void fill(LogFileSet& set, const char* who = "newer") const {
        for (const char* ext : kExtensions) {
            set.add(path(ext), newer(ext, who));
        }
    }
    static QByteArray contentsOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList names() const {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    // The three files and nothing staged, kept, locked or recorded beside them.
    bool onlyTheSet() const {
        return names() ==
               QStringList{QStringLiteral("set.jv1"), QStringLiteral("set.jv3"), QStringLiteral("set.jv4")};
    }
    // "older", or the writer whose bytes every file holds; "mixed" otherwise.
    QByteArray wholeSet() const {
        for (const char* who : {"older", "newer", "first", "second"}) {
            bool all = true;
            for (const char* ext : kExtensions) {
                all = all &&
                      contentsOf(path(ext)) == (qstrcmp(who, "older") == 0 ? older(ext) : newer(ext, who));
            }
            if (all) {
                return who;
            }
        }
        return "mixed";
    }

    QTemporaryDir m_dir;
};

} // namespace tolvan::logfile
