#pragma once

#include "common/message.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <cstdint>

namespace tolvan::dataset {

struct LogFile1ImageRead {
    bool loaded = false; // false: the header is not the connected model's, image unchanged
    SystemParamImage image;
    QList<Message> messages;
    // Labels (trimmed) of the lines that did not read: the image keeps what it held for them.
    QStringList unread;
};

// Reads a log file 1 straight into the system parameter image, as the data save mode's
// write-back and tolvan-cli do. Numbers are stored without range checks.
class LogFile1ImageReader {
public:
    enum class Lines {
        // What a write-back uses: version, PS-ID, fault monitoring code and memo lines are not
        // used, and the image keeps what it holds for them.
        WriteBack,
        // Every line but the memo, for comparing a file with a handset or another file.
        Handset,
    };
    static LogFile1ImageRead read(QByteArrayView file, std::uint32_t modelCode,
                                  const SystemParamImage& current, Lines lines = Lines::WriteBack);
};

} // namespace tolvan::dataset
