#include "app/modes.h"

#include "modes/datasave/screen/datasavemodedialog.h"
#include "modes/dataset/screen/datasetmodedialog.h"
#include "modes/log/screen/logsetmodedialog.h"
#include "modes/psent/screen/psentmodedialog.h"
#include "modes/test/screen/ctestmodedialog.h"

namespace tolvan::app {

std::array<ModeEntry, 5> availableModes() {
    std::array<ModeEntry, 5> modes = CTolvanDlg::defaultModes();
    modes[0] = dataset::DataSetModeDialog::descriptor();
    modes[1] = testmode::CTestModeDialog::descriptor();
    modes[2] = log::LogSetModeDialog::descriptor();
    modes[3] = psent::PsEntModeDialog::descriptor();
    modes[4] = datasave::DataSaveModeDialog::descriptor();
    return modes;
}

} // namespace tolvan::app
