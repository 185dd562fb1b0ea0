// Any bytes as Tolvan.ini: the port look-up never crashes, whatever the file holds.
#include "link/settingsfile.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)tolvan::link::SettingsFile::valueIn(file, QStringLiteral("COMPORT"), QStringLiteral("name"),
                                              QStringLiteral("COM1"));
    return 0;
}
