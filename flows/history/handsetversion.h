#pragma once

// HandsetVersion: one version of what a handset held, as a set of log files somewhere on disk.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan::history {

struct HandsetVersion {
    // What made the files: a backup before one kind of write, or a set saved on purpose.
    enum class Kind : std::uint8_t {
        BeforeParamsWrite,      // .jv1: a data setting write
        BeforeSettingsWrite,    // .jv1 and .jv4: a handset setting write or a registration
        BeforeWriteBack,        // .jv1, .jv3 and .jv4: a write-back
        BeforeCalibrationWrite, // .jv2: a correction write
        Saved,                  // a saved set (data save, a provisioning run)
        Registration,           // the .jv1 and .jv4 pair a registration saved
    };

    Kind kind = Kind::Saved;
    std::uint32_t modelCode = 0;
    std::uint32_t psId = 0;
    QDateTime when;
    // Ties within one second: the backup's "-N" (a plain stamp is 1).
    int sequence = 1;
    // What `restore` takes: a backup's stamp (yyyyMMdd-HHmmss[-N]), else the set's base path.
    QString id;
    // The files' path without the ending.
    QString base;
    // The endings present, without the dot ("jv1" ...).
    QStringList extensions;

    bool has(const QString& extension) const { return extensions.contains(extension); }
    QString file(const QString& extension) const { return base + QLatin1Char('.') + extension; }
    // A write-back takes a .jv1 or a .jv4; a calibration backup is neither.
    bool restorable() const { return has(QStringLiteral("jv1")) || has(QStringLiteral("jv4")); }
    bool isBackup() const { return kind != Kind::Saved && kind != Kind::Registration; }
};

// The kind as the window shows it ("データ設定書き込み前" ...).
QString kindText(HandsetVersion::Kind kind);
// The kind as tolvan-cli prints it, one word for scripts ("before-params-write" ...).
QString kindName(HandsetVersion::Kind kind);
// Newest first; within one second the later "-N" first.
bool newerFirst(const HandsetVersion& a, const HandsetVersion& b);
// The PS-ID as the tool writes it: nine digits.
QString psIdText(std::uint32_t psId);

} // namespace tolvan::history
