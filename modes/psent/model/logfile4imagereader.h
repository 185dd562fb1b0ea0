#pragma once

#include "modes/psent/model/handsetsettingimage.h"

#include "common/message.h"
#include "handset/handsetstore.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan::psent {

struct LogFile4ImageRead {
    bool loaded = false; // false: the header is not the connected model's, image unchanged
    HandsetSettingImage image;
    QString memo; // the memo line, when the model has one
    QList<Message> messages;
    // Labels (trimmed) of the lines that did not read: the image keeps what it held for them.
    QStringList unread;
};

// Reads a log file 4 straight into the handset setting image, as the data save write-back and
// tolvan-cli do: each value goes to the bytes the screen would store it in, so a following write
// sends it. A value no entry matches leaves its bytes, and the receive volume line sets only the
// copy the screen shows (0x1102 D11), not the one in 0x110A.
class LogFile4ImageReader {
public:
    static LogFile4ImageRead read(QByteArrayView file, std::uint32_t modelCode,
                                  const HandsetSettingImage& current);
    // The same into the store's blocks; nothing is stored unless the header matched.
    static LogFile4ImageRead readIntoStore(QByteArrayView file, std::uint32_t modelCode,
                                           handset::HandsetBlocks& store);
};

} // namespace tolvan::psent
