#include "link/core/messages.h"

namespace tolvan::link {

const char* messageText(LinkMessage message) {
    switch (message) {
    case LinkMessage::SendCommandError:
        return "送信コマンドエラー";
    case LinkMessage::SendFailure:
        return "送信ミスです。";
    case LinkMessage::UsbError:
        return "USBでエラーが発生したため再度読み込みを行ってください";
    case LinkMessage::AckHandlingError:
        return "ACK処理エラーです。";
    case LinkMessage::NakRetryError:
        return "NAKリトライエラーです。";
    case LinkMessage::ScriptError:
        return "スクリプトエラーVA150";
    case LinkMessage::StatusOutOfRange:
        return "ｽﾃｰﾀｽ値が規定外です。";
    case LinkMessage::RetryErrorBug:
        return "リトライエラー（バグ）";
    case LinkMessage::ReceiveLengthError:
        return "受信データ長エラー発生";
    case LinkMessage::StxEtxError:
        return "受信STX,ETXエラー発生";
    case LinkMessage::CheckByteError:
        return "受信BCCエラー発生";
    case LinkMessage::ReceiveDataError:
        return "受信データエラー発生";
    case LinkMessage::BatteryEmpty:
        return "電池残量無し（異常終了）";
    case LinkMessage::CommandError:
        return "子機LED表示を確認してください（コマンドエラー）";
    case LinkMessage::RetryErrorUnknown:
        return "リトライエラー（不明）";
    }
    return "";
}

bool isFatal(LinkMessage message) {
    switch (message) {
    case LinkMessage::SendCommandError:
    case LinkMessage::SendFailure:
    case LinkMessage::RetryErrorBug:
    case LinkMessage::StxEtxError:
    case LinkMessage::CheckByteError:
    case LinkMessage::ReceiveDataError:
    case LinkMessage::CommandError:
    case LinkMessage::RetryErrorUnknown:
        return true;
    default:
        return false;
    }
}

} // namespace tolvan::link
