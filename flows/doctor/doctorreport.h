#pragma once

#include "flows/doctor/connectiondoctor.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace tolvan::doctor {

// What the support report says about the program and the machine besides the findings.
struct ReportContext {
    QString program;   // "tolvan-cli", "Tolvan"
    QString version;   // the program's version
    QString qtVersion; // the Qt the program runs on
    QString os;        // the system's pretty name
    QString kernel;    // kernel type and version
    QDateTime generated;
    std::optional<QByteArray> settingsFile; // Tolvan.ini's bytes, when there is one
};

// The context of this process: versions, system, and Tolvan.ini from the current directory.
ReportContext currentReportContext(const QString& program, const QString& version);

// One plain text (UTF-8, LF) a technician can send to support: the findings, the program, Qt and
// system versions, the tested port's udev properties, Tolvan.ini and the line test's trace. It
// holds nothing else of the machine or the handset (no PIN, no log files).
QString doctorReport(const DoctorResult& result, const ReportContext& context);

// Writes the report; the reason in Japanese when the file cannot be written.
std::optional<QString> writeDoctorReport(const QString& path, const QString& report);

} // namespace tolvan::doctor
