#pragma once

#include "modes/psent/screen/psentsettingsscreen.h"

#include "modes/psent/model/registrationrun.h"

#include "handset/registrationreports.h"
#include "shell/modedescriptor.h"

namespace tolvan::psent {

// The handset setting/registration screen: the settings screen with the registration of a
// ZX-VA100 ("子機登録", "子機登録中断"): the start, the handset's reports in "状態" and "エラー",
// the file pair and the write-back after it completed, and the abort's write-back.
class PsEntModeDialog : public PsEntSettingsScreen {
    Q_OBJECT
public:
    explicit PsEntModeDialog(shell::ModeContext& context, QWidget* parent = nullptr);
    ~PsEntModeDialog() override;

    // The main menu's "子機設定／登録モード".
    static shell::ModeDescriptor descriptor();

    // "子機登録" and "子機登録中断".
    void startRegistration();
    void abortRegistration();

protected:
    void registrationStep() override;
    void registrationFinished() override;

private:
    // A step of the registration run: the status boxes, the buttons, the dialogs after it.
    void showStep(const RegistrationRun::Step& step);
    void afterRegistration();
    bool registrationRunning() const;
    // The backup before a write-back, which goes out even when it could not be written.
    void backUpBeforeWriteBack();
    // Waits under the progress dialog for a script started without it. True when it ended in
    // keep-alive.
    bool waitForScript();

    // The registration started from this screen, through the mode link's runner.
    RegistrationRun m_run;
};

} // namespace tolvan::psent
