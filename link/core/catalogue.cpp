#include "link/core/catalogue.h"

#include <array>
#include <unordered_map>
#include <vector>

namespace tolvan::link {
namespace {

bool inRange(std::uint32_t code, std::uint32_t first, std::uint32_t last) {
    return code >= first && code <= last;
}

bool isPollGroup(std::uint32_t c) {
    return inRange(c, 0x0001, 0x0008) || inRange(c, 0x0101, 0x010A) || c == 0x0201 || c == 0x0301 ||
           c == 0x0302 || inRange(c, 0x0401, 0x0407) || c == 0x0B01 || inRange(c, 0x1001, 0x1006) ||
           c == 0x1008 || inRange(c, 0x1101, 0x110A) || c == 0x1201 || c == 0x1301 || c == 0x1302 ||
           inRange(c, 0x1401, 0x1407) || inRange(c, 0x1501, 0x1504) || inRange(c, 0x1601, 0x1604) ||
           inRange(c, 0x1701, 0x1714) || c == 0x1801 || inRange(c, 0x1901, 0x1909) || c == 0x1A01 ||
           c == 0x1A02 || c == 0x1B01 || c == 0x1C01 || c == cmd::kOpen || c == cmd::kRegisterOn ||
           c == cmd::kRegisterOff || inRange(c, 0x5000, 0x5007) || inRange(c, 0x6000, 0x6008) ||
           c == 0x600B || c == cmd::kPoll || c == cmd::kModelQuery;
}

bool isClearCommand(std::uint32_t c) {
    return c == 0x0503 || c == 0x0603 || c == 0x0703 || c == 0x0803 || c == 0x0903 || c == 0x0A03;
}

bool isStepGroup(std::uint32_t c) {
    return isClearCommand(c) || c == 0x0C01;
}

bool isWriteType(std::uint32_t c) {
    return inRange(c, 0x0001, 0x0008) || inRange(c, 0x0101, 0x010A) || c == 0x0201 || c == 0x0301 ||
           c == 0x0302 || inRange(c, 0x0401, 0x0407) || isClearCommand(c) || c == 0x0B01 || c == 0x0C01 ||
           c == cmd::kRegisterOn || c == cmd::kRegisterOff || inRange(c, 0x6000, 0x6004) ||
           inRange(c, 0x6006, 0x6008);
}

AfterAck afterAckOf(std::uint32_t c) {
    if (c == cmd::kClose) {
        return AfterAck::Close;
    }
    if (isStepGroup(c)) {
        return AfterAck::NextStep;
    }
    if (isPollGroup(c)) {
        return AfterAck::Poll;
    }
    return AfterAck::None;
}

// Write and test commands whose frame a mode builds, with the bytes sent.
constexpr std::array<std::pair<std::uint16_t, std::uint16_t>, 45> kRequestBufferCounts{{
    {0x0001, 10}, {0x0002, 50}, {0x0003, 20}, {0x0005, 46}, {0x0006, 8},  {0x0007, 12}, {0x0008, 12},
    {0x0102, 19}, {0x0103, 8},  {0x0104, 30}, {0x0105, 36}, {0x0106, 54}, {0x0107, 54}, {0x0108, 54},
    {0x0109, 54}, {0x010A, 8},  {0x0201, 10}, {0x0301, 13}, {0x0302, 10}, {0x0401, 13}, {0x0402, 13},
    {0x0403, 8},  {0x0404, 14}, {0x0405, 14}, {0x0406, 11}, {0x0407, 8},  {0x0B01, 9},  {0x0C01, 7},
    {0x5000, 5},  {0x5001, 11}, {0x5002, 30}, {0x5003, 11}, {0x5004, 11}, {0x5005, 29}, {0x5006, 29},
    {0x5007, 5},  {0x6000, 5},  {0x6001, 11}, {0x6002, 11}, {0x6003, 29}, {0x6004, 11}, {0x6005, 5},
    {0x6006, 11}, {0x6007, 11}, {0x6008, 29},
}};

std::vector<std::uint16_t> readCodes() {
    std::vector<std::uint16_t> codes;
    auto range = [&](std::uint16_t first, std::uint16_t last) {
        for (std::uint16_t c = first; c <= last; ++c) {
            codes.push_back(c);
        }
    };
    range(0x1001, 0x1006);
    codes.push_back(0x1008);
    range(0x1101, 0x110A);
    codes.push_back(0x1201);
    range(0x1301, 0x1302);
    range(0x1401, 0x1407);
    range(0x1501, 0x1504);
    range(0x1601, 0x1604);
    range(0x1701, 0x1714);
    codes.push_back(0x1801);
    range(0x1901, 0x1909);
    range(0x1A01, 0x1A02);
    codes.push_back(0x1B01);
    codes.push_back(0x1C01);
    return codes;
}

std::unordered_map<std::uint32_t, CommandInfo> buildCatalogue() {
    std::unordered_map<std::uint32_t, CommandInfo> table;
    auto addFixed = [&](std::uint32_t code, Bytes frame) {
        CommandInfo info;
        info.code = static_cast<std::uint16_t>(code);
        info.byteCount = static_cast<std::uint16_t>(frame.size());
        info.afterAck = afterAckOf(code);
        info.writeType = isWriteType(code);
        info.fixedFrame = std::move(frame);
        table[code] = std::move(info);
    };
    addFixed(cmd::kOpen, buildFrame(0x20, {}));
    addFixed(cmd::kClose, buildFrame(0x21, {}));
    addFixed(cmd::kPoll, buildFrame(0x70, {}));
    addFixed(cmd::kModelQuery, buildFrame(0x71, {}));
    addFixed(cmd::kModelQuery2, buildFrame(0x72, {}));
    const std::uint8_t on[] = {0x21};
    const std::uint8_t off[] = {0x20};
    addFixed(cmd::kRegisterOn, buildFrame(0x40, on));
    addFixed(cmd::kRegisterOff, buildFrame(0x40, off));
    for (const std::uint16_t code : readCodes()) {
        addFixed(code, buildDataFrame(code, {}));
    }
    for (std::uint16_t code : {0x0503, 0x0603, 0x0703, 0x0803, 0x0903, 0x0A03}) {
        const std::uint8_t body[] = {static_cast<std::uint8_t>((code >> 8) + kBodyOffset)};
        addFixed(code, buildFrame(0x30, body));
    }
    // Test-mode reads of group 0x1B items 3, 4 and 2.
    addFixed(0x6009, buildDataFrame(0x1B03, {}));
    addFixed(0x600A, buildDataFrame(0x1B04, {}));
    addFixed(0x600B, buildDataFrame(0x1B02, {}));
    // Power off and reset: after them the handset rightly says nothing.
    table[0x6009].responseTimer = ResponseTimer::Never;
    table[0x600A].responseTimer = ResponseTimer::UnlessNoTimer;
    for (const auto& [code, count] : kRequestBufferCounts) {
        CommandInfo info;
        info.code = code;
        info.byteCount = count;
        info.afterAck = afterAckOf(code);
        info.requestBuffer = true;
        info.writeType = isWriteType(code);
        table[code] = std::move(info);
    }
    // The ends of a test and of a measurement, answered with their own code.
    table[0x5000].ownAnswer = OwnAnswer::CloseAndForget;
    table[0x6000].ownAnswer = OwnAnswer::Close;
    return table;
}

const std::unordered_map<std::uint32_t, CommandInfo>& catalogue() {
    static const auto table = buildCatalogue();
    return table;
}

using Script = std::vector<std::uint32_t>;

std::vector<Script> buildScripts() {
    auto range = [](Script& s, std::uint32_t first, std::uint32_t last) {
        for (std::uint32_t c = first; c <= last; ++c) {
            s.push_back(c);
        }
    };
    Script logRead{0x1B01};
    range(logRead, 0x1501, 0x1504);
    range(logRead, 0x1601, 0x1604);
    range(logRead, 0x1701, 0x1714);
    logRead.push_back(0x1801);
    range(logRead, 0x1901, 0x1909);
    range(logRead, 0x1A01, 0x1A02);
    logRead.push_back(cmd::kClose);

    // 0x1008 as well, so a saved .jv1 holds the handset's own receive-gain switch and not whatever
    // an earlier mode left in the store (the model filter skips it where there is none).
    Script saveAll{0x1B01, 0x1001, 0x1002, 0x1004, 0x1005, 0x1008, 0x1407, 0x1201, 0x1301, 0x1302};
    range(saveAll, 0x1401, 0x1406);
    range(saveAll, 0x1501, 0x1504);
    range(saveAll, 0x1601, 0x1604);
    range(saveAll, 0x1701, 0x1714);
    saveAll.push_back(0x1801);
    range(saveAll, 0x1901, 0x1909);
    saveAll.insert(saveAll.end(), {0x1A01, 0x1A02, 0x1C01, 0x1102});
    range(saveAll, 0x1104, 0x110A);
    saveAll.push_back(cmd::kClose);

    std::vector<Script> scripts(kScriptCount);
    scripts[0] = {0x1B01, 0x1001, 0x1002, 0x1003, 0x1004, 0x1005, 0x1008, 0x1201,     0x1401,
                  0x1402, 0x1403, 0x1404, 0x1405, 0x1406, 0x1102, 0x1C01, cmd::kClose};
    scripts[1] = {0x1B01, 0x0201, 0x0401, 0x0402, 0x0403, 0x0404, 0x0405, 0x0406, 0x0001, 0x0002,
                  0x0003, 0x0008, 0x0005, 0x0102, 0x0C01, 0x1201, 0x1401, 0x1402, 0x1403, 0x1404,
                  0x1405, 0x1406, 0x1001, 0x1002, 0x1003, 0x1008, 0x1005, 0x1102, 0x1C01, cmd::kClose};
    scripts[2] = {0x1B01, 0x1002, 0x1003, 0x1004, 0x1005, 0x1006, 0x1103, cmd::kClose};
    scripts[3] = {0x0002, 0x1002, cmd::kClose};
    scripts[4] = {0x0003, 0x1003, cmd::kClose};
    scripts[5] = {cmd::kSkip, 0x1004, cmd::kClose};
    scripts[6] = {0x0005, 0x1005, cmd::kClose};
    scripts[7] = logRead;
    const std::uint32_t clears[] = {0x0503, 0x0603, 0x0703, 0x0803, 0x0903, 0x0A03};
    for (int i = 0; i < 6; ++i) {
        scripts[8 + i] = Script{clears[i]};
        scripts[8 + i].insert(scripts[8 + i].end(), logRead.begin(), logRead.end());
    }
    scripts[14] = Script(std::begin(clears), std::end(clears));
    scripts[14].insert(scripts[14].end(), logRead.begin(), logRead.end());
    scripts[15] = {0x1B01, 0x1102, 0x1201, 0x1301, 0x1302, 0x1406, 0x1003,     0x1008,
                   0x1104, 0x1105, 0x1106, 0x1107, 0x1108, 0x1109, 0x110A,     0x1407,
                   0x1001, 0x1401, 0x1402, 0x1403, 0x1404, 0x1405, cmd::kClose};
    scripts[16] = {0x1B01, 0x0102, 0x0301, 0x0201, 0x0407, 0x0104, 0x0302, 0x0105, 0x0106,     0x0107,
                   0x0108, 0x0109, 0x010A, 0x0008, 0x1201, 0x1301, 0x1407, 0x1102, 0x1104,     0x1003,
                   0x1302, 0x1105, 0x1106, 0x1107, 0x1108, 0x1109, 0x110A, 0x1008, cmd::kClose};
    scripts[17] = {0x1B01, 0x1001, 0x1002, 0x1003, 0x1004, 0x1005,
                   0x1401, 0x1402, 0x1403, 0x1404, 0x1405, 0x0104};
    scripts[18] = saveAll;
    scripts[19] = {0x1B01, 0x0102, 0x0104, 0x0105, 0x0106, 0x0107, 0x0108, 0x0109, 0x010A, 0x0201,
                   0x0301, 0x0401, 0x0402, 0x0403, 0x0404, 0x0405, 0x0406, 0x0407, 0x0C01, cmd::kClose};
    // Row 0 of the stored table holds each script's last step index.
    for (Script& s : scripts) {
        s.insert(s.begin(), static_cast<std::uint32_t>(s.size()));
    }
    return scripts;
}

const std::vector<Script>& scripts() {
    static const auto table = buildScripts();
    return table;
}

} // namespace

const CommandInfo* findCommand(std::uint32_t code) {
    const auto& table = catalogue();
    const auto it = table.find(code);
    return it == table.end() ? nullptr : &it->second;
}

bool isDataWriteCommand(std::uint16_t code) {
    const CommandInfo* info = findCommand(code);
    return info != nullptr && info->requestBuffer && (code >> 8) < 0x10;
}

bool isParsedDataItem(std::uint8_t group, std::uint8_t item) {
    switch (group) {
    case 0x10:
        return (item >= 1 && item <= 6) || item == 8;
    case 0x11:
        return item >= 1 && item <= 10;
    case 0x12:
    case 0x18:
        return true;
    case 0x13:
        return item == 1 || item == 2;
    case 0x14:
        return item >= 1 && item <= 7;
    case 0x15:
    case 0x16:
        return item >= 1 && item <= 4;
    case 0x17:
        return item >= 1 && item <= 20;
    case 0x19:
        return item >= 1 && item <= 9;
    case 0x1A:
        return item == 1 || item == 2;
    case 0x1B:
        return item != 2;
    default:
        return false;
    }
}

bool RequestBuffers::set(std::uint16_t code, const Bytes& frame) {
    const CommandInfo* info = findCommand(code);
    if (info == nullptr || !info->requestBuffer) {
        return false;
    }
    // Command 8 is an 11-byte frame sent with one trailing zero byte.
    const std::size_t expected = code == 0x0008 ? info->byteCount - 1u : info->byteCount;
    if (frame.size() != expected || frame.size() < 4 || frame.front() != kStx ||
        frame[frame.size() - 2] != kEtx ||
        frame.back() != checkByte(frame, static_cast<std::uint8_t>(frame.size() - 1))) {
        return false;
    }
    m_frames[code] = frame;
    return true;
}

const Bytes* RequestBuffers::get(std::uint16_t code) const {
    const auto it = m_frames.find(code);
    return it == m_frames.end() ? nullptr : &it->second;
}

std::optional<Bytes> transmitBytesOf(std::uint32_t code, const RequestBuffers& buffers) {
    const CommandInfo* info = findCommand(code);
    if (info == nullptr) {
        return std::nullopt;
    }
    if (!info->requestBuffer) {
        return info->fixedFrame;
    }
    const Bytes* frame = buffers.get(info->code);
    if (frame == nullptr) {
        return std::nullopt;
    }
    Bytes out = *frame;
    out.resize(info->byteCount, 0);
    return out;
}

std::uint32_t scriptEntry(int script, int step) {
    if (script < 0 || script >= kScriptCount || step < 0) {
        return 0;
    }
    const Script& s = scripts()[static_cast<std::size_t>(script)];
    return static_cast<std::size_t>(step) < s.size() ? s[static_cast<std::size_t>(step)] : 0;
}

int scriptLastStep(int script) {
    return static_cast<int>(scriptEntry(script, 0));
}

bool isSkippedForModel(std::uint32_t code, std::uint32_t modelCode) {
    if (modelCode == 3) {
        return code == 0x1407 || code == 0x0407 || code == 0x1008 || code == 0x0008;
    }
    if (modelCode == 4) {
        return code == 0x1008 || code == 0x0008;
    }
    return false;
}

} // namespace tolvan::link
