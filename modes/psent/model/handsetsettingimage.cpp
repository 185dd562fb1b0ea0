#include "modes/psent/model/handsetsettingimage.h"

namespace tolvan::psent {
namespace {

void setLowNibble(std::uint8_t& byte, std::uint8_t value) {
    byte = static_cast<std::uint8_t>((byte & 0xF0) | (value & 0x0F));
}

void setHighNibble(std::uint8_t& byte, std::uint8_t value) {
    byte = static_cast<std::uint8_t>((byte & 0x0F) | ((value & 0x0F) << 4));
}

constexpr std::size_t kNumbersPerRecord = 48;

void putAscii(std::span<std::uint8_t> field, const QString& digits) {
    for (std::size_t i = 0; i < field.size() && static_cast<qsizetype>(i) < digits.size(); ++i) {
        field[i] = static_cast<std::uint8_t>(digits.at(static_cast<qsizetype>(i)).unicode());
    }
}

} // namespace

std::span<std::uint8_t> HandsetSettingImage::block(std::uint16_t readCode) {
    switch (readCode) {
    case 0x1102:
        return otherParams;
    case 0x1104:
        return operation;
    case 0x1105:
        return keys;
    case 0x1106:
    case 0x1107:
    case 0x1108:
    case 0x1109:
        return std::span(callNumbers).subspan((readCode - 0x1106u) * kNumbersPerRecord, kNumbersPerRecord);
    case 0x110A:
        return volumes;
    case handset::kPsIdReadCode:
        return psId;
    case 0x1301:
        return psNumber;
    case 0x1302:
        return pin;
    case 0x1008:
        return buttons;
    case 0x1407:
        return hearing;
    default:
        return {};
    }
}

void HandsetSettingImage::setReceiveVolume(std::uint8_t value) {
    setReceiveVolumeShown(value);
    setHighNibble(volumes[0], value);
}

void HandsetSettingImage::setReceiveVolumeShown(std::uint8_t value) {
    setLowNibble(otherParams[10], value);
}

void HandsetSettingImage::setOutOfRangeTone(std::uint8_t value) {
    setLowNibble(otherParams[11], value);
}

void HandsetSettingImage::setSidetoneVolume(std::uint8_t value) {
    setLowNibble(volumes[0], value);
}

void HandsetSettingImage::setMicLevel(std::uint8_t value) {
    setHighNibble(volumes[1], value);
}

void HandsetSettingImage::setNotificationVolume(std::uint8_t value) {
    setLowNibble(volumes[1], value);
}

int HandsetSettingImage::callNumber(int slot) const {
    const auto first = static_cast<std::size_t>(slot) * 4;
    int number = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        number = number * 10 + callNumbers[first + i];
    }
    return number;
}

void HandsetSettingImage::setCallNumber(int slot, int number) {
    const auto first = static_cast<std::size_t>(slot) * 4;
    for (std::size_t i = 4; i-- > 0;) {
        callNumbers[first + i] = static_cast<std::uint8_t>(number % 10);
        number /= 10;
    }
}

void HandsetSettingImage::putDigits(const QString& psNumberDigits, const QString& pinDigits) {
    putAscii(psNumber, psNumberDigits);
    putAscii(pin, pinDigits);
}

} // namespace tolvan::psent
