#include "modes/psent/screen/registrationfilepair.h"

#include "common/logfile/savesetfiles.h"
#include "common/logfile/savesetnames.h"
#include "modes/psent/model/settingspair.h"

#include "shell/dialogservice.h"
#include "shell/replacequestion.h"

#include <QFileInfo>
#include <QStringList>

namespace tolvan::psent {

std::optional<QString> RegistrationFilePair::choose(QWidget* parent, const QString& folder) {
    shell::FileRequest request;
    request.directory = folder;
    request.filter = QStringLiteral("ﾛｸﾞﾌｧｲﾙ(*.jv1 *.jv4)");
    // The pair's question names every file replaced, the chosen one among them.
    request.confirmOverwrite = false;
    for (;;) {
        std::optional<QString> chosen = shell::DialogService::current().saveFileName(parent, request);
        if (!chosen || shell::confirmReplacing(
                           parent, logfile::saveSetPaths(logfile::SaveSetNames::baseName(*chosen), false))) {
            return chosen;
        }
        // Back in the folder of the name refused.
        request.directory = QFileInfo(*chosen).absolutePath();
    }
}

Message RegistrationFilePair::notSaved(const QString& chosen) {
    QStringList names;
    for (const QString& path : logfile::saveSetPaths(logfile::SaveSetNames::baseName(chosen), false)) {
        names << QFileInfo(path).fileName();
    }
    return errorMessage(
        QStringLiteral("登録した子機のデータを読み込めなかったため、%1 と %2 は保存していません。\n"
                       "子機を差し替える前に保存し直してください。")
            .arg(names.value(0), names.value(1)));
}

std::optional<Message> RegistrationFilePair::write(const QString& chosen, const handset::HandsetBlocks& store,
                                                   std::uint32_t modelCode, const QString& memo) {
    return writeSettingsPair(store, modelCode, logfile::SaveSetNames::baseName(chosen), memo);
}

} // namespace tolvan::psent
