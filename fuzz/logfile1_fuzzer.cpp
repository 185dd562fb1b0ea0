// Any bytes as a log file 1, read as the screen opens it and as the write-back loads it, for
// every model: nothing may crash or overrun, whatever the file holds.
#include "modes/dataset/model/datasetscreenvalues.h"
#include "modes/dataset/model/logfile1imagereader.h"
#include "modes/dataset/model/logfile1reader.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    using namespace tolvan::dataset;
    for (const std::uint32_t model : {0u, 2u, 3u, 4u}) {
        (void)LogFile1Reader::read(file, model, DataSetScreenValues{});
        SystemParamImage image;
        (void)LogFile1Reader::readThroughScreen(file, model, image);
        (void)LogFile1ImageReader::read(file, model, SystemParamImage{});
    }
    return 0;
}
