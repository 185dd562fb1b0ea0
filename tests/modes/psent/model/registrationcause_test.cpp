// The error box's text for a registration failure, and what counts as a content error.
#include "modes/psent/model/registrationcause.h"
#include "modes/psent/model/registrationflow.h"

#include <gtest/gtest.h>

namespace tolvan::psent {
namespace {

TEST(RegistrationCause, TextsTakeTheDetailInUpperCaseHex) {
    EXPECT_EQ(registrationCauseText(0x70, 0x00), QStringLiteral("子機増設拒否(子機番号不一致)"));
    EXPECT_EQ(registrationCauseText(0x10, 0x1A), QStringLiteral("候補CSなし：1A"));
    EXPECT_EQ(registrationCauseText(0x01, 0xab), QStringLiteral("無効ﾒｯｾｰｼﾞ(APL)：AB"));
    EXPECT_EQ(registrationCauseText(0x00, 0x55), QStringLiteral("正常終了"));
    // Bit 7 of the cause byte is not part of the code.
    EXPECT_EQ(registrationCauseText(0xF0, 0x00), QStringLiteral("子機増設拒否(子機番号不一致)"));
}

TEST(RegistrationCause, DetailDependentCausesAndTheirRanges) {
    EXPECT_EQ(registrationCauseText(0x40, 3), QStringLiteral("TR302-1P T/O"));
    EXPECT_EQ(registrationCauseText(0x40, 8), std::nullopt);
    EXPECT_EQ(registrationCauseText(0x1B, 1), QStringLiteral("発呼規制中(群規制)"));
    EXPECT_EQ(registrationCauseText(0x1B, 2), QStringLiteral("発呼規制中(ｱｸｾｽ周期規制)"));
    EXPECT_EQ(registrationCauseText(0x1B, 0), std::nullopt);
    EXPECT_EQ(registrationCauseText(0x42, 8), QStringLiteral("TC322P T/O"));
    EXPECT_EQ(registrationCauseText(0x25, 4), QStringLiteral("ﾃﾞｰﾀﾘﾝｸ開放(DISC受信)"));
    EXPECT_EQ(registrationCauseText(0x78, 0x43), QStringLiteral("BBICから状態にﾏｯﾁしないｲﾍﾞﾝﾄ発生"));
    EXPECT_EQ(registrationCauseText(0x78, 0x47), std::nullopt);
    EXPECT_EQ(registrationCauseText(0x78, 0xFF), QStringLiteral("規定されていないｲﾍﾞﾝﾄが発生"));
}

TEST(RegistrationCause, CausesOutsideTheTableAreContentErrors) {
    for (const std::uint8_t cause :
         {0x1D, 0x1F, 0x26, 0x2F, 0x3D, 0x43, 0x48, 0x4B, 0x50, 0x5A, 0x6F, 0x74, 0x77}) {
        EXPECT_EQ(registrationCauseText(cause, 0), std::nullopt) << int(cause);
    }
}

TEST(RegistrationReportView, EachReportKindGivesItsStatusErrorAndState) {
    using Kind = registration::ReportView::Kind;
    const auto running = registration::viewOf({0x01, {}});
    ASSERT_TRUE(running);
    EXPECT_EQ(running->kind, Kind::Running);
    EXPECT_EQ(running->status, QStringLiteral("子機登録実行中"));

    // Byte 3 is not used; the cause (bit 7 ignored) and the detail follow it.
    const auto failed = registration::viewOf({0x30, {0x99, 0x90, 0x1A}});
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->kind, Kind::Failed);
    EXPECT_EQ(failed->viewState, 0xD008u);
    EXPECT_EQ(failed->status, QStringLiteral("子機登録制御失敗(異常終了)"));
    EXPECT_EQ(failed->error, QStringLiteral("候補CSなし：1A"));

    EXPECT_EQ(registration::viewOf({0x10, {0, 0x40, 8}})->kind, Kind::ContentError);
    EXPECT_EQ(registration::viewOf({0x10, {0, 0x1D, 0}})->error, QStringLiteral("バッファ内容エラー"));
    // A short report cannot be read past its end.
    EXPECT_EQ(registration::viewOf({0x10, {}})->error, QStringLiteral("正常終了"));

    const auto ended = registration::viewOf({0x40, {}});
    EXPECT_EQ(ended->viewState, 0xD009u);
    EXPECT_EQ(ended->status, QStringLiteral("コマンド終了(異常終了)"));
    EXPECT_FALSE(registration::viewOf({0x00, {}}));
    EXPECT_EQ(registration::statusText(0xD001), QString());
    EXPECT_EQ(registration::statusText(0xD006), registration::statusText(0xD007));
}

} // namespace
} // namespace tolvan::psent
