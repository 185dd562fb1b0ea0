#include "modes/log/model/logfile3writer.h"

#include "common/logfile/linewriter.h"

#include <QStringList>

namespace tolvan::log {
namespace {

// One line of the file with what it belongs to, for the message when it cannot be written: the
// text and whether the block puts a quote before and after it.
struct FileLine {
    QString text;
    QString owner;
    bool openQuote = true;
    bool closeQuote = true;
};

void appendBlock(QList<FileLine>& lines, const QStringList& rows, const QString& owner) {
    if (rows.size() <= 1) {
        lines.append({rows.value(0), owner});
        return;
    }
    lines.append({rows.first(), owner, true, false});
    for (qsizetype i = 1; i < rows.size(); ++i) {
        lines.append({rows.at(i), owner, false, false});
    }
    lines.append({QString(), owner, true, false});
}

} // namespace

LogFile3Text LogFile3Writer::write(const LogFile3Content& content, std::uint32_t modelCode) {
    // Header, six section names and blocks, memo; counted before anything is written.
    QList<FileLine> lines;
    for (const BufferKind kind : kAllBuffers) {
        const QString name = LogFile3Format::sectionName(kind);
        lines.append({name, name});
        appendBlock(lines, content.lists.rows(kind), name);
    }
    const bool header = !logfile::kLogFile3.headerField(modelCode).isEmpty();
    if (lines.size() + (header ? 1 : 0) + 1 > LogFile3Format::kMaxLines) {
        return {
            QByteArray(),
            errorMessage(
                QStringLiteral("%1行を超えるログファイルは書き込めません").arg(LogFile3Format::kMaxLines))};
    }
    logfile::LineWriter out(logfile::kLogFile3);
    out.header(modelCode);
    for (const FileLine& line : lines) {
        out.blockLine(line.owner, line.text, line.openQuote, line.closeQuote);
    }
    out.memo(content.memo);
    return {out.bytes(), out.error()};
}

LogFile3Text LogFile3Writer::fromBuffers(const HandsetBuffers& buffers, std::uint32_t modelCode,
                                         const QString& memo) {
    return write(LogFile3Content{LogDisplayLists::fromBuffers(buffers), memo}, modelCode);
}

} // namespace tolvan::log
