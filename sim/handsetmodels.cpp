#include "sim/handsetmodels.h"

namespace tolvan::sim {

std::optional<HandsetModel> modelByCode(std::uint8_t code) {
    for (const HandsetModel& model : kHandsetModels) {
        if (model.code == code) {
            return model;
        }
    }
    return std::nullopt;
}

std::optional<HandsetModel> modelByName(std::string_view name) {
    for (const HandsetModel& model : kHandsetModels) {
        if (model.name == name) {
            return model;
        }
    }
    return std::nullopt;
}

} // namespace tolvan::sim
