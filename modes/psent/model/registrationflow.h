#pragma once

#include "common/message.h"
#include "handset/registrationreports.h"

#include <QString>

#include <cstdint>
#include <optional>

// What the registration shows, shared by the registration screen and the command line.
namespace tolvan::psent::registration {

// The "状態" box for a view state: empty for 0xD001 to 0xD003 (and any state of no registration).
QString statusText(std::uint32_t viewState);

// The message box after a completed registration (titled with the program's name).
QString completedMessage();
// The progress dialog's text while an aborted registration writes the settings back.
QString abortWritingText();
// The content error: a cause or detail the table does not know. Title "エラー", then the program
// ends.
QString contentErrorText();

// The writes that finish a registration (the write-back after it completed or was aborted) go out
// even when their backup could not be saved: the backup's message, saying that the settings are
// written back without one instead of that nothing was written.
Message writtenWithoutBackup(const Message& backupFailed);

// One registration answer as the screen takes it.
struct ReportView {
    enum class Kind { Running, Failed, CommandEnded, ContentError };
    Kind kind = Kind::Running;
    std::uint32_t viewState = 0; // the state the screen moves to (0: the buttons stay as they are)
    QString status;              // the "状態" box
    QString error;               // the "エラー" box (the cause text of a failure, else empty)
};

// Running (status 1), failed (0x10, 0x30: cause in byte 4 with bit 7 ignored, detail in byte 5),
// command ended abnormally (0x40). Nothing for another status, which the engine handles itself.
std::optional<ReportView> viewOf(const handset::RegistrationReports::Report& report);

} // namespace tolvan::psent::registration
