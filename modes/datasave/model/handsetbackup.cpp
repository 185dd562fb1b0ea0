#include "modes/datasave/model/handsetbackup.h"

#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/log/model/handsetbuffers.h"
#include "modes/log/model/logfile3writer.h"
#include "modes/psent/model/logfile4writer.h"

namespace tolvan::datasave {

std::variant<QString, Message> backUpHandset(const handset::HandsetStore& store, std::uint32_t modelCode,
                                             const QString& memo, const QString& root, bool withBuffers) {
    const dataset::SystemParamImage system = dataset::SystemParamImage::fromStore(store);
    auto jv1 = dataset::LogFile1Writer::fromImage(system, modelCode, memo);
    auto jv4 = psent::LogFile4Writer::fromStore(store, modelCode, memo);
    if (!jv1.ok() || !jv4.ok()) {
        jv1 = dataset::LogFile1Writer::fromImage(system, modelCode, QString());
        jv4 = psent::LogFile4Writer::fromStore(store, modelCode, QString());
    }
    if (!jv1.ok()) {
        return errorMessage(jv1.error);
    }
    if (!jv4.ok()) {
        return errorMessage(jv4.error);
    }
    QList<backup::BackupFile> files{{QStringLiteral("jv1"), jv1.bytes}, {QStringLiteral("jv4"), jv4.bytes}};
    if (withBuffers) {
        const auto buffers = log::HandsetBuffers::fromStore(store);
        auto jv3 = log::LogFile3Writer::fromBuffers(buffers, modelCode, memo);
        if (!jv3.ok()) {
            jv3 = log::LogFile3Writer::fromBuffers(buffers, modelCode, QString());
        }
        if (!jv3.ok()) {
            return *jv3.error;
        }
        files.append({QStringLiteral("jv3"), jv3.bytes});
    }
    return backup::saveBackup(root, modelCode, system.psIdValue(), files);
}

} // namespace tolvan::datasave
