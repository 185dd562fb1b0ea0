// Any bytes as a log file 4, read onto the handset setting screen (and printed as the screen
// prints it), into the handset setting image, and into the store as the write-back and tolvan-cli
// settings write do, for every model: nothing may crash or overrun.
#include "modes/psent/model/logfile4imagereader.h"
#include "modes/psent/model/logfile4reader.h"
#include "modes/psent/model/psentreport.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    using namespace tolvan::psent;
    for (const std::uint32_t model : {0u, 2u, 3u, 4u}) {
        const LogFile4ScreenRead screen = LogFile4Reader::read(file, model, PsEntScreenValues{});
        (void)PsEntReport::page(screen.values, model, QStringLiteral("folder"));
        (void)LogFile4ImageReader::read(file, model, HandsetSettingImage{});
        tolvan::handset::HandsetBlocks store;
        (void)LogFile4ImageReader::readIntoStore(file, model, store);
    }
    return 0;
}
