#include "modes/test/model/testlists.h"

#include <array>

namespace tolvan::testmode {
namespace {

using D = CommandData;

constexpr std::array<ContentEntry, 8> kTests{{
    {0, "idle", "テストモードアイドル", 0x5000, D::None},
    {1, "receive", "連続受信テスト", 0x5001, D::ZeroAndSlot1},
    {2, "burst-receive", "バースト受信テスト", 0x5002, D::OutputSlotAndAll},
    {3, "transmit-pn9", "連続送信テストＰＮ９", 0x5003, D::ZeroAndSlot1},
    {4, "transmit-zero", "連続送信テスト全スロット０", 0x5004, D::ZeroAndSlot1},
    {5, "burst-transmit-pn9", "バースト送信テストＰＮ９", 0x5005, D::AllSlots},
    {6, "burst-transmit-zero", "バースト送信テスト連続０", 0x5006, D::AllSlots},
    {7, "buttons", "マンマシーンテスト", 0x5007, D::None},
}};

constexpr std::array<ContentEntry, 10> kMeasurements{{
    {0, "idle", "補正値測定アイドル", 0x6000, D::None},
    {1, "tx-pn9", "送信補正値測定連続送信ＰＮ９", 0x6001, D::ZeroAndSlot1},
    {2, "tx-zero", "送信補正値測定連続送信０", 0x6002, D::ZeroAndSlot1},
    {3, "tx-burst-pn9", "送信補正値測定バースト送信ＰＮ９", 0x6003, D::AllSlots},
    {4, "rssi-gain", "ＲＳＳＩゲイン補正値測定連続受信", 0x6004, D::ZeroAndSlot1},
    {5, "battery-voltage", "電池電圧測定", 0x6005, D::None},
    {6, "amp-pn9", "送信ＡＭＰバイアス補正値測定連続送信ＰＮ９", 0x6006, D::ZeroAndSlot1},
    {7, "amp-zero", "送信ＡＭＰバイアス補正値測定連続送信０", 0x6007, D::ZeroAndSlot1},
    {8, "amp-burst-pn9", "送信ＡＭＰバイアス補正値測定バースト送信ＰＮ９", 0x6008, D::AllSlots},
    {9, "battery-state", "電池電圧状態", 0x600B, D::FixedFrame},
}};

} // namespace

std::span<const ContentEntry> TestLists::entries(ContentList list) {
    if (list == ContentList::Tests) {
        return kTests;
    }
    return kMeasurements;
}

const ContentEntry* TestLists::find(ContentList list, const QString& kind) {
    for (const ContentEntry& entry : entries(list)) {
        if (kind == QString::number(entry.index) || kind == QLatin1String(entry.name)) {
            return &entry;
        }
    }
    return nullptr;
}

const ContentEntry* TestLists::byCommand(std::uint32_t command) {
    for (const ContentList list : {ContentList::Tests, ContentList::Measurements}) {
        for (const ContentEntry& entry : entries(list)) {
            if (entry.command == command) {
                return &entry;
            }
        }
    }
    return nullptr;
}

} // namespace tolvan::testmode
