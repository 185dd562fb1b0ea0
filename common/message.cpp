#include "common/message.h"

namespace tolvan {

QString errorTitle() {
    return QStringLiteral("エラー");
}

Message errorMessage(const QString& text) {
    return {errorTitle(), text};
}

} // namespace tolvan
