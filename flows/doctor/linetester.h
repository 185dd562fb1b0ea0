#pragma once

#include "flows/doctor/lineprobe.h"

#include <QIODevice>

namespace tolvan::doctor {

// Runs the line test over an open port. Tests put the virtual handset on a virtual clock in its
// place; the program runs it in real time on the event loop.
class LineTester {
public:
    virtual ~LineTester() = default;
    virtual LineTestResult run(QIODevice& port, std::int64_t lineTestMs) = 0;
};

// The line test on a real port: the event loop keeps running (a window stays responsive) until
// the probe has finished.
class DeviceLineTester : public LineTester {
public:
    LineTestResult run(QIODevice& port, std::int64_t lineTestMs) override;
};

} // namespace tolvan::doctor
