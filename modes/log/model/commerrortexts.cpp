#include "modes/log/model/commerrortexts.h"

namespace tolvan::log {
namespace {

// Codes whose line is the name, a fullwidth colon and the detail, whatever the detail.
struct CodeName {
    std::uint8_t code;
    const char* name;
};

constexpr CodeName kNamedCodes[] = {
    {0x01, "無効ﾌﾟﾘﾐﾃｨﾌﾞ(APL)"},
    {0x02, "ｼｰｹﾝｽｴﾗｰ(APL)"},
    {0x03, "ﾊﾟﾗﾒｰﾀｴﾗｰ(APL)"},
    {0x04, "無効Airﾒｯｾｰｼﾞ(RT)"},
    {0x05, "ｼｰｹﾝｽｴﾗｰ(RT)"},
    {0x06, "必須情報要素不足(RT)"},
    {0x07, "情報要素ｴﾗｰ(RT)"},
    {0x08, "無効Airﾒｯｾｰｼﾞ(MM)"},
    {0x09, "ｼｰｹﾝｽｴﾗｰ(MM)"},
    {0x0A, "必須情報要素不足(MM)"},
    {0x0B, "情報要素ｴﾗｰ(MM)"},
    {0x0C, "無効Airﾒｯｾｰｼﾞ(CC)"},
    {0x0D, "ｼｰｹﾝｽｴﾗｰ(CC)"},
    {0x0E, "必須情報要素不足(CC)"},
    {0x0F, "情報要素ｴﾗｰ(CC)"},
    {0x10, "候補CSなし"},
    {0x11, "CS同期確立制限時間T/O"},
    {0x12, "CS確立制限時間ﾀｲﾏT/O"},
    {0x13, "CS同期はずれ監視ﾀｲﾏT/O"},
    {0x14, "CS同期はずれ復旧監視時間ﾀｲﾏT/O"},
    {0x15, "CSﾚﾍﾞﾙ劣化ﾀｲﾏT/O"},
    {0x16, "LCH種別不一致"},
    {0x17, "CS使用不可"},
    {0x18, "RT/MMﾌﾟﾛﾄｺﾙﾊﾞｰｼﾞｮﾝ不一致"},
    {0x19, "国番号不一致"},
    {0x1A, "ｼｽﾃﾑ種別不一致"},
    {0x20, "ﾘﾝｸﾁｬﾈﾙ割当拒否受信"},
    {0x21, "割当ﾁｬﾈﾙ非対応"},
    {0x22, "TR001P T/O"},
    {0x23, "TR101P T/O"},
    {0x24, "ｷｬﾘｱｾﾝｽNG"},
    {0x30, "TCH同期はずれ"},
    {0x31, "連続ｽﾛｯﾄｴﾗｰ"},
    {0x32, "FERｴﾗｰ"},
    {0x33, "RSSIｴﾗｰ"},
    {0x35, "無線ﾁｬﾈﾙ切断受信"},
    {0x36, "無線ﾁｬﾈﾙ切断完了受信"},
    {0x37, "TCH切換要求拒否受信"},
    {0x38, "位置登録拒否受信"},
    {0x39, "切断ﾒｯｾｰｼﾞ受信"},
    {0x3A, "解放ﾒｯｾｰｼﾞ受信"},
    {0x3B, "解放完了ﾒｯｾｰｼﾞ受信"},
    {0x49, "Airﾒｯｾｰｼﾞ認識不能"},
    {0x51, "ﾃﾞｰﾀﾘﾝｸ再設定待ちT/O"},
    {0x52, "呼設定ﾀｲﾏT/O"},
    {0x53, "呼出・応答ﾀｲﾏT/O"},
    {0x54, "位置登録ﾀｲﾏT/O"},
    {0x55, "ﾁｬﾈﾙ切替監視ﾀｲﾏT/O"},
    {0x56, "再発呼時間監視ﾀｲﾏT/O"},
    {0x57, "DISC待ちﾀｲﾏT/O"},
    {0x58, "無線ﾁｬﾈﾙ切断待ちT/O"},
    {0x59, "ﾊﾝﾄﾞｵｰﾊﾞｰ起動ﾀｲﾏT/O"},
};

// Handset release: its unindented name carries a trailing hyphen the indented one lacks.
constexpr std::uint8_t kRelease = 0x34;

// Codes whose name depends on the detail (first to last detail, both included); the line is
// the name alone.
struct DetailName {
    std::uint8_t code;
    std::uint8_t firstDetail;
    std::uint8_t lastDetail;
    const char* name;
};

constexpr DetailName kDetailNames[] = {
    {0x1B, 1, 1, "発呼規制中(群規制)"},
    {0x1B, 2, 2, "発呼規制中(ｱｸｾｽ周期規制)"},
    {0x1C, 1, 1, "位置登録規制中(群規制)"},
    {0x1C, 2, 2, "位置登録規制中(ｱｸｾｽ周期規制)"},
    {0x1C, 3, 3, "TM304P"},
    {0x25, 1, 1, "ﾃﾞｰﾀﾘﾝｸ解放(MDLｴﾗｰ,ﾃﾞｰﾀﾘﾝｸ異常解放)"},
    {0x25, 2, 2, "ﾃﾞｰﾀﾘﾝｸ解放(MDLｴﾗｰ,FRMRﾌﾚｰﾑ受信)"},
    {0x25, 3, 3, "ﾃﾞｰﾀﾘﾝｸ解放(MDLｴﾗｰ,相手ｼｽﾃﾑ異常)"},
    {0x25, 4, 4, "ﾃﾞｰﾀﾘﾝｸ解放(DISC受信)"},
    {0x3C, 1, 1, "状態表示(状態不一致)(状態＝0)"},
    {0x3C, 2, 2, "状態表示(状態不一致)(状態≠0)"},
    {0x40, 0, 0, "TR103P T/O"},
    {0x40, 1, 1, "TR105P T/O"},
    {0x40, 2, 2, "TR301P T/O"},
    {0x40, 3, 3, "TR302-1P T/O"},
    {0x40, 4, 4, "TR302-2P T/O"},
    {0x40, 5, 5, "TR303P T/O"},
    {0x40, 6, 6, "TR304P T/O"},
    {0x40, 7, 7, "TR305P T/O"},
    {0x41, 0, 0, "TM301P T/O"},
    {0x41, 1, 1, "TM302P T/O"},
    {0x41, 2, 2, "TM303P T/O"},
    {0x41, 3, 3, "TM304P T/O"},
    {0x42, 0, 0, "TC301P T/O"},
    {0x42, 1, 1, "TC303P T/O"},
    {0x42, 2, 2, "TC304P T/O"},
    {0x42, 3, 3, "TC305P T/O"},
    {0x42, 4, 4, "TC308P T/O"},
    {0x42, 5, 5, "TC309P T/O"},
    {0x42, 6, 6, "TC310P T/O"},
    {0x42, 7, 7, "TC313P T/O"},
    {0x42, 8, 8, "TC322P T/O"},
    {0x4A, 1, 1, "ﾄｰﾝﾊﾟﾀｰﾝ番号異常"},
    {0x4A, 2, 2, "ﾄｰﾝﾊﾟﾀｰﾝ番号無し"},
    {0x70, 0, 0, "子機増設拒否(子機番号不一致)"},
    {0x71, 0, 0, "子機増設拒否(暗証番号不一致)"},
    {0x72, 0, 0, "子機増設拒否(その他の理由)"},
    {0x73, 0, 0, "子機増設強制終了"},
    {0x74, 0, 0, "子機登録完了"},
    {0x78, 0x00, 0x20, "MMIから状態にﾏｯﾁしないｲﾍﾞﾝﾄ発生"},
    {0x78, 0x21, 0x43, "BBICから状態にﾏｯﾁしないｲﾍﾞﾝﾄ発生"},
    {0x78, 0x44, 0x46, "APL内部監視ﾀｲﾏ満了が発生"},
    {0x78, 0xFF, 0xFF, "規定されていないｲﾍﾞﾝﾄが発生"},
    {0x79, 0, 0, "TCH切換時に付加情報要求が送信"},
};

constexpr std::uint8_t kNormalEnd = 0x00;

bool hasDetailNames(std::uint8_t code) {
    if (code == kNormalEnd) {
        return true;
    }
    for (const DetailName& entry : kDetailNames) {
        if (entry.code == code) {
            return true;
        }
    }
    return false;
}

const char* detailName(std::uint8_t code, std::uint8_t detail) {
    for (const DetailName& entry : kDetailNames) {
        if (entry.code == code && detail >= entry.firstDetail && detail <= entry.lastDetail) {
            return entry.name;
        }
    }
    return nullptr;
}

const char* codeName(std::uint8_t code) {
    for (const CodeName& entry : kNamedCodes) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    return nullptr;
}

QString hex2(unsigned value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

constexpr QLatin1String kIndent("  ");
constexpr QChar kFullwidthColon(u'：');

} // namespace

QString CommErrorTexts::line(std::uint8_t byte0, std::uint8_t byte1, std::uint8_t byte2) {
    const bool head = (byte0 & 0x01) != 0;
    const auto code = static_cast<std::uint8_t>(byte1 & 0x7F);
    const std::uint8_t detail = byte2;
    const QString detailHex = hex2(detail);

    if (code == kRelease) {
        const QString name = head ? QStringLiteral("PS解放-") : QString(kIndent) + QStringLiteral("PS解放");
        return name + kFullwidthColon + detailHex;
    }
    if (const char* name = codeName(code)) {
        return (head ? QString() : QString(kIndent)) + QString::fromUtf8(name) + kFullwidthColon + detailHex;
    }
    if (hasDetailNames(code)) {
        if (code == kNormalEnd && detail == 0) {
            // The empty slot; a head entry with nothing in it shows as a separator.
            return head ? QStringLiteral("--------------------") : QStringLiteral("正常終了");
        }
        if (const char* name = detailName(code, detail)) {
            return (head ? QString() : QString(kIndent)) + QString::fromUtf8(name);
        }
        // A detail the handset's documentation does not name: never indented, ASCII colon.
        return hex2(code) + QLatin1Char(':') + detailHex;
    }
    // A code without a name: an ideographic space stands in for the indentation.
    return (head ? QString() : QStringLiteral("\u3000")) + hex2(code) + kFullwidthColon + detailHex;
}

} // namespace tolvan::log
