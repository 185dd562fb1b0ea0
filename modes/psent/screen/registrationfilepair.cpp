#include "modes/psent/screen/registrationfilepair.h"

#include "modes/psent/model/logfile4writer.h"

#include "common/logfile/logfileio.h"
#include "modes/datasave/model/savesetnames.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"

#include "shell/dialogservice.h"

namespace tolvan::psent {

std::optional<QString> RegistrationFilePair::choose(QWidget* parent, const QString& folder) {
    shell::FileRequest request;
    request.directory = folder;
    request.filter = QStringLiteral("ﾛｸﾞﾌｧｲﾙ(*.jv1 *.jv4)");
    return shell::DialogService::current().saveFileName(parent, request);
}

std::optional<Message> RegistrationFilePair::write(const QString& chosen, const handset::HandsetStore& store,
                                                   std::uint32_t modelCode, const QString& memo) {
    const auto jv1 =
        dataset::LogFile1Writer::fromImage(dataset::SystemParamImage::fromStore(store), modelCode, memo);
    if (!jv1.ok()) {
        return errorMessage(jv1.error);
    }
    const auto jv4 = LogFile4Writer::fromStore(store, modelCode, memo);
    if (!jv4.ok()) {
        return errorMessage(jv4.error);
    }
    const QString base = datasave::SaveSetNames::baseName(chosen);
    for (const auto& [path, bytes] : {std::pair{base + QStringLiteral(".jv1"), &jv1.bytes},
                                      std::pair{base + QStringLiteral(".jv4"), &jv4.bytes}}) {
        const QString error = logfile::saveAtomically(path, *bytes);
        if (!error.isEmpty()) {
            return errorMessage(path + QStringLiteral(": ") + error);
        }
    }
    return std::nullopt;
}

} // namespace tolvan::psent
