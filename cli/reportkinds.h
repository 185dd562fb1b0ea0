#pragma once

#include "common/message.h"

#include "cli/clilink.h"

#include "common/reportpage.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>

namespace tolvan::cli {

// A log file handed to a report builder.
struct ReportSource {
    QString path;
    QByteArray bytes; // at most ReportKinds::kMaxFileBytes + 1 bytes of the file
    QString logRoot;  // --log-root, empty for the default
};

struct ReportBuild {
    ExitStatus status = kExitOk;
    QList<ReportPage> pages;
    // Shown as the screen would show them while opening the file; they do not stop the print.
    QList<Message> messages;
    // tolvan-cli's own line when the file cannot be printed.
    QString problem;
};

// The printed reports tolvan-cli knows, by log file number (1 to 4). Each mode registers its
// builder as it lands; a kind without one is refused as not yet available.
class ReportKinds {
public:
    using Builder = std::function<ReportBuild(const ReportSource&)>;

    // Larger than any log file a reader keeps.
    static constexpr qsizetype kMaxFileBytes = qsizetype{4} * 1024 * 1024;

    void add(int fileNumber, Builder builder) { m_builders[fileNumber] = std::move(builder); }
    const Builder* find(int fileNumber) const;

    // Which log file a file is: the number in its header line (a model name followed by
    // ログファイル and the number), else the number of a .jv1 to .jv4 extension; 0 when
    // neither tells.
    static int fileNumberOf(const QString& path, QByteArrayView bytes);

    // The customer name a report prints: the log folder holding the file when that folder sits
    // in the model's log folder below the log root; empty otherwise.
    static QString customerOf(const QString& path, std::uint32_t modelCode, const QString& logRoot);

private:
    std::map<int, Builder> m_builders;
};

} // namespace tolvan::cli
