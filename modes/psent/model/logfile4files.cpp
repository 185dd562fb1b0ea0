#include "modes/psent/model/logfile4files.h"

#include "modes/psent/model/logfile4format.h"

#include "common/logfile/logfilenames.h"

namespace tolvan::psent {

QString LogFile4Files::saveName(const QString& chosen) {
    return logfile::saveName(chosen, QStringLiteral("jv4"));
}

QString LogFile4Files::openName(const QString& chosen) {
    return logfile::openName(chosen, QStringLiteral("jv4"));
}

logfile::LoadedFile LogFile4Files::load(const QString& chosen) {
    return logfile::loadChosen(chosen, QStringLiteral("jv4"), LogFile4Format::kMaxFileBytes);
}

QString LogFile4Files::save(const QString& path, const QByteArray& bytes) {
    return logfile::saveAtomically(path, bytes);
}

} // namespace tolvan::psent
