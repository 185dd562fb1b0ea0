#pragma once

#include "common/logfile/logfileset.h"
#include "common/message.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <variant>

namespace tolvan::backup {

// One file of a backup set: its extension ("jv1" to "jv4") and its bytes.
struct BackupFile {
    QString extension;
    QByteArray bytes;
};

// Where backups go: $TOLVAN_BACKUP_DIR, else the user's data folder (on Linux
// $XDG_DATA_HOME/tolvan/backups, by default ~/.local/share/tolvan/backups; on Windows the
// application data folder).
QString backupRoot();

// The set's base path without extension: <root>/<model name>/<PS-ID, nine digits>/<yyyyMMdd-HHmmss>.
QString backupBase(const QString& root, std::uint32_t modelCode, std::uint32_t psId, const QDateTime& when);

// Saves what the handset held before a write, every file next to the others under one base
// name (a second set within the same second gets "-2", "-3" ...). The name is chosen and the set
// placed under a lock of the PS-ID folder (<folder>/.tolvan-lock), and the set never replaces a
// file, so parallel runs never lose one another's backups. The set is written all or nothing.
// The base path of the set, or the message that stops the write. hook: as LogFileSet's.
std::variant<QString, Message> saveBackup(const QString& root, std::uint32_t modelCode, std::uint32_t psId,
                                          const QList<BackupFile>& files,
                                          const QDateTime& when = QDateTime::currentDateTime(),
                                          const logfile::LogFileSet::StepHook& hook = {});

} // namespace tolvan::backup
