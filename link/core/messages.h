#pragma once

#include <cstdint>

namespace tolvan::link {

// Every message the link engine raises. The GUI shows it in a message box titled kErrorTitle
// with an exclamation icon; tolvan-cli prints "TITLE: TEXT" on stderr. A fatal message ends the
// program once it has been shown.
enum class LinkMessage : std::uint8_t {
    SendCommandError,
    SendFailure,
    UsbError,
    AckHandlingError,
    NakRetryError,
    ScriptError,
    StatusOutOfRange,
    RetryErrorBug,
    ReceiveLengthError,
    StxEtxError,
    CheckByteError,
    ReceiveDataError,
    BatteryEmpty,
    CommandError,
    RetryErrorUnknown,
};

inline constexpr const char* kErrorTitle = "エラー";

// UTF-8 text of a message, exactly as the handset tool shows it.
const char* messageText(LinkMessage message);
bool isFatal(LinkMessage message);

} // namespace tolvan::link
