#include "modes/psent/model/logfile4reader.h"

#include "modes/psent/model/functioncodes.h"
#include "modes/psent/model/psentlists.h"
#include "modes/psent/model/psentshortnames.h"

#include "common/cp932.h"
#include "modes/dataset/model/datasetcodec.h"

namespace tolvan::psent {
namespace {

using namespace shortnames;
constexpr int kNone = V::kNone;

class Fields {
public:
    explicit Fields(const QList<QByteArray>& fields) : m_fields(fields) {}

    QString text(qsizetype i) const { return decodeCp932(m_fields.value(i)).text; }
    int number(qsizetype i) const { return dataset::atoiLike(QByteArrayView(m_fields.value(i))); }
    int entry(qsizetype i, const QStringList& list) const { return L::indexOf(list, text(i)); }

private:
    const QList<QByteArray>& m_fields;
};

// A function text names its code by its place in the full table; the remote keys' "応答" is the
// code its list shows there, so a file this tool wrote reads back.
int functionCode(const QString& text, bool remoteKey) {
    if (remoteKey && text == FunctionCodes::remoteKeyTexts().at(FunctionCodes::remoteKeyIndex(12))) {
        return 12;
    }
    return L::indexOf(FunctionCodes::texts(), text);
}

int parameterEntry(int code, const QString& text) {
    if (code == 8) {
        // "No." and the number.
        const int number = dataset::atoiLike(text.mid(3));
        return number >= 1 && number <= 999 ? number - 1 : kNone;
    }
    return L::indexOf(FunctionCodes::parameters(code), text);
}

V::FunctionChoice readFunction(const Fields& f, bool remoteKey) {
    const int code = functionCode(f.text(1), remoteKey);
    V::FunctionChoice choice;
    choice.function =
        remoteKey ? FunctionCodes::remoteKeyIndex(code) : FunctionCodes::functionButtonIndex(code);
    if (choice.function != kNone) {
        choice.parameter = parameterEntry(code, f.text(2));
    }
    return choice;
}

int slider(const Fields& f, S which) {
    return R::sliderPosition(which, f.number(1));
}

bool readPsId(const Fields& f, std::array<QString, 9>& boxes) {
    std::array<QString, 9> digits;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        const int digit = f.number(static_cast<qsizetype>(k) + 1);
        digits[k] = digit >= 0 && digit <= 9 ? QString::number(digit) : QString();
    }
    // The boxes never hold more than a PS-ID can be.
    if (dataset::DataSetCodec::digitRowValue(digits) > R::kPsIdLimit) {
        return false;
    }
    boxes = digits;
    return true;
}

} // namespace

