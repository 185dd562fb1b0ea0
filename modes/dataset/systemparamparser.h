#pragma once

#include "modes/dataset/systemparamimage.h"

#include "link/receiver.h"

namespace tolvan::dataset {

// Stores the data responses of the data setting read and write scripts into the system
// parameter image. Responses of blocks the image does not keep, and the answers meant for the
// test and registration modes, are left alone (result class unchanged), so a host can put
// this parser behind a sink that also feeds other modes.
class SystemParamParser : public link::ResponseSink {
public:
    explicit SystemParamParser(SystemParamImage& image) : m_image(image) {}

    // Whether a data response of this group and item goes into the image.
    static bool ownsItem(std::uint8_t group, std::uint8_t item);

    std::optional<std::uint8_t> dataResponse(std::uint8_t group, std::uint8_t item,
                                             std::span<const std::uint8_t> data) override;
    void settingRedirect(std::uint8_t value) override;
    void testResult(std::uint8_t, std::uint8_t, std::span<const std::uint8_t>) override {}
    void testRedirect(std::uint8_t) override {}
    void registrationAnswer(std::uint8_t, std::span<const std::uint8_t>) override {}

private:
    SystemParamImage& m_image;
};

} // namespace tolvan::dataset
