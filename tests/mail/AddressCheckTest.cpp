#include "mail/AddressCheck.h"

#include <gtest/gtest.h>

// Lists are split at semicolons and commas without blanks and quotes; one
// invalid address makes the list invalid.
TEST(AddressCheck, ListsAreSplitAndOneInvalidAddressMakesTheListInvalid)
{
    QStringList addresses;
    EXPECT_TRUE(CheckAddressList(QStringLiteral("info@firma.de; \"Anna\"anna@firma.de,b@c.de"), addresses));
    EXPECT_EQ(addresses, (QStringList{QStringLiteral("info@firma.de"), QStringLiteral("Annaanna@firma.de"),
                                      QStringLiteral("b@c.de")}));
    EXPECT_TRUE(CheckAddressList(QString(), addresses));
    EXPECT_TRUE(addresses.isEmpty());
    EXPECT_FALSE(CheckAddressList(QStringLiteral("info@firma.de;müller@firma.de"), addresses));
    EXPECT_EQ(addresses.size(), 2);
}

TEST(AddressCheck, ValidAndInvalidAddresses)
{
    for (const char *address : {"a@b.c", "vertrieb@mail.firma.co.uk"})
        EXPECT_FALSE(IsInvalidAddress(QString::fromUtf8(address))) << address;
    for (const char *address :
         {"", " \t", "ÄRGER@firma.de", "mueller@straße.de", "a b@c.de", "a@[1.2.3.4]", "name(x)@firma.de",
          "mailto:a@b.de", "firma.de", "@firma.de", "info@", "a@b@c.de", "a@b", "a@.de", "a@de.", "a@x"})
        EXPECT_TRUE(IsInvalidAddress(QString::fromUtf8(address))) << address;
}
