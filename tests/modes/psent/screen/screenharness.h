#pragma once

// The handset setting screen on the shared mode-screen harness, its backups kept in a folder of
// its own and the virtual handset holding the sample settings.

#include "modes/psent/screen/psentmodedialog.h"
#include "tests/modes/psent/samplesettings.h"
#include "tests/support/modescreenharness.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::psent::testing {

class ScreenHarness : public test::ModeScreenHarness {
public:
    explicit ScreenHarness(std::uint8_t model)
        : ModeScreenHarness(model), m_savedBackupDir(qgetenv("TOLVAN_BACKUP_DIR")) {
        qputenv("TOLVAN_BACKUP_DIR", backups.path().toLocal8Bit());
        prepare = [](sim::VirtualHandset& handset) {
            for (const auto& [code, data] : sampleRecords()) {
                handset.store().setBlock(code, data);
            }
        };
        texts.setMemo(sampleScreen().memo);
    }
    ~ScreenHarness() override { qputenv("TOLVAN_BACKUP_DIR", m_savedBackupDir); }
    ScreenHarness(const ScreenHarness&) = delete;
    ScreenHarness& operator=(const ScreenHarness&) = delete;

    // Script 15 as the main menu's "子機設定／登録モード" runs it, then the screen.
    PsEntModeDialog& readAndOpen() {
        EXPECT_TRUE(readAsTheMenuDoes(op::kReadPending, op::kReadScript));
        PsEntModeDialog& screen = open<PsEntModeDialog>();
        EXPECT_TRUE(waitForKeepAlive());
        return screen;
    }
    link::Bytes handsetBlock(std::uint16_t code) {
        const link::Bytes* bytes = handset().store().read(code);
        return bytes ? *bytes : link::Bytes{};
    }

    QTemporaryDir backups;

private:
    QByteArray m_savedBackupDir;
};

} // namespace tolvan::psent::testing
