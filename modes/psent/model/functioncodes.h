#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <span>

namespace tolvan::psent {

// The one table of call and key functions (codes 0-14) behind the menu slots, the function
// button and the remote keys: texts, parameter lists, the two shortened lists with their
// index <-> code maps, and how a parameter sits in the three bytes after a code.
class FunctionCodes {
public:
    static constexpr int kCount = 15;
    static constexpr int kNone = -1;

    // All fifteen texts; the index is the code.
    static const QStringList& texts();
    // Codes 0-11 and 14.
    static const QStringList& functionButtonTexts();
    // Codes 0-5, 7-12 and 14; code 12 reads "応答" here.
    static const QStringList& remoteKeyTexts();
    static int functionButtonCode(int index); // kNone off the list
    static int functionButtonIndex(int code); // kNone for a code the list leaves out
    static int remoteKeyCode(int index);
    static int remoteKeyIndex(int code);

    // The parameter list of a code; a code without one offers the single entry "なし".
    static const QStringList& parameters(int code);
    // Stored parameter <-> index into parameters(code); kNone when the list has no such entry.
    static int parameterIndex(int code, int stored);
    static int storedParameter(int code, int index);
    // What a newly picked code starts with.
    static int resetParameter(int code);

    // The three bytes after the code byte; bytes that carry no meaning for the code are 0.
    static std::array<std::uint8_t, 3> parameterBytes(int code, int stored);
    static int parameterOf(int code, std::span<const std::uint8_t, 3> bytes);

    // A number in full-width digits, as the parameter lists write them ("４８").
    static QString fullWidth(int number);
};

} // namespace tolvan::psent
