#include "modes/dataset/model/datasetcodec.h"

#include <limits>

namespace tolvan::dataset {
namespace {

constexpr int kLevelOffset = 44;    // stored value of the first handover level entry ("10")
constexpr int kSeamlessOffset = 10; // seamless levels are stored as the level itself
constexpr char kFaultCode[] = "ZKO";

// Index of a stored value in a list of count entries that starts at first, or kNone.
int indexIn(int stored, int first, int count) {
    const int index = stored - first;
    return index >= 0 && index < count ? index : DataSetScreenValues::kNone;
}

// The low eight bits, computed wide enough that no number a box or a file holds overflows.
std::uint8_t byteOf(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

int atoiLike(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<int>::max()) {
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
        }
    }
    return static_cast<int>(negative ? -value : value);
}

int atoiLike(const QString& text) {
    return atoiLike(QByteArrayView(text.toLatin1()));
}

std::int64_t DataSetCodec::digitRowValue(const std::array<QString, 9>& boxes) {
    std::int64_t value = 0;
    for (const QString& box : boxes) {
        value = value * 10 + atoiLike(box);
    }
    return value;
}

std::array<QString, 9> DataSetCodec::digitRow(std::uint32_t value) {
    const QString digits = QStringLiteral("%1").arg(value, 9, 10, QLatin1Char('0'));
    std::array<QString, 9> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = digits.mid(static_cast<qsizetype>(i), 1);
    }
    return boxes;
}

std::array<QString, 2> DataSetCodec::versionDigits(std::uint8_t value) {
    const QString text = QStringLiteral("%1").arg(static_cast<int>(value), 2, 10, QLatin1Char('0'));
    return {text.mid(0, 1), text.mid(1, 1)};
}

DataSetScreenValues DataSetCodec::decode(const SystemParamImage& image, std::uint32_t modelCode,
                                         const QString& memo) {
    using V = DataSetScreenValues;
    V v;
    const auto major = versionDigits(image.version[0]);
    const auto minor = versionDigits(image.version[1]);
    v.version = {major[0], major[1], minor[0], minor[1]};
    v.psId = digitRow(image.psIdValue());
    v.controlChannel = indexIn(image.channel[SystemParamImage::ControlChannel], 0, 3);
    for (std::size_t i = 0; i < v.handoverLevels.size(); ++i) {
        v.handoverLevels[i] = indexIn(image.levels[i], kLevelOffset, 71);
    }
    v.ferThreshold = indexIn(image.ferThreshold(), 0, 241);
    v.ferTriggeredLevel = indexIn(image.channel[SystemParamImage::FerTriggered], 0, 6);
    v.systemCall = digitRow(image.systemCallValue());
    v.seamlessProcessLevel = indexIn(image.channel[SystemParamImage::SeamlessProcess], kSeamlessOffset, 71);
    v.seamlessSelectLevel = indexIn(image.channel[SystemParamImage::SeamlessSelect], kSeamlessOffset, 71);
    v.seamlessFerThreshold = indexIn(image.channel[SystemParamImage::SeamlessFer], 0, 32);
    if (modelCode != 3) {
        v.areaType = indexIn(image.area[0], 0, 2);
        v.additionalIdCount = indexIn(image.area[1], 0, 9);
    }
    for (int k = 0; k < 8; ++k) {
        const std::uint16_t id = image.additionalId(k);
        v.additionalIds[static_cast<std::size_t>(k)] = {id >> 12, (id >> 8) & 0xF, (id >> 4) & 0xF, id & 0xF};
    }
    v.rxGain = indexIn(image.gain[0], 0, 2);
    v.interval = indexIn(image.interval(), 1, 255);
    v.accessory = indexIn(image.accessory, 0, 2);
    for (std::size_t i = 0; i < 3; ++i) {
        v.faultCode[i] = image.faultCode[i] == static_cast<std::uint8_t>(kFaultCode[i]) ? 0 : V::kNone;
    }
    v.memo = memo;
    return v;
}

void DataSetCodec::encode(const DataSetScreenValues& v, std::uint32_t modelCode, SystemParamImage& image) {
    // No selection is index -1: a level then goes out as 43, as the handset tool always did.
    for (std::size_t i = 0; i < v.handoverLevels.size(); ++i) {
        image.levels[i] = byteOf(std::int64_t{v.handoverLevels[i]} + kLevelOffset);
    }
    image.setFerThreshold(byteOf(v.ferThreshold));
    image.channel[SystemParamImage::ControlChannel] = byteOf(v.controlChannel);
    image.channel[SystemParamImage::SeamlessProcess] =
        byteOf(std::int64_t{v.seamlessProcessLevel} + kSeamlessOffset);
    image.channel[SystemParamImage::SeamlessSelect] =
        byteOf(std::int64_t{v.seamlessSelectLevel} + kSeamlessOffset);
    image.channel[SystemParamImage::SeamlessFer] = byteOf(v.seamlessFerThreshold);
    image.channel[SystemParamImage::FerTriggered] = byteOf(v.ferTriggeredLevel);
    image.accessory = byteOf(v.accessory);
    image.gain[0] = byteOf(v.rxGain);
    // A ZX-VA150 leaves both selectors empty: keep what the handset holds instead of -1.
    if (modelCode != 3) {
        image.area[0] = byteOf(v.areaType);
        image.area[1] = byteOf(v.additionalIdCount);
    }
    image.setInterval(byteOf(std::int64_t{v.interval} + 1));

    image.setPsIdValue(static_cast<std::uint32_t>(digitRowValue(v.psId)));
    image.setSystemCallValue(static_cast<std::uint32_t>(digitRowValue(v.systemCall)));

    for (std::size_t k = 0; k < 8; ++k) {
        const auto& s = v.additionalIds[k];
        const int value = s[0] * 4096 + s[1] * 256 + s[2] * 16 + s[3];
        image.setAdditionalId(static_cast<int>(k), static_cast<std::uint16_t>(value));
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (v.faultCode[i] == 0) {
            image.faultCode[i] = static_cast<std::uint8_t>(kFaultCode[i]);
        }
    }
    // The version boxes go back as the numbers they show; these bytes are never sent.
    image.version[0] = byteOf(std::int64_t{atoiLike(v.version[0])} * 10 + atoiLike(v.version[1]));
    image.version[1] = byteOf(std::int64_t{atoiLike(v.version[2])} * 10 + atoiLike(v.version[3]));
}

DataSetScreenValues DataSetCodec::noDataView(const DataSetScreenValues& current) {
    DataSetScreenValues v;
    v.psId = current.psId;
    v.accessory = current.accessory;
    v.rxGain = current.rxGain;
    v.seamlessProcessLevel = current.seamlessProcessLevel;
    v.seamlessSelectLevel = current.seamlessSelectLevel;
    v.seamlessFerThreshold = current.seamlessFerThreshold;
    v.memo = current.memo;
    return v;
}

} // namespace tolvan::dataset
