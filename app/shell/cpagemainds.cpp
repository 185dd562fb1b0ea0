#include "app/shell/cpagemainds.h"

namespace tolvan::shell {

CPageMainDs::CPageMainDs(QWidget* parent)
    : CPageMain(QStringLiteral("データ保存モード"),
                QStringLiteral("子機に格納されている情報のファイル保存/子機書き込みを行う｡"), parent) {}

} // namespace tolvan::shell
