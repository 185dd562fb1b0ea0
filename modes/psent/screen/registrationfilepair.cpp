#include "modes/psent/screen/registrationfilepair.h"

#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/savesetnames.h"

#include "shell/dialogservice.h"
#include "shell/replacequestion.h"

namespace tolvan::psent {

std::optional<QString> RegistrationFilePair::choose(QWidget* parent, const QString& folder) {
    shell::FileRequest request;
    request.directory = folder;
    request.filter = QStringLiteral("ﾛｸﾞﾌｧｲﾙ(*.jv1 *.jv4)");
    // The pair's question names every file replaced, the chosen one among them.
    request.confirmOverwrite = false;
    std::optional<QString> chosen = shell::DialogService::current().saveFileName(parent, request);
    if (chosen && !shell::confirmReplacing(
                      parent, datasave::saveSetPaths(datasave::SaveSetNames::baseName(*chosen), false))) {
        return std::nullopt;
    }
    return chosen;
}

std::optional<Message> RegistrationFilePair::write(const QString& chosen, const handset::HandsetBlocks& store,
                                                   std::uint32_t modelCode, const QString& memo) {
    return datasave::writeSettingsPair(store, modelCode, datasave::SaveSetNames::baseName(chosen), memo);
}

} // namespace tolvan::psent
