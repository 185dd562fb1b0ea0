#include "common/choicelists.h"

namespace tolvan {

const QStringList& ChoiceLists::onOff() {
    static const QStringList list{QStringLiteral("ｵﾌ"), QStringLiteral("ｵﾝ")};
    return list;
}

QString ChoiceLists::text(const QStringList& list, int index) {
    return index >= 0 && index < list.size() ? list.at(index) : QString();
}

int ChoiceLists::indexOf(const QStringList& list, const QString& text) {
    return static_cast<int>(list.indexOf(text));
}

QStringList ChoiceLists::numbers(int first, int last, int width) {
    QStringList list;
    for (int v = first; v <= last; ++v) {
        list.append(QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0')));
    }
    return list;
}

} // namespace tolvan
