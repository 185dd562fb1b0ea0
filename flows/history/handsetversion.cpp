#include "flows/history/handsetversion.h"

namespace tolvan::history {

QString kindText(HandsetVersion::Kind kind) {
    using Kind = HandsetVersion::Kind;
    switch (kind) {
    case Kind::BeforeParamsWrite:
        return QStringLiteral("データ設定書き込み前");
    case Kind::BeforeSettingsWrite:
        return QStringLiteral("子機設定書き込み前");
    case Kind::BeforeWriteBack:
        return QStringLiteral("ファイル書き込み前");
    case Kind::BeforeCalibrationWrite:
        return QStringLiteral("補正値書き込み前");
    case Kind::Saved:
        return QStringLiteral("保存");
    case Kind::Registration:
        return QStringLiteral("登録時の保存");
    }
    return {};
}

QString kindName(HandsetVersion::Kind kind) {
    using Kind = HandsetVersion::Kind;
    switch (kind) {
    case Kind::BeforeParamsWrite:
        return QStringLiteral("before-params-write");
    case Kind::BeforeSettingsWrite:
        return QStringLiteral("before-settings-write");
    case Kind::BeforeWriteBack:
        return QStringLiteral("before-write-back");
    case Kind::BeforeCalibrationWrite:
        return QStringLiteral("before-calibration-write");
    case Kind::Saved:
        return QStringLiteral("saved");
    case Kind::Registration:
        return QStringLiteral("registration");
    }
    return {};
}

bool newerFirst(const HandsetVersion& a, const HandsetVersion& b) {
    if (a.when != b.when) {
        return a.when > b.when;
    }
    if (a.sequence != b.sequence) {
        return a.sequence > b.sequence;
    }
    if (a.id != b.id) {
        return a.id > b.id;
    }
    // A correction write's backup may share its stamp with another write's.
    return a.kind < b.kind;
}

QString psIdText(std::uint32_t psId) {
    return QStringLiteral("%1").arg(psId % 1000000000u, 9, 10, QLatin1Char('0'));
}

} // namespace tolvan::history
