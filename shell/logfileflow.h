#pragma once

#include "common/logfile/logfilekind.h"
#include "common/message.h"
#include "common/reportpage.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

class QWidget;

namespace tolvan::shell {

// The open, save and print flow every mode repeats for its log file, written once: the link is
// paused before each dialog, the ".jv" name rule applied, files read bounded and written
// atomically, and every message shown through the dialog service.
class LogFileFlow {
public:
    struct Target {
        QWidget* parent = nullptr;
        QString folder;                             // where the file dialogs start (the model's log folder)
        const logfile::LogFileKind* kind = nullptr; // its filter, extension and bound
        std::function<void()> pauseLink;            // run before every dialog
    };
    // The file's bytes, or the message that says why there are none.
    using Contents = std::variant<QByteArray, Message>;

    // Save as: the chosen name under the name rule, the bytes written only when complete. No
    // message on success; false when cancelled or failed.
    static bool save(const Target& target, const std::function<Contents()>& contents);
    // Open: the chosen file, bounded as its kind is (+1 so a reader sees it was longer). A missing
    // file says so and asks again, as often as it takes; nothing when cancelled or unreadable.
    static std::optional<logfile::LoadedFile> open(const Target& target);
    // Open, then the mode's reader over the bytes; each message it returns is shown, one box
    // each. False when cancelled or unreadable (the reader is not called).
    using Reader = std::function<QList<Message>(const QByteArray& bytes)>;
    static bool open(const Target& target, const Reader& read);
    // The same for a reader whose result carries its messages: the result, once they are shown
    // (so a screen takes the values after the boxes, as it always did); nothing when cancelled.
    template <typename Read>
    static std::optional<Read> read(const Target& target,
                                    const std::function<Read(const QByteArray&)>& reader) {
        std::optional<Read> result;
        open(target, [&](const QByteArray& bytes) {
            result = reader(bytes);
            return result->messages;
        });
        return result;
    }
    // Print: the pages on the printer the print dialog returns.
    static bool print(const Target& target, const std::function<QList<ReportPage>()>& pages);
};

} // namespace tolvan::shell
