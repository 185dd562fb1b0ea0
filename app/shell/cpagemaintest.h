#pragma once

#include "app/shell/cpagemain.h"

namespace tolvan::shell {

// The explanation of the test mode.
class CPageMainTest : public CPageMain {
    Q_OBJECT
public:
    explicit CPageMainTest(QWidget* parent = nullptr);
};

} // namespace tolvan::shell
