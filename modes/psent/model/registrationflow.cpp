#include "modes/psent/model/registrationflow.h"

#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/registrationcause.h"

#include <QStringList>

namespace tolvan::psent::registration {

QString statusText(std::uint32_t viewState) {
    switch (viewState) {
    case op::kRegistrationAborted:
        return QStringLiteral("子機登録中断");
    case op::kRegistrationRunning:
        return QStringLiteral("子機登録実行中");
    case op::kRegistrationSecondPhase:
    case op::kRegistrationCompleted:
        return QStringLiteral("子機登録制御完了(正常終了)");
    case op::kRegistrationFailed:
        return QStringLiteral("子機登録制御失敗(異常終了)");
    case op::kRegistrationCommandError:
        return QStringLiteral("コマンド終了(異常終了)");
    default:
        return {};
    }
}

QString completedMessage() {
    return QStringLiteral("子機登録が完了しました、\n次の登録をする場合は「OKボタン」押下後\n"
                          "名前を付けて保存(保存/キャンセル)を行い\nUSB接続の子機を差し替えてください。");
}

QString abortWritingText() {
    return QStringLiteral("中断処理中です。お待ち下さい。");
}

QString contentErrorText() {
    return QStringLiteral("バッファ内容エラー");
}

Message writtenWithoutBackup(const Message& backupFailed) {
    QStringList lines = backupFailed.text.split(QLatin1Char('\n'));
    lines.removeAll(QStringLiteral("子機には何も書き込んでいません。"));
    lines.append(QStringLiteral("バックアップなしで設定を子機に書き戻します。"));
    return {backupFailed.title, lines.join(QLatin1Char('\n'))};
}

std::optional<ReportView> viewOf(const handset::RegistrationReports::Report& report) {
    switch (report.status) {
    case 0x01:
        return ReportView{ReportView::Kind::Running, 0, statusText(op::kRegistrationRunning), {}};
    case 0x10:
    case 0x30: {
        // Bytes 3 to 5 of the report: byte 3 unused, the cause, the detail.
        const std::uint8_t cause = report.detail.size() > 1 ? report.detail[1] & 0x7F : 0;
        const std::uint8_t detail = report.detail.size() > 2 ? report.detail[2] : 0;
        const auto text = registrationCauseText(cause, detail);
        if (!text) {
            return ReportView{ReportView::Kind::ContentError, 0, {}, contentErrorText()};
        }
        return ReportView{ReportView::Kind::Failed, op::kRegistrationFailed,
                          statusText(op::kRegistrationFailed), *text};
    }
    case 0x40:
        return ReportView{ReportView::Kind::CommandEnded,
                          op::kRegistrationCommandError,
                          statusText(op::kRegistrationCommandError),
                          {}};
    default:
        return std::nullopt;
    }
}

} // namespace tolvan::psent::registration
