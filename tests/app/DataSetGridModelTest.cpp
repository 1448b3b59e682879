#include "StartupFixture.h"

#include "app/DataSetGridModel.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Exceptions.h"

namespace {

class DataSetGridModelTest : public StartupFixture
{};

}

// A listener that fails when the list has read the records hears of it, and
// the table is left as the list found it: its links and scroll events work.
TEST_F(DataSetGridModelTest, AFailingListenerReachesTheCallerAndTheTableStaysUsable)
{
    TTable forms;
    forms.SetDatabaseName(dataFolder());
    forms.SetTableName(QStringLiteral("Formular.db"));
    forms.Open();
    int scrolls = 0;
    forms.SetAfterScroll([&scrolls](TDataSet *) { ++scrolls; });
    TDataSource source;
    source.SetDataSet(&forms);
    bool failing = true;
    source.SetOnDataChange([&failing](QObject *, TField *) {
        if (failing)
            throw EDatabaseError(QStringLiteral("Feld 'Treiber' nicht gefunden"));
    });
    DataSetGridModel model(&source, {{QStringLiteral("Bezeichnung"), QStringLiteral("Bezeichnung"), 100}});

    EXPECT_THROW(model.reload(), EDatabaseError);
    EXPECT_FALSE(forms.ControlsDisabled());
    failing = false;
    model.reload();
    EXPECT_GT(model.rowCount(), 1);
    forms.Next();
    EXPECT_EQ(scrolls, 1);
}
