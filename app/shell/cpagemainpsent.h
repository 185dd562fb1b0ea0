#pragma once

#include "app/shell/cpagemain.h"

namespace tolvan::shell {

// The explanation of the handset setting/registration mode.
class CPageMainPsEnt : public CPageMain {
    Q_OBJECT
public:
    explicit CPageMainPsEnt(QWidget* parent = nullptr);
};

} // namespace tolvan::shell
