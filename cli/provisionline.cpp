#include "cli/provisionline.h"

namespace tolvan::cli {

ProvisionLine::ProvisionLine(const GlobalOptions& options, const QString& port) {
    GlobalOptions own = options;
    own.port = port;
    own.trace = false;
    m_cli.setOptions(own);
    m_session = std::make_unique<CliSession>(m_cli);
    m_line = std::make_unique<provision::RunnerLine>(m_session->link().session(), m_session->runner());
}

} // namespace tolvan::cli
