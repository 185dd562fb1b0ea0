#include "modes/psent/model/logfile4imagereader.h"

#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4reader.h"
#include "modes/psent/model/psentcodec.h"
#include "modes/psent/model/psentshortnames.h"

#include "common/cp932.h"
#include "modes/dataset/model/datasetcodec.h"

namespace tolvan::psent {
namespace {

using I = HandsetSettingImage;
using namespace shortnames;

void put(std::uint8_t& byte, int index, int first = 0) {
    if (index != V::kNone) {
        byte = static_cast<std::uint8_t>(index + first);
    }
}

std::uint8_t step(S which, int position) {
    return static_cast<std::uint8_t>(R::sliderValue(which, position));
}

// One read line's values into the bytes the screen would store them in.
void apply(Log4Line line, const V& v, I& image) {
    auto& op = image.operation;
    auto& keys = image.keys;
    switch (line) {
    case Log4Line::PsNumber:
        for (std::size_t i = 0; i < v.psNumber.size(); ++i) {
            put(image.psNumber[i], v.psNumber[i], '0');
        }
        return;
    case Log4Line::PsId:
        image.setPsIdValue(static_cast<std::uint32_t>(dataset::DataSetCodec::digitRowValue(v.psId)));
        return;
    case Log4Line::NotificationVolume:
        image.setNotificationVolume(step(S::Notification, v.notificationVolume));
        return;
    case Log4Line::OutOfRangeTone:
        if (v.outOfRangeTone != V::kNone) {
            image.setOutOfRangeTone(static_cast<std::uint8_t>(v.outOfRangeTone));
        }
        return;
    case Log4Line::VolumeTone:
        return put(op[I::VolumeTone], v.volumeTone);
    case Log4Line::KeyTouchTone:
        return put(op[I::KeyTouchTone], v.keyTouchTone);
    case Log4Line::MicLevel:
        image.setMicLevel(step(S::MicLevel, v.micLevel));
        return;
    case Log4Line::MicOperation:
        return put(op[I::MicOperation], v.micOperation);
    case Log4Line::PttHoldTone:
        return put(op[I::PttHoldTone], v.pttHoldTone);
    case Log4Line::VoxSensitivity:
        return put(op[I::VoxSensitivity], v.voxSensitivity);
    case Log4Line::VoxDelay:
        return put(op[I::VoxDelay], v.voxDelay, 1);
    case Log4Line::ReceiveVolume:
        image.setReceiveVolumeShown(step(S::ReceiveVolume, v.receiveVolume));
        return;
    case Log4Line::SidetoneVolume:
        image.setSidetoneVolume(step(S::Sidetone, v.sidetoneVolume));
        return;
    case Log4Line::NoiseCut:
        return put(image.otherParams[12], v.noiseCut);
    case Log4Line::NoiseCutType:
        return put(op[I::NoiseCutType], v.noiseCutType);
    case Log4Line::NoiseCutSensitivity:
        return put(op[I::NoiseCutSensitivity], v.noiseCutSensitivity);
    case Log4Line::BroadcastMonitor:
        return put(keys[I::BroadcastMonitor], v.broadcastMonitor);
    case Log4Line::RemoteKey1:
    case Log4Line::RemoteKey2:
    case Log4Line::RemoteKey3: {
        const auto k =
            static_cast<std::size_t>(static_cast<int>(line) - static_cast<int>(Log4Line::RemoteKey1));
        PsEntCodec::putRemoteKey(k, v.remoteKeys[k], image);
        return;
    }
    case Log4Line::Menu: {
        const auto positions = R::menuPositions(v.menuSlots);
        std::copy(positions.begin(), positions.end(), op.begin() + I::MenuFirst);
        return;
    }
    case Log4Line::FunctionButton:
        PsEntCodec::putFunctionButton(v.functionButton, image);
        return;
    case Log4Line::EmergencyNotice:
        return put(keys[I::Emergency], v.emergencyNotice);
    case Log4Line::TalkButton:
        return put(op[I::TalkButton], v.talkButton);
    case Log4Line::KeyLock:
        put(keys[I::LockFunction], v.keyLocks[0]);
        put(keys[I::LockExecute], v.keyLocks[1]);
        put(keys[I::LockMenu], v.keyLocks[2]);
        put(keys[I::LockVolume], v.keyLocks[3]);
        return;
    case Log4Line::OutsideLine:
        return put(keys[I::OutsideLine], v.outsideLine);
    case Log4Line::ShortDial:
        for (std::size_t m = 0; m < v.shortDials.size(); ++m) {
            put(keys[I::ShortDial1 + m], v.shortDials[m], 1);
        }
        return;
    case Log4Line::CallNumbers:
        for (int slot = 0; slot < V::kCallNumbers; ++slot) {
            image.setCallNumber(slot, R::callNumberValue(v.callNumbers[static_cast<std::size_t>(slot)]));
        }
        return;
    case Log4Line::Seamless:
        return put(op[I::Seamless], v.seamlessHandover);
    case Log4Line::HearingTimer:
        return put(image.hearing[0], v.hearingTimer);
    case Log4Line::HearingMode:
        return put(image.hearing[1], v.hearingMode);
    case Log4Line::Memo:
        return;
    }
}

} // namespace

LogFile4ImageRead LogFile4ImageReader::read(QByteArrayView file, std::uint32_t modelCode,
                                            const HandsetSettingImage& current) {
    LogFile4ImageRead result;
    result.image = current;
    result.loaded = LogFile4Format::forEachLine(
        file, modelCode, result.messages,
        [&](Log4Line line, const QList<QByteArray>& fields, const QByteArray& commaFree) {
            if (line != Log4Line::Memo && decodeCp932(fields.value(0)).text != LogFile4Format::label(line)) {
                result.messages.append(LogFile4Format::readError(line));
                result.unread.append(LogFile4Format::label(line).trimmed());
                return;
            }
            // Each line is read onto values of its own, so only what it holds reaches the image.
            V parsed;
            if (!LogFile4Reader::readLine(line, fields, commaFree, parsed)) {
                result.unread.append(LogFile4Format::label(line).trimmed());
                return;
            }
            if (line == Log4Line::Memo) {
                result.memo = parsed.memo;
            }
            apply(line, parsed, result.image);
        });
    return result;
}

LogFile4ImageRead LogFile4ImageReader::readIntoStore(QByteArrayView file, std::uint32_t modelCode,
                                                     handset::HandsetBlocks& store) {
    LogFile4ImageRead result = read(file, modelCode, HandsetSettingImage::fromStore(store));
    if (result.loaded) {
        result.image.storeInto(store);
    }
    return result;
}

} // namespace tolvan::psent
