#pragma once

// The one question asked before a set of files replaces files that exist.

#include <QStringList>

class QWidget;

namespace tolvan::shell {

// Whether a set of files may be written: true when none of paths exists, or when the user agreed
// to replace those that do, all named in one question. No (the default button) writes nothing.
bool confirmReplacing(QWidget* parent, const QStringList& paths);

} // namespace tolvan::shell
