#include "app/shell/cpagemaindset.h"

namespace tolvan::shell {

CPageMainDset::CPageMainDset(QWidget* parent)
    : CPageMain(QStringLiteral("データ設定モード"),
                QStringLiteral("子機に格納されている以下の情報の読み出し/書き込みを行う｡\n"
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
                               " ・障害監視ｺｰｰﾄﾞ"),
                parent) {}

} // namespace tolvan::shell
