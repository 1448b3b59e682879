#include "ModuleFieldsFixture.h"
#include "PrintRoadFixture.h"

#include "app/printroad/PrintLoop.h"
#include "platform/db/TFieldDefs.h"
#include "platform/db/TIndexDefs.h"
#include "platform/report/api/ReportCodes.h"

#include <QDir>
#include <QFile>

namespace {

using HostileInputTest = PrintLoopFixture;

TEST_F(HostileInputTest, AnEmptyFormFileIsCalledEmptyNotMissing)
{
    freshTables();
    ASSERT_TRUE(QDir().mkpath(ProgramPaths().FormularPfad));
    const QString layout = ProgramPaths().FormularPfad + QStringLiteral("Kunden_Liste.lst");
    QFile empty(layout);
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    request(QStringLiteral("Kunden"), QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"));
    window.row = {QStringLiteral("Kundenliste"), QStringLiteral("Kunden_Liste.lst"), 1};
    engine.script(QStringLiteral("LlPrintWithBoxStart"), {report::LL_ERR_LAYOUT});
    loop.ListeTintlen(false);
    EXPECT_EQ(services.messageTexts(),
              QStringList(QStringLiteral("Die Formulardatei %1 ist leer. Legen Sie das Formular über den "
                                         "\"Bearbeiten/Layout\"-Button neu an oder holen Sie es aus einer "
                                         "Sicherung zurück.")
                              .arg(layout)));
}

// A data folder of another program version: the document head table has
// no field the documents are found by.
using HostileDataFolderTest = ModuleFieldsTest;

TEST_F(HostileDataFolderTest, AHeadTableWithoutItsKeyFieldIsNamedWithTheField)
{
    freshTables();
    TTable foreign;
    foreign.SetTableName(ProgramPaths().DatenPfad + QStringLiteral("Auftrag.db"));
    foreign.FieldDefs()->AddParadox(QStringLiteral("Belegnummer"), QStringLiteral("A10"));
    foreign.FieldDefs()->AddParadox(QStringLiteral("kundennr"), QStringLiteral("A10"));
    foreign.IndexDefs()->Add(QString(), QStringLiteral("Belegnummer"), ixPrimary | ixUnique);
    foreign.CreateTable();
    open(QStringLiteral("Auftrag"), QStringLiteral("Rechnung"), QStringLiteral("L"), QStringLiteral("E"),
         QStringLiteral("20260001"));
    EXPECT_EQ(define(), printroad::NothingToPrint);
    EXPECT_EQ(messages(), QStringList(QStringLiteral("Der Tabelle auftrag.db fehlt das Feld auftragnr; der "
                                                     "Datenordner passt nicht zu dieser Programmversion.")));
}

} // namespace
