#pragma once

#include <QString>

#include <cstdint>
#include <span>

namespace tolvan::testmode {

// The data bytes a test or measurement command carries.
enum class CommandData : std::uint8_t {
    None,             // 5-byte frame
    ZeroAndSlot1,     // 0, then the slot-1 block: 11-byte frame
    OutputSlotAndAll, // output slot, then slot blocks 1 to 4: 30-byte frame
    AllSlots,         // slot blocks 1 to 4: 29-byte frame
    FixedFrame,       // the catalogue's fixed frame (battery state read)
};

// One entry of "->テスト内容指定" or "->測定内容指定".
struct ContentEntry {
    int index;
    const char* name;      // the command line's name of the kind
    const char* text;      // the list entry
    std::uint32_t command; // also the operation id while it runs
    CommandData data;
};

enum class ContentList : std::uint8_t { Tests, Measurements };

// The test list and the measurement list, with the names tolvan-cli takes for them.
class TestLists {
public:
    static std::span<const ContentEntry> entries(ContentList list);
    // An entry by its index ("3") or its name ("transmit-pn9"); nullptr for anything else.
    static const ContentEntry* find(ContentList list, const QString& kind);
    static const ContentEntry* byCommand(std::uint32_t command);
    static QString text(const ContentEntry& entry) { return QString::fromUtf8(entry.text); }
    static QString name(const ContentEntry& entry) { return QString::fromUtf8(entry.name); }
};

} // namespace tolvan::testmode
