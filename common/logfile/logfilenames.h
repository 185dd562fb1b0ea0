#pragma once

#include <QString>

namespace tolvan::logfile {

// The save rule every log file shares: in the file name (never a folder), the four characters
// from the first ".jv" are removed, then "." + extension is appended; a.jv3 and a both become
// a.jv1 for the extension "jv1".
QString saveName(const QString& chosen, const QString& extension);
// The file Open reads: the name itself, or for a name without a dot the name with
// "." + extension; empty when neither exists.
QString openName(const QString& chosen, const QString& extension);

} // namespace tolvan::logfile
