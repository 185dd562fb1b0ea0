#include "modes/log/model/buffertexts.h"

#include "modes/log/model/commerrortexts.h"

namespace tolvan::log {
namespace {

struct PairText {
    std::uint8_t type;
    std::uint8_t kind;
    const char* text;
};

// Communication events: what the handset was told over the PC interface.
constexpr PairText kCommEventTexts[] = {
    {0x01, 1, "通常ﾓｰﾄﾞ(BBICを初期化)"},
    {0x01, 2, "ﾃｽﾄﾓｰﾄﾞ(BBICを初期化)"},
    {0x02, 1, "発信"},
    {0x02, 2, "切断"},
    {0x02, 3, "強制終了"},
    {0x02, 4, "子機登録"},
    {0x02, 7, "待受け"},
    {0x03, 1, "特番：会議接続を送出"},
    {0x03, 2, "特番：一斉接続を送出"},
    {0x03, 3, "特番：個別1接続を送出"},
    {0x03, 4, "特番：個別2接続を送出"},
    {0x03, 5, "特番：放送を送出"},
    {0x03, 6, "特番：応答を送出"},
    {0x10, 0, "ﾃｽﾄﾓｰﾄﾞｱｲﾄﾞﾙ(送受信停止)"},
    {0x10, 1, "連続受信ﾃｽﾄ"},
    {0x10, 2, "ﾊﾞｰｽﾄ受信ﾃｽﾄ"},
    {0x10, 3, "連続送信ﾃｽﾄ(PN9段)"},
    {0x10, 4, "連続送信ﾃｽﾄ(全ｽﾛｯﾄ0変調)"},
    {0x10, 5, "ﾊﾞｰｽﾄ送信ﾃｽﾄ(PN9段)"},
    {0x10, 6, "ﾊﾞｰｽﾄ送信ﾃｽﾄ(連続0変調)"},
    {0x20, 1, "送信補正値測定(連続送信PN9段)"},
    {0x20, 2, "送信補正値測定(連続送信連続0変調)"},
    {0x20, 3, "送信補正値測定(ﾊﾞｰｽﾄ送信PN9段)"},
    {0x20, 4, "RSSIｹﾞｲﾝ補正値測定(連続受信)"},
    {0x20, 5, "送信AMPﾊﾞｲｱｽ補正値測定(連続送信PN9段)"},
    {0x20, 6, "送信AMPﾊﾞｲｱｽ補正値測定(連続送信連続0変調)"},
    {0x20, 7, "送信AMPﾊﾞｲｱｽ補正値測定(ﾊﾞｰｽﾄ送信PN9段)"},
};

// User-interface actions (MMI events) and states (MMI status), one table for both.
constexpr PairText kMmiTexts[] = {
    {0x04, 0, "ﾌﾞｻﾞｰ音停止"},
    {0x04, 1, "電池残量警告音鳴動(単発自動停止)"},
    {0x04, 2, "回線ﾋﾞｼﾞｰ音鳴動"},
    {0x04, 3, "圏外音鳴動"},
    {0x04, 4, "電源OFF音鳴動(単発自動停止)"},
    {0x04, 5, "異常警告音鳴動"},
    {0x04, 6, "受話音量変更音鳴動(単発自動停止)"},
    {0x05, 0, "受話ﾐｭｰﾃｨﾝｸﾞ"},
    {0x05, 1, "受話音量小設定"},
    {0x05, 2, "受話音量中設定"},
    {0x05, 3, "受話音量大設定"},
    {0x05, 4, "受話音量特大設定"},
    {0x06, 0, "送話ﾐｭｰﾃｨﾝｸﾞ"},
    {0x06, 1, "送話ﾐｭｰﾃｨﾝｸﾞ解除"},
    {0x07, 0, "送話AMP1設定"},
    {0x07, 1, "送話AMP2設定"},
    {0x08, 0, "ｻｳﾝﾀﾞOFF設定"},
    {0x08, 1, "ｻｳﾝﾀﾞON設定"},
    {0x11, 0, "ﾄｰﾝ送出ﾃｽﾄ(ﾄｰﾝ停止)"},
    {0x11, 1, "ﾄｰﾝ送出ﾃｽﾄ(400Hz連続)"},
    {0x11, 2, "ﾄｰﾝ送出ﾃｽﾄ(500Hz連続)"},
    {0x11, 3, "ﾄｰﾝ送出ﾃｽﾄ(800Hz連続)"},
    {0x11, 4, "ﾄｰﾝ送出ﾃｽﾄ(1000Hz連続)"},
    {0x11, 5, "ﾄｰﾝ送出ﾃｽﾄ(1200Hz連続)"},
    {0x11, 6, "ﾄｰﾝ送出ﾃｽﾄ(1400Hz連続)"},
};

// Communication status: the radio state history. Its spellings differ from the communication
// events' where they look alike ("待ち受け", the colons in the amplifier-bias measurements); the
// test and measurement states both share are looked up among the events.
constexpr PairText kCommStatusTexts[] = {
    {0x01, 1, "電源ON"},
    {0x01, 2, "電源OFF"},
    {0x01, 3, "初期化終了ｱｲﾄﾞﾙ(通常)"},
    {0x02, 1, "制御ﾁｬﾈﾙ接続(制御ﾁｬﾈﾙの確立を行う)"},
    {0x02, 2, "通信ﾁｬﾈﾙ接続(通信ﾁｬﾈﾙの確立を行う)"},
    {0x02, 3, "ｸﾞﾙｰﾌﾟ通話"},
    {0x02, 4, "ﾒｯｾｰｼﾞ送信(特番ﾒｯｾｰｼﾞを送信する)"},
    {0x02, 5, "PS切断(PS電源OFFによる切断)"},
    {0x02, 6, "CS切断(CSからの切断指示による切断)"},
    {0x02, 7, "待ち受け"},
    {0x02, 8, "内線着信"},
    {0x02, 9, "内線通話"},
    {0x03, 1, "圏外処理"},
    {0x03, 2, "CS使用不可(空ｽﾛｯﾄ無等の通信ﾁｬﾈﾙ確立失敗)"},
    {0x03, 3, "PS判定TCH切替"},
    {0x03, 4, "PS判定TCH切替切り戻り"},
    {0x03, 5, "PS判定再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ"},
    {0x04, 1, "子機登録"},
    {0x10, 0, "初期化終了ｱｲﾄﾞﾙ(ﾃｽﾄ)"},
    {0x20, 5, "送信AMPﾊﾞｲｱｽ補正値測定(連続送信:PN9段)"},
    {0x20, 6, "送信AMPﾊﾞｲｱｽ補正値測定(連続送信:連続0変調)"},
    {0x20, 7, "送信AMPﾊﾞｲｱｽ補正値測定(ﾊﾞｰｽﾄ送信:PN9段)"},
};

// Handset errors, indexed by the fault code.
constexpr const char* kHandsetErrorTexts[] = {
    "--------------------",
    "APLｴﾗｰ(通信ｽﾃｰﾀｽﾛｯｸ)",
    "EEPROMｱｸｾｽｴﾗｰ",
    "ZKO-IDｺｰﾄﾞｴﾗｰ",
    "電池残量無し",
    "子機未登録",
    "ｸﾞﾙｰﾌﾟ未登録",
    "会議ｸﾞﾙｰﾌﾟ定員ｵｰﾊﾞｰ",
    "通話空きﾁｬﾈﾙなし",
    "BBICからﾘｾｯﾄ要求発生",
    "PCI/Fｺﾏﾝﾄﾞ待ちﾀｲﾑｱｳﾄ発生",
    "PCI/F送信ﾊﾞｯﾌｧ空き待ちﾀｲﾑｱｳﾄ発生",
};

template <std::size_t N> const char* find(const PairText (&table)[N], std::uint8_t type, std::uint8_t kind) {
    for (const PairText& entry : table) {
        if (entry.type == type && entry.kind == kind) {
            return entry.text;
        }
    }
    return nullptr;
}

QString hex2(unsigned value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// The general rule of the event and status buffers: a known pair gives its text, type 0 with
// kind 0 is the empty slot, anything else shows the pair in hex.
QString pairText(const char* known, std::uint8_t type, std::uint8_t kind) {
    if (known != nullptr) {
        return QString::fromUtf8(known);
    }
    if (type == 0 && kind == 0) {
        return QStringLiteral("ｱｲﾄﾞﾙ");
    }
    return hex2(type) + QLatin1Char(':') + hex2(kind);
}

constexpr std::uint8_t kFlag = 0x80;
constexpr std::uint8_t kLow7 = 0x7F;

QString eventText(const char* known, std::uint8_t byte0, std::uint8_t kind) {
    const QString marker = (byte0 & kFlag) != 0 ? QStringLiteral("[Y]") : QString();
    return marker + pairText(known, byte0 & kLow7, kind);
}

QString statusMarkers(std::uint8_t byte0, std::uint8_t byte1) {
    QString markers;
    if ((byte0 & kFlag) != 0) {
        markers += QStringLiteral("[R]");
    }
    if ((byte1 & kFlag) != 0) {
        markers += QStringLiteral("[E]");
    }
    return markers;
}

} // namespace

QString BufferTexts::commEvent(std::uint8_t byte0, std::uint8_t byte1) {
    return eventText(find(kCommEventTexts, byte0 & kLow7, byte1), byte0, byte1);
}

QString BufferTexts::mmiEvent(std::uint8_t byte0, std::uint8_t byte1) {
    return eventText(find(kMmiTexts, byte0 & kLow7, byte1), byte0, byte1);
}

QString BufferTexts::commStatus(std::uint8_t byte0, std::uint8_t byte1) {
    const auto type = static_cast<std::uint8_t>(byte0 & kLow7);
    const auto kind = static_cast<std::uint8_t>(byte1 & kLow7);
    const char* known = find(kCommStatusTexts, type, kind);
    const bool sharedWithEvents =
        (type == 0x10 && kind >= 1 && kind <= 6) || (type == 0x20 && kind >= 1 && kind <= 4);
    if (known == nullptr && sharedWithEvents) {
        known = find(kCommEventTexts, type, kind);
    }
    return statusMarkers(byte0, byte1) + pairText(known, type, kind);
}

QString BufferTexts::mmiStatus(std::uint8_t byte0, std::uint8_t byte1) {
    const auto type = static_cast<std::uint8_t>(byte0 & kLow7);
    const auto kind = static_cast<std::uint8_t>(byte1 & kLow7);
    return statusMarkers(byte0, byte1) + pairText(find(kMmiTexts, type, kind), type, kind);
}

QString BufferTexts::handsetError(std::uint8_t code) {
    if (code < std::size(kHandsetErrorTexts)) {
        return QString::fromUtf8(kHandsetErrorTexts[code]);
    }
    return hex2(code);
}

QString BufferTexts::entryText(BufferKind kind, std::span<const std::uint8_t> entry) {
    if (entry.size() != static_cast<std::size_t>(layoutOf(kind).entryBytes)) {
        return {};
    }
    switch (kind) {
    case BufferKind::CommEvent:
        return commEvent(entry[0], entry[1]);
    case BufferKind::MmiEvent:
        return mmiEvent(entry[0], entry[1]);
    case BufferKind::CommStatus:
        return commStatus(entry[0], entry[1]);
    case BufferKind::MmiStatus:
        return mmiStatus(entry[0], entry[1]);
    case BufferKind::CommErrorStatus:
        return CommErrorTexts::line(entry[0], entry[1], entry[2]);
    case BufferKind::HandsetError:
        break;
    }
    return handsetError(entry[0]);
}

QStringList BufferTexts::rows(const HandsetBuffers& buffers, BufferKind kind) {
    QStringList rows;
    const int entries = layoutOf(kind).entries;
    rows.reserve(entries);
    for (int i = 0; i < entries; ++i) {
        rows.append(entryText(kind, buffers.entry(kind, i)));
    }
    return rows;
}

} // namespace tolvan::log
