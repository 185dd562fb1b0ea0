#pragma once

// syncFolder: makes the renames inside a folder durable before the next step relies on them.

#include <QString>

namespace tolvan::logfile {

// Best effort: where the platform has no such call (or the folder cannot be opened) it does
// nothing, as a rename there is as durable as the file system makes it anyway.
void syncFolder(const QString& folder);

} // namespace tolvan::logfile
