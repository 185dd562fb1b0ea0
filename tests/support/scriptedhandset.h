#pragma once

#include "tests/support/virtuallink.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace tolvan::test {

// A cooperative handset for engine tests: ACKs every frame, answers each poll with the one frame
// that is due (status answer, model answer, data response, write echo), and lets a test replace
// its answer to any frame.
class ScriptedHandset : public Peer {
public:
    explicit ScriptedHandset(std::uint8_t modelCode = 3) : m_model(modelCode) {}

    struct Reply {
        std::int64_t delayMs;
        link::Bytes bytes;
    };
    // Called for every frame the PC sends (index counts from 0); a value replaces the default
    // answer (an empty list means silence).
    std::function<std::optional<std::vector<Reply>>(const link::Bytes& frame, int index)> override;
    // Data bytes (decoded values) returned for a read code; default: four zero bytes.
    std::map<std::uint16_t, link::Bytes> data;
    std::int64_t answerDelayMs = 5;
    // When above 0, every answer frame is sent in two bursts this far apart.
    std::int64_t splitGapMs = 0;

    void received(const link::Bytes& bytes, VirtualLink& link) override;

    static link::Bytes statusAnswer(std::uint8_t status = 1);
    static link::Bytes modelAnswer(std::uint8_t model);
    static link::Bytes dataResponse(std::uint16_t code, const link::Bytes& decoded, std::uint8_t status = 0);

private:
    link::Bytes dueFrame() const;

    std::uint8_t m_model;
    int m_index = 0;
    enum class Due { Status, Model, Data, Echo } m_due = Due::Status;
    std::uint16_t m_dueCode = 0;
};

} // namespace tolvan::test
