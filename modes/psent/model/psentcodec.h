#pragma once

#include "modes/psent/model/handsetsettingimage.h"
#include "modes/psent/model/psentscreenvalues.h"

#include "common/message.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tolvan::psent {

// Between the handset setting image and what the handset setting screen shows.
class PsEntCodec {
public:
    // Screen values after a read. The memo is not in the image: it is taken from memo.
    static PsEntScreenValues decode(const HandsetSettingImage& image, std::uint32_t modelCode,
                                    const QString& memo);
    // Stores the screen values into the image. Controls the model keeps disabled, and lists
    // without a selection, leave their bytes as the last read brought them.
    static void encode(const PsEntScreenValues& values, std::uint32_t modelCode, HandsetSettingImage& image);
    // The write's preparation: the call numbers are tested (out-of-range ones replaced on the
    // screen values too), then everything is stored into the image. The message, if any, is for
    // the first replaced slot; the write goes on.
    static std::optional<Message> prepareWrite(PsEntScreenValues& values, std::uint32_t modelCode,
                                               HandsetSettingImage& image);

    // A function list pair into its code byte and parameter bytes: nothing picked leaves the
    // four bytes, no parameter picked leaves the parameter bytes.
    static void putFunctionButton(const PsEntScreenValues::FunctionChoice& choice,
                                  HandsetSettingImage& image);
    static void putRemoteKey(std::size_t key, const PsEntScreenValues::FunctionChoice& choice,
                             HandsetSettingImage& image);

    // What the no-data and unplugged views show: PS number, PIN, out-of-range tone, noise cut,
    // sliders, PS-ID and the model box emptied; every other control keeps its value.
    static PsEntScreenValues noDataView(const PsEntScreenValues& current);
};

} // namespace tolvan::psent
