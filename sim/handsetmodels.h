#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvan::sim {

// The three handset models: the code the model answer carries, the name the tool shows and the
// description of the USB serial driver the handset presents.
struct HandsetModel {
    std::uint8_t code;
    std::string_view name;
    std::string_view driverDescription;
};

inline constexpr HandsetModel kHandsetModels[] = {
    {2, "ZX-VA100", "ZX-VA100 USB Serial Ports Driver"},
    {3, "ZX-VA150", "ZX-VA150 USB Serial Ports Driver"},
    // The (C) variant ships with the family driver, so all three descriptions occur in practice.
    {4, "ZX-VA150(C)", "ZX-VA1XX USB Serial Ports Driver"},
};

std::optional<HandsetModel> modelByCode(std::uint8_t code);
// Exact match on the model name ("ZX-VA100", "ZX-VA150", "ZX-VA150(C)").
std::optional<HandsetModel> modelByName(std::string_view name);

} // namespace tolvan::sim
