#include "DbFixture.h"

#include "platform/db/DbErrors.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/runtime/Exceptions.h"

#include <functional>

namespace {

// Every test starts from the filled customers table.
class EditingTest : public DbFixture
{
protected:
    void SetUp() override { fillCustomers(); }
};

TEST_F(EditingTest, StatesFollowEditInsertPostAndCancel)
{
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

    // Leaving a new record moves the cursor back, an edited one does not.
    kunden->SetBeforeCancel(record("BeforeCancel"));
    kunden->SetAfterCancel(record("AfterCancel"));
    kunden->SetBeforeScroll(record("BeforeScroll"));
    kunden->SetAfterScroll(record("AfterScroll"));
    log.clear();
    kunden->Insert();
    kunden->Cancel();
    EXPECT_EQ(log.mid(log.indexOf("BeforeCancel")),
              (QStringList{"BeforeCancel", "BeforeScroll", "AfterCancel", "AfterScroll"}));
    log.clear();
    kunden->Edit();
    kunden->Cancel();
    EXPECT_EQ(log, (QStringList{"BeforeCancel", "AfterCancel"}));
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
    auto first = openTable(QStringLiteral("Kunden.db"));
    auto second = openTable(QStringLiteral("Kunden.db"));
    first->Edit();
    second->Edit();
    second->FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("Hamburg"));
    second->Post();
    first->FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("München"));
    EXPECT_THROW(first->Post(), EDBEngineError);
    first->Cancel();
    first->Refresh();
    EXPECT_EQ(first->FieldByName(QStringLiteral("Ort"))->AsString(), QStringLiteral("Hamburg"));
}

TEST_F(EditingTest, EachRefusalNamesItsReason)
{
    using Action = std::function<void(TTable & kunden, TTable & other)>;
    const auto nothing = [](TTable &, TTable &) {};
    const auto readOnly = [](TTable &kunden, TTable &) {
        kunden.Close();
        kunden.SetReadOnly(true);
        kunden.Open();
    };
    // The record was read (shown) before the other deleted it.
    const auto deletedByOther = [](TTable &kunden, TTable &other) {
        kunden.First();
        other.Delete();
    };
    const auto changedByOther = [](TTable &, TTable &other) {
        other.Edit();
        other.FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("Hamburg"));
        other.Post();
    };
    const auto edit = [](TTable &kunden, TTable &) { kunden.Edit(); };
    const auto insert = [](TTable &kunden, TTable &) { kunden.Insert(); };
    const auto remove = [](TTable &kunden, TTable &) { kunden.Delete(); };
    const auto post = [](TTable &kunden, TTable &) {
        kunden.FieldByName(QStringLiteral("Vorname"))->SetAsString(QStringLiteral("Eva"));
        kunden.Post();
    };
    const QString readOnlyTable = QStringLiteral("tblKunden.db: Datenmenge kann nicht verändert werden");
    const QString deleted = QStringLiteral("Datensatz wurde von einem anderen Benutzer gelöscht.");
    const struct
    {
        const char *name;
        Action prepare;
        Action operation;
        QString message;
    } cases[] = {
        {"Edit, read-only table", readOnly, edit, readOnlyTable},
        {"Insert, read-only table", readOnly, insert, readOnlyTable},
        {"Delete, read-only table", readOnly, remove, readOnlyTable},
        {"Edit, read-only field", nothing,
         [](TTable &kunden, TTable &) {
             kunden.FieldByName(QStringLiteral("Ort"))->SetReadOnly(true);
             kunden.Edit();
             kunden.FieldByName(QStringLiteral("Ort"))->SetAsString(QStringLiteral("Bonn"));
         },
         QStringLiteral("Feld 'Ort' kann nicht verändert werden")},
        {"Post, blank required field", nothing,
         [](TTable &kunden, TTable &) {
             kunden.FieldByName(QStringLiteral("Notiz"))->SetRequired(true);
             kunden.Insert();
             kunden.FieldByName(QStringLiteral("Nr"))->SetAsInteger(99);
             kunden.Post();
         },
         QStringLiteral("Feld 'Notiz' muss einen Wert haben")},
        {"Edit, row deleted by another", deletedByOther, edit, deleted},
        {"Delete, row deleted by another", deletedByOther, remove, deleted},
        {"Post, row deleted by another", nothing,
         [&](TTable &kunden, TTable &other) {
             kunden.Edit();
             other.Delete();
             post(kunden, other);
         },
         deleted},
        {"Post, row changed by another", nothing,
         [&](TTable &kunden, TTable &other) {
             kunden.Edit();
             changedByOther(kunden, other);
             post(kunden, other);
         },
         QStringLiteral("Datensatz wurde von einem anderen Benutzer geändert.")},
        {"Edit, failed open", nothing,
         [](TTable &kunden, TTable &) {
             kunden.Close();
             kunden.SetTableName(QStringLiteral("Fehlt.db"));
             try {
                 kunden.Open();
             } catch (const EDatabaseError &) {
             }
             kunden.Edit();
         },
         QStringLiteral("tblKunden.db: Operation bei geschlossener Datenmenge nicht möglich")},
    };
    for (const auto &refusal : cases) {
        auto kunden = openTable(QStringLiteral("Kunden.db"));
        auto other = openTable(QStringLiteral("Kunden.db"));
        refusal.prepare(*kunden, *other);
        try {
            refusal.operation(*kunden, *other);
            ADD_FAILURE() << refusal.name << ": not refused";
        } catch (const Exception &error) {
            EXPECT_EQ(error.Message().toStdString(), refusal.message.toStdString()) << refusal.name;
        }
    }
}

}
