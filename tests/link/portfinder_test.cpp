#include "link/portfinder.h"

#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

DeviceInfo device(const char* name, const char* path = "") {
    return {QString::fromUtf8(name), QString::fromUtf8(path)};
}

TEST(PortFinder, FirstListedMatchingDeviceWinsWhateverTheDescriptionOrder) {
    const QList<DeviceInfo> a{device("Communications Port (COM1)"),
                              device("ZX-VA100 USB Serial Ports Driver (COM9)"),
                              device("ZX-VA150 USB Serial Ports Driver (COM7)")};
    EXPECT_EQ(findHandsetPortName(a), QStringLiteral("COM9"));
    const QList<DeviceInfo> b{device("ZX-VA150 USB Serial Ports Driver (COM7)"),
                              device("ZX-VA100 USB Serial Ports Driver (COM9)")};
    EXPECT_EQ(findHandsetPortName(b), QStringLiteral("COM7"));
    EXPECT_EQ(findHandsetPortName({device("ZX-VA1XX USB Serial Ports Driver (ttyUSB0)")}),
              QStringLiteral("ttyUSB0"));
}

TEST(PortFinder, PortNameParsing) {
    EXPECT_EQ(findHandsetPortName({device("ZX-VA150 USB Serial Ports Driver (COM12)")}),
              QStringLiteral("COM12"));
    EXPECT_EQ(nativeDevicePath(QStringLiteral("COM12")).endsWith(QStringLiteral("COM12")), true);
    // The text between the first "(" and the ")" after it.
    EXPECT_EQ(findHandsetPortName({device("ZX-VA150 USB Serial Ports Driver (pts/3) (x)")}),
              QStringLiteral("pts/3"));
    // A matching device without a parenthesised name is no port, and nothing later is tried.
    EXPECT_EQ(findHandsetPortName({device("ZX-VA150 USB Serial Ports Driver COM3"),
                                   device("ZX-VA100 USB Serial Ports Driver (COM4)")}),
              QString());
    EXPECT_EQ(findHandsetPortName({device("ZX-VA150 USB Serial Ports Driver (COM3")}), QString());
}

TEST(PortFinder, TheWholeDescriptionMustMatch) {
    // 31 of the 32 characters, or a different model number, are not a handset.
    EXPECT_EQ(findHandsetPortName({device("ZX-VA150 USB Serial Ports Drive (COM5)")}), QString());
    EXPECT_EQ(findHandsetPortName({device("ZX-VA200 USB Serial Ports Driver (COM5)")}), QString());
    EXPECT_EQ(findHandsetPortName({device("zx-va150 usb serial ports driver (COM5)")}), QString());
    EXPECT_EQ(findHandsetPortName({}), QString());
}

TEST(PortFinder, DevicePathComesFromTheListedDevice) {
    const QList<DeviceInfo> devices{device("ZX-VA150 USB Serial Ports Driver (pts/4)", "/dev/pts/4")};
    EXPECT_EQ(devicePathOf(devices, QStringLiteral("pts/4")), QStringLiteral("/dev/pts/4"));
    EXPECT_EQ(devicePathOf(devices, QString()), QString());
}

} // namespace
} // namespace tolvan::link
