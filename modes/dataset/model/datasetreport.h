#pragma once

#include "modes/dataset/model/datasetscreenvalues.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan::dataset {

// The printed report of the data setting screen: 16 lines for a ZX-VA150, 29 for a
// ZX-VA150(C), 30 for a ZX-VA100 (an unknown model gets the ZX-VA150 lines). Tabs stand for the
// printer's default tab stops; the shared renderer expands them.
class DataSetReport {
public:
    static QStringList lines(const DataSetScreenValues& values, std::uint32_t modelCode,
                             const QString& logFolderName);
};

} // namespace tolvan::dataset
