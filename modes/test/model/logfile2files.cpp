#include "modes/test/model/logfile2files.h"

#include "modes/test/model/logfile2format.h"

#include "common/logfile/logfilenames.h"

namespace tolvan::testmode {

QString LogFile2Files::saveName(const QString& chosen) {
    return logfile::saveName(chosen, LogFile2Format::extension());
}

logfile::LoadedFile LogFile2Files::load(const QString& chosen) {
    return logfile::loadChosen(chosen, LogFile2Format::extension(), LogFile2Format::kMaxFileBytes);
}

QString LogFile2Files::save(const QString& path, const QByteArray& bytes) {
    return logfile::saveAtomically(path, bytes);
}

} // namespace tolvan::testmode
