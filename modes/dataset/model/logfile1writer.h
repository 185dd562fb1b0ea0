#pragma once

#include "modes/dataset/model/datasetscreenvalues.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace tolvan::dataset {

struct LogFile1Text {
    QByteArray bytes; // the whole file, code page 932, CR LF after every line; empty on failure
    QString error;    // why it could not be written: a character code page 932 cannot carry
    bool ok() const { return error.isEmpty(); }
};

// Builds the bytes of a log file 1. The screen form writes what the data setting screen shows;
// the image form (data save mode, tolvan-cli) writes the system parameter image directly.
class LogFile1Writer {
public:
    static LogFile1Text fromScreen(const DataSetScreenValues& values, std::uint32_t modelCode);
    static LogFile1Text fromImage(const SystemParamImage& image, std::uint32_t modelCode,
                                  const QString& memo);
};

} // namespace tolvan::dataset
