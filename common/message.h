#pragma once

#include <QString>

namespace tolvan {

// A message for the technician: Tolvan shows it in a message box (exclamation icon), tolvan-cli
// prints it on stderr as "TITLE: TEXT".
struct Message {
    QString title;
    QString text;

    bool operator==(const Message&) const = default;
};

// "エラー", the title of every error the program shows.
QString errorTitle();
// An error titled "エラー".
Message errorMessage(const QString& text);

} // namespace tolvan
