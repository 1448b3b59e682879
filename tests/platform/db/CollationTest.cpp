#include "platform/db/GermanCollation.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QStringList sorted(QStringList words, bool caseSensitive)
{
    std::sort(words.begin(), words.end(), [caseSensitive](const QString &a, const QString &b) {
        return db::compareGerman(a, b, caseSensitive) < 0;
    });
    return words;
}

TEST(CollationTest, UmlautsFileNextToTheirBaseLetters)
{
    EXPECT_EQ(sorted({"Zander", "Ötzi", "Ostermann", "Ärger", "Abel", "Über", "Ulm"}, true),
              (QStringList{"Abel", "Ärger", "Ostermann", "Ötzi", "Über", "Ulm", "Zander"}));
    EXPECT_LT(db::compareGerman(QStringLiteral("Muller"), QStringLiteral("Müller"), true), 0);
    EXPECT_LT(db::compareGerman(QStringLiteral("Müller"), QStringLiteral("Mullern"), true), 0);
}

TEST(CollationTest, SharpSGoesWithDoubleS)
{
    EXPECT_LT(db::compareGerman(QStringLiteral("Strasse"), QStringLiteral("Straße"), true), 0);
    EXPECT_LT(db::compareGerman(QStringLiteral("Straße"), QStringLiteral("Strassen"), true), 0);
    EXPECT_GT(db::compareGerman(QStringLiteral("Straße"), QStringLiteral("Strase"), true), 0);
}

TEST(CollationTest, CaseDecidesOnlyWhenEverythingElseIsEqual)
{
    EXPECT_EQ(db::compareGerman(QStringLiteral("MÜLLER"), QStringLiteral("müller"), false), 0);
    EXPECT_NE(db::compareGerman(QStringLiteral("MÜLLER"), QStringLiteral("müller"), true), 0);
    EXPECT_LT(db::compareGerman(QStringLiteral("meier"), QStringLiteral("Meier"), true), 0);
    EXPECT_LT(db::compareGerman(QStringLiteral("Meier"), QStringLiteral("meiers"), true), 0);
    EXPECT_NE(db::compareGerman(QStringLiteral("Muller"), QStringLiteral("Müller"), false), 0);
    EXPECT_EQ(db::compareGerman(QString(), QString(), true), 0);
    EXPECT_LT(db::compareGerman(QString(), QStringLiteral("a"), true), 0);
}

// The first level's form is where a key range for every spelling of a text
// begins: no spelling sorts below it.
TEST(CollationTest, FirstLevelFormSortsBelowEverySpellingOfIt)
{
    const struct
    {
        const char *text;
        const char *form;
    } cases[] = {
        {"Müller", "muller"}, {"MÜLLER", "muller"}, {"Straße", "strasse"}, {"STRASSE", "strasse"},
        {"Äpfel", "apfel"},   {"Ðé×ÿ", "de*y"},     {"a€", "a€"},           {"", ""},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(db::germanPrimaryForm(text), QString::fromUtf8(c.form)) << c.text;
        for (const bool caseSensitive : {false, true})
            EXPECT_LE(db::compareGerman(db::germanPrimaryForm(text), text, caseSensitive), 0) << c.text;
    }
}

TEST(CollationTest, EqualityIsIdentityWhenCaseSensitive)
{
    const QStringList words{"a", "A", "ä", "Ä", "ss", "ß", "é", "e", "€", "1", "10", "2"};
    for (const QString &left : words)
        for (const QString &right : words)
            EXPECT_EQ(db::compareGerman(left, right, true) == 0, left == right)
                << left.toStdString() << " " << right.toStdString();
}

}
