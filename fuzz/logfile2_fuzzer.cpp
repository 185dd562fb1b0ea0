// Any bytes as a log file 2, read onto the test mode screen's fields (and printed as the screen
// prints them) and, as tolvan-cli calibration write does, over the fields of the store and on
// into the two correction writes, for every model: nothing may crash or overrun.
#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/calibrationwrites.h"
#include "modes/test/model/logfile2reader.h"
#include "modes/test/model/logfile2report.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    using namespace tolvan::testmode;
    for (const std::uint32_t model : {0u, 2u, 3u, 4u}) {
        const LogFile2Read screen = LogFile2Reader::read(file, model, CalibrationFields{}, QString());
        (void)LogFile2Report::page(screen.fields, model, QStringLiteral("folder"), screen.memo);

        tolvan::handset::HandsetBlocks store;
        tolvan::link::RequestBuffers buffers;
        const LogFile2Read read = LogFile2Reader::read(
            file, model, CalibrationCodec::fieldsOf(CalibrationImage::fromStore(store)), QString());
        for (const CorrectionWrite write : {CorrectionWrite::Rssi, CorrectionWrite::AmpBias}) {
            (void)CalibrationWrites::prepare(write, read.fields, store, buffers);
        }
    }
    return 0;
}
