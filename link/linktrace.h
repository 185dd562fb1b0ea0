#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QString>

#include <optional>

namespace tolvan::link {

class LinkDriver;

// One unit of the link trace, as tolvan-cli --trace prints it and Tolvan --trace appends it:
// seconds since the link driver started (eight wide, three decimals), '>' sent or '<' received,
// and the unit's bytes in upper-case hex, e.g. "  12.345 > 02 20 03 23". No line end.
QString traceLine(char direction, const QByteArray& bytes, qint64 elapsedMs);

// The line that opens one run's part of a trace file: "# PROGRAM VERSION, DATE, port PORT".
QString traceHeader(const QString& program, const QString& version, const QDateTime& when,
                    const QString& port);

// A trace file for support: every unit a driver sends and receives is appended as a line and
// flushed at once, so a program that crashes or is killed still leaves the conversation.
class TraceFile : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens (or creates) the file for appending; the file layer's reason when it cannot.
    std::optional<QString> open(const QString& path);
    void appendLine(const QString& line);
    // Appends every unit of the driver from now on.
    void follow(LinkDriver& driver);

private:
    QFile m_file;
};

} // namespace tolvan::link
