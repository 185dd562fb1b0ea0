#include "modes/dataset/model/logfile1writer.h"

#include "modes/dataset/model/datasetcodec.h"
#include "modes/dataset/model/datasetlists.h"
#include "modes/dataset/model/logfile1format.h"

#include "common/logfile/linewriter.h"

#include <functional>

namespace tolvan::dataset {
namespace {

using L = DataSetLists;
using ItemFields = std::function<QStringList(LogItem)>;

template <std::size_t N> QStringList texts(const std::array<QString, N>& boxes) {
    return QStringList(boxes.begin(), boxes.end());
}

QStringList screenFields(const DataSetScreenValues& v, LogItem item) {
    switch (item) {
    case ItemVersion:
        return texts(v.version);
    case ItemPsId:
        return texts(v.psId);
    case ItemControlChannel:
        return {L::text(L::controlChannel(), v.controlChannel)};
    case ItemFerThreshold:
        return {L::text(L::ferThreshold(), v.ferThreshold)};
    case ItemFerTriggered:
        // The index, not the text: -1 when nothing is selected.
        return {QString::number(v.ferTriggeredLevel)};
    case ItemSystemCall:
        return texts(v.systemCall);
    case ItemSeamlessProcess:
        return {L::text(L::seamlessLevel(), v.seamlessProcessLevel)};
    case ItemSeamlessSelect:
        return {L::text(L::seamlessLevel(), v.seamlessSelectLevel)};
    case ItemSeamlessFer:
        return {L::text(L::seamlessFer(), v.seamlessFerThreshold)};
    case ItemAreaType:
        return {L::text(L::areaType(), v.areaType)};
    case ItemIdCount:
        return {L::text(L::additionalIdCount(), v.additionalIdCount)};
    case ItemRxGain:
        return {L::text(L::onOff(), v.rxGain)};
    case ItemInterval:
        return {L::text(L::interval(), v.interval)};
    case ItemAccessory:
        return {L::text(L::onOff(), v.accessory)};
    case ItemFaultCode:
        return {L::text(L::faultCodeCharacter(0), v.faultCode[0]),
                L::text(L::faultCodeCharacter(1), v.faultCode[1]),
                L::text(L::faultCodeCharacter(2), v.faultCode[2])};
    case ItemMemo:
        return {v.memo};
    default:
        break;
    }
    if (item >= ItemStandbySelect && item <= ItemTchProcess) {
        return {L::text(L::handoverLevel(),
                        v.handoverLevels[static_cast<std::size_t>(item - ItemStandbySelect)])};
    }
    const auto& id = v.additionalIds[static_cast<std::size_t>(item - ItemId1)];
    return {L::text(L::idTopDigit(), id[0]), L::text(L::hexDigit(), id[1]), L::text(L::hexDigit(), id[2]),
            L::text(L::hexDigit(), id[3])};
}

QStringList imageFields(const SystemParamImage& image, const QString& memo, LogItem item) {
    using I = SystemParamImage;
    const auto number = [](int value) { return QStringList{QString::number(value)}; };
    switch (item) {
    case ItemVersion: {
        const auto major = DataSetCodec::versionDigits(image.version[0]);
        const auto minor = DataSetCodec::versionDigits(image.version[1]);
        return {major[0], major[1], minor[0], minor[1]};
    }
    case ItemPsId:
        return texts(DataSetCodec::digitRow(image.psIdValue()));
    case ItemControlChannel: {
        const std::uint8_t channel = image.channel[I::ControlChannel];
        return {L::controlChannel().at(channel <= 1 ? channel : 2)};
    }
    case ItemFerThreshold:
        return number(image.ferThreshold());
    case ItemFerTriggered:
        return number(image.channel[I::FerTriggered]);
    case ItemSystemCall:
        return texts(DataSetCodec::digitRow(image.systemCallValue()));
    case ItemSeamlessProcess:
        return number(image.channel[I::SeamlessProcess]);
    case ItemSeamlessSelect:
        return number(image.channel[I::SeamlessSelect]);
    case ItemSeamlessFer:
        return number(image.channel[I::SeamlessFer]);
    case ItemAreaType:
        // A type the list does not know gives an empty field rather than a text past its end.
        return {L::text(L::areaType(), image.area[0])};
    case ItemIdCount:
        return number(image.area[1]);
    case ItemRxGain:
        return {L::onOff().at(image.gain[0] != 0 ? 1 : 0)};
    case ItemInterval:
        return number(image.interval());
    case ItemAccessory:
        return {L::onOff().at(image.accessory != 0 ? 1 : 0)};
    case ItemFaultCode:
        if (image.faultCode == std::array<std::uint8_t, 3>{'Z', 'K', 'O'}) {
            return {QStringLiteral("Z"), QStringLiteral("K"), QStringLiteral("O")};
        }
        return {};
    case ItemMemo:
        return {memo};
    default:
        break;
    }
    if (item >= ItemStandbySelect && item <= ItemTchProcess) {
        return number(image.levels[static_cast<std::size_t>(item - ItemStandbySelect)] - 34);
    }
    const QString hex = QStringLiteral("%1").arg(image.additionalId(item - ItemId1), 4, 16, QLatin1Char('0'));
    return {hex.mid(0, 1), hex.mid(1, 1), hex.mid(2, 1), hex.mid(3, 1)};
}

LogFile1Text write(std::uint32_t modelCode, const ItemFields& fieldsOf) {
    logfile::LineWriter out(logfile::kLogFile1);
    out.header(modelCode);
    for (const LogItem item : LogFile1Format::lineOrder(modelCode)) {
        if (item == ItemMemo) {
            out.memo(fieldsOf(item).value(0));
            continue;
        }
        out.labelled(LogFile1Format::label(item), fieldsOf(item));
    }
    return out.text();
}

} // namespace

LogFile1Text LogFile1Writer::fromScreen(const DataSetScreenValues& values, std::uint32_t modelCode) {
    return write(modelCode, [&](LogItem item) { return screenFields(values, item); });
}

LogFile1Text LogFile1Writer::fromImage(const SystemParamImage& image, std::uint32_t modelCode,
                                       const QString& memo) {
    return write(modelCode, [&](LogItem item) { return imageFields(image, memo, item); });
}

} // namespace tolvan::dataset
