#include "modes/dataset/model/logfile1reader.h"

#include "modes/dataset/model/datasetcodec.h"
#include "modes/dataset/model/datasetlists.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/loglinetable.h"

#include "common/cp932.h"

#include <cstdint>

namespace tolvan::dataset {
namespace {

using L = DataSetLists;
constexpr int kNone = DataSetScreenValues::kNone;

class ItemReader {
public:
    ItemReader(const QList<QByteArray>& tokens, QList<Message>& messages)
        : m_tokens(tokens), m_messages(messages) {}

    QByteArray raw(qsizetype i) const { return m_tokens.value(i); }
    QString text(qsizetype i) const { return decodeCp932(raw(i)).text; }
    int number(qsizetype i) const { return atoiLike(QByteArrayView(raw(i))); }

    // A number selecting entry (v - first) of a list of count entries; an absent field selects
    // nothing.
    int entry(qsizetype i, int first, int count) const {
        if (raw(i).isEmpty()) {
            return kNone;
        }
        // Wide: the number may be the smallest int.
        const std::int64_t index = std::int64_t{number(i)} - first;
        return index >= 0 && index < count ? static_cast<int>(index) : kNone;
    }

    template <std::size_t N> void boxes(std::array<QString, N>& target) const {
        for (std::size_t k = 0; k < N; ++k) {
            target[k] = text(static_cast<qsizetype>(k) + 1);
        }
    }

    int hexEntry(qsizetype i, int entries) {
        bool bad = false;
        const int digit = LogFile1Format::hexDigit(QByteArrayView(raw(i)), bad);
        if (bad) {
            m_messages.append(LogFile1Format::fileDataError());
        }
        return digit < entries ? digit : kNone;
    }

private:
    const QList<QByteArray>& m_tokens;
    QList<Message>& m_messages;
};

void readItem(LogItem item, ItemReader& r, DataSetScreenValues& v) {
    switch (item) {
    case ItemVersion:
        r.boxes(v.version);
        return;
    case ItemPsId:
        r.boxes(v.psId);
        return;
    case ItemControlChannel: {
        const int index = L::indexOf(L::controlChannel(), r.text(1));
        v.controlChannel = index == 0 || index == 1 ? index : 2;
        return;
    }
    case ItemFerThreshold:
        v.ferThreshold = r.entry(1, 0, 241);
        return;
    case ItemFerTriggered:
        v.ferTriggeredLevel = r.entry(1, 0, 6);
        return;
    case ItemSystemCall:
        r.boxes(v.systemCall);
        return;
    case ItemSeamlessProcess:
        v.seamlessProcessLevel = r.entry(1, 10, 71);
        return;
    case ItemSeamlessSelect:
        v.seamlessSelectLevel = r.entry(1, 10, 71);
        return;
    case ItemSeamlessFer:
        v.seamlessFerThreshold = r.entry(1, 0, 32);
        return;
    case ItemAreaType:
        v.areaType = L::indexOf(L::areaType(), r.text(1));
        return;
    case ItemIdCount:
        v.additionalIdCount = r.entry(1, 0, 9);
        return;
    case ItemRxGain:
        v.rxGain = L::indexOf(L::onOff(), r.text(1));
        return;
    case ItemInterval:
        // 0 and below select nothing, as does 256 and above.
        v.interval = r.entry(1, 1, 255);
        return;
    case ItemAccessory:
        v.accessory = L::indexOf(L::onOff(), r.text(1));
        return;
    case ItemFaultCode: {
        const bool zko = r.raw(1) == "Z" && r.raw(2) == "K" && r.raw(3) == "O";
        v.faultCode.fill(zko ? 0 : kNone);
        return;
    }
    case ItemMemo:
        v.memo = r.text(0);
        return;
    default:
        break;
    }
    if (item >= ItemStandbySelect && item <= ItemTchProcess) {
        // The levels take any number: no field reads as 0, which selects nothing.
        const std::int64_t index = std::int64_t{r.number(1)} - 10;
        v.handoverLevels[static_cast<std::size_t>(item - ItemStandbySelect)] =
            index >= 0 && index <= 70 ? static_cast<int>(index) : kNone;
        return;
    }
    auto& id = v.additionalIds[static_cast<std::size_t>(item - ItemId1)];
    id[0] = r.hexEntry(1, 2);
    for (std::size_t k = 1; k < 4; ++k) {
        id[k] = r.hexEntry(static_cast<qsizetype>(k) + 1, 16);
    }
}

} // namespace

LogFile1ScreenRead LogFile1Reader::read(QByteArrayView file, std::uint32_t modelCode,
                                        const DataSetScreenValues& current) {
    LogFile1ScreenRead result;
    result.values = current;
    result.loaded = LogLineTable(file).forEachItem(
        modelCode, result.messages, [&](LogItem item, const QList<QByteArray>& tokens) {
            ItemReader reader(tokens, result.messages);
            if (item != ItemMemo && reader.text(0) != LogFile1Format::label(item)) {
                result.messages.append(LogFile1Format::readError(item));
                return;
            }
            readItem(item, reader, result.values);
        });
    return result;
}

LogFile1ScreenRead LogFile1Reader::readThroughScreen(QByteArrayView file, std::uint32_t modelCode,
                                                     SystemParamImage& image) {
    LogFile1ScreenRead result = read(file, modelCode, DataSetCodec::decode(image, modelCode, QString()));
    if (result.loaded) {
        DataSetCodec::encode(result.values, modelCode, image);
    }
    return result;
}

} // namespace tolvan::dataset
