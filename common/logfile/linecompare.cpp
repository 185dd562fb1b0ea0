#include "common/logfile/linecompare.h"

#include "common/cp932.h"

#include <QStringList>

namespace tolvan::logfile {
namespace {

// The fields of every line after the header, as written: the writers quote each field and join
// them with single commas, and no compared line holds a quote or a comma of its own.
QList<QStringList> fieldsOfLines(const QByteArray& file) {
    QList<QStringList> lines;
    const QList<QByteArray> raw = file.split('\n');
    for (qsizetype i = 1; i < raw.size(); ++i) {
        QString line = decodeCp932(raw[i]).text;
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        if (line.size() >= 2) {
            lines.append(line.mid(1, line.size() - 2).split(QStringLiteral("\",\"")));
        } else if (i + 1 < raw.size()) {
            lines.append(QStringList());
        }
    }
    return lines;
}

// The values after the label, joined by spaces; a slider line's empty field is no value.
QString valueOf(const QStringList& fields) {
    QStringList values = fields.mid(1);
    values.removeAll(QString());
    return values.join(QLatin1Char(' '));
}

} // namespace

QString unreadValue() {
    return QStringLiteral("読み出しエラー");
}

QList<LineDifference> compareWrittenLines(const QByteArray& first, const QByteArray& second,
                                          const std::vector<bool>& compared, const QStringList& unread) {
    const QList<QStringList> firstLines = fieldsOfLines(first);
    const QList<QStringList> secondLines = fieldsOfLines(second);
    QList<LineDifference> differences;
    for (std::size_t i = 0; i < compared.size(); ++i) {
        if (!compared[i]) {
            continue;
        }
        const QStringList one = firstLines.value(static_cast<qsizetype>(i));
        const QStringList other = secondLines.value(static_cast<qsizetype>(i));
        const QString label = one.value(0).trimmed();
        if (unread.contains(label)) {
            differences.append({label, unreadValue(), valueOf(other)});
        } else if (one != other) {
            differences.append({label, valueOf(one), valueOf(other)});
        }
    }
    return differences;
}

} // namespace tolvan::logfile
