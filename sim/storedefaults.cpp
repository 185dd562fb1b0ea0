#include "sim/storedefaults.h"

#include <array>

namespace tolvan::sim {
namespace {

using link::Bytes;

void add32(Bytes& out, std::uint32_t v) {
    for (int shift = 0; shift < 28; shift += 7) {
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0x7F));
    }
    out.push_back(static_cast<std::uint8_t>(v >> 28));
}

void add16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0x7F));
    out.push_back(static_cast<std::uint8_t>((v >> 7) & 0x7F));
    out.push_back(static_cast<std::uint8_t>((v >> 14) & 0x03));
}

void addNibbles(Bytes& out, std::uint8_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0x0F));
    out.push_back(static_cast<std::uint8_t>(v >> 4));
}

Bytes psId(std::uint32_t v) {
    return {static_cast<std::uint8_t>((v >> 21) & 0x7F), static_cast<std::uint8_t>((v >> 14) & 0x7F),
            static_cast<std::uint8_t>((v >> 7) & 0x7F), static_cast<std::uint8_t>(v & 0x7F)};
}

Bytes systemCallCode(std::uint32_t v, std::uint8_t interval) {
    return {static_cast<std::uint8_t>((v >> 22) & 0x7F),
            static_cast<std::uint8_t>((v >> 15) & 0x7F),
            static_cast<std::uint8_t>((v >> 8) & 0x7F),
            static_cast<std::uint8_t>((v >> 1) & 0x7F),
            static_cast<std::uint8_t>(v & 1),
            static_cast<std::uint8_t>(interval & 0x7F),
            static_cast<std::uint8_t>(interval >> 7)};
}

Bytes additionalIds(std::array<std::uint16_t, 4> ids) {
    Bytes out;
    for (const std::uint16_t id : ids) {
        out.push_back(static_cast<std::uint8_t>((id >> 6) & 0x7F));
        out.push_back(static_cast<std::uint8_t>(id & 0x3F));
    }
    return out;
}

// Individual-call numbers: the edges of 100-799 and 1000-7999, empty slots and ordinary ones.
Bytes callNumbers(int record) {
    static constexpr std::array<int, 8> kEdges = {100, 799, 1000, 7999, 0, 215, 391, 2001};
    Bytes out;
    for (int i = 0; i < 12; ++i) {
        const int slot = record * 12 + i + 1;
        int n = 0;
        if (slot <= 8) {
            n = kEdges[static_cast<std::size_t>(slot - 1)];
        } else if (slot % 5 != 0) {
            n = slot % 2 ? 200 + slot : 1000 + slot * 37;
        }
        out.push_back(static_cast<std::uint8_t>(n / 1000));
        out.push_back(static_cast<std::uint8_t>(n / 100 % 10));
        out.push_back(static_cast<std::uint8_t>(n / 10 % 10));
        out.push_back(static_cast<std::uint8_t>(n % 10));
    }
    return out;
}

void putBuffer(std::map<std::uint16_t, Bytes>& blocks, std::uint8_t group, int items, std::size_t itemBytes,
               const Bytes& entries) {
    Bytes all = entries;
    all.resize(static_cast<std::size_t>(items) * itemBytes, 0);
    for (int item = 1; item <= items; ++item) {
        const auto from = static_cast<std::ptrdiff_t>(static_cast<std::size_t>(item - 1) * itemBytes);
        blocks[static_cast<std::uint16_t>(group << 8 | item)] =
            Bytes(all.begin() + from, all.begin() + from + static_cast<std::ptrdiff_t>(itemBytes));
    }
}

void addLogBuffers(std::map<std::uint16_t, Bytes>& blocks) {
    // Communication events: known pairs, the marker flag, unknown pairs, then idle slots.
    putBuffer(blocks, 0x15, 4, 8, {0x01, 0x01, 0x90, 0x01, 0x02, 0x04, 0x02, 0x07, 0x03, 0x05,
                                   0xA0, 0x04, 0x01, 0x03, 0xFF, 0xFF, 0x00, 0x05, 0x10, 0x00});
    // MMI events.
    putBuffer(blocks, 0x16, 4, 8, {0x04, 0x03, 0x85, 0x02, 0x11, 0x04, 0x08, 0x01, 0x06, 0x09, 0x87, 0x01});
    // Communication status history: a power-on, standby, calls and a handover, with R and E.
    Bytes status = {0x01, 0x01, 0x01, 0x03, 0x02, 0x01, 0x02, 0x07, 0x82, 0x08, 0x02, 0x89, 0x83, 0x85,
                    0x03, 0x01, 0x04, 0x01, 0x10, 0x00, 0x20, 0x06, 0x05, 0x09, 0x81, 0x83, 0x02, 0x02};
    for (int i = 0; i < 10; ++i) {
        status.insert(status.end(), {0x02, 0x07, 0x02, 0x03, 0x02, 0x09});
    }
    status.insert(status.end(), {0x01, 0x02});
    putBuffer(blocks, 0x17, 20, 8, status);
    // MMI status: E flag with kind 3.
    putBuffer(blocks, 0x18, 1, 2, {0x05, 0x83});
    // Communication error status: head and indented lines, detail-dependent names, codes
    // without a name, bit 7 of the code set (ignored) and other bits of the head byte set.
    putBuffer(blocks, 0x19, 9, 12,
              {0x01, 0x05, 0x1F, 0x00, 0x34, 0x02, 0x01, 0x34, 0x01, 0x01, 0x40, 0x03, 0x00, 0x1C,
               0x03, 0x01, 0x78, 0xFF, 0x01, 0x7E, 0x02, 0x00, 0x1D, 0x00, 0x01, 0x1C, 0x04, 0x00,
               0x00, 0x05, 0x01, 0x00, 0x00, 0x01, 0x85, 0x10, 0xFE, 0x32, 0x07, 0x01, 0x74, 0x00});
    // Handset errors: every known code, an unknown one, and codes that travel as 02, 03, 06, 15.
    putBuffer(
        blocks, 0x1A, 2, 8,
        {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0xC8, 0xE2, 0xE3, 0xE6, 0xF5});
}

} // namespace

