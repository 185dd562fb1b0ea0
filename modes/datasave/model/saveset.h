#pragma once

#include "common/logfile/savesetfiles.h"
#include "common/message.h"
#include "handset/handsetstore.h"
#include "modes/datasave/model/savesetnames.h"
#include "modes/psent/model/settingspair.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <variant>

namespace tolvan::datasave {

// A saved set as bytes: log file 1 in its image form, log file 3 from the buffers, log file 4
// from the handset settings. Its names and its all-or-nothing write are every set's
// (common/logfile); the registration's pair without the buffers is the handset setting mode's.
using logfile::checkSaveSetWritable;
using logfile::SaveSetFiles;
using logfile::saveSetPaths;
using logfile::writeSaveSet;
using psent::writeSettingsPair;

// The three files of the handset in the store; a memo code page 932 cannot carry is a message.
std::variant<SaveSetFiles, Message> buildSaveSet(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                                 const QString& memo);

// Whether the set can be written, found out before a handset is read for nothing: the memo has a
// code page 932 form and every file of it can be created. Nothing is written.
std::optional<Message> checkSaveSet(const QString& base, const QString& memo, bool withBuffers = true);

// What loading a set for a write-back did.
struct WriteBackLoad {
    bool jv1Loaded = false; // read into the store (a missing file or another model's is skipped)
    bool jv4Loaded = false;
    // The set is being saved by another process or was left unfinished and could not be
    // recovered: nothing was loaded and nothing of it may be written (the reason is in messages).
    bool refused = false;
    // The memo rule after a write-back: the memo box keeps its text only when line 17 (counting
    // the header as 0) of the .jv4 file is not empty; otherwise it is emptied.
    bool memoKept = false;
    QList<Message> messages; // the readers' messages, in order: .jv1 first
    // Labels of the lines of each loaded file that did not read: the handset's own values went
    // back for them, so a check must not count them as held.
    QStringList jv1Unread;
    QStringList jv4Unread;
};

// Reads the set's .jv1 and .jv4 files straight into the store as the image-form readers do. A
// file that does not open is skipped without a message; a .jv1 of another model shows its model
// message and leaves the system parameters as they were, while the .jv4 is still loaded. The set
// is locked while it is read, and an earlier interrupted save of it recovered first (its line
// among the messages).
WriteBackLoad loadWriteBackSet(handset::HandsetBlocks& store, std::uint32_t modelCode,
                               const SaveSetNames::WriteBackFiles& files);

// The files of the set that were missing or refused, and so not written: the check after a
// write-back names them. Nothing when both were loaded.
std::optional<QString> notWrittenText(const WriteBackLoad& load, const SaveSetNames::WriteBackFiles& files);

} // namespace tolvan::datasave
