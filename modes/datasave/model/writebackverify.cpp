#include "modes/datasave/model/writebackverify.h"

#include "common/cp932.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4writer.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace tolvan::datasave {
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

void compareLines(const QList<QStringList>& expected, const QList<QStringList>& handset,
                  const std::vector<bool>& compared, QList<WriteBackDifference>& out) {
    for (std::size_t i = 0; i < compared.size(); ++i) {
        if (!compared[i]) {
            continue;
        }
        const QStringList want = expected.value(static_cast<qsizetype>(i));
        const QStringList got = handset.value(static_cast<qsizetype>(i));
        if (want != got) {
            out.append({want.value(0).trimmed(), valueOf(want), valueOf(got)});
        }
    }
}

std::vector<bool> comparedLogFile1Lines(std::uint32_t modelCode) {
    using namespace dataset;
    std::vector<bool> compared;
    for (const LogItem item : LogFile1Format::lineOrder(modelCode)) {
        compared.push_back(item != ItemVersion && item != ItemPsId && item != ItemRxGain &&
                           item != ItemFaultCode && item != ItemMemo);
    }
    return compared;
}

std::vector<bool> comparedLogFile4Lines(std::uint32_t modelCode) {
    std::vector<bool> compared;
    for (const psent::Log4Line line : psent::LogFile4Format::lineOrder(modelCode)) {
        compared.push_back(line != psent::Log4Line::Memo);
    }
    return compared;
}

} // namespace

QList<WriteBackDifference> compareWriteBack(const handset::HandsetStore& expected,
                                            const handset::HandsetStore& handset, std::uint32_t modelCode,
                                            WrittenFiles written) {
    QList<WriteBackDifference> differences;
    if (written.jv1) {
        auto jv1 = [&](const handset::HandsetStore& store) {
            return fieldsOfLines(
                dataset::LogFile1Writer::fromImage(dataset::SystemParamImage::fromStore(store), modelCode, {})
                    .bytes);
        };
        compareLines(jv1(expected), jv1(handset), comparedLogFile1Lines(modelCode), differences);
    }
    if (written.jv4) {
        auto jv4 = [&](const handset::HandsetStore& store) {
            return fieldsOfLines(psent::LogFile4Writer::fromStore(store, modelCode, {}).bytes);
        };
        compareLines(jv4(expected), jv4(handset), comparedLogFile4Lines(modelCode), differences);
    }
    return differences;
}

} // namespace tolvan::datasave
