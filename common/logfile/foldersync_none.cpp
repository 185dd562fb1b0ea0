#include "common/logfile/foldersync.h"

namespace tolvan::logfile {

// A rename on Windows is written through by the file system itself; there is no folder handle to
// flush.
void syncFolder(const QString& /*folder*/) {}

} // namespace tolvan::logfile
