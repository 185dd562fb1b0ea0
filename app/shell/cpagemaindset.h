#pragma once

#include "app/shell/cpagemain.h"

namespace tolvan::shell {

// The explanation of the data setting mode.
class CPageMainDset : public CPageMain {
    Q_OBJECT
public:
    explicit CPageMainDset(QWidget* parent = nullptr);
};

} // namespace tolvan::shell
