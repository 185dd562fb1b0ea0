#include "common/logfile/linetable.h"

#include "common/logline.h"

namespace tolvan::logfile {

LineTable::LineTable(QByteArrayView file, qsizetype maxLines, qsizetype maxLineBytes) {
    const qsizetype maxBytes = maxLines * (maxLineBytes + 2);
    const bool cut = file.size() > maxBytes;
    LogLines split = splitLogLines(file.first(cut ? maxBytes : file.size()), maxLines, maxLineBytes);
    m_lines = std::move(split.lines);
    m_truncated = cut || split.truncated;
}

QByteArray LineTable::line(qsizetype number) const {
    return number >= 1 && number <= m_lines.size() ? m_lines.at(number - 1) : QByteArray();
}

QList<QByteArray> LineTable::tokens(qsizetype number, qsizetype maxFields) const {
    return tokenizeLogLine(line(number), maxFields);
}

QList<QByteArray> LineTable::quotedFields(qsizetype number, qsizetype maxFields) const {
    QList<QByteArray> fields;
    for (const QByteArray& piece : line(number).split('"')) {
        if (!piece.isEmpty() && fields.size() < maxFields) {
            fields.append(piece);
        }
    }
    return fields;
}

} // namespace tolvan::logfile
