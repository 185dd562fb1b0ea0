#include "modes/psent/model/logfile4writer.h"

#include "modes/psent/model/functioncodes.h"
#include "modes/psent/model/psentcodec.h"
#include "modes/psent/model/psentlists.h"
#include "modes/psent/model/psentshortnames.h"

#include "common/logfile/linewriter.h"

namespace tolvan::psent {
namespace {

using namespace shortnames;

QStringList slider(S which, int position) {
    // A slider line holds its step behind an empty field.
    return {QString(), QString::number(R::sliderValue(which, position))};
}

QStringList function(const V::FunctionChoice& choice, const QStringList& functions, int (*codeOf)(int)) {
    const int code = codeOf(choice.function);
    const QString parameter =
        code == FunctionCodes::kNone ? QString() : L::text(FunctionCodes::parameters(code), choice.parameter);
    return {L::text(functions, choice.function), parameter};
}

} // namespace

QStringList LogFile4Writer::fields(const PsEntScreenValues& v, Log4Line line) {
    const auto onOff = [](int index) { return QStringList{L::text(L::onOff(), index)}; };
    switch (line) {
    case Log4Line::PsNumber:
        return {L::text(L::psNumberHundreds(), v.psNumber[0]), L::text(L::digit(), v.psNumber[1]),
                L::text(L::digit(), v.psNumber[2])};
    case Log4Line::PsId:
        return {v.psId.begin(), v.psId.end()};
    case Log4Line::NotificationVolume:
        return slider(S::Notification, v.notificationVolume);
    case Log4Line::OutOfRangeTone:
        return {L::text(L::outOfRangeTone(), v.outOfRangeTone)};
    case Log4Line::VolumeTone:
        return onOff(v.volumeTone);
    case Log4Line::KeyTouchTone:
        return onOff(v.keyTouchTone);
    case Log4Line::MicLevel:
        return slider(S::MicLevel, v.micLevel);
    case Log4Line::MicOperation:
        return {L::text(L::micOperation(), v.micOperation)};
    case Log4Line::PttHoldTone:
        return onOff(v.pttHoldTone);
    case Log4Line::VoxSensitivity:
        return {L::text(L::voxSensitivity(), v.voxSensitivity)};
    case Log4Line::VoxDelay:
        return {L::text(L::voxDelay(), v.voxDelay)};
    case Log4Line::ReceiveVolume:
        return slider(S::ReceiveVolume, v.receiveVolume);
    case Log4Line::SidetoneVolume:
        return slider(S::Sidetone, v.sidetoneVolume);
    case Log4Line::NoiseCut:
        return onOff(v.noiseCut);
    case Log4Line::NoiseCutType:
        return {L::text(L::noiseCutType(), v.noiseCutType)};
    case Log4Line::NoiseCutSensitivity:
        return {L::text(L::noiseCutSensitivity(), v.noiseCutSensitivity)};
    case Log4Line::BroadcastMonitor:
        return onOff(v.broadcastMonitor);
    case Log4Line::RemoteKey1:
    case Log4Line::RemoteKey2:
    case Log4Line::RemoteKey3: {
        const auto k =
            static_cast<std::size_t>(static_cast<int>(line) - static_cast<int>(Log4Line::RemoteKey1));
        return function(v.remoteKeys[k], FunctionCodes::remoteKeyTexts(), FunctionCodes::remoteKeyCode);
    }
    case Log4Line::Menu: {
        QStringList out;
        for (const int code : v.menuSlots) {
            out.append(L::text(FunctionCodes::texts(), code));
        }
        return out;
    }
    case Log4Line::FunctionButton:
        return function(v.functionButton, FunctionCodes::functionButtonTexts(),
                        FunctionCodes::functionButtonCode);
    case Log4Line::EmergencyNotice:
        return onOff(v.emergencyNotice);
    case Log4Line::TalkButton:
        return {L::text(L::talkButton(), v.talkButton)};
    case Log4Line::KeyLock:
        return {L::text(L::onOff(), v.keyLocks[0]), L::text(L::onOff(), v.keyLocks[1]),
                L::text(L::onOff(), v.keyLocks[2]), L::text(L::onOff(), v.keyLocks[3])};
    case Log4Line::OutsideLine:
        return {L::text(L::outsideLine(), v.outsideLine)};
    case Log4Line::ShortDial:
        return {L::text(L::shortDial(), v.shortDials[0]), L::text(L::shortDial(), v.shortDials[1]),
                L::text(L::shortDial(), v.shortDials[2])};
    case Log4Line::CallNumbers: {
        QStringList out;
        for (const QString& box : v.callNumbers) {
            out.append(box.isEmpty() ? QStringLiteral("000") : box);
        }
        return out;
    }
    case Log4Line::Seamless:
        return onOff(v.seamlessHandover);
    case Log4Line::HearingTimer:
        return {L::text(L::hearingTimer(), v.hearingTimer)};
    case Log4Line::HearingMode:
        return {L::text(L::hearingMode(), v.hearingMode)};
    case Log4Line::Memo:
        break;
    }
    return {v.memo};
}

LogFile4Text LogFile4Writer::fromScreen(const PsEntScreenValues& values, std::uint32_t modelCode) {
    if (logfile::kLogFile4.headerField(modelCode).isEmpty()) {
        return {};
    }
    logfile::LineWriter out(logfile::kLogFile4);
    out.header(modelCode);
    for (const Log4Line line : LogFile4Format::lineOrder(modelCode)) {
        if (line == Log4Line::Memo) {
            out.memo(values.memo);
            continue;
        }
        out.labelled(LogFile4Format::label(line), fields(values, line));
    }
    return out.text();
}

LogFile4Text LogFile4Writer::fromImage(const HandsetSettingImage& image, std::uint32_t modelCode,
                                       const QString& memo) {
    return fromScreen(PsEntCodec::decode(image, modelCode, memo), modelCode);
}

LogFile4Text LogFile4Writer::fromStore(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                       const QString& memo) {
    return fromImage(HandsetSettingImage::fromStore(store), modelCode, memo);
}

} // namespace tolvan::psent
