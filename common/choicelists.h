#pragma once

#include <QString>
#include <QStringList>

namespace tolvan {

// What the value lists of every screen share: a selector's value is an index into its list, -1
// for no selection. A mode's lists derive from this, so their callers reach these through them.
class ChoiceLists {
public:
    static const QStringList& onOff(); // "ｵﾌ", "ｵﾝ"

    // Entry text, or an empty text for no selection or an index off the list.
    static QString text(const QStringList& list, int index);
    // Index of an exact match, or -1.
    static int indexOf(const QStringList& list, const QString& text);

    // The numbers first to last in decimal, zero-padded to width digits.
    static QStringList numbers(int first, int last, int width = 0);
};

} // namespace tolvan
