#pragma once

#include "common/message.h"
#include "handset/handsetstore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <variant>

namespace tolvan::provision {

// Which log file a line of the template belongs to.
enum class LogFileKind { LogFile1, LogFile4 };

// One line of the template replaced by a plan's cell: its label and the fields after it.
struct LineEdit {
    LogFileKind file = LogFileKind::LogFile4;
    QString label;
    QStringList fields;
    bool operator==(const LineEdit&) const = default;
};

// What a template loaded over a handset's blocks leaves unread: the handset's own values stay
// for those lines, so a verify counts them as not held.
struct TemplateLoad {
    QStringList jv1Unread;
    QStringList jv4Unread;
    QList<Message> messages;
};

// The saved set every handset of a run gets: its log file 1 and log file 4 and their model.
class ProvisionTemplate {
public:
    // The set named as write-back names one (any of its .jv1, .jv3, .jv4); both files must be
    // there and of one model.
    static std::variant<ProvisionTemplate, Message> load(const QString& chosen);
    // From bytes already read (tests, the window).
    static std::variant<ProvisionTemplate, Message> fromFiles(const QByteArray& jv1, const QByteArray& jv4);

    std::uint32_t modelCode() const { return m_modelCode; }
    const QByteArray& jv1() const { return m_jv1; }
    const QByteArray& jv4() const { return m_jv4; }

    // The line a plan column stands for, when the template's model writes it back; nothing for
    // an unknown label or a line a write-back never sends (whyNot says which).
    std::optional<LogFileKind> lineOf(const QString& label, QString* whyNot = nullptr) const;

    // The template with those lines replaced, loaded over the blocks as a write-back loads a set.
    TemplateLoad loadInto(handset::HandsetBlocks& blocks, const QList<LineEdit>& edits) const;
    // The fields the log file writes for the label from the blocks (nothing when it has no such
    // line): what a cell must equal once loaded.
    std::optional<QStringList> writtenFields(const handset::HandsetBlocks& blocks, LogFileKind file,
                                             const QString& label) const;

private:
    std::uint32_t m_modelCode = 0;
    QByteArray m_jv1;
    QByteArray m_jv4;
};

// The file with the line of that label (after the header) given those fields instead; the file
// unchanged when it has no such line.
QByteArray replaceLogLine(const QByteArray& file, const QString& label, const QStringList& fields);
// The fields after the label of that line, decoded; nothing when the file has no such line.
std::optional<QStringList> logLineFields(const QByteArray& file, const QString& label);

} // namespace tolvan::provision
