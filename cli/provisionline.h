#pragma once

#include "cli/cliapp.h"
#include "cli/clisession.h"
#include "flows/provision/handsetline.h"

#include <QString>
#include <QTextStream>

#include <memory>

namespace tolvan::cli {

// The handset on one port as the provisioning steps see it, through a command-line session:
// one dialogue per handset, from the first read to the release. What the session would print
// on stderr is kept instead, and its last message is the cause of a failed step.
class ProvisionLine : public provision::HandsetLine {
public:
    ProvisionLine(const GlobalOptions& options, const QString& port);
    ~ProvisionLine() override;
    ProvisionLine(const ProvisionLine&) = delete;
    ProvisionLine& operator=(const ProvisionLine&) = delete;

    bool waitForHandset() override;
    std::optional<QString> readAll() override;
    std::uint32_t modelCode() const override;
    handset::HandsetStore& store() override;
    std::optional<QString> writeBack() override;
    std::optional<QString> writeSettings() override;
    std::optional<QString> registerHandset(const QString& psNumber, const QString& pin) override;
    void release() override;
    bool waitForUnplug() override;

    const QString& port() const { return m_port; }

private:
    std::optional<QString> failure(const std::optional<ExitStatus>& status);
    std::optional<QString> lastMessage();

    QString m_port;
    QString m_outText;
    QString m_errText;
    QTextStream m_out{&m_outText};
    QTextStream m_err{&m_errText};
    CliApp m_cli{m_out, m_err};
    std::unique_ptr<CliSession> m_session;
    handset::HandsetStore m_empty;
    bool m_freshRead = false;
};

// The registration of a ZX-VA100 in the session's keep-alive dialogue under the PS number and
// PIN: the handset setting write, the handset's reports, and on success the settings read again
// and written back as the registration leaves them. The error text of a failure.
std::optional<QString> registerInSession(CliSession& session, const QString& psNumber, const QString& pin);

} // namespace tolvan::cli
