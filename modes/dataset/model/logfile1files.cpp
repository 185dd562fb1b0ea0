#include "modes/dataset/model/logfile1files.h"

#include "modes/dataset/model/logfile1format.h"

#include "common/logfile/logfileio.h"
#include "common/logfile/logfilenames.h"

namespace tolvan::dataset {

QString LogFile1Files::saveName(const QString& chosen) {
    return logfile::saveName(chosen, QStringLiteral("jv1"));
}

QString LogFile1Files::openName(const QString& chosen) {
    return logfile::openName(chosen, QStringLiteral("jv1"));
}

logfile::LoadedFile LogFile1Files::load(const QString& chosen) {
    return logfile::loadChosen(chosen, QStringLiteral("jv1"), LogFile1Format::kMaxFileBytes);
}

QString LogFile1Files::save(const QString& path, const QByteArray& bytes) {
    return logfile::saveAtomically(path, bytes);
}

} // namespace tolvan::dataset
