#pragma once

#include "common/message.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QByteArrayView>
#include <QList>

#include <cstdint>

namespace tolvan::dataset {

struct LogFile1ImageRead {
    bool loaded = false; // false: the header is not the connected model's, image unchanged
    SystemParamImage image;
    QList<Message> messages;
};

// Reads a log file 1 straight into the system parameter image, as the data save mode's
// write-back and tolvan-cli do. Version, PS-ID, fault monitoring code and memo lines are not
// used: the image keeps what it holds. Numbers are stored without range checks.
class LogFile1ImageReader {
public:
    static LogFile1ImageRead read(QByteArrayView file, std::uint32_t modelCode,
                                  const SystemParamImage& current);
};

} // namespace tolvan::dataset
