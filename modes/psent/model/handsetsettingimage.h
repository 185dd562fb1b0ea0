#pragma once

#include "handset/blockview.h"
#include "handset/handsetstore.h"
#include "handset/psid.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

namespace tolvan::psent {

// The read codes the image covers.
inline constexpr auto kHandsetSettingCodes =
    std::to_array<std::uint16_t>({0x1102, 0x1104, 0x1105, 0x1106, 0x1107, 0x1108, 0x1109, 0x110A,
                                  handset::kPsIdReadCode, 0x1301, 0x1302, 0x1008, 0x1407});

// The handset setting mode's typed view of the handset store: the setting records as the last
// read (or file) left them, decoded bytes with their eighth bits kept. Taken from the store and
// put back through one pair of functions, a value of its own in between. Accessors rewrite only
// the bits a field owns, so bytes the mode does not edit go back to the handset as they came.
struct HandsetSettingImage : handset::BlockView<HandsetSettingImage, kHandsetSettingCodes>,
                             handset::PsIdBlock {
    std::array<std::uint8_t, 13> otherParams{};  // 0x1102: D11 receive volume, D12 tone, D13 noise cut
    std::array<std::uint8_t, 24> operation{};    // 0x1104
    std::array<std::uint8_t, 30> keys{};         // 0x1105
    std::array<std::uint8_t, 192> callNumbers{}; // 0x1106-0x1109: 48 numbers, four digits each
    std::array<std::uint8_t, 2> volumes{};       // 0x110A
    std::array<std::uint8_t, 7> psNumber{};      // 0x1301: three ASCII digits, four carried bytes
    std::array<std::uint8_t, 4> pin{};           // 0x1302: four ASCII digits
    std::array<std::uint8_t, 5> buttons{};       // 0x1008: carried gain, handover and volume buttons
    std::array<std::uint8_t, 2> hearing{};       // 0x1407: return timer, operation mode

    // ASCII digits into the PS number and the PIN, as many as each field holds; the rest of a
    // field, and all of it for an empty text, keeps its bytes.
    void putDigits(const QString& psNumberDigits, const QString& pinDigits);

    // The stored bytes of a read code, empty for a code the image does not keep.
    using BlockView::block;
    std::span<std::uint8_t> block(std::uint16_t readCode);

    // Indices into operation.
    enum OperationByte : std::uint8_t {
        Seamless,
        MicOperation,
        VolumeTone,
        KeyTouchTone,
        MenuFirst, // position of function f at MenuFirst + f - 1
        VoxSensitivity = 18,
        NoiseCutSensitivity,
        VoxDelay,
        NoiseCutType,
        PttHoldTone,
        TalkButton,
    };
    // Indices into keys; function fields are a code byte and three parameter bytes.
    enum KeyByte : std::uint8_t {
        FunctionButton = 0,
        RemoteKey1 = 4, // remote key k (0-2) at RemoteKey1 + 4k
        Emergency = 16,
        LockFunction,
        LockExecute,
        LockMenu,
        LockVolume = 22,
        OutsideLine = 24,
        ShortDial1, // M1-M3
        ButtonLock = 28,
        BroadcastMonitor,
    };

    // 0x1102 D11 low nibble: the copy the screen shows.
    std::uint8_t receiveVolume() const { return otherParams[10] & 0x0F; }
    // Both copies, as a write from the screen sets them.
    void setReceiveVolume(std::uint8_t value);
    // Only the copy in 0x1102, as a file read into the image does.
    void setReceiveVolumeShown(std::uint8_t value);
    std::uint8_t outOfRangeTone() const { return otherParams[11] & 0x0F; }
    void setOutOfRangeTone(std::uint8_t value);
    std::uint8_t sidetoneVolume() const { return volumes[0] & 0x0F; }
    void setSidetoneVolume(std::uint8_t value);
    std::uint8_t micLevel() const { return volumes[1] >> 4; }
    void setMicLevel(std::uint8_t value);
    std::uint8_t notificationVolume() const { return volumes[1] & 0x0F; }
    void setNotificationVolume(std::uint8_t value);

    // Call number slot 0-47 as the number its four digit bytes make.
    int callNumber(int slot) const;
    void setCallNumber(int slot, int number); // 0-9999

    // The three parameter bytes after a function code byte (FunctionButton or a remote key).
    std::span<std::uint8_t, 4> function(std::size_t first) {
        return std::span(keys).subspan(first).first<4>();
    }
    std::span<const std::uint8_t, 4> function(std::size_t first) const {
        return std::span(keys).subspan(first).first<4>();
    }

    bool operator==(const HandsetSettingImage&) const = default;
};

} // namespace tolvan::psent
