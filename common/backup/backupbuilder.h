#pragma once

// The backup before a write, built the one way every mode needs it: the mode's files from what
// the handset held as last read, under its model and PS-ID.

#include "common/backup/backupfolder.h"
#include "common/message.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <variant>

namespace tolvan::backup {

// The files of a backup with a memo in them, or why they cannot be written.
using BackupFiles = std::variant<QList<BackupFile>, Message>;
using BuildBackupFiles = std::function<BackupFiles(const QString& memo)>;

// A backup of one log file, from its writer's text (the bytes, or the error that stopped it).
template <typename LogFileText>
BackupFiles singleFileBackup(const QString& extension, const LogFileText& text) {
    if (!text.ok()) {
        return errorMessage(text.error);
    }
    return QList<BackupFile>{{extension, text.bytes}};
}

// Builds the files with the memo and saves them; files the memo stops (code page 932 cannot
// carry it) are built again without it, since a backup must not stop a write on its memo. The
// base path of the set, or the message that stops the write.
std::variant<QString, Message> buildAndSaveBackup(const QString& root, std::uint32_t modelCode,
                                                  std::uint32_t psId, const QString& memo,
                                                  const BuildBackupFiles& build);

} // namespace tolvan::backup
