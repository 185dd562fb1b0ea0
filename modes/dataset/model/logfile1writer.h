#pragma once

#include "modes/dataset/model/datasetscreenvalues.h"
#include "modes/dataset/model/systemparamimage.h"

#include "common/logfile/linewriter.h"

#include <QString>

#include <cstdint>

namespace tolvan::dataset {

using LogFile1Text = logfile::FileText;

// Builds the bytes of a log file 1. The screen form writes what the data setting screen shows;
// the image form (data save mode, tolvan-cli) writes the system parameter image directly.
class LogFile1Writer {
public:
    static LogFile1Text fromScreen(const DataSetScreenValues& values, std::uint32_t modelCode);
    static LogFile1Text fromImage(const SystemParamImage& image, std::uint32_t modelCode,
                                  const QString& memo);
};

} // namespace tolvan::dataset
