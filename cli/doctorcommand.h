#pragma once

#include "flows/doctor/connectiondoctor.h"
#include "flows/doctor/doctorreport.h"

#include <functional>
#include <memory>

namespace tolvan::cli {

class CliApp;

// What the doctor command runs on: the system's facts, the line test and the port, and what
// the report says about the program. Tests hand in their own.
struct DoctorEnvironment {
    std::unique_ptr<doctor::PlatformProbe> platform;
    std::unique_ptr<doctor::LineTester> tester;
    doctor::ConnectionDoctor::PortOpener opener;
    doctor::ReportContext context;
    std::int64_t lineTestMs = 10'000;
};

// The environment of this process: the real system, the real port, ten seconds of line test.
DoctorEnvironment systemDoctorEnvironment();

// doctor [--port DEV] [--report FILE]: one line per finding on stdout; exit status 0 when the
// line test says good, 1 otherwise, 3 when the report cannot be written.
void addDoctorCommand(CliApp& app, std::function<DoctorEnvironment()> environment = systemDoctorEnvironment);

} // namespace tolvan::cli
