#pragma once

#include "app/shell/cpagemain.h"

namespace tolvan::shell {

// The explanation of the log display mode.
class CPageMainLog : public CPageMain {
    Q_OBJECT
public:
    explicit CPageMainLog(QWidget* parent = nullptr);
};

} // namespace tolvan::shell
