#include "app/modes.h"

#ifdef TOLVAN_WITH_DATASET_SCREEN
#include "modes/dataset/datasetmodedialog.h"
#include "modes/dataset/systemparamimage.h"
#include "modes/dataset/systemparamparser.h"
#endif

#include <memory>

namespace tolvan::app {
namespace {

#ifdef TOLVAN_WITH_DATASET_SCREEN
// The system parameter image and the parser that fills it. The entry's window factory holds it,
// so it lives as long as the mode table that the main menu keeps for the whole run, and every
// table (every test) starts from an image of zeros.
struct DataSetData {
    dataset::SystemParamImage image;
    dataset::SystemParamParser parser{image};
};

void addDataSetMode(ModeEntry& entry) {
    auto data = std::make_shared<DataSetData>();
    entry.sink = &data->parser;
    entry.open = [data](shell::ModeContext& context, QWidget* parent) -> std::unique_ptr<shell::ModeScreen> {
        return std::make_unique<dataset::DataSetModeDialog>(context, data->image, parent);
    };
}
#endif

} // namespace

std::array<ModeEntry, 5> availableModes() {
    std::array<ModeEntry, 5> modes = CTolvanDlg::defaultModes();
#ifdef TOLVAN_WITH_DATASET_SCREEN
    addDataSetMode(modes[0]);
#endif
    return modes;
}

} // namespace tolvan::app
