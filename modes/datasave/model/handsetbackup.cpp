#include "modes/datasave/model/handsetbackup.h"

#include "modes/datasave/model/saveset.h"
#include "modes/dataset/model/systemparamimage.h"

namespace tolvan::datasave {

std::variant<QString, Message> backUpHandset(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                             const QString& memo, const QString& root, bool withBuffers) {
    auto built = buildSaveSet(store, modelCode, memo);
    if (std::holds_alternative<Message>(built)) {
        built = buildSaveSet(store, modelCode, QString());
    }
    if (const auto* failed = std::get_if<Message>(&built)) {
        return *failed;
    }
    const auto& files = std::get<SaveSetFiles>(built);
    QList<backup::BackupFile> parts{{QStringLiteral("jv1"), files.jv1}, {QStringLiteral("jv4"), files.jv4}};
    if (withBuffers) {
        parts.append({QStringLiteral("jv3"), files.jv3});
    }
    return backup::saveBackup(root, modelCode, dataset::SystemParamImage::fromStore(store).psIdValue(),
                              parts);
}

} // namespace tolvan::datasave
