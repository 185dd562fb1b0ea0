#pragma once

#include "common/logfile/logfilekind.h"
#include "common/message.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

namespace tolvan::dataset {

// The items of log file 1, one line each after the header.
enum LogItem : int {
    ItemVersion,
    ItemPsId,
    ItemControlChannel,
    ItemStandbySelect, // the five handover levels, in the screen's order
    ItemStandbyHold,
    ItemRecallProcess,
    ItemRecallSelect,
    ItemTchProcess,
    ItemFerThreshold,
    ItemFerTriggered,
    ItemSystemCall,
    ItemSeamlessProcess,
    ItemSeamlessSelect,
    ItemSeamlessFer,
    ItemAreaType,
    ItemIdCount,
    ItemId1, // ItemId1 + k for the additional ID k + 1
    ItemId8 = ItemId1 + 7,
    ItemRxGain,
    ItemInterval,
    ItemAccessory,
    ItemFaultCode,
    ItemMemo,
};

// Texts and layout of log file 1 (.jv1), shared by its writers, readers and report.
class LogFile1Format {
public:
    // The kind's bounds (logfilekind.h), as the data save mode and tolvan-cli read them.
    static constexpr qsizetype kMaxLineBytes = logfile::kLogFile1.maxLineBytes();
    static constexpr qsizetype kMaxFileBytes = logfile::kLogFile1.maxFileBytes();
    // Lines whose commas a reader removes (header and the first 28 items); a ZX-VA100 memo,
    // the 30th line, keeps its commas.
    static constexpr int kCommaFreeLines = 29;

    // Items of lines 2 onwards; an unknown model gets the ZX-VA150 layout.
    static std::vector<LogItem> lineOrder(std::uint32_t modelCode);
    // The item's first field; empty for the memo, which has none.
    static QString label(LogItem item);
    // Shown when a line's first field is not the item's label.
    static Message readError(LogItem item);
    // Shown for an additional ID field that is not a hexadecimal digit.
    static Message fileDataError();
    static Message fileMissing();
    static QString errorTitle();

    // The hexadecimal digit rule: the token's first character as a digit, -1 for an empty
    // token; any other character sets bad and gives 0.
    static int hexDigit(QByteArrayView token, bool& bad);
};

} // namespace tolvan::dataset