bool LogFile4Reader::readLine(Log4Line line, const QList<QByteArray>& fields, const QByteArray& commaFreeLine,
                              PsEntScreenValues& v) {
    const Fields f(fields);
    switch (line) {
    case Log4Line::PsNumber:
        v.psNumber = {f.entry(1, L::psNumberHundreds()), f.entry(2, L::digit()), f.entry(3, L::digit())};
        break;
    case Log4Line::PsId:
        return readPsId(f, v.psId);
    case Log4Line::NotificationVolume:
        v.notificationVolume = slider(f, S::Notification);
        break;
    case Log4Line::OutOfRangeTone:
        v.outOfRangeTone = f.entry(1, L::outOfRangeTone());
        break;
    case Log4Line::VolumeTone:
        v.volumeTone = f.entry(1, L::onOff());
        break;
    case Log4Line::KeyTouchTone:
        v.keyTouchTone = f.entry(1, L::onOff());
        break;
    case Log4Line::MicLevel:
        v.micLevel = slider(f, S::MicLevel);
        break;
    case Log4Line::MicOperation:
        v.micOperation = f.entry(1, L::micOperation());
        break;
    case Log4Line::PttHoldTone:
        v.pttHoldTone = f.entry(1, L::onOff());
        break;
    case Log4Line::VoxSensitivity:
        v.voxSensitivity = f.entry(1, L::voxSensitivity());
        break;
    case Log4Line::VoxDelay:
        v.voxDelay = f.entry(1, L::voxDelay());
        break;
    case Log4Line::ReceiveVolume:
        v.receiveVolume = slider(f, S::ReceiveVolume);
        break;
    case Log4Line::SidetoneVolume:
        v.sidetoneVolume = slider(f, S::Sidetone);
        break;
    case Log4Line::NoiseCut:
        v.noiseCut = f.entry(1, L::onOff());
        break;
    case Log4Line::NoiseCutType:
        v.noiseCutType = f.entry(1, L::noiseCutType());
        break;
    case Log4Line::NoiseCutSensitivity:
        v.noiseCutSensitivity = f.entry(1, L::noiseCutSensitivity());
        break;
    case Log4Line::BroadcastMonitor:
        v.broadcastMonitor = f.entry(1, L::onOff());
        break;
    case Log4Line::RemoteKey1:
    case Log4Line::RemoteKey2:
    case Log4Line::RemoteKey3:
        v.remoteKeys[static_cast<std::size_t>(
            static_cast<int>(line) - static_cast<int>(Log4Line::RemoteKey1))] = readFunction(f, true);
        break;
    case Log4Line::Menu:
        for (std::size_t k = 0; k < v.menuSlots.size(); ++k) {
            v.menuSlots[k] = f.entry(static_cast<qsizetype>(k) + 1, FunctionCodes::texts());
        }
        break;
    case Log4Line::FunctionButton:
        v.functionButton = readFunction(f, false);
        break;
    case Log4Line::EmergencyNotice:
        v.emergencyNotice = f.entry(1, L::onOff());
        break;
    case Log4Line::TalkButton: {
        // Only exactly the first entry's quoted text selects it; anything else, nothing
        // included, is the second.
        const QByteArray first =
            encodeCp932(QLatin1Char('"') + LogFile4Format::label(Log4Line::TalkButton) +
                        QStringLiteral("\"\"") + L::talkButton().at(0) + QLatin1Char('"'))
                .bytes;
        v.talkButton = commaFreeLine == first ? 0 : 1;
        break;
    }
    case Log4Line::KeyLock:
        for (std::size_t k = 0; k < v.keyLocks.size(); ++k) {
            v.keyLocks[k] = f.entry(static_cast<qsizetype>(k) + 1, L::onOff());
        }
        break;
    case Log4Line::OutsideLine:
        v.outsideLine = f.entry(1, L::outsideLine());
        break;
    case Log4Line::ShortDial:
        for (std::size_t m = 0; m < v.shortDials.size(); ++m) {
            v.shortDials[m] = f.entry(static_cast<qsizetype>(m) + 1, L::shortDial());
        }
        break;
    case Log4Line::CallNumbers:
        for (std::size_t k = 0; k < v.callNumbers.size(); ++k) {
            // "000" is how an empty slot is written; it reads as 0 like any other zero.
            const int number = f.number(static_cast<qsizetype>(k) + 1);
            v.callNumbers[k] = number > 0 ? R::callNumberText(number).left(4) : QString();
        }
        break;
    case Log4Line::Seamless:
        v.seamlessHandover = f.entry(1, L::onOff());
        break;
    case Log4Line::HearingTimer:
        v.hearingTimer = f.entry(1, L::hearingTimer());
        break;
    case Log4Line::HearingMode:
        v.hearingMode = f.entry(1, L::hearingMode());
        break;
    case Log4Line::Memo:
        v.memo = f.text(0);
        break;
    }
    return true;
}

LogFile4ScreenRead LogFile4Reader::read(QByteArrayView file, std::uint32_t modelCode,
                                        const PsEntScreenValues& current) {
    LogFile4ScreenRead result;
    result.values = current;
    result.loaded = LogFile4Format::forEachLine(
        file, modelCode, result.messages,
        [&](Log4Line line, const QList<QByteArray>& fields, const QByteArray& commaFree) {
            if (line != Log4Line::Memo && decodeCp932(fields.value(0)).text != LogFile4Format::label(line)) {
                result.messages.append(LogFile4Format::readError(line));
                return;
            }
            readLine(line, fields, commaFree, result.values);
        });
    return result;
}

} // namespace tolvan::psent
