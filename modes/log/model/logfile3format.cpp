#include "modes/log/model/logfile3format.h"

namespace tolvan::log {

QString LogFile3Format::sectionName(BufferKind kind) {
    switch (kind) {
    case BufferKind::CommEvent:
        return QStringLiteral("通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ");
    case BufferKind::MmiEvent:
        return QStringLiteral("ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ");
    case BufferKind::CommStatus:
        return QStringLiteral("通信ｽﾃｰﾀｽﾊﾞｯﾌｧ");
    case BufferKind::MmiStatus:
        return QStringLiteral("ﾏﾝﾏｼｰﾝｽﾃｰﾀｽﾊﾞｯﾌｧ");
    case BufferKind::CommErrorStatus:
        return QStringLiteral("通信ｴﾗｰｽﾃｰﾀｽﾊﾞｯﾌｧ");
    case BufferKind::HandsetError:
        break;
    }
    return QStringLiteral("子機ｴﾗｰﾊﾞｯﾌｧ");
}

} // namespace tolvan::log
