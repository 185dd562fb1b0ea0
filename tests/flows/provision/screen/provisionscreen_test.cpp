// The provisioning window against in-process virtual handsets swapped on its cable (unplugged,
// the next one plugged in): a run to its summary with a handset of another model, a write the
// handset does not keep and a refused registration among them; a run stopped and resumed from the
// folder's journal.
#include "flows/provision/screen/provisiondialog.h"

#include "flows/provision/provisionsummary.h"
#include "modes/datasave/model/saveset.h"
#include "tests/modes/datasave/model/simhandsetstore.h"
#include "tests/support/backupfoldertest.h"
#include "tests/support/modescreenharness.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <deque>

namespace tolvan::provision {
namespace {

struct Unit {
    std::uint8_t model = 2;
    std::uint32_t psId = 0;
    std::vector<sim::FaultRule> faults;
    bool registrationRefused = false;
};

class ProvisionScreen : public test::BackupFolderTest {
protected:
    void SetUp() override {
        test::BackupFolderTest::SetUp();
        // The template: a ZX-VA100 set as the data save mode saves it.
        const auto store = datasave::test::storeReadFromSim(2);
        const auto files = std::get<datasave::SaveSetFiles>(datasave::buildSaveSet(store, 2, QString()));
        ASSERT_FALSE(datasave::writeSaveSet(m_dir.filePath(QStringLiteral("standard")), files));
        h.attached = false;
    }

    void writePlan(const QByteArray& csv) {
        QFile plan(m_dir.filePath(QStringLiteral("plan.csv")));
        ASSERT_TRUE(plan.open(QIODevice::WriteOnly));
        plan.write(csv);
    }

    ProvisionDialog& openWindow() {
        ProvisionDialog& window = h.open<ProvisionDialog>();
        window.setLineTimings(10, 3000);
        window.setTemplatePath(m_dir.filePath(QStringLiteral("standard.jv1")));
        window.setPlanPath(m_dir.filePath(QStringLiteral("plan.csv")));
        window.setOutFolder(m_dir.filePath(QStringLiteral("out")));
        // The technician: pulls a handset once it is done, plugs the next when the window waits.
        QObject::connect(&window, &ProvisionDialog::stepShown, &window, [this, &window](int step, int) {
            if (step == static_cast<int>(LineStep::WaitingForSwap)) {
                results.append(window.resultText()->text());
                QTimer::singleShot(0, &window, [this] {
                    h.attached = false;
                    h.session.deviceTreeChanged();
                });
            } else if (step == static_cast<int>(LineStep::WaitingForHandset) && !h.attached &&
                       !units.empty()) {
                const Unit unit = units.front();
                units.pop_front();
                QTimer::singleShot(0, &window, [this, unit] { plug(unit); });
            }
        });
        return window;
    }

    void plug(const Unit& unit) {
        h.port.model = unit.model;
        h.port.faults = unit.faults;
        h.prepare = [unit](sim::VirtualHandset& handset) {
            const std::uint32_t v = unit.psId;
            handset.store().setBlock(0x1201, {static_cast<std::uint8_t>((v >> 21) & 0x7F),
                                              static_cast<std::uint8_t>((v >> 14) & 0x7F),
                                              static_cast<std::uint8_t>((v >> 7) & 0x7F),
                                              static_cast<std::uint8_t>(v & 0x7F)});
            sim::RegistrationScenario scenario;
            scenario.runningMs = 50;
            if (unit.registrationRefused) {
                scenario.outcome = sim::RegistrationScenario::Outcome::Failure;
            }
            handset.registration().setScenario(scenario);
        };
        h.attached = true;
        h.session.deviceTreeChanged();
    }

    QStringList column(ProvisionDialog& window, int c) const {
        QStringList out;
        for (int i = 0; i < window.rowList()->topLevelItemCount(); ++i) {
            out.append(window.rowList()->topLevelItem(i)->text(c));
        }
        return out;
    }

    test::ModeScreenHarness h{2};
    std::deque<Unit> units;
    QStringList results;
};

TEST_F(ProvisionScreen, ARunGoesHandsetByHandsetToItsSummary) {
    // A bad plan first: listed row by row and column, and nothing can start.
    writePlan("PS-ID,PS番号,暗証番号\n100000002,201,43a1\n100000002,202,5678\n");
    ProvisionDialog& window = openWindow();
    EXPECT_EQ(window.problemList()->count(), 2);
    EXPECT_TRUE(window.problemList()->item(0)->text().startsWith(QStringLiteral("2行目, 暗証番号")))
        << window.problemList()->item(0)->text().toStdString();
    EXPECT_FALSE(window.startButton()->isEnabled());

    writePlan("PS-ID,PS番号,暗証番号\n100000002,201,4321\n100000003,202,5678\n100000004,203,1111\n"
              "100000005,204,2222\n");
    window.setPlanPath(window.planBox()->text());
    ASSERT_EQ(window.problemList()->count(), 0);
    ASSERT_TRUE(window.startButton()->isEnabled());
    ASSERT_TRUE(window.registerBox()->isEnabled());
    window.registerBox()->setChecked(true);
    // Every control has a name a person would use, and Tab reaches it.
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->isVisibleTo(&window) && (control->focusPolicy() & Qt::TabFocus) != 0) {
            const QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(node, nullptr);
            EXPECT_FALSE(node->text(QAccessible::Name).isEmpty()) << control->metaObject()->className();
        }
    }

