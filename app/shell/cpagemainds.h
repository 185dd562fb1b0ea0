#pragma once

#include "app/shell/cpagemain.h"

namespace tolvan::shell {

// The explanation of the data save/write mode.
class CPageMainDs : public CPageMain {
    Q_OBJECT
public:
    explicit CPageMainDs(QWidget* parent = nullptr);
};

} // namespace tolvan::shell
