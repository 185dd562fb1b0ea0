#include "modes/psent/model/registrationcause.h"

#include <array>
#include <utility>

namespace tolvan::psent {
namespace {

// Causes with one text; "%02X" there stands for the detail byte.
constexpr std::array<std::pair<std::uint8_t, const char*>, 59> kCauses{{
    {0x00, "正常終了"},
    {0x01, "無効ﾒｯｾｰｼﾞ(APL)：%02X"},
    {0x02, "ｼｰｹﾝｽｴﾗｰ(APL)：%02X"},
    {0x03, "ﾊﾟﾗﾒｰﾀｴﾗｰ(APL)：%02X"},
    {0x04, "無効Airﾒｯｾｰｼﾞ(RT)：%02X"},
    {0x05, "ｼｰｹﾝｽｴﾗｰ(RT)：%02X"},
    {0x06, "必須情報要素不足(RT)：%02X"},
    {0x07, "情報要素ｴﾗｰ(RT)：%02X"},
    {0x08, "無効Airﾒｯｾｰｼﾞ(MM)：%02X"},
    {0x09, "ｼｰｹﾝｽｴﾗｰ(MM)：%02X"},
    {0x0A, "必須情報要素不足(MM)：%02X"},
    {0x0B, "情報要素ｴﾗｰ(MM)：%02X"},
    {0x0C, "無効Airﾒｯｾｰｼﾞ(CC)：%02X"},
    {0x0D, "ｼｰｹﾝｽｴﾗｰ(CC)：%02X"},
    {0x0E, "必須情報要素不足(CC)：%02X"},
    {0x0F, "情報要素ｴﾗｰ(CC)：%02X"},
    {0x10, "候補CSなし：%02X"},
    {0x11, "CS同期確立制限時間T/O：%02X"},
    {0x12, "CS確立制限時間ﾀｲﾏT/O：%02X"},
    {0x13, "CS同期はずれ監視ﾀｲﾏT/O：%02X"},
    {0x14, "CS同期はずれ復旧監視時間ﾀｲﾏT/O：%02X"},
    {0x15, "CSﾚﾍﾞﾙ劣化ﾀｲﾏT/O：%02X"},
    {0x16, "LCH種別不一致：%02X"},
    {0x17, "CS使用不可：%02X"},
    {0x18, "RT・MMﾌﾟﾛﾄｺﾙﾊﾞｰｼﾞｮﾝ不一致：%02X"},
    {0x19, "国番号不一致：%02X"},
    {0x1A, "ｼｽﾃﾑ種別不一致：%02X"},
    {0x20, "ﾘﾝｸﾁｬﾈﾙ割当拒否受信：%02X"},
    {0x21, "割当ﾁｬﾈﾙ非対応：%02X"},
    {0x22, "TR001P T/O：%02X"},
    {0x23, "TR101P T/O：%02X"},
    {0x24, "ｷｬﾘｱｾﾝｽNG：%02X"},
    {0x30, "TCH同期はずれ：%02X"},
    {0x31, "連続ｽﾛｯﾄｴﾗｰ：%02X"},
    {0x32, "FERｴﾗｰ：%02X"},
    {0x33, "RSSIｴﾗｰ：%02X"},
    {0x34, "PS解放：%02X"},
    {0x35, "無線ﾁｬﾈﾙ切断受信：%02X"},
    {0x36, "無線ﾁｬﾈﾙ切断完了受信：%02X"},
    {0x37, "TCH切換要求拒否受信：%02X"},
    {0x38, "位置登録拒否受信：%02X"},
    {0x39, "切断ﾒｯｾｰｼﾞ受信：%02X"},
    {0x3A, "解放ﾒｯｾｰｼﾞ受信：%02X"},
    {0x3B, "解放完了ﾒｯｾｰｼﾞ受信：%02X"},
    {0x49, "Airﾒｯｾｰｼﾞ認識不能：%02X"},
    {0x51, "ﾃﾞｰﾀﾘﾝｸ再設定待ちT/O：%02X"},
    {0x52, "呼設定ﾀｲﾏT/O：%02X"},
    {0x53, "呼出・応答ﾀｲﾏT/O：%02X"},
    {0x54, "位置登録ﾀｲﾏT/O：%02X"},
    {0x55, "ﾁｬﾈﾙ切換監視ﾀｲﾏT/O：%02X"},
    {0x56, "再発呼時間監視ﾀｲﾏT/O：%02X"},
    {0x57, "DISC待ちﾀｲﾏT/O：%02X"},
    {0x58, "無線ﾁｬﾈﾙ切断待ちT/O：%02X"},
    {0x59, "ﾊﾝﾄﾞｵｰﾊﾞｰ起動ﾀｲﾏT/O：%02X"},
    {0x70, "子機増設拒否(子機番号不一致)"},
    {0x71, "子機増設拒否(暗証番号不一致)"},
    {0x72, "子機増設拒否(その他理由)"},
    {0x73, "子機増設強制終了"},
    {0x79, "TCH切換時に付加情報要求が送信"},
}};

// Causes whose text is chosen by the detail: the first detail and the texts from it on.
struct DetailTexts {
    std::uint8_t cause;
    std::uint8_t firstDetail;
    std::array<const char*, 9> texts; // up to the first null
};

const std::array<DetailTexts, 8>& detailTexts() {
    static const std::array<DetailTexts, 8> table{{
        {0x1B, 1, {{"発呼規制中(群規制)", "発呼規制中(ｱｸｾｽ周期規制)"}}},
        {0x1C, 1, {{"位置登録規制中(群規制)", "位置登録規制中(ｱｸｾｽ周期規制)", "TM304P"}}},
        {0x25,
         1,
         {{"ﾃﾞｰﾀﾘﾝｸ開放(MDLｴﾗｰ,ﾃﾞｰﾀﾘﾝｸ異常開放)", "ﾃﾞｰﾀﾘﾝｸ開放(MDLｴﾗｰ,FRMRﾌﾚｰﾑ受信)",
           "ﾃﾞｰﾀﾘﾝｸ開放(MDLｴﾗｰ,相手ｼｽﾃﾑ異常)", "ﾃﾞｰﾀﾘﾝｸ開放(DISC受信)"}}},
        {0x3C, 1, {{"状態表示(状態不一致)(状態=0)", "状態表示(状態不一致)(状態≠0)"}}},
        {0x40,
         0,
         {{"TR103P T/O", "TR105P T/O", "TR301P T/O", "TR302-1P T/O", "TR302-2P T/O", "TR303P T/O",
           "TR304P T/O", "TR305P T/O"}}},
        {0x41, 0, {{"TM301P T/O", "TM302P T/O", "TM303P T/O", "TM304P T/O"}}},
        {0x42,
         0,
         {{"TC301P T/O", "TC303P T/O", "TC304P T/O", "TC305P T/O", "TC308P T/O", "TC309P T/O", "TC310P T/O",
           "TC313P T/O", "TC322P T/O"}}},
        {0x4A, 1, {{"ﾄｰﾝﾊﾟﾀｰﾝ番号異常", "ﾄｰﾝﾊﾟﾀｰﾝ番号無し"}}},
    }};
    return table;
}

// Cause 0x78 names where the unexpected event came from by ranges of the detail.
std::optional<QString> unexpectedEventText(std::uint8_t detail) {
    if (detail <= 0x20) {
        return QStringLiteral("MMIから状態にﾏｯﾁしないｲﾍﾞﾝﾄ発生");
    }
    if (detail <= 0x43) {
        return QStringLiteral("BBICから状態にﾏｯﾁしないｲﾍﾞﾝﾄ発生");
    }
    if (detail <= 0x46) {
        return QStringLiteral("APL内部監視ﾀｲﾏ満了が発生");
    }
    if (detail == 0xFF) {
        return QStringLiteral("規定されていないｲﾍﾞﾝﾄが発生");
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> registrationCauseText(std::uint8_t causeByte, std::uint8_t detail) {
    const auto cause = static_cast<std::uint8_t>(causeByte & 0x7F);
    if (cause == 0x78) {
        return unexpectedEventText(detail);
    }
    for (const auto& [code, text] : kCauses) {
        if (code == cause) {
            QString shown = QString::fromUtf8(text);
            shown.replace(QStringLiteral("%02X"),
                          QStringLiteral("%1").arg(detail, 2, 16, QLatin1Char('0')).toUpper());
            return shown;
        }
    }
    for (const DetailTexts& entry : detailTexts()) {
        if (entry.cause == cause) {
            const int index = detail - entry.firstDetail;
            // The table ends at its first empty slot.
            if (index < 0 || index >= static_cast<int>(entry.texts.size()) ||
                entry.texts[static_cast<std::size_t>(index)] == nullptr) {
                return std::nullopt;
            }
            return QString::fromUtf8(entry.texts[static_cast<std::size_t>(index)]);
        }
    }
    return std::nullopt;
}

} // namespace tolvan::psent
