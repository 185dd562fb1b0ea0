#include "modes/log/model/logfile3reader.h"

#include "common/cp932.h"
#include "common/logfile/linetable.h"
#include "common/logfile/logfilekind.h"

#include <array>

namespace tolvan::log {
namespace {

// Line i (0 = the first) of the table.
QByteArray lineAt(const logfile::LineTable& table, qsizetype i) {
    return table.line(i + 1);
}

// The last line equal to each section's header, 0 when there is none.
std::array<qsizetype, kBufferCount> findSections(const logfile::LineTable& table) {
    std::array<QByteArray, kBufferCount> headers;
    for (const BufferKind kind : kAllBuffers) {
        headers[indexOf(kind)] =
            encodeCp932(QLatin1Char('"') + LogFile3Format::sectionName(kind) + QLatin1Char('"')).bytes;
    }
    std::array<qsizetype, kBufferCount> at{};
    for (qsizetype i = 0; i < table.lineCount(); ++i) {
        const QByteArray line = lineAt(table, i);
        for (std::size_t k = 0; k < kBufferCount; ++k) {
            if (line == headers[k]) {
                at[k] = i;
            }
        }
    }
    return at;
}

// Each header at least two lines after the one before (every section has a line), and at least
// one line after the last header besides the memo's.
bool structureHolds(const std::array<qsizetype, kBufferCount>& at, qsizetype lineCount) {
    for (std::size_t k = 1; k < kBufferCount; ++k) {
        if (at[k] < at[k - 1] + 2) {
            return false;
        }
    }
    return lineCount >= at[kBufferCount - 1] + 2;
}

QStringList sectionRows(const logfile::LineTable& table, qsizetype header, qsizetype end) {
    QStringList rows;
    for (qsizetype i = header + 1; i < end; ++i) {
        QByteArray line = lineAt(table, i);
        line.replace('"', QByteArray());
        if (!line.isEmpty()) {
            rows.append(decodeCp932(line).text);
        }
    }
    return rows;
}

QString memoOf(const QByteArray& lastLine) {
    qsizetype start = 0;
    while (start < lastLine.size() && lastLine.at(start) == '"') {
        ++start;
    }
    qsizetype end = lastLine.indexOf('"', start);
    if (end < 0) {
        end = lastLine.size();
    }
    return decodeCp932(QByteArrayView(lastLine).sliced(start, end - start)).text;
}

} // namespace

LogFile3Read LogFile3Reader::read(QByteArrayView file, std::uint32_t modelCode) {
    LogFile3Read result;
    const logfile::LineTable table = logfile::kLogFile3.lines(file);
    if (!logfile::kLogFile3.headerMatches(table.line(1), modelCode)) {
        result.status = LogFile3Read::Status::WrongModel;
        result.message = logfile::kLogFile3.modelMismatch(modelCode);
        return result;
    }
    const qsizetype lineCount = table.lineCount();
    const std::array<qsizetype, kBufferCount> at = findSections(table);
    if (!structureHolds(at, lineCount)) {
        result.status = LogFile3Read::Status::BadStructure;
        return result;
    }
    for (std::size_t k = 0; k < kBufferCount; ++k) {
        // The last section ends before the memo line.
        const qsizetype end = k + 1 < kBufferCount ? at[k + 1] : lineCount - 1;
        result.content.lists.setRows(kAllBuffers[k], sectionRows(table, at[k], end));
    }
    result.content.memo = memoOf(lineAt(table, lineCount - 1));
    result.status = LogFile3Read::Status::Loaded;
    return result;
}

} // namespace tolvan::log
