#pragma once

#include "link/core/frame.h"

#include <cstdint>
#include <map>
#include <optional>

namespace tolvan::link {

// Command codes that the engine itself refers to.
namespace cmd {
inline constexpr std::uint32_t kOpen = 0x20FF;
inline constexpr std::uint32_t kClose = 0x21FF;
inline constexpr std::uint32_t kPoll = 0x7000;
inline constexpr std::uint32_t kModelQuery = 0x7100;
inline constexpr std::uint32_t kModelQuery2 = 0x7200;
inline constexpr std::uint32_t kRegisterOn = 0x40FF;
inline constexpr std::uint32_t kRegisterOff = 0x41FF;
inline constexpr std::uint32_t kSkip = 0xFF; // script entry that is passed over
} // namespace cmd

enum class AfterAck {
    Poll,     // a response frame follows: poll for it
    NextStep, // answered by ACK alone: go on with the script
    Close,    // close frame acknowledged
    None,     // no ACK is expected: ACK handling error
};

enum class ResponseTimer : std::uint8_t {
    Always,
    Never,         // the handset says nothing after it
    UnlessNoTimer, // the link state's no-timer flag turns it off
};

// What the handset's answer with the command's own code means.
enum class OwnAnswer : std::uint8_t {
    None,
    Close,          // the command is done: close the dialogue
    CloseAndForget, // the same, and nothing resends the command afterwards
};

struct CommandInfo {
    std::uint16_t code = 0;
    std::uint16_t byteCount = 0; // bytes the engine transmits
    AfterAck afterAck = AfterAck::None;
    bool requestBuffer = false; // the frame comes from a mode-filled request buffer
    bool writeType = false;     // a poll after it runs under the 2000 ms response timer
    ResponseTimer responseTimer = ResponseTimer::Always;
    OwnAnswer ownAnswer = OwnAnswer::None;
    Bytes fixedFrame; // the frame, when it is fixed
};

// nullptr for a code that is not in the catalogue.
const CommandInfo* findCommand(std::uint32_t code);

// Class 0x30 write commands (group below 0x10): their echo is accepted without a parser.
bool isDataWriteCommand(std::uint16_t code);

// Groups and items of data responses that have a parser.
bool isParsedDataItem(std::uint8_t group, std::uint8_t item);

// Complete request frames filled by the modes' frame builders, one per write command.
class RequestBuffers {
public:
    // Accepts only a well-formed frame of the command's catalogue length; returns false (and
    // keeps the previous frame) otherwise, so a wrong builder can never put junk on the wire.
    bool set(std::uint16_t code, const Bytes& frame);
    const Bytes* get(std::uint16_t code) const;
    void clear() { m_frames.clear(); }

private:
    std::map<std::uint16_t, Bytes> m_frames;
};

// The bytes Send transmits for a code: the fixed frame, or the request buffer padded with zero
// bytes to the catalogue count (command 8 sends one zero byte after its check byte). Empty when
// the code is unknown or its request buffer was never filled.
std::optional<Bytes> transmitBytesOf(std::uint32_t code, const RequestBuffers& buffers);

inline constexpr int kScriptCount = 20;

// Command at a step of a script; step 0 holds the script's last step index (the table's row 0),
// steps past the end give 0.
std::uint32_t scriptEntry(int script, int step);
int scriptLastStep(int script);

// Handset model code 3 skips 0x1407, 0x0407, 0x1008 and 0x0008; code 4 skips 0x1008 and 0x0008.
bool isSkippedForModel(std::uint32_t code, std::uint32_t modelCode);

} // namespace tolvan::link
