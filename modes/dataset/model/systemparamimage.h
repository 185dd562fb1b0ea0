#pragma once

#include "handset/blockview.h"
#include "handset/correctionblocks.h"
#include "handset/handsetstore.h"
#include "handset/psid.h"

#include <array>
#include <cstdint>
#include <span>

namespace tolvan::dataset {

// Every read code the image covers.
inline constexpr auto kSystemParamCodes =
    handset::joinCodes(std::to_array<std::uint16_t>({0x1001, 0x1008, handset::kPsIdReadCode, 0x1401, 0x1402,
                                                     0x1403, 0x1404, 0x1405, 0x1406, 0x1B01, 0x1C01}),
                       handset::kCorrectionCodes, std::to_array<std::uint16_t>({0x1102}));

// The data setting mode's typed view of the handset store: the system parameter blocks exactly as
// the last read brought them (decoded bytes, 0x20 already removed, eighth bits kept), plus the
// blocks of other modes that the data setting write sends back untouched (the test mode's
// correction blocks, the handset setting mode's 0x1102). It is taken from the store and put back
// through one pair of functions, and is a value of its own in between, so a file can be loaded
// into an image and checked before anything reaches the store. Field accessors rewrite only the
// bits a field owns, so bytes the tool does not understand go back to the handset as they came.
struct SystemParamImage : handset::BlockView<SystemParamImage, kSystemParamCodes>,
                          handset::CorrectionBlocks,
                          handset::PsIdBlock {
    std::array<std::uint8_t, 4> version{};        // 0x1001: major, minor, two carried bytes
    std::array<std::uint8_t, 5> gain{};           // 0x1008: gain switch, two carried bytes, 0, 0
    std::array<std::uint8_t, 7> levels{};         // 0x1401: five levels, FER threshold
    std::array<std::uint8_t, 7> systemCall{};     // 0x1402: system call code, interval
    std::array<std::uint8_t, 2> area{};           // 0x1403: area type, number of additional IDs
    std::array<std::uint8_t, 16> additionalIds{}; // 0x1404 (IDs 1-4) and 0x1405 (IDs 5-8)
    std::array<std::uint8_t, 5> channel{};        // 0x1406: channel, seamless values, FER level
    std::array<std::uint8_t, 3> faultCode{};      // 0x1B01: three characters
    std::uint8_t accessory = 0;                   // 0x1C01

    std::array<std::uint8_t, 13> otherParams{}; // 0x1102: carried for the write

    // The stored bytes of a read code, empty for a code the image does not keep.
    using BlockView::block;
    std::span<std::uint8_t> block(std::uint16_t readCode);

    // Indices into levels.
    enum Level : std::uint8_t { StandbySelect, StandbyHold, RecallProcess, RecallSelect, TchProcess };
    // Indices into channel.
    enum ChannelByte : std::uint8_t {
        ControlChannel,
        SeamlessProcess,
        SeamlessSelect,
        SeamlessFer,
        FerTriggered
    };

    std::uint32_t systemCallValue() const; // 29 bits
    void setSystemCallValue(std::uint32_t value);
    std::uint8_t ferThreshold() const;
    void setFerThreshold(std::uint8_t value);
    std::uint8_t interval() const;
    void setInterval(std::uint8_t value);
    std::uint16_t additionalId(int index) const; // 13 bits, index 0 to 7
    void setAdditionalId(int index, std::uint16_t value);

    bool operator==(const SystemParamImage&) const = default;
};

} // namespace tolvan::dataset
