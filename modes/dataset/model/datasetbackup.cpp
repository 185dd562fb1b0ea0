#include "modes/dataset/model/datasetbackup.h"

#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"

namespace tolvan::dataset {

std::variant<QString, Message> backUpSystemParams(const handset::HandsetBlocks& store,
                                                  std::uint32_t modelCode, const QString& memo,
                                                  const QString& root) {
    const SystemParamImage image = SystemParamImage::fromStore(store);
    LogFile1Text text = LogFile1Writer::fromImage(image, modelCode, memo);
    if (!text.ok()) {
        text = LogFile1Writer::fromImage(image, modelCode, QString());
    }
    if (!text.ok()) {
        return errorMessage(text.error);
    }
    return backup::saveBackup(root, modelCode, image.psIdValue(), {{QStringLiteral("jv1"), text.bytes}});
}

} // namespace tolvan::dataset
