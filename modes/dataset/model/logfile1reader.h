#pragma once

#include "common/message.h"
#include "modes/dataset/model/datasetscreenvalues.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QByteArrayView>
#include <QList>

#include <cstdint>

namespace tolvan::dataset {

struct LogFile1ScreenRead {
    // False when the header is not the connected model's: values are then unchanged.
    bool loaded = false;
    DataSetScreenValues values;
    // To be shown in order, one box each.
    QList<Message> messages;
};

// Reads a log file 1 onto the data setting screen. Items are taken in the connected model's
// line order; a line whose label does not match keeps the item's current value and adds its
// message. The file's bytes are never trusted: any content is read without overrunning.
class LogFile1Reader {
public:
    static LogFile1ScreenRead read(QByteArrayView file, std::uint32_t modelCode,
                                   const DataSetScreenValues& current);
    // The screen's open followed by its write preparation, for callers without a screen
    // (tolvan-cli params write): the file is read onto the values the image shows and, when the
    // header matched, stored back into the image. The memo read is in values.memo.
    static LogFile1ScreenRead readThroughScreen(QByteArrayView file, std::uint32_t modelCode,
                                                SystemParamImage& image);
};

} // namespace tolvan::dataset
