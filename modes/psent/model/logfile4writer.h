#pragma once

#include "modes/psent/model/handsetsettingimage.h"
#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/psentscreenvalues.h"

#include "common/logfile/linewriter.h"
#include "handset/handsetstore.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan::psent {

using LogFile4Text = logfile::FileText;

// Builds the bytes of a log file 4: from what the handset setting screen shows, or straight from
// the store (data save, registration, tolvan-cli). Both write the same lines. Without a known
// model the file is empty.
class LogFile4Writer {
public:
    static LogFile4Text fromScreen(const PsEntScreenValues& values, std::uint32_t modelCode);
    static LogFile4Text fromImage(const HandsetSettingImage& image, std::uint32_t modelCode,
                                  const QString& memo);
    static LogFile4Text fromStore(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                  const QString& memo);

    // The fields of a line after its label (the memo line: the memo alone), as the screen shows them.
    static QStringList fields(const PsEntScreenValues& values, Log4Line line);
};

} // namespace tolvan::psent
