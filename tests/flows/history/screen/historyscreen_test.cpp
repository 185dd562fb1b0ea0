// The history window against the in-process virtual handset: opened without a link, it lists the
// handset's backups; "この版に戻す" opens the link, asks before writing into a handset with another
// PS-ID, and writes the version back with a backup first and the check after.
#include "flows/history/screen/historydialog.h"

#include "modes/datasave/model/datasaveoperations.h"
#include "modes/datasave/model/handsetbackup.h"
#include "tests/support/backupfoldertest.h"
#include "tests/support/modescreenharness.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::history {
namespace {

bool anyWrite(const std::vector<std::uint16_t>& requests) {
    return std::any_of(requests.begin(), requests.end(), [](std::uint16_t code) { return code < 0x1000; });
}

class HistoryScreen : public test::BackupFolderTest {
protected:
    test::ModeScreenHarness h{3};
};

TEST_F(HistoryScreen, RestoreWritesTheVersionBackAfterAskingAboutAnotherHandset) {
    // A backup of the handset as it is, then another PS-ID in it; the window opens with no link.
    ASSERT_TRUE(h.readAsTheMenuDoes(datasave::op::kEntry, datasave::op::kReadAllScript));
    const auto backedUp = datasave::backUpHandset(h.store, 3, QString(), m_backups.path(), true);
    ASSERT_TRUE(std::holds_alternative<QString>(backedUp));
    const link::Bytes own = *h.handset().store().read(0x1201);
    // The next open meets a handset with another PS-ID.
    h.prepare = [](sim::VirtualHandset& handset) {
        handset.store().setBlock(0x1201, {0x01, 0x02, 0x03, 0x04});
    };
    h.session.closePort();
    h.session.engine().resetLinkState();
    h.store.clear();

    HistoryDialog& window = h.open<HistoryDialog>();
    ASSERT_EQ(window.handsetList()->topLevelItemCount(), 1);
    EXPECT_EQ(window.handsetList()->topLevelItem(0)->text(1), QStringLiteral("234567891"));
    ASSERT_EQ(window.versionList()->topLevelItemCount(), 1);
    EXPECT_EQ(window.versionList()->topLevelItem(0)->text(1), QStringLiteral("ファイル書き込み前"));
    EXPECT_EQ(window.versionList()->topLevelItem(0)->text(2), QStringLiteral("最初の版"));
    ASSERT_TRUE(window.restoreButton()->isEnabled());
    for (QWidget* control : std::initializer_list<QWidget*>{window.handsetList(), window.versionList(),
                                                            window.changeList(), window.restoreButton()}) {
        EXPECT_FALSE(control->accessibleName().isEmpty());
        EXPECT_NE(control->focusPolicy() & Qt::TabFocus, 0);
    }

    // Yes to the write, no to the other handset: nothing is written.
    h.dialogs.messageAnswers = {QMessageBox::Yes, QMessageBox::No};
    window.restoreSelected();
    EXPECT_EQ(h.noDataShown, 0);
    ASSERT_EQ(h.dialogs.messages.size(), 2) << h.dialogs.messages.back().text.toStdString();
    EXPECT_TRUE(h.dialogs.messages.back().text.startsWith(QStringLiteral(
        "接続されている子機のPS-ID（002130308）は、この版の子機のPS-ID（234567891）と異なります。")))
        << h.dialogs.messages.back().text.toStdString();
    EXPECT_GT(h.progressShown, 0);
    EXPECT_FALSE(anyWrite(h.requests));
    EXPECT_EQ(*h.handset().store().read(0x1201), (link::Bytes{0x01, 0x02, 0x03, 0x04}));

    // Yes to both: the handset's own PS-ID is back, checked, and what it held before is kept.
    ASSERT_TRUE(h.waitForKeepAlive());
    h.dialogs.messageAnswers = {QMessageBox::Yes, QMessageBox::Yes};
    window.restoreSelected();
    EXPECT_TRUE(anyWrite(h.requests));
    EXPECT_EQ(*h.handset().store().read(0x1201), own);
    EXPECT_EQ(window.resultLabel()->text(), QStringLiteral("子機はこの版の内容を保持しています。"));
    // The backup before the restore belongs to the PS-ID the handset had.
    ASSERT_EQ(window.handsetList()->topLevelItemCount(), 2);
    EXPECT_EQ(window.handsetList()->topLevelItem(0)->text(1), QStringLiteral("002130308"));
    EXPECT_EQ(h.dialogs.messages.size(), 4);
}

} // namespace
} // namespace tolvan::history
