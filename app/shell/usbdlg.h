#pragma once

#include "app/shell/ownercloseddialog.h"

namespace tolvan::shell {

// The removed-handset dialog ("USB"), shown modally when the handset is unplugged. It has no
// buttons: only the main menu's reconnect handling closes it.
class USBDlg : public OwnerClosedDialog {
    Q_OBJECT
public:
    explicit USBDlg(QWidget* parent = nullptr);

    // The handset is back: close, if shown.
    void handsetBack();
};

} // namespace tolvan::shell
