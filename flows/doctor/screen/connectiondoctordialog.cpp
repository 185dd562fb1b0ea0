#include "flows/doctor/screen/connectiondoctordialog.h"

#include "shell/dialogservice.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvan::doctor {

DoctorServices systemDoctorServices(const QString& program, const QString& version) {
    DoctorServices services;
    services.platform = systemPlatformProbe();
    services.tester = std::make_unique<DeviceLineTester>();
    services.opener = link::openHandsetSerialPort;
    services.context = [program, version] { return currentReportContext(program, version); };
    return services;
}

ConnectionDoctorDialog::ConnectionDoctorDialog(DoctorServices services, const QString& port, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)) {
    setWindowTitle(QStringLiteral("接続診断"));
    auto* layout = new QVBoxLayout(this);

    auto* portRow = new QHBoxLayout;
    auto* portLabel = new QLabel(QStringLiteral("ポート(&P)（空欄なら自動検出）:"), this);
    m_port = new QLineEdit(port, this);
    m_port->setAccessibleName(QStringLiteral("ポート"));
    portLabel->setBuddy(m_port);
    portRow->addWidget(portLabel);
    portRow->addWidget(m_port, 1);
    layout->addLayout(portRow);

    auto* findingsLabel = new QLabel(QStringLiteral("診断結果(&R):"), this);
    m_findings = new QPlainTextEdit(this);
    m_findings->setReadOnly(true);
    m_findings->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_findings->setAccessibleName(QStringLiteral("診断結果"));
    m_findings->setMinimumSize(760, 360);
    findingsLabel->setBuddy(m_findings);
    layout->addWidget(findingsLabel);
    layout->addWidget(m_findings, 1);

    m_status = new QLabel(
        QStringLiteral("「診断開始」を押すと、ポートと子機を調べ、約10秒の回線テストを行います。"), this);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto* buttons = new QHBoxLayout;
    m_start = new QPushButton(QStringLiteral("診断開始(&S)"), this);
    m_start->setAccessibleName(QStringLiteral("診断開始"));
    m_save = new QPushButton(QStringLiteral("保存(&V)..."), this);
    m_save->setAccessibleName(QStringLiteral("診断レポートの保存"));
    m_save->setEnabled(false);
    m_close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    m_close->setAccessibleName(QStringLiteral("閉じる"));
    for (QPushButton* button : {m_start, m_save, m_close}) {
        button->setAutoDefault(false);
    }
    m_start->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    setTabOrder(m_port, m_findings);
    setTabOrder(m_findings, m_start);
    setTabOrder(m_start, m_save);
    setTabOrder(m_save, m_close);

    connect(m_start, &QPushButton::clicked, this, &ConnectionDoctorDialog::runDiagnosis);
    connect(m_save, &QPushButton::clicked, this, &ConnectionDoctorDialog::saveReport);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

ConnectionDoctorDialog::~ConnectionDoctorDialog() = default;

void ConnectionDoctorDialog::reject() {
    if (!m_running) {
        QDialog::reject();
    }
}

void ConnectionDoctorDialog::setRunning(bool running) {
    m_running = running;
    m_start->setEnabled(!running);
    m_close->setEnabled(!running);
    m_port->setEnabled(!running);
    m_save->setEnabled(!running && m_result.has_value());
}

void ConnectionDoctorDialog::runDiagnosis() {
    if (m_running) {
        return;
    }
    m_result.reset();
    m_findings->clear();
    setRunning(true);
    m_status->setText(QStringLiteral("診断中です。回線テストには約10秒かかります..."));
    ConnectionDoctor doctor(*m_services.platform, *m_services.tester, m_services.opener);
    doctor.setFindingListener(
        [this](const Finding& finding) { m_findings->appendPlainText(findingLine(finding)); });
    DoctorOptions options;
    options.port = m_port->text().trimmed();
    options.lineTestMs = m_services.lineTestMs;
    m_result = doctor.run(options);
    m_status->setText(m_result->verdict
                          ? QStringLiteral("診断が終わりました。判定: %1")
                                .arg(QString::fromUtf8(verdictText(*m_result->verdict)))
                          : QStringLiteral("診断が終わりました。回線テストは行えませんでした。"));
    setRunning(false);
    m_save->setFocus();
}

void ConnectionDoctorDialog::saveReport() {
    if (!m_result) {
        return;
    }
    shell::FileRequest request;
    request.caption = QStringLiteral("診断レポートの保存");
    request.directory = QDir::homePath();
    request.filter = QStringLiteral("テキストファイル(*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    const std::optional<QString> path = shell::DialogService::current().saveFileName(this, request);
    if (!path) {
        return;
    }
    if (const auto failure = writeDoctorReport(*path, doctorReport(*m_result, m_services.context()))) {
        shell::DialogService::current().error(this, *failure);
        return;
    }
    m_status->setText(
        QStringLiteral("診断レポートを %1 に保存しました。").arg(QDir::toNativeSeparators(*path)));
}

} // namespace tolvan::doctor
