#include "link/linktrace.h"

#include "link/linkdriver.h"

namespace tolvan::link {

QString traceLine(char direction, const QByteArray& bytes, qint64 elapsedMs) {
    return QString::asprintf("%8.3f %c ", static_cast<double>(elapsedMs) / 1000.0, direction) +
           QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString traceHeader(const QString& program, const QString& version, const QDateTime& when,
                    const QString& port) {
    // The offset in the date, so traces from technicians in other time zones line up.
    QDateTime local = when;
    local.setOffsetFromUtc(when.offsetFromUtc());
    return QStringLiteral("# %1 %2, %3, port %4").arg(program, version, local.toString(Qt::ISODate), port);
}

std::optional<QString> TraceFile::open(const QString& path) {
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return m_file.errorString();
    }
    return std::nullopt;
}

void TraceFile::appendLine(const QString& line) {
    if (!m_file.isOpen()) {
        return;
    }
    m_file.write(line.toUtf8() + '\n');
    m_file.flush();
}

void TraceFile::follow(LinkDriver& driver) {
    connect(&driver, &LinkDriver::traced, this, [this](char direction, const QByteArray& bytes, qint64 ms) {
        appendLine(traceLine(direction, bytes, ms));
    });
}

} // namespace tolvan::link
