#pragma once

#include "shell/ownercloseddialog.h"

namespace tolvan::shell {

// The please-wait notice ("読み込み／書き込み") shown by the handset setting and test modes while
// they read or write. It has no buttons; its owner closes it and may keep a number in it.
class WritingMessage : public OwnerClosedDialog {
    Q_OBJECT
public:
    explicit WritingMessage(QWidget* parent = nullptr);

    int value() const { return m_value; }
    void setValue(int value) { m_value = value; }

private:
    int m_value = 0;
};

} // namespace tolvan::shell
