#include "modes/dataset/model/datasetreport.h"

#include "modes/dataset/model/datasetlists.h"

namespace tolvan::dataset {
namespace {

using L = DataSetLists;

// Fills each %s in turn; a value that itself holds %s is left alone.
QString fill(const char* format, const QStringList& values) {
    const QString text = QString::fromUtf8(format);
    QString out;
    qsizetype from = 0;
    for (const QString& value : values) {
        const qsizetype at = text.indexOf(QStringLiteral("%s"), from);
        if (at < 0) {
            break;
        }
        out += text.mid(from, at - from) + value;
        from = at + 2;
    }
    return out + text.mid(from);
}

template <std::size_t N> QString joined(const std::array<QString, N>& boxes) {
    QString out;
    for (const QString& box : boxes) {
        out += box;
    }
    return out;
}

const char* titleFormat(std::uint32_t modelCode) {
    switch (modelCode) {
    case 2:
        return "ZX-VA100ﾛｸﾞﾌｧｲﾙ1 お客様名:%s\tメモ:%s";
    case 4:
        return "ZX-VA150(B)ﾛｸﾞﾌｧｲﾙ1 お客様名:%s\tメモ:%s";
    default:
        return "ZX-VA150ﾛｸﾞﾌｧｲﾙ1 お客様名:%s\tメモ:%s";
    }
}

constexpr const char* kLevelFormats[] = {
    "待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\t\t\t%s\tdBμV",       "待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\t\t\t%s\tdBμV",
    "再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t%s\tdBμV",    "再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\t\t%s\tdBμV",
    "TCH切替え型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t%s\tdBμV",
};

} // namespace

QStringList DataSetReport::lines(const DataSetScreenValues& v, std::uint32_t modelCode,
                                 const QString& logFolderName) {
    const bool seamlessAndIds = modelCode == 2 || modelCode == 4;
    QStringList out;
    out << fill(titleFormat(modelCode), {logFolderName, v.memo});
    out << QString(117, QLatin1Char('-'));
    out << fill("外部ﾏｲｺﾝｿﾌﾄｳｪｱ\t\t\t\tVer.%s",
                {v.version[0] + v.version[1] + QLatin1Char('.') + v.version[2] + v.version[3]});
    out << fill("PSID\t\t\t\t\t%s", {joined(v.psId)});
    out << fill("制御ch\t\t\t\t\t%s", {L::text(L::controlChannel(), v.controlChannel)});
    for (std::size_t i = 0; i < v.handoverLevels.size(); ++i) {
        out << fill(kLevelFormats[i], {L::text(L::handoverLevel(), v.handoverLevels[i])});
    }
    out << fill("ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数\t\t%s", {L::text(L::ferThreshold(), v.ferThreshold)});
    out << fill("FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ\t\t\t%s", {L::text(L::ferTriggeredLevel(), v.ferTriggeredLevel)});
    out << fill("CS-ID中のｼｽﾃﾑ呼び出し符号\t\t%s", {joined(v.systemCall)});
    if (seamlessAndIds) {
        out << fill("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t\t%s\tdBμV",
                    {L::text(L::seamlessLevel(), v.seamlessProcessLevel)});
        out << fill("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\t\t\t%s\tdBμV",
                    {L::text(L::seamlessLevel(), v.seamlessSelectLevel)});
        out << fill("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値\t\t\t%s", {L::text(L::seamlessFer(), v.seamlessFerThreshold)});
        out << fill("一斉呼び出しｴﾘｱ種別\t\t\t%s", {L::text(L::areaType(), v.areaType)});
        out << fill("CS-IDの付加ID設定数\t\t\t%s", {L::text(L::additionalIdCount(), v.additionalIdCount)});
        for (std::size_t k = 0; k < v.additionalIds.size(); ++k) {
            const auto& id = v.additionalIds[k];
            const QString digits = L::text(L::idTopDigit(), id[0]) + L::text(L::hexDigit(), id[1]) +
                                   L::text(L::hexDigit(), id[2]) + L::text(L::hexDigit(), id[3]);
            out << QStringLiteral("付加ID%1\t\t\t\t\t%2").arg(k + 1).arg(digits);
        }
    }
    out << fill("ｲﾝﾀｰﾊﾞﾙ値\t\t\t\t%s", {L::text(L::interval(), v.interval)});
    out << fill("ZX-RM15検出\t\t\t\t%s", {L::text(L::onOff(), v.accessory)});
    if (modelCode == 2) {
        out << fill("VA100受話ｹﾞｲﾝ調整機能\t\t\t%s", {L::text(L::onOff(), v.rxGain)});
    }
    out << fill("障害監視ｺｰﾄﾞ\t\t\t\t%s", {L::text(L::faultCodeCharacter(0), v.faultCode[0]) +
                                           L::text(L::faultCodeCharacter(1), v.faultCode[1]) +
                                           L::text(L::faultCodeCharacter(2), v.faultCode[2])});
    return out;
}

} // namespace tolvan::dataset
