#pragma once

// Expected file bytes made with glibc's iconv, independent of the tool's own codec.

#include <QByteArray>

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tolvan::dataset::testing {

inline QByteArray cp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv has no CP932");
    }
    std::string in = utf8;
    std::vector<char> out(in.size() * 2 + 16);
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) {
        throw std::runtime_error("iconv could not convert: " + utf8);
    }
    return QByteArray(out.data(), static_cast<qsizetype>(out.size() - outLeft));
}

// Lines joined with CR LF after each, as the file holds them.
inline QByteArray cp932Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return cp932(text);
}

} // namespace tolvan::dataset::testing
