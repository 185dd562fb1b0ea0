#include "modes/dataset/model/datasetbackup.h"

#include "common/backup/backupbuilder.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"

namespace tolvan::dataset {

std::variant<QString, Message> backUpSystemParams(const handset::HandsetBlocks& store,
                                                  std::uint32_t modelCode, const QString& memo,
                                                  const QString& root) {
    const SystemParamImage image = SystemParamImage::fromStore(store);
    return backup::buildAndSaveBackup(root, modelCode, image.psIdValue(), memo, [&](const QString& withMemo) {
        return backup::singleFileBackup(QStringLiteral("jv1"),
                                        LogFile1Writer::fromImage(image, modelCode, withMemo));
    });
}

} // namespace tolvan::dataset
