#include "modes/test/model/calibrationwrites.h"

#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationframes.h"
#include "modes/test/model/testoperations.h"

namespace tolvan::testmode {

CalibrationWrites::Prepared CalibrationWrites::prepare(CorrectionWrite write, const CalibrationFields& fields,
                                                       handset::HandsetBlocks& store,
                                                       link::RequestBuffers& buffers) {
    Prepared prepared;
    CalibrationImage image = CalibrationImage::fromStore(store);
    if (write == CorrectionWrite::Rssi) {
        prepared.script = op::kRssiWriteScript;
        prepared.code = 0x0003;
        prepared.message = CalibrationCodec::takeRssi(fields, image);
    } else {
        prepared.script = op::kAmpWriteScript;
        prepared.code = 0x0005;
        prepared.message = CalibrationCodec::takeAmp(fields, image);
    }
    image.storeInto(store);
    prepared.ready = CalibrationFrames::fillRequestBuffer(prepared.code, image, buffers);
    return prepared;
}

} // namespace tolvan::testmode
