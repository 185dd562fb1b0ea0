#include "common/cp932.h"
#include "common/logline.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

TEST(Cp932, HalfWidthKatakanaAreSingleBytes) {
    const auto encoded = encodeCp932(QStringLiteral("ｱｲﾄﾞﾙ"));
    ASSERT_TRUE(encoded.ok());
    EXPECT_EQ(encoded.bytes, bytes({0xB1, 0xB2, 0xC4, 0xDE, 0xD9}));
}

TEST(Cp932, WindowsMappingOfWaveDashAndItsLookAlike) {
    // U+FF5E is 81 60 in the Windows mapping; U+301C, which other converters produce for the
    // same bytes, is folded to it.
    EXPECT_EQ(encodeCp932(QStringLiteral("～")).bytes, bytes({0x81, 0x60}));
    EXPECT_EQ(encodeCp932(QStringLiteral("〜")).bytes, bytes({0x81, 0x60}));
    EXPECT_EQ(encodeCp932(QStringLiteral("−")).bytes, bytes({0x81, 0x7C}));
    const auto decoded = decodeCp932(bytes({0x81, 0x60}));
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.text, QStringLiteral("～"));
}

TEST(Cp932, RoundTripsTheToolsOwnTexts) {
    const QString texts[] = {QStringLiteral("通信ﾎﾟｰﾄ未使用"), QStringLiteral("ZX-VA150(C)ログファイル1"),
                             QStringLiteral("ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数"),
                             QStringLiteral("CS-ID中のｼｽﾃﾑ呼び出し符号"), QStringLiteral("①②")};
    for (const QString& text : texts) {
        const auto encoded = encodeCp932(text);
        ASSERT_TRUE(encoded.ok()) << text.toStdString();
        const auto decoded = decodeCp932(encoded.bytes);
        ASSERT_TRUE(decoded.ok());
        EXPECT_EQ(decoded.text, text);
    }
    // A full-width space is 81 40; "通" is 92 CA.
    EXPECT_EQ(encodeCp932(QStringLiteral("　通")).bytes, bytes({0x81, 0x40, 0x92, 0xCA}));
}

TEST(Cp932, UnmappableCharacterIsReportedWithItsPositionAndNoBytes) {
    const auto encoded = encodeCp932(QStringLiteral("AB\u00E9C")); // é has no code page 932 form
    EXPECT_FALSE(encoded.ok());
    EXPECT_EQ(encoded.errorIndex, 2);
    EXPECT_TRUE(encoded.bytes.isEmpty());
    const auto emoji = encodeCp932(QString::fromUtf8("x\xF0\x9F\x98\x80"));
    EXPECT_FALSE(emoji.ok());
    EXPECT_EQ(emoji.errorIndex, 1);
}

TEST(Cp932, InvalidBytesAreReportedNotSwallowed) {
    // A lead byte at the very end, a lead byte with an impossible trail byte, and 0x80.
    const auto truncated = decodeCp932(bytes({'A', 0x92}));
    EXPECT_FALSE(truncated.ok());
    EXPECT_EQ(truncated.errorOffset, 1);
    const auto badTrail = decodeCp932(bytes({'A', 'B', 0x81, 0x20, 'C'}));
    EXPECT_FALSE(badTrail.ok());
    EXPECT_EQ(badTrail.errorOffset, 2);
    EXPECT_FALSE(decodeCp932(bytes({0x80})).ok());
    // What did decode is still there for display.
    EXPECT_TRUE(badTrail.text.startsWith(QStringLiteral("AB")));
}

TEST(Cp932, EveryByteSequenceDecodesWithoutCrashing) {
    QByteArray all;
    for (int i = 0; i < 256; ++i) {
        for (int j = 0; j < 256; j += 7) {
            all.append(static_cast<char>(i));
            all.append(static_cast<char>(j));
        }
    }
    const auto decoded = decodeCp932(all);
    EXPECT_FALSE(decoded.ok());
    EXPECT_GE(decoded.errorOffset, 0);
    EXPECT_LT(decoded.errorOffset, all.size());
}

} // namespace
} // namespace tolvan
