#pragma once

#include <QByteArrayView>
#include <QString>

namespace tolvan::link {

// Reads and writes "KEY=VALUE" entries under "[SECTION]" of an INI-style file in code page 932,
// so a file written by the tool on Windows reads back the same here and the other way round.
// Other sections, keys and comments are kept as they are when a value is written.
class SettingsFile {
public:
    explicit SettingsFile(QString path) : m_path(std::move(path)) {}

    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    // The same look-up in a file's bytes (any bytes: the file may be anything).
    static QString valueIn(QByteArrayView contents, const QString& section, const QString& key,
                           const QString& fallback);
    // False when the file cannot be written or the value has no code page 932 form.
    bool writeString(const QString& section, const QString& key, const QString& value) const;

    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// The tool's own settings: "Tolvan.ini" in the program directory (the current directory at
// start-up), section "COMPORT", key "name", default "COM1".
inline constexpr const char* kSettingsFileName = "Tolvan.ini";
inline constexpr const char* kPortNotUsed = "通信ﾎﾟｰﾄ未使用";

class PortSetting {
public:
    explicit PortSetting(const QString& programDirectory);
    QString read() const;
    bool write(const QString& portName) const;
    // The modes enable port-dependent controls unless the setting says the port is not used.
    bool portUsed() const { return read() != QString::fromUtf8(kPortNotUsed); }

private:
    SettingsFile m_file;
};

} // namespace tolvan::link
