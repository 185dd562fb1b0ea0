#pragma once

// A write the user starts, as every write is run: open, read, the file loaded over what was read,
// the backup of what was read, the frames built from the store, the write scripts run.

#include "common/message.h"
#include "runner/handsetrunner.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace tolvan::runner {

// One write script and the builder of its frames (false: a frame could not be built, nothing is
// sent).
struct WriteStep {
    std::uint32_t operationId = 0;
    std::uint8_t script = 0;
    std::function<bool(handset::HandsetStore&, link::RequestBuffers&)> build;
};

// What differs between the writes; the mode models supply each part.
struct WritePlan {
    bool dataSettingOpen = false; // the open is the data setting mode's (its own no-communication text)
    std::uint32_t readOperation = 0;
    std::uint8_t readScript = 0;
    // Looks at the handset as read before anything else: a message stops the write (nothing sent,
    // no backup taken). Empty: no such check.
    std::function<std::optional<Message>(const handset::HandsetStore&, std::uint32_t modelCode)> guard;
    // Puts the file over what was read (into the store's pending write, or a copy the steps use);
    // false: the file is refused and nothing is sent. Its messages are the caller's to show.
    std::function<bool(handset::HandsetStore&, std::uint32_t modelCode)> load;
    // Keeps what the handset held as read: the backup's path, or why it could not be saved. Empty:
    // no backup (--no-backup).
    std::function<std::variant<QString, Message>(const handset::HandsetStore&, std::uint32_t modelCode)>
        backUp;
    // Some writes keep the backup before the file is even loaded.
    bool backUpBeforeLoad = false;
    std::vector<WriteStep> steps;
    // The last step stays in the keep-alive dialogue (a check reads the handset again after it).
    bool dialogueFollows = false;
};

struct WriteOutcome {
    enum class End {
        Written,
        NotOpened,     // no handset port opened
        ReadFailed,    // link says how
        Refused,       // the guard's message
        NotLoaded,     // the file did not go onto what was read
        BackupFailed,  // message says why; nothing was sent
        FrameNotBuilt, // at step; nothing of that step was sent
        WriteFailed,   // at step; link says how
    };
    End end = End::Written;
    ScriptEnd link = ScriptEnd::KeepAlive;
    std::optional<Message> message;
    std::optional<QString> backupPath; // the backup taken before the first write
    std::size_t step = 0;
};

// The write as a value: it goes through its states once and ends in one outcome. The link is left
// as the outcome leaves it (open after a failure): the caller shows what it must, then closes.
class WriteOperation {
public:
    enum class State { Ready, Opening, Reading, Checking, Loading, BackingUp, Writing, Done };

    explicit WriteOperation(WritePlan plan) : m_plan(std::move(plan)) {}

    State state() const { return m_state; }
    WriteOutcome run(HandsetRunner& runner);

private:
    std::optional<WriteOutcome> backUp(HandsetRunner& runner, WriteOutcome& outcome);
    WriteOutcome end(WriteOutcome outcome);

    WritePlan m_plan;
    State m_state = State::Ready;
};

} // namespace tolvan::runner
