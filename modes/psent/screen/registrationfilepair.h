#pragma once

#include "common/message.h"
#include "handset/handsetstore.h"

#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

namespace tolvan::psent {

// The file pair saved after a registration: the save dialog (.jv1 and .jv4 offered, no default
// extension) and the two files written from the store as the registered handset's read left it.
class RegistrationFilePair {
public:
    // The chosen name, or nothing when the dialog was cancelled. A "いいえ" to replacing the
    // pair's files that exist opens the dialog again for another name.
    static std::optional<QString> choose(QWidget* parent, const QString& folder);
    // The pair was not written because the registered handset could not be read: says so, with
    // the two file names, before the technician swaps the handset.
    static Message notSaved(const QString& chosen);
    // base.jv1 (system parameters) and base.jv4 (handset settings), base being the chosen name
    // without its first ".jv" and the character after it; both or neither are replaced.
    static std::optional<Message> write(const QString& chosen, const handset::HandsetBlocks& store,
                                        std::uint32_t modelCode, const QString& memo);
};

} // namespace tolvan::psent