std::map<std::uint16_t, Bytes> defaultBlocks(std::uint8_t model) {
    const bool va100 = model == 2;
    const bool va150 = model == 3;
    std::map<std::uint16_t, Bytes> b;

    b[0x1001] = {2, 14, 0x31, 0x47};
    Bytes dac;
    addNibbles(dac, 0x5A);
    addNibbles(dac, 0x03);
    for (const std::uint32_t v : {7000u, 4000u, 7200u, 4100u, 7400u, 4200u, 7600u, 4300u}) {
        add32(dac, v);
    }
    b[0x1002] = dac;
    Bytes rssi;
    add16(rssi, 300);
    add16(rssi, 3000);
    rssi.push_back(0xFD); // -3
    rssi.push_back(0x05);
    add16(rssi, 290);
    add16(rssi, 3100);
    b[0x1003] = rssi;
    b[0x1004] = {0x12, 0x34, 0x05, 0x00, 0x41, 0x1F};
    Bytes amp;
    for (const std::uint32_t v : {10000u, 8000u, 10100u, 8100u, 10200u, 8200u, 10300u, 8300u}) {
        add32(amp, v);
    }
    b[0x1005] = amp;
    b[0x1006].clear();
    addNibbles(b[0x1006], 0x8C);
    // Receive gain on, manual handover on F2, volume button UP.
    b[0x1008] = {1, 2, 1, 0, 0};

    b[0x1101] = {0, 0, 0, 0};
    b[0x1102] = {0x13, 0x02, 0x01, 0x00, 0x05, 0x0A, 0x03, 0x21, 0x04, 0x07, 0x01, 0x02, 0x01};
    b[0x1103].clear();
    addNibbles(b[0x1103], 0x0A);
    // Operation record. Menu: group call 1, individual call 2, broadcast 3, emergency 5, outside
    // line 7, manual handover 8; positions 4 and 6 are left empty.
    Bytes op = {va150 ? std::uint8_t{0} : std::uint8_t{1}, 2, 1, 0};
    Bytes menu(14, 0);
    menu[1 - 1] = 1;
    menu[3 - 1] = 2;
    menu[5 - 1] = 3;
    menu[12 - 1] = 5;
    menu[9 - 1] = 7;
    menu[14 - 1] = 8;
    op.insert(op.end(), menu.begin(), menu.end());
    // A noise-cut type byte of 0xFF stands for type 1 on a ZX-VA150(C).
    op.insert(op.end(), {2, 1, 3, model == 4 ? std::uint8_t{0xFF} : std::uint8_t{1}, 1, 1});
    b[0x1104] = op;
    // Key record: function button "external sound source" No.250, remote keys individual call
    // 12, external device terminal 2, manual handover.
    b[0x1105] = {8, 2, 5, 0, 3, 12, 0, 0, 7, 1, 0, 0, 14, 0, 0, 0, 1, 0, 1, 0, 0, 0, 1, 0, 1, 1, 5, 10, 0, 1};
    for (int r = 0; r < 4; ++r) {
        b[static_cast<std::uint16_t>(0x1106 + r)] = callNumbers(r);
    }
    b[0x110A] = {0x12, 0x31};

    b[0x1201] = psId(va100 ? 198765432u : va150 ? 234567891u : 123456789u);
    const char* psNumber = va100 ? "215" : va150 ? "302" : "391";
    b[0x1301] = {static_cast<std::uint8_t>(psNumber[0]),
                 static_cast<std::uint8_t>(psNumber[1]),
                 static_cast<std::uint8_t>(psNumber[2]),
                 0,
                 0,
                 0,
                 0};
    b[0x1302] = {'4', '0', '7', '1'};

    // Levels 30, 20, 25, 35, 28 dBuV (+34) and a FER threshold of 200.
    b[0x1401] = {64, 54, 59, 69, 62, 200 & 0x7F, 200 >> 7};
    b[0x1402] = systemCallCode(512345678u, 150);
    b[0x1403] = va150 ? Bytes{0, 0} : Bytes{1, 5};
    b[0x1404] = additionalIds({0x1FFF, 0x0123, 0x0A5C, 0x1000});
    b[0x1405] = additionalIds({0x0001, 0x0FED, 0x0777, 0x1ABC});
    b[0x1406] = {2, 40, 45, 12, 2};
    b[0x1407] = {5, 1};

    addLogBuffers(b);

    b[0x1B01] = {'Z', 'K', 'O'};
    b[0x1C01] = {1};
    return b;
}

} // namespace tolvan::sim
