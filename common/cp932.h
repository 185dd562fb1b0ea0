#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tolvan {

// Every text file the tool reads or writes is Shift-JIS in the Windows code page 932 mapping
// (U+FF5E <-> 81 60, half-width katakana as single bytes). This module does every conversion.

struct Cp932Encoded {
    QByteArray bytes;
    // Index (in UTF-16 units) of the first character that has no code page 932 form, or -1.
    qsizetype errorIndex = -1;
    bool ok() const { return errorIndex < 0; }
};

struct Cp932Decoded {
    QString text;
    // Byte offset of the first invalid byte sequence, or -1.
    qsizetype errorOffset = -1;
    bool ok() const { return errorOffset < 0; }
};

// On failure bytes holds nothing: callers must not write a half-converted text.
Cp932Encoded encodeCp932(QStringView text);

// On failure text holds the decoding with U+FFFD for every invalid sequence, so a reader can
// still show what it got while it reports the error.
Cp932Decoded decodeCp932(QByteArrayView bytes);

// Characters that look alike and that other Japanese encodings map differently (wave dash,
// minus sign, double vertical line, em dash) are first folded to their code page 932 forms.
QString foldCp932LookAlikes(QStringView text);

} // namespace tolvan
