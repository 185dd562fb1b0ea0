#include "link/settingsfile.h"

#include "common/cp932.h"
#include "common/logline.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace tolvan::link {
namespace {

constexpr qsizetype kMaxSettingsBytes = 1 << 20;
constexpr qsizetype kMaxLines = 4096;
constexpr qsizetype kMaxLineLength = 4096;

QStringList linesOf(QByteArrayView bytes) {
    QStringList lines;
    for (const QByteArray& line :
         splitLogLines(bytes.first(std::min(bytes.size(), kMaxSettingsBytes)), kMaxLines, kMaxLineLength)
             .lines) {
        lines.append(decodeCp932(line).text);
    }
    return lines;
}

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return linesOf(file.read(kMaxSettingsBytes));
}

bool isSection(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']'))) {
        return false;
    }
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool isKey(const QString& line, const QString& key, QString* value) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.trimmed().startsWith(QLatin1Char(';'))) {
        return false;
    }
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0) {
        return false;
    }
    *value = line.mid(eq + 1).trimmed();
    return true;
}

} // namespace

QString SettingsFile::readString(const QString& section, const QString& key, const QString& fallback) const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fallback;
    }
    return valueIn(file.read(kMaxSettingsBytes), section, key, fallback);
}

QString SettingsFile::valueIn(QByteArrayView contents, const QString& section, const QString& key,
                              const QString& fallback) {
    QString current;
    for (const QString& line : linesOf(contents)) {
        QString name;
        if (isSection(line, &name)) {
            current = name;
            continue;
        }
        QString value;
        if (current.compare(section, Qt::CaseInsensitive) == 0 && isKey(line, key, &value)) {
            return value;
        }
    }
    return fallback;
}

bool SettingsFile::writeString(const QString& section, const QString& key, const QString& value) const {
    QStringList lines = readLines(m_path);
    QString current;
    qsizetype sectionEnd = -1;
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        QString name;
        if (isSection(lines[i], &name)) {
            current = name;
            continue;
        }
        const bool inSection = current.compare(section, Qt::CaseInsensitive) == 0;
        QString old;
        if (inSection && isKey(lines[i], key, &old)) {
            lines[i] = key + QLatin1Char('=') + value;
            written = true;
        } else if (inSection && !lines[i].trimmed().isEmpty()) {
            sectionEnd = i + 1;
        }
    }
    if (!written) {
        if (sectionEnd < 0) {
            // Find the section header itself, or add one at the end.
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QString name;
                if (isSection(lines[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0) {
                    sectionEnd = i + 1;
                    break;
                }
            }
        }
        if (sectionEnd < 0) {
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            sectionEnd = lines.size();
        }
        lines.insert(sectionEnd, key + QLatin1Char('=') + value);
    }
    QByteArray bytes;
    for (const QString& line : lines) {
        const Cp932Encoded encoded = encodeCp932(line);
        if (!encoded.ok()) {
            return false;
        }
        bytes += encoded.bytes + "\r\n";
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(bytes);
    return file.commit();
}

PortSetting::PortSetting(const QString& programDirectory)
    : m_file(QDir(programDirectory).filePath(QString::fromLatin1(kSettingsFileName))) {}

QString PortSetting::read() const {
    return m_file.readString(QStringLiteral("COMPORT"), QStringLiteral("name"), QStringLiteral("COM1"));
}

bool PortSetting::write(const QString& portName) const {
    return m_file.writeString(QStringLiteral("COMPORT"), QStringLiteral("name"), portName);
}

} // namespace tolvan::link
