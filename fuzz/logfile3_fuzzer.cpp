// Any bytes as a log file 3, read into the log display's six lists and memo as the screen and
// the data save mode open it, and printed as the screen and tolvan-cli print do, for every
// model: nothing may crash or overrun. (A log file 3 never goes back into a handset, so there is
// no store to read it into.)
#include "modes/log/model/logfile3reader.h"
#include "modes/log/model/logreport.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    using namespace tolvan::log;
    for (const std::uint32_t model : {0u, 2u, 3u, 4u}) {
        const LogFile3Read read = LogFile3Reader::read(file, model);
        if (read.loaded()) {
            (void)LogReport::page(read.content.lists, model, QStringLiteral("folder"), read.content.memo);
        }
    }
    return 0;
}
