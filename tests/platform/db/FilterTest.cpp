#include "DbFixture.h"

#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

namespace {

// Every test starts from the filled customers table.
class FilterTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
    QStringList filtered(const QString &filter, TFilterOptions options = 0)
    {
        auto kunden = openTable(QStringLiteral("Kunden.db"));
        kunden->SetFilterOptions(options);
        kunden->SetFilter(filter);
        kunden->SetFiltered(true);
        QStringList result = names(*kunden);
        EXPECT_EQ(kunden->RecordCount(), result.size()) << filter.toStdString();
        return result;
    }
};

TEST_F(FilterTest, TextLanguageWithComparisonsAndLogic)
{
    EXPECT_EQ(filtered(QStringLiteral("Ort = 'Köln'")), (QStringList{"Müller", "Ärger"}));
    EXPECT_EQ(filtered(QStringLiteral("Umsatz > 60 AND NOT (Ort = 'Köln')")), (QStringList{"mueller"}));
    EXPECT_EQ(filtered(QStringLiteral("(Nr <= 2) OR Name = 'Zander'")), (QStringList{"Müller", "Meier", "Zander"}));
    EXPECT_EQ(filtered(QStringLiteral("Name <> 'Meier' and nr < 4")), (QStringList{"Müller", "Zander"}));
    EXPECT_EQ(filtered(QStringLiteral("[Name] = 'Mei*'")), (QStringList{"Meier", "Meierhof"}));
    EXPECT_EQ(filtered(QStringLiteral("Name = 'Mei*'"), foNoPartialCompare), QStringList{});
    EXPECT_EQ(filtered(QStringLiteral("Aktiv = 'True'")), (QStringList{"Müller", "Zander", "Meierhof"}));
}

TEST_F(FilterTest, DatesCompareAsDatesAndBlankEqualsNull)
{
    EXPECT_EQ(filtered(QStringLiteral("Seit < '01.01.2000'")), (QStringList{"Meier", "Zander"}));
    EXPECT_EQ(filtered(QStringLiteral("Seit >= '1.2.2003' AND Seit <= '05.05.2005'")),
              (QStringList{"Müller", "Meierhof"}));
    EXPECT_EQ(filtered(QStringLiteral("Ort = ''")), (QStringList{"mueller"}));
    EXPECT_EQ(filtered(QStringLiteral("Seit IS NULL")), (QStringList{"mueller"}));
    EXPECT_EQ(filtered(QStringLiteral("Ort IS NOT NULL AND Seit IS NOT NULL")).size(), 5);
    EXPECT_EQ(filtered(QStringLiteral("Ort <> 'Köln'")).size(), 4);
}

TEST_F(FilterTest, DoubleQuotesNameAFieldOrElseHoldText)
{
    EXPECT_EQ(filtered(QStringLiteral("\"Ort\" = \"Köln\"")), (QStringList{"Müller", "Ärger"}));
    EXPECT_EQ(filtered(QStringLiteral("Ort = \"Bonn\" OR \"Name\" = 'Zander'")), (QStringList{"Meier", "Zander"}));
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    EXPECT_THROW(kunden->SetFilter(QStringLiteral("\"Fehlt\" IS NULL")), EDatabaseError);
}

TEST_F(FilterTest, CaseInsensitiveOption)
{
    EXPECT_EQ(filtered(QStringLiteral("Name = 'MÜLLER'")), QStringList{});
    EXPECT_EQ(filtered(QStringLiteral("Name = 'MÜLLER'"), foCaseInsensitive), (QStringList{"Müller"}));
    EXPECT_EQ(filtered(QStringLiteral("Name = 'MEI*'"), foCaseInsensitive), (QStringList{"Meier", "Meierhof"}));
}

TEST_F(FilterTest, ErrorsLeaveTheDataSetAsItWas)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->SetFilter(QStringLiteral("Ort = 'Köln'"));
    kunden->SetFiltered(true);
    kunden->Next();
    for (const char *bad : {"Ort = ", "Ort = 'Köln", "(Ort = 'x'", "Ort ~ 3", "Fehlt = 1", "Ort IS 3"}) {
        EXPECT_THROW(kunden->SetFilter(QString::fromUtf8(bad)), EDatabaseError) << bad;
        EXPECT_EQ(kunden->Filter(), QStringLiteral("Ort = 'Köln'"));
        EXPECT_EQ(kunden->RecordCount(), 2);
        EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Ärger"));
    }
    try {
        kunden->SetFilter(QStringLiteral("Fehlt = 1"));
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Filter: Feld 'Fehlt' nicht gefunden"));
    }
}

TEST_F(FilterTest, OnFilterRecordSeesTheCandidateInFilterState)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    QList<TDataSetState> states;
    bool writeRefused = false;
    kunden->SetOnFilterRecord([&](TDataSet *dataSet, bool &accept) {
        states.append(dataSet->State());
        try {
            dataSet->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("x"));
        } catch (const EDatabaseError &) {
            writeRefused = true;
        }
        accept = dataSet->FieldByName(QStringLiteral("Umsatz"))->AsFloat() >= 75;
    });
    kunden->SetFiltered(true);
    EXPECT_EQ(names(*kunden), (QStringList{"Müller", "Ärger", "mueller"}));
    EXPECT_TRUE(writeRefused);
    ASSERT_FALSE(states.isEmpty());
    EXPECT_TRUE(std::all_of(states.begin(), states.end(), [](TDataSetState s) { return s == dsFilter; }));
    EXPECT_EQ(kunden->State(), dsBrowse);
    kunden->Last();
    EXPECT_EQ(kunden->RecNo(), 3);
    EXPECT_EQ(kunden->RecordCount(), 3);

    kunden->SetFilter(QStringLiteral("Ort = 'Köln'"));
    EXPECT_EQ(names(*kunden), (QStringList{"Müller", "Ärger"}));
    kunden->SetFiltered(false);
    EXPECT_EQ(kunden->RecordCount(), 6);
}

TEST_F(FilterTest, ExceptionFromTheCallbackLeavesTheCursorConsistent)
{
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->SetFiltered(true);
    kunden->Next();
    bool raise = false;
    kunden->SetOnFilterRecord([&](TDataSet *dataSet, bool &accept) {
        if (raise && dataSet->FieldByName(QStringLiteral("Nr"))->AsInteger() == 5)
            throw EAbort(QStringLiteral("Abbruch"));
        accept = true;
    });
    kunden->Next();
    raise = true;
    EXPECT_THROW(kunden->First(), EAbort);
    EXPECT_THROW(kunden->Refresh(), EAbort);
    EXPECT_EQ(kunden->State(), dsBrowse);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 2);
    raise = false;
    kunden->Next();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 3);
    kunden->Refresh();
    kunden->MoveBy(2);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 5);
}

TEST_F(FilterTest, FilterWorksWithinARangeOnLargeTables)
{
    createPositions(400, 5);
    auto positions = openTable(QStringLiteral("atrpos.db"));
    positions->SetRange({100}, {199});
    positions->SetFilter(QStringLiteral("Posnr = 3 AND Menge > 4"));
    positions->SetFiltered(true);
    EXPECT_EQ(positions->RecordCount(), 100);
    positions->Last();
    EXPECT_EQ(positions->RecNo(), 100);
    EXPECT_EQ(positions->FieldByName(QStringLiteral("Auftragnr"))->AsInteger(), 199);
}

}
