// The connection doctor's window on a faked system and the virtual handset.
#include "flows/doctor/screen/connectiondoctordialog.h"
#include "tests/support/doctorfakes.h"
#include "tests/support/fakedialogservice.h"

#include <QBuffer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

doctor::DoctorServices fakeServices(FakePlatform*& platform) {
    doctor::DoctorServices services;
    auto owned = std::make_unique<FakePlatform>();
    owned->devices = {handsetAdapter()};
    platform = owned.get();
    services.platform = std::move(owned);
    services.tester = std::make_unique<VirtualLineTester>(sim::realisticConfig(3));
    services.opener = [](const QString&) {
        link::SerialOpenResult result;
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        result.port = std::move(buffer);
        return result;
    };
    services.context = [] {
        doctor::ReportContext context;
        context.program = QStringLiteral("Tolvan");
        return context;
    };
    return services;
}

TEST(ConnectionDoctorDialog, DiagnosesShowsEachFindingAndSavesTheReport) {
    FakePlatform* platform = nullptr;
    doctor::ConnectionDoctorDialog dialog(fakeServices(platform), QString());
    EXPECT_FALSE(dialog.saveButton()->isEnabled()); // nothing to save yet

    dialog.runDiagnosis();
    const QStringList shown = dialog.findingsBox()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(shown.size(), 4);
    EXPECT_TRUE(shown.last().endsWith(QStringLiteral("判定 良好")));
    EXPECT_TRUE(dialog.saveButton()->isEnabled());

    shell::FakeDialogService dialogs;
    shell::ScopedDialogService scoped(dialogs);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doctor.txt"));
    dialogs.saveAnswers.push_back(path);
    dialog.saveReport();
    ASSERT_EQ(dialogs.saveRequests.size(), 1);
    EXPECT_EQ(dialogs.saveRequests[0].caption, QStringLiteral("診断レポートの保存"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(shown.last()));

    // A port typed into the box is the one tested, found by discovery or not.
    platform->devices.clear();
    dialog.portBox()->setText(QStringLiteral("/dev/ttyS0"));
    dialog.runDiagnosis();
    EXPECT_TRUE(dialog.findingsBox()->toPlainText().contains(QStringLiteral("○ /dev/ttyS0 を開きました")));
    EXPECT_EQ(dialog.lastResult()->port, QStringLiteral("/dev/ttyS0"));

    dialogs.saveAnswers.push_back(dir.filePath(QStringLiteral("missing/doctor.txt")));
    dialog.saveReport();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.endsWith(QStringLiteral("に診断レポートを書き込めませんでした")));
}

TEST(ConnectionDoctorDialog, EveryControlIsNamedReachableInOrderAndFitsTheScreen) {
    FakePlatform* platform = nullptr;
    doctor::ConnectionDoctorDialog dialog(fakeServices(platform), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(dialog.portBox()->text(), QStringLiteral("/dev/ttyUSB3"));
    QList<QWidget*> order;
    QWidget* w = dialog.portBox();
    for (int i = 0; i < 5; ++i, w = w->nextInFocusChain()) {
        while (w->focusPolicy() == Qt::NoFocus) {
            w = w->nextInFocusChain();
        }
        order << w;
    }
    const QList<QWidget*> expected{dialog.portBox(), dialog.findingsBox(), dialog.startButton(),
                                   dialog.saveButton(), dialog.closeButton()};
    EXPECT_EQ(order, expected);
    for (QWidget* control : expected) {
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
    }
    const QSize size = dialog.sizeHint();
    EXPECT_LE(size.width(), 1366);
    EXPECT_LE(size.height(), 700);
}

} // namespace
} // namespace tolvan::test
