#pragma once

#include <QString>

namespace tolvan::dataset {

// A message the screen shows in a box (exclamation icon) and tolvan-cli prints as TITLE: TEXT.
struct DataSetMessage {
    QString title;
    QString text;
    bool operator==(const DataSetMessage&) const = default;
};

} // namespace tolvan::dataset
