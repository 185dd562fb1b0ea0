#pragma once

#include "modes/dataset/model/datasetscreenvalues.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>

namespace tolvan::dataset {

// Between the system parameter image and what the data setting screen shows.
class DataSetCodec {
public:
    // Screen values after a read. The memo is not in the image: it is taken from memo.
    static DataSetScreenValues decode(const SystemParamImage& image, std::uint32_t modelCode,
                                      const QString& memo);
    // Stores the screen values into the image before a write. Bytes and bits no control owns
    // keep what the last read put there.
    static void encode(const DataSetScreenValues& values, std::uint32_t modelCode, SystemParamImage& image);

    // What the no-data and unplugged views show: every box and selector emptied except the
    // PS-ID boxes, the accessory detection, receive-gain and the hidden seamless selectors.
    static DataSetScreenValues noDataView(const DataSetScreenValues& current);

    // Nine digit boxes as a number: each box read as C's atoi (an empty box is 0), weighted by
    // its place. Wider than 32 bits so a box holding more than one digit cannot wrap.
    static std::int64_t digitRowValue(const std::array<QString, 9>& boxes);
    // A value as nine digit texts, most significant first.
    static std::array<QString, 9> digitRow(std::uint32_t value);
    // The two characters "%02d" gives for a version byte (the first two for values above 99).
    static std::array<QString, 2> versionDigits(std::uint8_t value);
};

// C's atoi: leading white space, an optional sign, digits up to the first other character;
// 0 when there are none. Saturates instead of overflowing.
int atoiLike(QByteArrayView text);
int atoiLike(const QString& text);

} // namespace tolvan::dataset
