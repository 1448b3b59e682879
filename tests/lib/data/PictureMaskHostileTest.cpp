#include "lib/data/Qkpict.h"

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *mask;
    const char *text;
    TqkPicResult expected;
};

TqkPicResult resultOf(const QString &mask, QString text)
{
    return TqkPictureValidator(mask, false).Picture(text, false);
}

template <size_t N>
void expectResults(const Case (&cases)[N])
{
    for (const Case &c : cases)
        EXPECT_EQ(int(resultOf(QLatin1String(c.mask), QLatin1String(c.text))), int(c.expected))
            << c.mask << " / " << c.text;
}

// Nested repetitions of something that matches nothing used to be tried
// count^depth times: the first case took minutes in one call.
TEST(PictureMaskHostile, NestedRepetitionsAnswerAtOnce)
{
    const Case cases[] = {
        {"9*255*255*255*255*~", "99", picError},     {"9*255*255*255*255*~", "9ab", picIncomplete},
        {"9*255*255*255*255*~", "9", picIncomplete}, {"*255*255*255*255[#]", "12", picIncomplete},
        {"*255*255*255*255[#]", "1x", picError},     {"*255{*255{*255[a],b}}#", "ab1", picError},
        {"*200*200*200*[#]x", "12x", picComplete},
    };
    expectResults(cases);
    TqkPictureValidator validator(QStringLiteral("9*255*255*255*255*~"), false);
    EXPECT_FALSE(validator.IsValid(QStringLiteral("99")));
}

// Two answers kept on purpose: an escaped ";" may end a mask, and a count of
// more than one digit before an optional group lets the text end there.
TEST(PictureMaskHostile, EscapedSemicolonAtTheEndAndLongCountsBeforeOptionalGroups)
{
    const Case cases[] = {
        {";;", ";", picComplete},
        {"#;;", "1;", picComplete},
        {"#;;", "1", picIncomplete},
        {"#*12[#]", "1", picComplete},
        {"#*12[#]", "1234567890123", picComplete},
        {"#*12[#]", "12345678901234", picError},
    };
    expectResults(cases);
    EXPECT_TRUE(qk::CheckMaskSyntax(QStringLiteral("#;;")));
}

} // namespace