    const sim::FaultRule keepsPsNumber{sim::FaultKind::IgnoreWrite, 0x0301, 0, 0, 0};
    units = {{2, 198765401, {}, false},
             {3, 234567891, {}, false}, // another model
             {2, 198765402, {keepsPsNumber}, false},
             {2, 198765403, {}, true},
             {2, 198765404, {}, false}};
    window.start();

    EXPECT_FALSE(window.running());
    EXPECT_EQ(column(window, 4), (QStringList{passedText(), failedText(), failedText(), passedText()}));
    EXPECT_EQ(column(window, 2), (QStringList{QStringLiteral("100000002"), QStringLiteral("100000003"),
                                              QStringLiteral("100000004"), QStringLiteral("100000005")}));
    EXPECT_EQ(window.rowList()->topLevelItem(1)->text(5),
              QStringLiteral("書き込んだ値を子機が保持していません: PS番号"));
    EXPECT_FALSE(window.rowList()->topLevelItem(2)->text(5).isEmpty());
    ASSERT_EQ(results.size(), 5);
    EXPECT_TRUE(results[0].startsWith(passedText())) << results[0].toStdString();
    EXPECT_TRUE(results[1].startsWith(QStringLiteral("機種違い: "))) << results[1].toStdString();
    EXPECT_EQ(window.countText()->text(), QStringLiteral("成功 2　失敗 2　残り 0"));
    EXPECT_TRUE(window.retryButton()->isEnabled());
    EXPECT_TRUE(window.backButton()->isEnabled());

    // The summary as the command line writes it, and printed.
    QFile summary(m_dir.filePath(QStringLiteral("out/summary.csv")));
    ASSERT_TRUE(summary.open(QIODevice::ReadOnly));
    const auto rows = readSummaryCsv(summary.readAll());
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4);
    EXPECT_EQ((*rows)[2].cause, window.rowList()->topLevelItem(2)->text(5));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("out/204_100000005.jv1"))));
    h.dialogs.printPdfPath = m_dir.filePath(QStringLiteral("summary.pdf"));
    window.printSummary();
    EXPECT_GT(QFileInfo(h.dialogs.printPdfPath).size(), 1000);

    // The failed rows again: the two handsets put right.
    units = {{2, 198765405, {}, false}, {2, 198765406, {}, false}};
    window.retryFailed();
    EXPECT_EQ(column(window, 4), (QStringList(4, passedText())));
    EXPECT_FALSE(window.retryButton()->isEnabled());
}

TEST_F(ProvisionScreen, AStoppedRunGoesOnFromTheFolderLater) {
    writePlan("PS-ID,PS番号\n100000002,201\n100000003,202\n100000004,203\n");
    {
        ProvisionDialog& window = openWindow();
        units = {{2, 198765401, {}, false}, {2, 198765402, {}, false}};
        // "中断" while the second handset is on the cable: it is finished, nothing after it starts.
        QObject::connect(&window, &ProvisionDialog::stepShown, &window, [&window](int step, int row) {
            if (step == static_cast<int>(LineStep::Writing) && row == 3) {
                window.stopButton()->click();
            }
        });
        window.start();
        EXPECT_EQ(column(window, 4), (QStringList{passedText(), passedText(), notRunText()}));
        EXPECT_EQ(window.stepText()->text(), QStringLiteral("中断しました"));
        h.screen.reset();
        h.attached = false;
        h.session.deviceTreeChanged();
    }
    // Opened again on the same folder: it says there is a record, and goes on at the third row.
    ProvisionDialog& window = openWindow();
    EXPECT_TRUE(window.folderNote()->text().contains(QStringLiteral("前回の記録があります")));
    EXPECT_EQ(window.countText()->text(), QStringLiteral("成功 2　失敗 0　残り 1"));
    units = {{2, 100000003, {}, false}, {2, 198765403, {}, false}}; // the second one plugged in again
    window.start();
    EXPECT_EQ(column(window, 4), (QStringList(3, passedText())));
    EXPECT_TRUE(results.last().startsWith(passedText()));
    EXPECT_TRUE(results[results.size() - 2].startsWith(QStringLiteral("設定済み: ")))
        << results.join(u'|').toStdString();
}

} // namespace
} // namespace tolvan::provision
