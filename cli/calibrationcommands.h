#pragma once

namespace tolvan::cli {

class CliApp;

// The test mode's commands: calibration read and write (log file 2), test and measure.
void addCalibrationCommands(CliApp& app);

} // namespace tolvan::cli
