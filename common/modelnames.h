#pragma once

#include <cstdint>

namespace tolvan {

// Handset model codes from the model answer.
inline constexpr std::uint32_t kModelVa100 = 2;
inline constexpr std::uint32_t kModelVa150 = 3;
inline constexpr std::uint32_t kModelVa150C = 4;

// The name the tool shows for a model code: "ZX-VA100", "ZX-VA150" or "ZX-VA150(C)"; empty for
// any other code.
constexpr const char* modelNameOf(std::uint32_t modelCode) {
    switch (modelCode) {
    case kModelVa100:
        return "ZX-VA100";
    case kModelVa150:
        return "ZX-VA150";
    case kModelVa150C:
        return "ZX-VA150(C)";
    default:
        return "";
    }
}

} // namespace tolvan
