#pragma once

#include "modes/dataset/model/datasetscreenvalues.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace tolvan::dataset {

// Save, open and print of log file 1 as the data setting screen offers them: every dialog and
// message goes through the dialog service, and the link is paused just before each dialog.
class LogFile1Actions {
public:
    struct Target {
        QWidget* parent = nullptr;
        std::uint32_t modelCode = 0;
        QString folder;                  // where the file dialogs start
        std::function<void()> pauseLink; // run before every dialog
    };

    // Writes the values under the chosen name (the .jv rule applied). No message on success.
    static void save(const Target& target, const DataSetScreenValues& values);
    // The values read from the chosen file onto current, or nothing when cancelled, unreadable or
    // not for the connected model. The reader's messages are shown on the way.
    static std::optional<DataSetScreenValues> open(const Target& target, const DataSetScreenValues& current);
    // Prints the one-page report on the printer the print dialog returns.
    static void print(const Target& target, const DataSetScreenValues& values, const QString& logFolderName);
};

} // namespace tolvan::dataset
