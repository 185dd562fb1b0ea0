#pragma once

#include "modes/psent/model/psentscreenvalues.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace tolvan::psent {

// Save, open and print of log file 4 as the handset setting screen offers them: every dialog and
// message goes through the dialog service, and the link is paused just before each dialog.
class LogFile4Actions {
public:
    struct Target {
        QWidget* parent = nullptr;
        std::uint32_t modelCode = 0;
        QString folder;                  // where the file dialogs start
        std::function<void()> pauseLink; // run before every dialog
    };

    // Writes the values under the chosen name (the .jv rule applied). No message on success.
    static bool save(const Target& target, const PsEntScreenValues& values);
    // The values read from the chosen file onto current, or nothing when cancelled, unreadable or
    // not for the connected model. The reader's messages are shown on the way, one box each.
    static std::optional<PsEntScreenValues> open(const Target& target, const PsEntScreenValues& current);
    // The one-page report on the printer the print dialog returns.
    static bool print(const Target& target, const PsEntScreenValues& values, const QString& customer);
};

} // namespace tolvan::psent
