#include "modes/dataset/loglinetable.h"

#include "modes/dataset/logfile1format.h"

#include "common/logline.h"

namespace tolvan::dataset {
namespace {

// Like the common tokenizer, but commas stay part of the fields.
QList<QByteArray> splitAtQuotes(QByteArrayView line, qsizetype maxFields) {
    QList<QByteArray> fields;
    for (const QByteArray& piece : line.toByteArray().split('"')) {
        if (!piece.isEmpty() && fields.size() < maxFields) {
            fields.append(piece);
        }
    }
    return fields;
}

} // namespace

LogLineTable::LogLineTable(QByteArrayView file) {
    const bool cut = file.size() > LogFile1Format::kMaxFileBytes;
    LogLines split = splitLogLines(file.first(cut ? LogFile1Format::kMaxFileBytes : file.size()),
                                   LogFile1Format::kMaxLines, LogFile1Format::kMaxLineBytes);
    m_lines = std::move(split.lines);
    m_truncated = cut || split.truncated;
}

QByteArray LogLineTable::line(int number) const {
    return number >= 1 && number <= m_lines.size() ? m_lines.at(number - 1) : QByteArray();
}

QList<QByteArray> LogLineTable::tokens(int number) const {
    const QByteArray text = line(number);
    if (number > LogFile1Format::kCommaFreeLines) {
        return splitAtQuotes(text, LogFile1Format::kMaxFields);
    }
    return tokenizeLogLine(text, LogFile1Format::kMaxFields);
}

bool LogLineTable::headerMatches(std::uint32_t modelCode) const {
    const QString field = LogFile1Format::headerField(modelCode);
    if (field.isEmpty()) {
        return true;
    }
    return line(1) == encodeCp932(QLatin1Char('"') + field + QLatin1Char('"')).bytes;
}

bool LogLineTable::forEachItem(std::uint32_t modelCode, QList<DataSetMessage>& messages,
                               const std::function<void(LogItem, const QList<QByteArray>&)>& read) const {
    if (!headerMatches(modelCode)) {
        messages.append(LogFile1Format::headerMismatch(modelCode));
        return false;
    }
    const std::vector<LogItem> order = LogFile1Format::lineOrder(modelCode);
    for (std::size_t i = 0; i < order.size(); ++i) {
        read(order[i], tokens(static_cast<int>(i) + 2));
    }
    return true;
}

} // namespace tolvan::dataset
