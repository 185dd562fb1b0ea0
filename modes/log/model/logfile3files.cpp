#include "modes/log/model/logfile3files.h"

#include "modes/log/model/logfile3format.h"

#include "common/logfile/logfilenames.h"

namespace tolvan::log {
namespace {

const char* const kExtension = "jv3";

} // namespace

QString LogFile3Files::saveName(const QString& chosen) {
    return logfile::saveName(chosen, QLatin1String(kExtension));
}

QString LogFile3Files::openName(const QString& chosen) {
    return logfile::openName(chosen, QLatin1String(kExtension));
}

logfile::LoadedFile LogFile3Files::load(const QString& chosen) {
    return logfile::loadChosen(chosen, QLatin1String(kExtension), LogFile3Format::kMaxFileBytes);
}

QString LogFile3Files::save(const QString& path, const QByteArray& bytes) {
    return logfile::saveAtomically(path, bytes);
}

} // namespace tolvan::log
