#pragma once

// The data setting screen on the shared mode-screen harness.

#include "modes/dataset/screen/datasetmodedialog.h"
#include "tests/support/modescreenharness.h"

namespace tolvan::dataset::testing {

class ScreenHarness : public test::ModeScreenHarness {
public:
    explicit ScreenHarness(std::uint8_t model = 3) : ModeScreenHarness(model) {}

    // Script 0 as the main menu's "データ設定モード" runs it.
    bool readAsTheMenuDoes() {
        return ModeScreenHarness::readAsTheMenuDoes(op::kReadPending, op::kReadScript);
    }
    DataSetModeDialog& openScreen() { return open<DataSetModeDialog>(); }
};

} // namespace tolvan::dataset::testing
