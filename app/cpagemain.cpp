#include "app/cpagemain.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tolvan::app {

const std::array<ExplanationPage, 5>& explanationPages() {
    static const std::array<ExplanationPage, 5> pages{{
        {"CPageMainDset", "データ設定モード",
         "子機に格納されている以下の情報の読み出し/書き込みを行う｡\n"
         " ・外部ﾏｲｺﾝｿﾌﾄｳｪｱﾊﾞｰｼﾞｮﾝ\n"
         " ・PS-ID\n"
         " ・制御ch\n"
         " ・待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\n"
         " ・待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\n"
         " ・再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\n"
         " ・再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ先ｿﾞｰﾝ選択ﾚﾍﾞﾙ\n"
         " ・ﾁｬﾝﾈﾙ切換FERしきい値　ｽﾛｯﾄｴﾗｰ数\n"
         " ・FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ設定\n"
         " ・ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\n"
         " ・CS-ID中のｼｽﾃﾑ呼び出し符号\n"
         " ・一斉呼び出しｴﾘｱ種別(接続CS指定ﾓｰﾄﾞ設定)\n"
         " ・CS-IDの付加ID設定数(接続CS台数)\n"
         " ・付加ID1～8(接続CS番号)\n"
         " ・ｲﾝﾀｰﾊﾞﾙ値\n"
         " ・ZX-RM15検出\n"
         " ・ZX-VA100受話ｹﾞｲﾝ調整機能\n"
         " ・障害監視ｺｰｰﾄﾞ"},
        {"CPageMainTest", "テストモード",
         "子機に格納されている以下の情報の読み出し/書き込みを行う｡\n"
         " ・ﾘﾌｧﾚﾝｽｸﾛｯｸ\n"
         " ・送信AMPﾊﾞｲｱｽ補正値係数\n"
         " ・RSSI補正係数1 / RSSI補正係数2\n"
         " ・ﾊﾞｯｸﾗｲﾄ輝度\n"
         "以下のﾃｽﾄﾓｰﾄﾞの開始/停止を制御する｡\n"
         " ・連続受信ﾃｽﾄ\n"
         " ・ﾊﾞｰｽﾄ受信ﾃｽﾄ\n"
         " ・連続送信ﾃｽﾄ(PN9段連続）\n"
         " ・連続送信ﾃｽﾄ(全ｽﾛｯﾄ0変調）\n"
         " ・ﾊﾞｰｽﾄ送信ﾃｽﾄ(PN9段）\n"
         " ・ﾊﾞｰｽﾄ送信ﾃｽﾄ(連続0変調）\n"
         " ・ﾏﾝﾏｼｰﾝﾃｽﾄ\n"
         " ・BBICﾚｼﾞｽﾀ書き込み\n"
         " ・電源OFF\n"
         " ・ﾘｾｯﾄ\n"
         "以下の補正値測定の開始/停止を制御し､補正値を計算する｡\n"
         " ・送信AMPﾊﾞｲｱｽ補正値測定\n"
         " ・RSSIｹﾞｲﾝ補正値測定"},
        {"CPageMainLog", "ログ表示モード",
         "子機に格納されている以下の情報の読み出し表示/クリアを行う｡\n"
         " ・通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ\n"
         " ・ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ\n"
         " ・通信ｽﾃｰﾀｽﾊﾞｯﾌｧ\n"
         " ・ﾏﾝﾏｼｰﾝｽﾃｰﾀｽﾊﾞｯﾌｧ\n"
         " ・通信ｴﾗｰｽﾃｰﾀｽﾊﾞｯﾌｧ\n"
         " ・子機ｴﾗｰﾊﾞｯﾌｧ"},
        {"CPageMainPsEnt", "子機設定登録モード",
         "子機に格納されている以下の情報の読み出し/書き込みを行う｡\n"
         "・子機番号\n"
         "・PS-ID\n"
         "・ﾒﾆｭｰ割当設定(VA150のみ)\n"
         "・機能ﾎﾞﾀﾝ割当(VA150のみ)\n"
         "・緊急通知設定(VA150のみ)\n"
         "・ﾄｰｸﾎﾞﾀﾝ動作設定(VA150のみ)\n"
         "・ｷｰﾛｯｸ設定(VA150のみ)\n"
         "・お知らせ音量\n"
         "・圏外お知らせ音設定\n"
         "・音量ﾚﾍﾞﾙ操作音設定\n"
         "・ｷｰﾀｯﾁ音設定\n"
         "・ﾏｲｸﾚﾍﾞﾙ\n"
         "・ﾏｲｸ動作設定\n"
         "・PTTﾎｰﾙﾄﾞお知らせ音\n"
         "・VOX感度調整\n"
         "・VOX終了遅延時間\n"
         "・受話音量\n"
         "・ｻｲﾄﾞﾄｰﾝ音量\n"
         "・ﾉｲｽﾞｶｯﾄ設置\n"
         "・ﾉｲｽﾞｶｯﾄ機能ﾀｲﾌﾟ\n"
         "・ﾉｲｽﾞｶｯﾄ感度調整\n"
         "・放送時ｲﾝｶﾑﾓﾆﾀ設定\n"
         "・KRM-200ﾘﾓｺﾝｷｰ1設定\n"
         "・KRM-200ﾘﾓｺﾝｷｰ2設定\n"
         "・KRM-200ﾘﾓｺﾝｷｰ3設定\n"
         "・ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ\n"
         "・ﾋｱﾘﾝｸﾞ専用復帰ﾀｲﾏｰ\n"
         "・ﾋｱﾘﾝｸﾞ動作ﾓｰﾄﾞ\n"
         "・外線発信設定\n"
         "・外線発信短縮登録番号M1\n"
         "・外線発信短縮登録番号M2\n"
         "・外線発信短縮登録番号M3\n"
         "・個別通話子機番号登録01～48\n"
         "KQ5000ｼﾘｰｽﾞにZX-VA100子機を登録する際に使用する。\n"
         "・暗証番号"},
        {"CPageMainDs", "データ保存モード", "子機に格納されている情報のファイル保存/子機書き込みを行う｡"},
    }};
    return pages;
}

CPageMain::CPageMain(const ExplanationPage& page, QWidget* parent)
    : QWidget(parent), m_key(QString::fromLatin1(page.key)), m_title(QString::fromUtf8(page.title)),
      m_text(QString::fromUtf8(page.text)) {
    auto* label = new QLabel(m_text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    // The handset setting page is longer than a small screen is high.
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(label);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
}

} // namespace tolvan::app
