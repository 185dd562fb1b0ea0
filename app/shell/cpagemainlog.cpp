#include "app/shell/cpagemainlog.h"

namespace tolvan::shell {

CPageMainLog::CPageMainLog(QWidget* parent)
    : CPageMain(QStringLiteral("ログ表示モード"),
                QStringLiteral("子機に格納されている以下の情報の読み出し表示/クリアを行う｡\n"
                               " ・通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ\n"
                               " ・ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ\n"
                               " ・通信ｽﾃｰﾀｽﾊﾞｯﾌｧ\n"
                               " ・ﾏﾝﾏｼｰﾝｽﾃｰﾀｽﾊﾞｯﾌｧ\n"
                               " ・通信ｴﾗｰｽﾃｰﾀｽﾊﾞｯﾌｧ\n"
                               " ・子機ｴﾗｰﾊﾞｯﾌｧ"),
                parent) {}

} // namespace tolvan::shell
