#include "lib/rich/qkPrintMargins.h"
#include "lib/rich/qkRichPrint.h"

#include <gtest/gtest.h>

namespace {

using namespace richMeasure;

TEST(RichMeasure, CentimetresUseTheStoredFactorInBothDirections)
{
    EXPECT_EQ(textToTwips(QStringLiteral("2,537 cm"), muCentimeters), 1440);
    EXPECT_NE(textToTwips(QStringLiteral("2,54 cm"), muCentimeters), 1440);
    EXPECT_EQ(textToTwips(QStringLiteral("1,5''"), muInches), 2160);
    EXPECT_EQ(marginTwips(2.537, muCentimeters), 1440);
    EXPECT_DOUBLE_EQ(twipsToUnits(1440, muCentimeters), 2.54);
    EXPECT_DOUBLE_EQ(twipsToUnits(720, muInches), 0.5);
    EXPECT_EQ(unitsToText(2.5, muCentimeters), QStringLiteral("2,5 cm"));
    EXPECT_EQ(unitsToText(1, muInches), QStringLiteral("1''"));
}

TEST(RichMeasure, StepTextMovesTwoThirdsOfAStepAndCutsToWholeSteps)
{
    const struct
    {
        double value;
        int steps;
        TqkMeasurementUnits units;
        const char *text;
    } cases[] = {
        {1.99, 0, muInches, "2''"},      {1.9, 0, muInches, "1,875''"},       {0.0, 0, muInches, "0''"},
        {1.0, 0, muCentimeters, "1 cm"}, {1.03, 0, muCentimeters, "1,05 cm"}, {-1.99, 0, muInches, "-2''"},
        {1.3, 4, muInches, "1,25''"},
    };
    for (const auto &test : cases)
        EXPECT_EQ(stepText(test.value, test.steps, test.units).toStdString(), test.text) << test.value;
}

TEST(RichMeasure, FormattingRectangleKeepsTheMarginsInsideThePage)
{
    TqkPrintMargins margins;
    const QSize letter(8500, 11000); // 8.5 x 11 inches at 1000 dpi
    EXPECT_EQ(richPrint::formattingRectangle(letter, 1000, margins, muInches), QRect(1000, 1000, 6500, 9000));
    margins.Left = 20;
    margins.Bottom = 30;
    EXPECT_EQ(richPrint::formattingRectangle(letter, 1000, margins, muInches), QRect(7500, 0, 1000, 1000));
    EXPECT_EQ(richPrint::paperSize(9).id(), QPageSize::A4);
    EXPECT_EQ(richPrint::paperSize(4711).id(), QPageSize::Letter);
}

} // namespace
