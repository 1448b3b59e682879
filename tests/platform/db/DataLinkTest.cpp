#include "DbFixture.h"

#include "platform/db/TDataLink.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"

namespace {

class RecordingLink : public TDataLink
{
public:
    QStringList log;

protected:
    void ActiveChanged() override { log.append(QStringLiteral("ActiveChanged")); }
    void DataSetChanged() override { log.append(QStringLiteral("DataSetChanged")); }
    void DataSetScrolled(int distance) override { log.append(QStringLiteral("Scrolled %1").arg(distance)); }
    void EditingChanged() override { log.append(QStringLiteral("EditingChanged")); }
    void RecordChanged(TField *field) override
    {
        log.append(QStringLiteral("RecordChanged %1").arg(field ? field->FieldName() : QStringLiteral("-")));
    }
    void UpdateData() override { log.append(QStringLiteral("UpdateData")); }
    void LayoutChanged() override { log.append(QStringLiteral("LayoutChanged")); }
};

class DataLinkTest : public DbFixture
{
protected:
    // The customer table, open, behind `source`.
    void openLinkedCustomers()
    {
        fillCustomers();
        kunden = openTable(QStringLiteral("Kunden.db"));
        source.SetDataSet(kunden.get());
    }

    std::unique_ptr<TTable> kunden;
    TDataSource source;
};

TEST_F(DataLinkTest, LinksHearEventsInOrder)
{
    fillCustomers();
    kunden = table(QStringLiteral("Kunden.db"));
    QStringList sourceLog;
    source.SetOnStateChange([&](QObject *) { sourceLog.append(QStringLiteral("State %1").arg(int(source.State()))); });
    source.SetOnDataChange([&](QObject *, TField *field) {
        sourceLog.append(QStringLiteral("Data %1").arg(field ? field->FieldName() : QStringLiteral("-")));
    });
    source.SetDataSet(kunden.get());
    RecordingLink link;
    link.SetDataSource(&source);
    kunden->Open();
    kunden->Next();
    kunden->Edit();
    kunden->FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("Bremen"));
    kunden->Post();
    kunden->FieldByName(QStringLiteral("Name"))->SetDisplayLabel(QStringLiteral("Nachname"));
    kunden->Close();
    EXPECT_EQ(link.log,
              (QStringList{"ActiveChanged", "Scrolled 1", "EditingChanged", "RecordChanged -", "RecordChanged Ort",
                           "UpdateData", "EditingChanged", "DataSetChanged", "LayoutChanged", "ActiveChanged"}));
    EXPECT_EQ(sourceLog, (QStringList{"State 1", "Data -", "State 2", "Data -", "Data Ort", "State 1", "Data -",
                                      "Data -", "State 0"}));
}

TEST_F(DataLinkTest, LinksLetGoOfADestroyedDataSet)
{
    openLinkedCustomers();
    TFieldDataLink link;
    link.SetDataSource(&source);
    link.SetFieldName(QStringLiteral("Name"));
    ASSERT_NE(link.Field(), nullptr);
    kunden.reset();
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.Field(), nullptr);
    EXPECT_EQ(source.State(), dsInactive);
}

TEST_F(DataLinkTest, DisabledControlsHearOneChangeAtTheEnd)
{
    openLinkedCustomers();
    RecordingLink link;
    link.SetDataSource(&source);
    link.log.clear();
    kunden->DisableControls();
    kunden->DisableControls();
    kunden->Next();
    kunden->Last();
    kunden->EnableControls();
    EXPECT_TRUE(link.log.isEmpty());
    kunden->EnableControls();
    EXPECT_EQ(link.log, QStringList{"DataSetChanged"});
}

TEST_F(DataLinkTest, BufferWindowMovesOnlyWhenTheCursorLeavesIt)
{
    openLinkedCustomers();
    RecordingLink link;
    link.SetDataSource(&source);
    link.SetBufferCount(3);
    auto visible = [&] {
        QStringList names;
        const int active = link.ActiveRecord();
        for (int i = 0; i < link.RecordCount(); ++i) {
            link.SetActiveRecord(i);
            names.append(kunden->FieldByName(QStringLiteral("Nr"))->AsString());
        }
        link.SetActiveRecord(active);
        return names.join(QLatin1Char(' ')) + QStringLiteral(" @%1").arg(active);
    };
    kunden->First();
    EXPECT_EQ(visible(), QStringLiteral("1 2 3 @0"));
    link.log.clear();
    kunden->Next();
    kunden->Next();
    EXPECT_EQ(visible(), QStringLiteral("1 2 3 @2"));
    kunden->Next();
    EXPECT_EQ(visible(), QStringLiteral("2 3 4 @2"));
    EXPECT_EQ(link.log, (QStringList{"Scrolled 0", "Scrolled 0", "Scrolled 1"}));
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 4);
    kunden->Last();
    EXPECT_EQ(visible(), QStringLiteral("4 5 6 @2"));
    kunden->MoveBy(-3);
    EXPECT_EQ(visible(), QStringLiteral("3 4 5 @0"));
    EXPECT_EQ(link.log.last(), QStringLiteral("Scrolled -1"));
    kunden->First();
    EXPECT_EQ(visible(), QStringLiteral("1 2 3 @0"));
    kunden->Edit();
    kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(100);
    EXPECT_EQ(visible(), QStringLiteral("100 2 3 @0"));
    kunden->Cancel();
    link.SetActiveRecord(2);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Zander"));
    link.SetActiveRecord(0);
    EXPECT_EQ(kunden->RecNo(), 1);
}

TEST_F(DataLinkTest, FieldDataLinkFollowsItsField)
{
    fillCustomers();
    kunden = table(QStringLiteral("Kunden.db"));
    source.SetDataSet(kunden.get());
    TFieldDataLink link;
    int changes = 0;
    link.OnDataChange = [&] { ++changes; };
    link.SetDataSource(&source);
    link.SetFieldName(QStringLiteral("ORT"));
    EXPECT_EQ(link.Field(), nullptr);
    kunden->Open();
    ASSERT_NE(link.Field(), nullptr);
    EXPECT_EQ(link.Field()->AsString(), QStringLiteral("Köln"));
    const int before = changes;
    kunden->Next();
    EXPECT_GT(changes, before);
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(kunden->State(), dsEdit);
}

}
