#include "core/DisplayFormats.h"

#include <QLocale>
#include <climits>
#include <gtest/gtest.h>

TEST(DisplayFormats, IntToStrGrouped) {
    const struct {
        qint32 Value;
        const char* Expected;
    } cases[] = {{0, "0"},
                 {999, "999"},
                 {1000, "1 000"},
                 {1200, "1 200"},
                 {123456, "123 456"},
                 {1200000, "1 200 000"},
                 {INT_MAX, "2 147 483 647"},
                 {-123, "-123"},
                 {-123456, "-123 456"},
                 {INT_MIN, "-2 147 483 648"}};
    for (const auto& c : cases)
        EXPECT_EQ(IntToStrGrouped(c.Value, u' '), QString::fromUtf8(c.Expected)) << c.Value;
}

TEST(DisplayFormats, GetFileSizeString) {
    const struct {
        qint64 Bytes;
        const char* Expected;
    } cases[] = {{0, " 0 bytes"},
                 {5, " 5 bytes"},
                 {10, "10 bytes"},
                 {1023, "1023 bytes"},
                 {1024, "1.00 KB"},
                 {1536, "1.50 KB"},
                 {-2048, "-2.00 KB"},
                 {-5, "- 5 bytes"},
                 {1048575, "1024.00 KB"},
                 {1048576, "1.00 MB"},
                 {1073741823, "1024.00 MB"},
                 {1073741824, "1.00 GB"},
                 {5LL * 1024 * 1024 * 1024 * 1024, "5120.00 GB"},
                 {LLONG_MIN, "-8589934592.00 GB"}};
    for (const auto& c : cases)
        EXPECT_EQ(GetFileSizeString(c.Bytes), QString::fromUtf8(c.Expected)) << c.Bytes;
}

TEST(DisplayFormats, SizeTextIgnoresTheLocaleDecimalMark) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(GetFileSizeString(1536), QStringLiteral("1.50 KB"));
    EXPECT_EQ(GetFileSizeString(123456789012LL), QStringLiteral("114.98 GB"));
    QLocale::setDefault(previous);
}

TEST(DisplayFormats, MsToTimeStr) {
    const struct {
        qint32 Ms;
        const char* WithoutMs;
        const char* WithMs;
    } cases[] = {{0, "00:00:00", "00:00:00.000"},        {-5, "00:00:00", "00:00:00.000"},
                 {499, "00:00:00", "00:00:00.499"},      {500, "00:00:01", "00:00:00.500"},
                 {59600, "00:01:00", "00:00:59.600"},    {83450, "00:01:23", "00:01:23.450"},
                 {3599500, "01:00:00", "00:59:59.500"},  {360000000, "100:00:00", "100:00:00.000"},
                 {INT_MAX, "596:31:24", "596:31:23.647"}};
    for (const auto& c : cases) {
        EXPECT_EQ(MsToTimeStr(c.Ms, true), QString::fromUtf8(c.WithoutMs)) << c.Ms;
        EXPECT_EQ(MsToTimeStr(c.Ms, false), QString::fromUtf8(c.WithMs)) << c.Ms;
    }
}
