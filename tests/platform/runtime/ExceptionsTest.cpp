#include "platform/runtime/Exceptions.h"

#include <gtest/gtest.h>

TEST(Exceptions, MessageSurvivesAsUtf8AndEngineCodeIsKept)
{
    try {
        throw EDBEngineError(10024, QStringLiteral("Schlüssel verletzt: Größe"));
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Schlüssel verletzt: Größe"));
        EXPECT_STREQ(e.what(), "Schlüssel verletzt: Größe");
        EXPECT_EQ(dynamic_cast<const EDBEngineError &>(e).ErrorCode(), 10024);
    }
}
