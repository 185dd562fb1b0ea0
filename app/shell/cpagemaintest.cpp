#include "app/shell/cpagemaintest.h"

namespace tolvan::shell {

CPageMainTest::CPageMainTest(QWidget* parent)
    : CPageMain(QStringLiteral("テストモード"),
                QStringLiteral("子機に格納されている以下の情報の読み出し/書き込みを行う｡\n"
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
                               " ・RSSIｹﾞｲﾝ補正値測定"),
                parent) {}

} // namespace tolvan::shell
