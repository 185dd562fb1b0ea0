#pragma once

#include "shell/ownercloseddialog.h"

namespace tolvan::app {

// The removed-handset dialog ("USB"), shown modally when the handset is unplugged. It has no
// buttons: only the main menu's reconnect handling closes it.
class USBDlg : public shell::OwnerClosedDialog {
    Q_OBJECT
public:
    explicit USBDlg(QWidget* parent = nullptr);

    // The handset is back: close, if shown.
    void handsetBack();
};

} // namespace tolvan::app
