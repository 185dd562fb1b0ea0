#include "modes/dataset/model/loglinetable.h"

#include "modes/dataset/model/logfile1format.h"

namespace tolvan::dataset {

LogLineTable::LogLineTable(QByteArrayView file) : m_table(logfile::kLogFile1.lines(file)) {}

QByteArray LogLineTable::line(int number) const {
    return m_table.line(number);
}

QList<QByteArray> LogLineTable::tokens(int number) const {
    if (number > LogFile1Format::kCommaFreeLines) {
        return m_table.quotedFields(number, logfile::kLogFile1.maxFields());
    }
    return m_table.tokens(number, logfile::kLogFile1.maxFields());
}

bool LogLineTable::headerMatches(std::uint32_t modelCode) const {
    return logfile::kLogFile1.headerMatches(line(1), modelCode);
}

bool LogLineTable::forEachItem(std::uint32_t modelCode, QList<Message>& messages,
                               const std::function<void(LogItem, const QList<QByteArray>&)>& read) const {
    if (!headerMatches(modelCode)) {
        messages.append(logfile::kLogFile1.modelMismatch(modelCode).value_or(Message{}));
        return false;
    }
    const std::vector<LogItem> order = LogFile1Format::lineOrder(modelCode);
    for (std::size_t i = 0; i < order.size(); ++i) {
        read(order[i], tokens(static_cast<int>(i) + 2));
    }
    return true;
}

} // namespace tolvan::dataset
