#include "common/logline.h"

namespace tolvan {

Cp932Encoded encodeQuotedLine(const QStringList& fields) {
    QString text;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            text += QLatin1Char(',');
        }
        text += QLatin1Char('"') + fields.at(i) + QLatin1Char('"');
    }
    Cp932Encoded encoded = encodeCp932(text);
    if (encoded.ok()) {
        encoded.bytes.append("\r\n", 2);
    }
    return encoded;
}

QList<QByteArray> tokenizeLogLine(QByteArrayView line, qsizetype maxFields) {
    QList<QByteArray> fields;
    QByteArray current;
    auto flush = [&] {
        if (!current.isEmpty() && fields.size() < maxFields) {
            fields.append(current);
        }
        current.clear();
    };
    for (const char c : line) {
        if (c == ',') {
            continue;
        }
        if (c == '"') {
            flush();
            continue;
        }
        if (c == '\r' || c == '\n') {
            break;
        }
        if (fields.size() < maxFields) {
            current.append(c);
        }
    }
    flush();
    return fields;
}

LogLines splitLogLines(QByteArrayView file, qsizetype maxLines, qsizetype maxLineLength) {
    LogLines result;
    qsizetype start = 0;
    while (start < file.size()) {
        if (result.lines.size() >= maxLines) {
            result.truncated = true;
            break;
        }
        qsizetype end = file.indexOf('\n', start);
        const qsizetype next = end < 0 ? file.size() : end + 1;
        if (end < 0) {
            end = file.size();
        }
        qsizetype len = end - start;
        if (len > 0 && file[start + len - 1] == '\r') {
            --len;
        }
        if (len > maxLineLength) {
            len = maxLineLength;
            result.truncated = true;
        }
        result.lines.append(file.sliced(start, len).toByteArray());
        start = next;
    }
    return result;
}

} // namespace tolvan
