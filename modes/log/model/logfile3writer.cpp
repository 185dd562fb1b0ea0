#include "modes/log/model/logfile3writer.h"

#include "common/cp932.h"

#include <QStringList>

namespace tolvan::log {
namespace {

constexpr QChar kQuote(u'"');

QString quoted(const QString& text) {
    return kQuote + text + kQuote;
}

// One line of the file with what it belongs to, for the message when it cannot be written.
struct FileLine {
    QString text;
    QString owner;
};

void appendBlock(QList<FileLine>& lines, const QStringList& rows, const QString& owner) {
    if (rows.isEmpty()) {
        lines.append({quoted(QString()), owner});
        return;
    }
    if (rows.size() == 1) {
        lines.append({quoted(rows.first()), owner});
        return;
    }
    lines.append({kQuote + rows.first(), owner});
    for (qsizetype i = 1; i < rows.size(); ++i) {
        lines.append({rows.at(i), owner});
    }
    lines.append({QString(kQuote), owner});
}

// Appends the line with its CR LF, or says why it cannot go into the file.
std::optional<Message> appendEncoded(const FileLine& line, QByteArray& bytes) {
    if (line.text.contains(QLatin1Char('\r')) || line.text.contains(QLatin1Char('\n'))) {
        return errorMessage(QStringLiteral("%1: 改行はログファイルに書き込めません").arg(line.owner));
    }
    const Cp932Encoded encoded = encodeCp932(line.text);
    if (!encoded.ok()) {
        const qsizetype length = line.text.at(encoded.errorIndex).isHighSurrogate() ? 2 : 1;
        return errorMessage(QStringLiteral("%1: 文字「%2」はShift-JISで書き込めません")
                                .arg(line.owner, line.text.mid(encoded.errorIndex, length)));
    }
    bytes += encoded.bytes;
    bytes += "\r\n";
    return std::nullopt;
}

} // namespace

LogFile3Text LogFile3Writer::write(const LogFile3Content& content, std::uint32_t modelCode) {
    QList<FileLine> lines;
    const QString header = LogFile3Format::headerField(modelCode);
    if (!header.isEmpty()) {
        lines.append({quoted(header), header});
    }
    for (const BufferKind kind : kAllBuffers) {
        const QString name = LogFile3Format::sectionName(kind);
        lines.append({quoted(name), name});
        appendBlock(lines, content.lists.rows(kind), name);
    }
    const QString memoOwner = QStringLiteral("メモ");
    lines.append({quoted(content.memo), memoOwner});

    if (lines.size() > LogFile3Format::kMaxLines) {
        return {
            QByteArray(),
            errorMessage(
                QStringLiteral("%1行を超えるログファイルは書き込めません").arg(LogFile3Format::kMaxLines))};
    }
    LogFile3Text out;
    for (const FileLine& line : lines) {
        if (auto error = appendEncoded(line, out.bytes)) {
            return {QByteArray(), error};
        }
    }
    return out;
}

LogFile3Text LogFile3Writer::fromBuffers(const HandsetBuffers& buffers, std::uint32_t modelCode,
                                         const QString& memo) {
    return write(LogFile3Content{LogDisplayLists::fromBuffers(buffers), memo}, modelCode);
}

} // namespace tolvan::log
