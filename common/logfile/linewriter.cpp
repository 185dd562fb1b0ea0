#include "common/logfile/linewriter.h"

#include "common/cp932.h"

namespace tolvan::logfile {
namespace {

constexpr QChar kQuote(u'"');

QString quoted(const QString& text) {
    return kQuote + text + kQuote;
}

} // namespace

bool LineWriter::header(std::uint32_t modelCode) {
    const QString field = m_kind.headerField(modelCode);
    return field.isEmpty() || fields(field, {field});
}

bool LineWriter::fields(const QString& what, const QStringList& fields) {
    QString line;
    for (const QString& field : fields) {
        if (!check(what, field, Quotes::Refused)) {
            return false;
        }
        if (!line.isEmpty()) {
            line += QLatin1Char(',');
        }
        line += quoted(field);
    }
    return append(what, line);
}

bool LineWriter::labelled(const QString& label, const QStringList& values) {
    return fields(label.trimmed(), QStringList{label} + values);
}

bool LineWriter::memo(const QString& memo) {
    const QString what = QStringLiteral("メモ");
    return check(what, memo, m_kind.memoMayHoldQuote() ? Quotes::Allowed : Quotes::Refused) &&
           append(what, quoted(memo));
}

bool LineWriter::blockLine(const QString& what, const QString& text, bool openQuote, bool closeQuote) {
    if (!check(what, text, Quotes::Refused)) {
        return false;
    }
    return append(what, (openQuote ? QString(kQuote) : QString()) + text +
                            (closeQuote ? QString(kQuote) : QString()));
}

bool LineWriter::check(const QString& what, const QString& text, Quotes quotes) {
    if (!ok()) {
        return false;
    }
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) {
        return fail(QStringLiteral("%1: 改行はログファイルに書き込めません").arg(what));
    }
    if (quotes == Quotes::Refused && text.contains(kQuote)) {
        return fail(QStringLiteral("%1: 改行や「\"」はログファイルに書き込めません").arg(what));
    }
    return true;
}

bool LineWriter::append(const QString& what, const QString& line) {
    if (!ok()) {
        return false;
    }
    const Cp932Encoded encoded = encodeCp932(line);
    if (!encoded.ok()) {
        // Name the character, not where it stands; a pair of surrogates is one character.
        const qsizetype at = encoded.errorIndex;
        const bool pair =
            line.at(at).isHighSurrogate() && at + 1 < line.size() && line.at(at + 1).isLowSurrogate();
        return fail(QStringLiteral("%1: 文字「%2」はShift-JISで書き込めません")
                        .arg(what, line.mid(at, pair ? 2 : 1)));
    }
    m_bytes += encoded.bytes;
    m_bytes += "\r\n";
    return true;
}

bool LineWriter::fail(const QString& text) {
    m_error = errorMessage(text);
    m_bytes.clear();
    return false;
}

} // namespace tolvan::logfile
