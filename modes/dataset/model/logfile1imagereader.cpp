#include "modes/dataset/model/logfile1imagereader.h"

#include "modes/dataset/model/datasetcodec.h"
#include "modes/dataset/model/datasetlists.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/loglinetable.h"

#include "common/cp932.h"

namespace tolvan::dataset {
namespace {

using L = DataSetLists;
using I = SystemParamImage;

// A field read as a hexadecimal number, up to its first other character; 0 when there is none.
int hexNumber(QByteArrayView field) {
    int value = 0;
    for (const char c : field) {
        bool bad = false;
        const int digit = LogFile1Format::hexDigit(QByteArrayView(&c, 1), bad);
        if (bad) {
            break;
        }
        value = (value << 4 | digit) & 0xFFFFFF;
    }
    return value;
}

// The byte a number goes into, as the handset tool stored it: its low eight bits. Wide enough
// that no number a file can hold overflows on the way.
std::uint8_t byteOf(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

void readItem(LogItem item, const QList<QByteArray>& t, SystemParamImage& image) {
    const auto number = [&](qsizetype i) { return atoiLike(QByteArrayView(t.value(i))); };
    const auto text = [&](qsizetype i) { return decodeCp932(t.value(i)).text; };
    switch (item) {
    case ItemControlChannel: {
        const int index = L::indexOf(L::controlChannel(), text(1));
        image.channel[I::ControlChannel] = byteOf(index == 0 || index == 1 ? index : 2);
        return;
    }
    case ItemFerThreshold:
        image.setFerThreshold(byteOf(number(1)));
        return;
    case ItemFerTriggered:
        image.channel[I::FerTriggered] = byteOf(number(1));
        return;
    case ItemSystemCall: {
        std::int64_t value = 0;
        for (qsizetype i = 1; i <= 9; ++i) {
            value = value * 10 + number(i);
        }
        image.setSystemCallValue(static_cast<std::uint32_t>(value));
        return;
    }
    case ItemSeamlessProcess:
        image.channel[I::SeamlessProcess] = byteOf(number(1));
        return;
    case ItemSeamlessSelect:
        image.channel[I::SeamlessSelect] = byteOf(number(1));
        return;
    case ItemSeamlessFer:
        image.channel[I::SeamlessFer] = byteOf(number(1));
        return;
    case ItemAreaType: {
        const int index = L::indexOf(L::areaType(), text(1));
        if (index >= 0) {
            image.area[0] = byteOf(index);
        }
        return;
    }
    case ItemIdCount:
        image.area[1] = byteOf(number(1));
        return;
    case ItemRxGain:
        image.gain[0] = text(1) == L::onOff().at(0) ? 0 : 1;
        return;
    case ItemInterval:
        image.setInterval(byteOf(number(1)));
        return;
    case ItemAccessory:
        image.accessory = text(1) == L::onOff().at(0) ? 0 : 1;
        return;
    case ItemVersion:
        // Two digits per byte, as the writer puts them.
        image.version[0] = byteOf(std::int64_t{number(1)} * 10 + number(2));
        image.version[1] = byteOf(std::int64_t{number(3)} * 10 + number(4));
        return;
    case ItemPsId: {
        std::int64_t value = 0;
        for (qsizetype i = 1; i <= 9; ++i) {
            value = value * 10 + number(i);
        }
        image.setPsIdValue(static_cast<std::uint32_t>(value));
        return;
    }
    case ItemFaultCode: {
        // The writer puts the code only when it is ZKO, so the label alone is any other code.
        const bool zko =
            text(1) == QLatin1String("Z") && text(2) == QLatin1String("K") && text(3) == QLatin1String("O");
        image.faultCode = zko ? std::array<std::uint8_t, 3>{'Z', 'K', 'O'} : std::array<std::uint8_t, 3>{};
        return;
    }
    case ItemMemo:
        return;
    default:
        break;
    }
    if (item >= ItemStandbySelect && item <= ItemTchProcess) {
        image.levels[static_cast<std::size_t>(item - ItemStandbySelect)] =
            byteOf(std::int64_t{number(1)} + 34);
        return;
    }
    const std::int64_t value = std::int64_t{hexNumber(QByteArrayView(t.value(1)))} * 4096 +
                               std::int64_t{hexNumber(QByteArrayView(t.value(2)))} * 256 +
                               std::int64_t{hexNumber(QByteArrayView(t.value(3)))} * 16 +
                               hexNumber(QByteArrayView(t.value(4)));
    image.setAdditionalId(item - ItemId1, static_cast<std::uint16_t>(value & 0xFFFF));
}

bool unusedItem(LogItem item, LogFile1ImageReader::Lines lines) {
    if (item == ItemMemo) {
        return true;
    }
    return lines == LogFile1ImageReader::Lines::WriteBack &&
           (item == ItemVersion || item == ItemPsId || item == ItemFaultCode);
}

} // namespace

LogFile1ImageRead LogFile1ImageReader::read(QByteArrayView file, std::uint32_t modelCode,
                                            const SystemParamImage& current, Lines lines) {
    LogFile1ImageRead result;
    result.image = current;
    result.loaded = LogLineTable(file).forEachItem(
        modelCode, result.messages, [&](LogItem item, const QList<QByteArray>& tokens) {
            if (unusedItem(item, lines)) {
                return;
            }
            if (decodeCp932(tokens.value(0)).text != LogFile1Format::label(item)) {
                result.messages.append(LogFile1Format::readError(item));
                result.unread.append(LogFile1Format::label(item).trimmed());
                return;
            }
            readItem(item, tokens, result.image);
        });
    return result;
}

} // namespace tolvan::dataset
