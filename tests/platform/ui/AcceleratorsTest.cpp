#include "platform/ui/Accelerators.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(AcceleratorsTest, TheCharacterAfterASingleAmpersandIsTheAccelerator)
{
    EXPECT_EQ(acceleratorOf(QStringLiteral("E-&Mail")), QLatin1Char('M'));
    EXPECT_EQ(acceleratorOf(QStringLiteral("s&chließen")), QLatin1Char('c'));
    EXPECT_EQ(acceleratorOf(QStringLiteral("Kunden && &Lieferanten")), QLatin1Char('L'));
    EXPECT_TRUE(acceleratorOf(QStringLiteral("Kunden && Lieferanten")).isNull());
    EXPECT_TRUE(acceleratorOf(QStringLiteral("Abbruch")).isNull());
    EXPECT_TRUE(acceleratorOf(QStringLiteral("Ende&")).isNull());
}

TEST(AcceleratorsTest, AcceleratorsMatchWithoutRegardToCase)
{
    EXPECT_TRUE(isAccelerator(QLatin1Char('m'), QStringLiteral("E-&Mail")));
    EXPECT_TRUE(isAccelerator(QLatin1Char('C'), QStringLiteral("s&chließen")));
    EXPECT_TRUE(isAccelerator(QChar(0x00DC), QStringLiteral("&übernehmen")));
    EXPECT_FALSE(isAccelerator(QLatin1Char('E'), QStringLiteral("E-&Mail")));
    EXPECT_FALSE(isAccelerator(QLatin1Char('A'), QStringLiteral("Abbruch")));
}
