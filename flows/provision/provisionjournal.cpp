#include "flows/provision/provisionjournal.h"

#include "common/logfile/filereason.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>

namespace tolvan::provision {
namespace {

constexpr std::array kStepNames = {"read",   "model",    "skip", "backup", "write",
                                   "verify", "register", "save", "done"};

QString isoTime(const QDateTime& time) {
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

} // namespace

QString stepName(Step step) {
    return QString::fromLatin1(kStepNames.at(static_cast<std::size_t>(step)));
}

std::optional<Step> stepOf(const QString& name) {
    for (std::size_t i = 0; i < kStepNames.size(); ++i) {
        if (name == QLatin1String(kStepNames.at(i))) {
            return static_cast<Step>(i);
        }
    }
    return std::nullopt;
}

QByteArray ProvisionJournal::encode(const JournalEntry& entry) {
    QJsonObject object;
    object.insert(QStringLiteral("row"), entry.row);
    object.insert(QStringLiteral("ps_id_before"), entry.psIdBefore);
    object.insert(QStringLiteral("ps_id_after"), entry.psIdAfter);
    object.insert(QStringLiteral("model"), entry.model);
    object.insert(QStringLiteral("step"), stepName(entry.step));
    object.insert(QStringLiteral("result"), entry.ok ? QStringLiteral("ok") : QStringLiteral("failed"));
    object.insert(QStringLiteral("cause"), entry.cause);
    object.insert(QStringLiteral("backup"), entry.backup);
    object.insert(QStringLiteral("saved_set"), entry.savedSet);
    object.insert(QStringLiteral("started"), isoTime(entry.started));
    object.insert(QStringLiteral("finished"), isoTime(entry.finished));
    object.insert(QStringLiteral("seconds"), entry.seconds);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<JournalEntry> ProvisionJournal::decode(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject o = document.object();
    const auto step = stepOf(o.value(QStringLiteral("step")).toString());
    if (!step) {
        return std::nullopt;
    }
    JournalEntry entry;
    entry.row = o.value(QStringLiteral("row")).toInt();
    entry.psIdBefore = o.value(QStringLiteral("ps_id_before")).toString();
    entry.psIdAfter = o.value(QStringLiteral("ps_id_after")).toString();
    entry.model = o.value(QStringLiteral("model")).toString();
    entry.step = *step;
    entry.ok = o.value(QStringLiteral("result")).toString() == QLatin1String("ok");
    entry.cause = o.value(QStringLiteral("cause")).toString();
    entry.backup = o.value(QStringLiteral("backup")).toString();
    entry.savedSet = o.value(QStringLiteral("saved_set")).toString();
    entry.started = QDateTime::fromString(o.value(QStringLiteral("started")).toString(), Qt::ISODateWithMs);
    entry.finished = QDateTime::fromString(o.value(QStringLiteral("finished")).toString(), Qt::ISODateWithMs);
    entry.seconds = o.value(QStringLiteral("seconds")).toDouble();
    return entry;
}

std::optional<QString> ProvisionJournal::open(const QString& path) {
    m_entries.clear();
    m_file.close();
    m_file.setFileName(path);
    if (m_file.exists()) {
        if (!m_file.open(QIODevice::ReadOnly)) {
            return logfile::fileReason(m_file.error());
        }
        const QList<QByteArray> lines = m_file.readAll().split('\n');
        m_file.close();
        for (const QByteArray& line : lines) {
            if (const auto entry = decode(line)) {
                m_entries.append(*entry);
            }
        }
    }
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return logfile::fileReason(m_file.error());
    }
    // A kill mid-line leaves a line without its end: the next entry starts on a line of its own.
    if (m_file.size() > 0) {
        QFile check(path);
        if (check.open(QIODevice::ReadOnly) && check.seek(check.size() - 1) && check.read(1) != "\n") {
            m_file.write("\n");
            m_file.flush();
        }
    }
    return std::nullopt;
}

std::optional<QString> ProvisionJournal::append(const JournalEntry& entry) {
    const QByteArray line = encode(entry);
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        return logfile::fileReason(m_file.error());
    }
    m_entries.append(entry);
    return std::nullopt;
}

std::optional<JournalEntry> ProvisionJournal::lastEnd(int row) const {
    const auto found = std::find_if(m_entries.crbegin(), m_entries.crend(), [row](const JournalEntry& e) {
        return e.row == row && (e.step == Step::Done || !e.ok);
    });
    return found == m_entries.crend() ? std::nullopt : std::optional<JournalEntry>(*found);
}

RowState ProvisionJournal::stateOf(int row, const QString& psId) const {
    const auto end = lastEnd(row);
    if (!end) {
        return RowState::Open;
    }
    if (!end->ok) {
        return RowState::Failed;
    }
    return end->psIdAfter == psId ? RowState::Done : RowState::Open;
}

std::optional<int> ProvisionJournal::doneRowWithPsId(const QString& psId) const {
    const auto found = std::find_if(m_entries.crbegin(), m_entries.crend(), [&](const JournalEntry& e) {
        return e.row > 0 && e.step == Step::Done && e.ok && e.psIdAfter == psId && lastEnd(e.row) == e;
    });
    return found == m_entries.crend() ? std::nullopt : std::optional<int>(found->row);
}

} // namespace tolvan::provision
