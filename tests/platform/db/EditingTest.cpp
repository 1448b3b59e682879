#include "DbFixture.h"

#include "platform/db/DbErrors.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

namespace {

class EditingTest : public DbFixture
{
};

TEST_F(EditingTest, StatesFollowEditInsertPostAndCancel)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(kunden->State(), dsBrowse);
    EXPECT_THROW(kunden->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("x")), EDatabaseError);
    kunden->Edit();
    EXPECT_EQ(kunden->State(), dsEdit);
    EXPECT_FALSE(kunden->Modified());
    kunden->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("Müller-Lüdenscheidt"));
    EXPECT_TRUE(kunden->Modified());
    kunden->Cancel();
    EXPECT_EQ(kunden->State(), dsBrowse);
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Müller"));

    kunden->Edit();
    kunden->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("Müller-Lüdenscheidt"));
    kunden->Post();
    auto again = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(again->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Müller-Lüdenscheidt"));
    EXPECT_EQ(again->RecordCount(), 6);
}

TEST_F(EditingTest, PostingAChangedKeyMovesTheRecord)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->First();
    kunden->Edit();
    kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(50);
    kunden->Post();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Müller"));
    EXPECT_EQ(kunden->RecNo(), 6);
    kunden->First();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 2);
}

TEST_F(EditingTest, KeyViolationKeepsTheEditState)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->Insert();
    kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(3);
    try {
        kunden->Post();
        FAIL();
    } catch (const EDBEngineError &error) {
        EXPECT_EQ(error.ErrorCode(), db::keyViolation);
        EXPECT_EQ(error.Message(), QStringLiteral("Schlüsselverletzung."));
    }
    EXPECT_EQ(kunden->State(), dsInsert);
    kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(30);
    kunden->Post();
    EXPECT_EQ(kunden->RecordCount(), 7);
}

TEST_F(EditingTest, ExceptionInBeforePostAbortsAndKeepsEditing)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->SetBeforePost([](TDataSet *) { throw EAbort(QStringLiteral("abgebrochen")); });
    kunden->Edit();
    kunden->FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("Berlin"));
    EXPECT_THROW(kunden->Post(), EAbort);
    EXPECT_EQ(kunden->State(), dsEdit);
    kunden->Cancel();
    auto again = openTable(QStringLiteral("Kunden.db"));
    EXPECT_EQ(again->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Köln"));
}

TEST_F(EditingTest, DeleteMovesToTheNextRecord)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    kunden->MoveBy(2);
    kunden->Delete();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 4);
    kunden->Last();
    kunden->Delete();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 5);
    EXPECT_EQ(kunden->RecordCount(), 4);
}

TEST_F(EditingTest, EventsFireInTheFrameworksOrder)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    QStringList log;
    auto record = [&log](const char *name) { return [&log, name](TDataSet *) { log.append(QLatin1String(name)); }; };
    kunden->setProperty("BeforeInsert", QVariant::fromValue<TDataSetNotifyEvent>(record("BeforeInsert")));
    kunden->SetOnNewRecord([&log](TDataSet *dataSet) {
        log.append(QStringLiteral("OnNewRecord"));
        dataSet->FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("Neustadt"));
    });
    kunden->SetAfterInsert(record("AfterInsert"));
    kunden->SetBeforePost(record("BeforePost"));
    kunden->SetAfterPost(record("AfterPost"));
    kunden->Insert();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Neustadt"));
    EXPECT_FALSE(kunden->Modified());
    kunden->FieldByName(QStringLiteral("Nr"))->SetAsInteger(99);
    kunden->Post();
    EXPECT_EQ(log, (QStringList{"BeforeInsert", "OnNewRecord", "AfterInsert", "BeforePost", "AfterPost"}));
    EXPECT_TRUE(kunden->property("BeforePost").value<TDataSetNotifyEvent>() != nullptr);
}

// A descendant hooks the event points the way the library's data sets do.
class CheckingTable : public TTable
{
public:
    QStringList log;

protected:
    void DoBeforePost() override
    {
        TTable::DoBeforePost();
        log.append(QStringLiteral("check"));
        if (FieldByName(QStringLiteral("Name"))->AsString().isEmpty())
            throw EDatabaseError(QStringLiteral("Name fehlt"));
    }
    void DoAfterOpen() override
    {
        log.append(QStringLiteral("opened"));
        TTable::DoAfterOpen();
    }
};

TEST_F(EditingTest, DescendantsHookTheEventPoints)
{
    fillCustomers();
    CheckingTable kunden;
    kunden.SetDatabaseName(folder());
    kunden.SetTableName(QStringLiteral("Kunden"));
    kunden.SetBeforePost([&kunden](TDataSet *) { kunden.log.append(QStringLiteral("handler")); });
    kunden.Open();
    kunden.Edit();
    kunden.FieldByName(QStringLiteral("Name"))->SetAsString(QString());
    EXPECT_THROW(kunden.Post(), EDatabaseError);
    EXPECT_EQ(kunden.State(), dsEdit);
    EXPECT_EQ(kunden.log, (QStringList{"opened", "handler", "check"}));
}

TEST_F(EditingTest, AutoIncCountsOnAndRequiredFieldsAreChecked)
{
    auto numbered = table(QStringLiteral("Zaehler.db"));
    numbered->FieldDefs()->AddParadox(QStringLiteral("Id"), QStringLiteral("+"));
    numbered->FieldDefs()->AddParadox(QStringLiteral("Text"), QStringLiteral("A10"), true);
    numbered->IndexDefs()->Add(QString(), QStringLiteral("Id"), ixPrimary);
    numbered->CreateTable();
    numbered->Open();
    for (const char *text : {"eins", "zwei"}) {
        numbered->Append();
        numbered->FieldByName(QStringLiteral("Text"))->SetAsString(QLatin1String(text));
        numbered->Post();
    }
    EXPECT_EQ(numbered->FieldByName(QStringLiteral("Id"))->AsInteger(), 2);
    numbered->Append();
    EXPECT_THROW(numbered->Post(), EDatabaseError);
    numbered->Cancel();
    EXPECT_EQ(numbered->RecordCount(), 2);
}

TEST_F(EditingTest, DatabaseTransactionRollsBackEveryWrite)
{
    fillCustomers();
    auto kunden = openTable(QStringLiteral("Kunden.db"));
    TDatabase database;
    database.SetDatabaseName(folder());
    database.StartTransaction();
    addCustomer(*kunden, 20, QStringLiteral("Temp"), QString(), QString(), 0, QString());
    kunden->First();
    kunden->Delete();
    database.Rollback();
    EXPECT_EQ(kunden->RecordCount(), 6);
    kunden->First();
    EXPECT_EQ(kunden->FieldByName(QStringLiteral("Nr"))->AsInteger(), 1);
}

TEST_F(EditingTest, ChangesByAnotherConnectionAreNotOverwritten)
{
    fillCustomers();
    auto first = openTable(QStringLiteral("Kunden.db"));
    auto second = openTable(QStringLiteral("Kunden.db"));
    first->Edit();
    second->Edit();
    second->FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("Hamburg"));
    second->Post();
    first->FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("München"));
    try {
        first->Post();
        FAIL();
    } catch (const EDBEngineError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Datensatz wurde von einem anderen Benutzer geändert."));
    }
    first->Cancel();
    first->Refresh();
    EXPECT_EQ(first->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Hamburg"));
}

}
