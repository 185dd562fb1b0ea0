#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tolvan::psent {

// The text the registration screen's error box shows for a failure report: the cause code's
// text, with the detail byte as two upper-case hexadecimal digits where the text takes it, or
// the detail's own text for causes whose text depends on it. Nothing for a cause the table does
// not know or a detail outside its cause's range: the report is then a content error.
std::optional<QString> registrationCauseText(std::uint8_t cause, std::uint8_t detail);

} // namespace tolvan::psent
