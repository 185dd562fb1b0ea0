#include "modes/psent/model/psentcodec.h"

#include "modes/psent/model/functioncodes.h"
#include "modes/psent/model/psentlists.h"
#include "modes/psent/model/psentshortnames.h"

#include "link/core/linkstate.h"
#include "modes/dataset/model/datasetcodec.h"

namespace tolvan::psent {
namespace {

using namespace shortnames;
using I = HandsetSettingImage;

constexpr int kNone = V::kNone;

int listIndex(std::uint8_t stored, const QStringList& list, int first = 0) {
    return L::indexOfStored(stored, first, static_cast<int>(list.size()));
}

// A list's selection into its byte; no selection keeps what the handset holds.
void put(std::uint8_t& byte, int index, int first = 0) {
    if (index != kNone) {
        byte = static_cast<std::uint8_t>(index + first);
    }
}

int digitIndex(std::uint8_t ascii, const QStringList& list) {
    return listIndex(static_cast<std::uint8_t>(ascii - '0'), list);
}

void putDigit(std::uint8_t& byte, int index) {
    put(byte, index, '0');
}

using CodeOfIndex = int (*)(int);
using IndexOfCode = int (*)(int);

V::FunctionChoice decodeFunction(std::span<const std::uint8_t, 4> field, IndexOfCode indexOf) {
    const int code = field[0];
    V::FunctionChoice choice;
    choice.function = indexOf(code);
    if (choice.function != kNone) {
        choice.parameter =
            FunctionCodes::parameterIndex(code, FunctionCodes::parameterOf(code, field.subspan<1, 3>()));
    }
    return choice;
}

void encodeFunction(const V::FunctionChoice& choice, std::span<std::uint8_t, 4> field, CodeOfIndex codeOf) {
    const int code = codeOf(choice.function);
    if (code == FunctionCodes::kNone) {
        return;
    }
    field[0] = static_cast<std::uint8_t>(code);
    if (choice.parameter < 0 || choice.parameter >= FunctionCodes::parameters(code).size()) {
        return;
    }
    const auto bytes =
        FunctionCodes::parameterBytes(code, FunctionCodes::storedParameter(code, choice.parameter));
    std::copy(bytes.begin(), bytes.end(), field.begin() + 1);
}

} // namespace

PsEntScreenValues PsEntCodec::decode(const HandsetSettingImage& image, std::uint32_t modelCode,
                                     const QString& memo) {
    V v;
    v.psNumber = {digitIndex(image.psNumber[0], L::psNumberHundreds()),
                  digitIndex(image.psNumber[1], L::digit()), digitIndex(image.psNumber[2], L::digit())};
    v.psId = dataset::DataSetCodec::digitRow(image.psIdValue());
    for (std::size_t i = 0; i < v.pin.size(); ++i) {
        v.pin[i] = digitIndex(image.pin[i], L::digit());
    }
    v.receiveVolume = R::sliderPosition(S::ReceiveVolume, image.receiveVolume());
    v.sidetoneVolume = R::sliderPosition(S::Sidetone, image.sidetoneVolume());
    v.micLevel = R::sliderPosition(S::MicLevel, image.micLevel());
    v.notificationVolume = R::sliderPosition(S::Notification, image.notificationVolume());
    v.outOfRangeTone = listIndex(image.outOfRangeTone(), L::outOfRangeTone());
    v.noiseCut = listIndex(image.otherParams[12], L::onOff());

    const auto& op = image.operation;
    v.menuSlots = R::menuSlots(std::span(op).subspan<I::MenuFirst, V::kMenuSlots>());
    v.talkButton = listIndex(op[I::TalkButton], L::talkButton());
    v.voxSensitivity = listIndex(op[I::VoxSensitivity], L::voxSensitivity());
    v.voxDelay = listIndex(op[I::VoxDelay], L::voxDelay(), 1);
    // A type the handset never set arrives as 0x1F on the wire (0xFF): it is type 1.
    v.noiseCutType = op[I::NoiseCutType] == 0xFF ? 0 : listIndex(op[I::NoiseCutType], L::noiseCutType());
    v.noiseCutSensitivity = listIndex(op[I::NoiseCutSensitivity], L::noiseCutSensitivity());
    v.volumeTone = listIndex(op[I::VolumeTone], L::onOff());
    v.keyTouchTone = listIndex(op[I::KeyTouchTone], L::onOff());
    v.micOperation = listIndex(op[I::MicOperation], L::micOperation());
    v.pttHoldTone = listIndex(op[I::PttHoldTone], L::onOff());
    v.seamlessHandover = listIndex(op[I::Seamless], L::onOff());

    const auto& keys = image.keys;
    v.functionButton = decodeFunction(image.function(I::FunctionButton), FunctionCodes::functionButtonIndex);
    for (std::size_t k = 0; k < v.remoteKeys.size(); ++k) {
        v.remoteKeys[k] =
            decodeFunction(image.function(I::RemoteKey1 + 4 * k), FunctionCodes::remoteKeyIndex);
    }
    v.emergencyNotice = listIndex(keys[I::Emergency], L::onOff());
    v.keyLocks = {listIndex(keys[I::LockFunction], L::onOff()), listIndex(keys[I::LockExecute], L::onOff()),
                  listIndex(keys[I::LockMenu], L::onOff()), listIndex(keys[I::LockVolume], L::onOff())};
    v.buttonLock = listIndex(keys[I::ButtonLock], L::onOff());
    v.broadcastMonitor = listIndex(keys[I::BroadcastMonitor], L::onOff());
    v.outsideLine = listIndex(keys[I::OutsideLine], L::outsideLine());
    for (std::size_t m = 0; m < v.shortDials.size(); ++m) {
        v.shortDials[m] = listIndex(keys[I::ShortDial1 + m], L::shortDial(), 1);
    }

    v.hearingTimer = listIndex(image.hearing[0], L::hearingTimer());
    v.hearingMode = listIndex(image.hearing[1], L::hearingMode());
    v.manualHandoverButton = listIndex(image.buttons[1], L::manualHandoverButton());
    v.volumeButton = listIndex(image.buttons[2], L::volumeButton());
    for (int slot = 0; slot < V::kCallNumbers; ++slot) {
        // A box holds four characters, whatever digits the handset sent.
        v.callNumbers[static_cast<std::size_t>(slot)] = R::callNumberText(image.callNumber(slot)).left(4);
    }
    v.memo = memo;
    v.connectedModel = QString::fromLatin1(link::modelNameOf(modelCode));
    return v;
}

void PsEntCodec::encode(const PsEntScreenValues& v, std::uint32_t modelCode, HandsetSettingImage& image) {
    for (std::size_t i = 0; i < v.psNumber.size(); ++i) {
        putDigit(image.psNumber[i], v.psNumber[i]);
    }
    const std::int64_t psId = dataset::DataSetCodec::digitRowValue(v.psId);
    if (psId <= R::kPsIdLimit) {
        image.setPsIdValue(static_cast<std::uint32_t>(psId));
    }
    if (R::pinEnabled(modelCode)) {
        for (std::size_t i = 0; i < v.pin.size(); ++i) {
            putDigit(image.pin[i], v.pin[i]);
        }
    }
    image.setReceiveVolume(static_cast<std::uint8_t>(R::sliderValue(S::ReceiveVolume, v.receiveVolume)));
    image.setSidetoneVolume(static_cast<std::uint8_t>(R::sliderValue(S::Sidetone, v.sidetoneVolume)));
    image.setMicLevel(static_cast<std::uint8_t>(R::sliderValue(S::MicLevel, v.micLevel)));
    image.setNotificationVolume(
        static_cast<std::uint8_t>(R::sliderValue(S::Notification, v.notificationVolume)));
    if (v.outOfRangeTone != kNone) {
        image.setOutOfRangeTone(static_cast<std::uint8_t>(v.outOfRangeTone));
    }
    put(image.otherParams[12], v.noiseCut);

    auto& op = image.operation;
    auto& keys = image.keys;
    if (R::upperModelControlsEnabled(modelCode)) {
        const auto positions = R::menuPositions(v.menuSlots);
        std::copy(positions.begin(), positions.end(), op.begin() + I::MenuFirst);
        encodeFunction(v.functionButton, image.function(I::FunctionButton),
                       FunctionCodes::functionButtonCode);
        put(keys[I::Emergency], v.emergencyNotice);
        put(op[I::TalkButton], v.talkButton);
        put(keys[I::LockFunction], v.keyLocks[0]);
        put(keys[I::LockExecute], v.keyLocks[1]);
        put(keys[I::LockMenu], v.keyLocks[2]);
        put(keys[I::LockVolume], v.keyLocks[3]);
        put(keys[I::ButtonLock], v.buttonLock);
    }
    put(op[I::VoxSensitivity], v.voxSensitivity);
    put(op[I::VoxDelay], v.voxDelay, 1);
    put(op[I::NoiseCutType], v.noiseCutType);
    put(op[I::NoiseCutSensitivity], v.noiseCutSensitivity);
    put(op[I::VolumeTone], v.volumeTone);
    put(op[I::KeyTouchTone], v.keyTouchTone);
    put(op[I::MicOperation], v.micOperation);
    put(op[I::PttHoldTone], v.pttHoldTone);
    put(keys[I::BroadcastMonitor], v.broadcastMonitor);
    for (std::size_t k = 0; k < v.remoteKeys.size(); ++k) {
        putRemoteKey(k, v.remoteKeys[k], image);
    }
    if (R::hearingEnabled(modelCode)) {
        put(op[I::Seamless], v.seamlessHandover);
        put(image.hearing[0], v.hearingTimer);
        put(image.hearing[1], v.hearingMode);
    }
    put(keys[I::OutsideLine], v.outsideLine);
    for (std::size_t m = 0; m < v.shortDials.size(); ++m) {
        put(keys[I::ShortDial1 + m], v.shortDials[m], 1);
    }
    for (int slot = 0; slot < V::kCallNumbers; ++slot) {
        image.setCallNumber(slot, R::callNumberValue(v.callNumbers[static_cast<std::size_t>(slot)]));
    }
    // The bytes the key record defines as 0.
    keys[20] = keys[21] = keys[23] = 0;
}

void PsEntCodec::putFunctionButton(const PsEntScreenValues::FunctionChoice& choice,
                                   HandsetSettingImage& image) {
    encodeFunction(choice, image.function(I::FunctionButton), FunctionCodes::functionButtonCode);
}

void PsEntCodec::putRemoteKey(std::size_t key, const PsEntScreenValues::FunctionChoice& choice,
                              HandsetSettingImage& image) {
    encodeFunction(choice, image.function(I::RemoteKey1 + 4 * key), FunctionCodes::remoteKeyCode);
}

std::optional<Message> PsEntCodec::prepareWrite(PsEntScreenValues& values, std::uint32_t modelCode,
                                                HandsetSettingImage& image) {
    std::optional<Message> message = R::checkCallNumbers(values.callNumbers);
    encode(values, modelCode, image);
    return message;
}

PsEntScreenValues PsEntCodec::noDataView(const PsEntScreenValues& current) {
    V v = current;
    v.psNumber.fill(kNone);
    v.pin.fill(kNone);
    v.outOfRangeTone = kNone;
    v.noiseCut = kNone;
    v.receiveVolume = v.sidetoneVolume = v.micLevel = v.notificationVolume = 0;
    v.psId = {};
    v.connectedModel.clear();
    return v;
}

} // namespace tolvan::psent
