#include "common/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tolvan {
namespace {

constexpr const char* kCodecName = "CP932";

QByteArray encodeStrict(QStringView text, bool& ok) {
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    if (!encoder.isValid()) {
        ok = false;
        return {};
    }
    QByteArray out = encoder.encode(text);
    ok = !encoder.hasError();
    return out;
}

} // namespace

QString foldCp932LookAlikes(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out) {
        switch (c.unicode()) {
        case 0x301C: // WAVE DASH
            c = QChar(0xFF5E);
            break;
        case 0x2212: // MINUS SIGN
            c = QChar(0xFF0D);
            break;
        case 0x2016: // DOUBLE VERTICAL LINE
            c = QChar(0x2225);
            break;
        case 0x2014: // EM DASH
            c = QChar(0x2015);
            break;
        default:
            break;
        }
    }
    return out;
}

Cp932Encoded encodeCp932(QStringView text) {
    const QString folded = foldCp932LookAlikes(text);
    Cp932Encoded result;
    bool ok = false;
    result.bytes = encodeStrict(folded, ok);
    if (ok) {
        return result;
    }
    // Find the first character (surrogate pairs kept whole) that does not convert.
    result.bytes.clear();
    result.errorIndex = 0;
    for (qsizetype i = 0; i < folded.size();) {
        const qsizetype len = (folded.at(i).isHighSurrogate() && i + 1 < folded.size()) ? 2 : 1;
        bool charOk = false;
        encodeStrict(QStringView(folded).mid(i, len), charOk);
        if (!charOk) {
            result.errorIndex = i;
            break;
        }
        i += len;
    }
    return result;
}

Cp932Decoded decodeCp932(QByteArrayView bytes) {
    Cp932Decoded result;
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        result.errorOffset = 0;
        return result;
    }
    result.text = decoder.decode(bytes);
    if (!decoder.hasError()) {
        return result;
    }
    // Locate the first bad sequence, stepping by characters: code page 932 lead bytes are
    // 81-9F and E0-FC, every other byte stands alone.
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        const qsizetype len = (lead && i + 1 < bytes.size()) ? 2 : 1;
        QStringDecoder one(kCodecName, QStringConverter::Flag::Stateless);
        const QString piece = one.decode(bytes.sliced(i, len)); // decoding happens on conversion
        Q_UNUSED(piece)
        if (one.hasError() || (lead && len == 1)) {
            result.errorOffset = i;
            break;
        }
        i += len;
    }
    if (result.errorOffset < 0) {
        result.errorOffset = bytes.size();
    }
    // Keep the decoder's whole text with the invalid parts replaced for display.
    result.text.replace(QChar(0x001A), QChar(0xFFFD));
    return result;
}

} // namespace tolvan
