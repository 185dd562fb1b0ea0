#pragma once

// A file's bytes, read and written as they are, for tests that compare files byte for byte.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace tolvan::test {

// The file's bytes; empty when it does not open.
inline QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace tolvan::test
