// The handset's data: every block the tool reads, defaults that exercise the tool, writes that
// read back as written, and buffer clears.
#include "link/core/catalogue.h"
#include "sim/handsetstore.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::sim {
namespace {

std::uint32_t groups7(const Bytes& b, std::size_t from, int count) {
    std::uint32_t v = 0;
    for (int i = 0; i < count; ++i) {
        v = v << 7 | (b[from + static_cast<std::size_t>(i)] & 0x7F);
    }
    return v;
}

TEST(HandsetStore, HoldsEveryBlockTheToolReadsForEveryModel) {
    for (std::uint8_t model = 2; model <= 4; ++model) {
        const HandsetStore store(model);
        for (std::uint32_t code = 0x1000; code <= 0x1CFF; ++code) {
            const link::CommandInfo* info = link::findCommand(code);
            if (!info || info->requestBuffer || !link::isParsedDataItem(code >> 8, code & 0xFF)) {
                continue;
            }
            const Bytes* block = store.read(static_cast<std::uint16_t>(code));
            ASSERT_NE(block, nullptr) << std::hex << code << " model " << int(model);
            EXPECT_EQ(block->size(), HandsetStore::blockLength(static_cast<std::uint16_t>(code)))
                << std::hex << code;
        }
        ASSERT_NE(store.read(0x1C01), nullptr);
    }
}

TEST(HandsetStore, DefaultsExerciseTheTool) {
    for (std::uint8_t model = 2; model <= 4; ++model) {
        const HandsetStore s(model);
        // Nine-digit identities within their limits.
        const std::uint32_t psId = groups7(*s.read(0x1201), 0, 4);
        EXPECT_GE(psId, 100000000u);
        EXPECT_LE(psId, 268435455u);
        const Bytes& cs = *s.read(0x1402);
        const std::uint32_t callCode = groups7(cs, 0, 4) << 1 | (cs[4] & 1);
        EXPECT_GE(callCode, 100000000u);
        EXPECT_LE(callCode, 536870911u);
        // Levels of the handover group inside 10 to 80 dBuV (stored +34), FER threshold <= 240.
        const Bytes& levels = *s.read(0x1401);
        for (int i = 0; i < 5; ++i) {
            EXPECT_GE(levels[static_cast<std::size_t>(i)], 44);
            EXPECT_LE(levels[static_cast<std::size_t>(i)], 114);
        }
        EXPECT_LE(levels[5] | levels[6] << 7, 240);
        // Menu assignment with gaps: positions used are not 1..n.
        const Bytes& op = *s.read(0x1104);
        std::vector<int> positions;
        for (int f = 1; f <= 14; ++f) {
            if (op[static_cast<std::size_t>(3 + f)] != 0) {
                positions.push_back(op[static_cast<std::size_t>(3 + f)]);
            }
        }
        std::sort(positions.begin(), positions.end());
        ASSERT_FALSE(positions.empty());
        EXPECT_GT(positions.back(), static_cast<int>(positions.size()));
        // A key with function code 8 and a three-digit parameter.
        const Bytes& keys = *s.read(0x1105);
        EXPECT_EQ(keys[0], 8);
        EXPECT_EQ(keys[1] * 100 + keys[2] * 10 + keys[3], 250);
        // Individual-call numbers: empty, 100-799 and 1000-7999 all occur, nothing else.
        bool empty = false, three = false, four = false;
        for (std::uint16_t code = 0x1106; code <= 0x1109; ++code) {
            const Bytes& numbers = *s.read(code);
            for (std::size_t i = 0; i < 48; i += 4) {
                const int n = numbers[i] * 1000 + numbers[i + 1] * 100 + numbers[i + 2] * 10 + numbers[i + 3];
                empty |= n == 0;
                three |= n >= 100 && n <= 799;
                four |= n >= 1000 && n <= 7999;
                EXPECT_TRUE(n == 0 || (n >= 100 && n <= 799) || (n >= 1000 && n <= 7999)) << n;
            }
        }
        EXPECT_TRUE(empty && three && four);
        EXPECT_EQ(*s.read(0x1B01), (Bytes{'Z', 'K', 'O'}));
    }
    // Only the upper model reports no additional IDs.
    EXPECT_EQ((*HandsetStore(3).read(0x1403))[1], 0);
    EXPECT_GT((*HandsetStore(2).read(0x1403))[1], 0);
}

TEST(HandsetStore, LogBuffersCarryEveryMarkerAndBytesThatTravelAsControlCodes) {
    const HandsetStore s(3);
    auto anyEntry = [&](std::uint8_t group, std::size_t size, auto pred) {
        const Bytes all = s.buffer(group);
        for (std::size_t i = 0; i + size <= all.size(); i += size) {
            if (pred(&all[i])) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(anyEntry(0x15, 2, [](const std::uint8_t* e) { return (e[0] & 0x80) != 0; }));
    EXPECT_TRUE(anyEntry(0x16, 2, [](const std::uint8_t* e) { return (e[0] & 0x80) != 0; }));
    EXPECT_TRUE(anyEntry(0x17, 2, [](const std::uint8_t* e) { return (e[0] & 0x80) && (e[1] & 0x80); }));
    EXPECT_TRUE(anyEntry(0x17, 2, [](const std::uint8_t* e) { return !(e[0] & 0x80) && (e[1] & 0x80); }));
    EXPECT_TRUE(anyEntry(0x19, 3, [](const std::uint8_t* e) { return (e[0] & 1) && e[1] != 0; }));
    EXPECT_TRUE(anyEntry(0x19, 3, [](const std::uint8_t* e) { return !(e[0] & 1) && e[1] != 0; }));
    // Unknown pairs and idle slots.
    EXPECT_TRUE(anyEntry(0x15, 2, [](const std::uint8_t* e) { return e[0] == 0x01 && e[1] == 0x03; }));
    EXPECT_TRUE(anyEntry(0x15, 2, [](const std::uint8_t* e) { return e[0] == 0 && e[1] == 0; }));
    // 0xE2, 0xE3, 0xE6, 0xF5 go out as 02, 03, 06, 15 inside a frame.
    const Bytes errors = s.buffer(0x1A);
    for (const std::uint8_t b : {0xE2, 0xE3, 0xE6, 0xF5}) {
        EXPECT_NE(std::find(errors.begin(), errors.end(), b), errors.end()) << int(b);
    }
}

TEST(HandsetStore, WritesReadBackInTheLayoutOfTheRead) {
    HandsetStore s(2);
    const Bytes ids = {0x7F, 0x3F, 0x00, 0x01, 0x40, 0x00, 0x12, 0x34};
    ASSERT_TRUE(s.write(0x0404, ids));
    EXPECT_EQ(*s.read(0x1404), ids);
    const Bytes keys(30, 3);
    ASSERT_TRUE(s.write(0x0105, keys));
    EXPECT_EQ(*s.read(0x1105), keys);
    ASSERT_TRUE(s.write(0x0C01, Bytes{0}));
    EXPECT_EQ(*s.read(0x1C01), Bytes{0});
    // Command 8 carries the five data bytes the read returns.
    ASSERT_TRUE(s.write(0x0008, Bytes{0, 6, 0, 0, 0}));
    EXPECT_EQ(*s.read(0x1008), (Bytes{0, 6, 0, 0, 0}));
}

TEST(HandsetStore, BytesTheToolDoesNotSendKeepTheHandsetsValue) {
    HandsetStore s(2);
    // The version stays the firmware's; bytes 7 and 8 are taken.
    const Bytes version = *s.read(0x1001);
    ASSERT_TRUE(s.write(0x0001, Bytes{0, 0, 0x11, 0x22}));
    EXPECT_EQ(*s.read(0x1001), (Bytes{version[0], version[1], 0x11, 0x22}));
    // Nibble-coded bytes of 0x0102 keep their high nibble.
    const Bytes before = *s.read(0x1102);
    Bytes payload(13, 0x0F);
    ASSERT_TRUE(s.write(0x0102, payload));
    const Bytes after = *s.read(0x1102);
    EXPECT_EQ(after[0], (before[0] & 0xF0) | 0x0F);
    EXPECT_EQ(after[7], (before[7] & 0xF0) | 0x0F);
    EXPECT_EQ(after[2], 0x0F); // a whole byte
    // The PS-ID keeps bit 7 of each stored byte.
    ASSERT_TRUE(s.setBlock(0x1201, Bytes{0x80, 0x00, 0x80, 0x00}));
    ASSERT_TRUE(s.write(0x0201, Bytes{0x7F, 0x7F, 0x01, 0x02}));
    EXPECT_EQ(*s.read(0x1201), (Bytes{0xFF, 0x7F, 0x81, 0x02}));
}

TEST(HandsetStore, RefusesUnknownCommandsAndWrongLengths) {
    HandsetStore s(3);
    const Bytes before = *s.read(0x1401);
    EXPECT_FALSE(s.write(0x0401, Bytes(6, 1)));
    EXPECT_FALSE(s.write(0x0401, Bytes(8, 1)));
    EXPECT_EQ(*s.read(0x1401), before);
    EXPECT_FALSE(s.write(0x0999, Bytes(4, 1)));
    EXPECT_FALSE(s.write(0x0501, Bytes(8, 1))); // a log buffer cannot be written
    EXPECT_FALSE(s.setBlock(0x1201, Bytes(5, 0)));
}

TEST(HandsetStore, BasebandRegisterWriteIsKept) {
    HandsetStore s(3);
    // Address 0x3DF in three nibbles (low first), a zero byte, data 0xA5 in two nibbles.
    ASSERT_TRUE(s.write(0x0007, Bytes{0x0F, 0x0D, 0x03, 0x00, 0x05, 0x0A}));
    EXPECT_EQ(s.bbicRegister(0x3DF), 0xA5);
    EXPECT_FALSE(s.bbicRegister(0x000));
}

TEST(HandsetStore, ClearEmptiesOnlyItsBuffer) {
    HandsetStore s(4);
    const Bytes mmi = s.buffer(0x16);
    ASSERT_TRUE(s.clearBuffer(0x15));
    EXPECT_EQ(s.buffer(0x15), Bytes(32, 0));
    EXPECT_EQ(s.buffer(0x16), mmi);
    for (const LogBuffer& b : kLogBuffers) {
        ASSERT_TRUE(s.clearBuffer(b.group));
        EXPECT_EQ(s.buffer(b.group), Bytes(static_cast<std::size_t>(b.items) * b.itemBytes, 0));
    }
    EXPECT_FALSE(s.clearBuffer(0x14));
}

TEST(HandsetStore, NewLogEntriesFillTheFirstEmptySlotThenPushTheOldestOut) {
    HandsetStore s(3);
    s.clearBuffer(0x1A);
    const std::uint8_t first[] = {0x04};
    s.appendLogEntry(0x1A, first);
    EXPECT_EQ(s.buffer(0x1A)[0], 0x04);
    for (std::uint8_t code = 1; code <= 16; ++code) {
        const std::uint8_t entry[] = {code};
        s.appendLogEntry(0x1A, entry);
    }
    const Bytes all = s.buffer(0x1A);
    EXPECT_EQ(all.front(), 1); // the 0x04 was pushed out
    EXPECT_EQ(all.back(), 16);
}

} // namespace
} // namespace tolvan::sim
