#include "PrintRoadFixture.h"

#include "app/printroad/PrintRoad.h"
#include "app/printroad/ReportModules.h"
#include "demo/tables/FormRows.h"
#include "demo/tables/MailProgramFolder.h"

#include <exception>

namespace {

// The record key a request of the suite carries for each module.
QString keyFor(const QString &module)
{
    static const QHash<QString, QString> keys = {{"Ansprech-L", "70003"},
                                                 {"Kontakte-L", "70001"},
                                                 {"Kontakte-M", "203"},
                                                 {"LfrArt", "70001"},
                                                 {"MabKun", "201"},
                                                 {"ArtKun", "1001"},
                                                 {"ArtPreis", "1001"},
                                                 {"Stückliste", "1012"},
                                                 {"GrZuord-G", "STAMM"},
                                                 {"Zahlungseingang", ">=01.10.2026 <=30.11.2026"},
                                                 {"Zahlungsausgang", ">=01.09.2026 <=30.11.2026"}};
    return keys.value(module, QStringLiteral("10001"));
}

bool isDocumentForm(const QString &module, const QString &type)
{
    return (module == QLatin1String("Auftrag") || module == QLatin1String("Bestellung"))
           && !type.contains(QLatin1String("iste")) && !type.startsWith(QLatin1String("Etikett"))
           && type != QLatin1String("Sonstiges");
}

class PrintRoadTest : public PrintLoopFixture
{
protected:
    printroad::PrintRoad road{window, printroad::ReportModuleBranches()};
};

}

// Every print row of the demo's form table goes through the whole road to
// the screen: tables, records, fields of its module, the loop and the
// preview, without a message and with something printed.
TEST_F(PrintRoadTest, EveryDemoFormPrintsWithoutAMessage)
{
    window.chosen = printroad::Output::Bildschirm;
    const QString mailbox =
        demo::mailProgramPaths(QFileInfo(ProgramPaths().DatenPfad).dir().filePath("../kuvertalia")).mailbox;
    for (const demo::Row &row : demo::formRows()) {
        const QString module = row.value("Modul").toString();
        const QString type = row.value("Typ").toString();
        const QString file = row.value("DateiErsteSeite").toString();
        const bool labels = demo::formRowFile(row).endsWith(QLatin1String(".lbl"));
        if (type.endsWith(QLatin1String("-eMail")))
            continue;
        SCOPED_TRACE((module + QLatin1Char(' ') + type).toStdString());
        const bool document = isDocumentForm(module, type);
        request(module, type, labels ? QStringLiteral("E") : QStringLiteral("L"),
                document || labels ? QStringLiteral("M") : QStringLiteral("A"), keyFor(module));
        if (labels)
            PrintRequest().Datensatz.clear();
        if (type == QLatin1String("EtikettArt"))
            PrintRequest().Datensatz =
                module == QLatin1String("Auftrag") ? QStringLiteral("20260002") : QStringLiteral("30260004");
        window.row = {row.value("Bezeichnung").toString(), file, 1};
        ProgramPaths().DatenpfadQRB = mailbox;
        engine.calls.clear();
        services.clear();
        try {
            road.job.Tintlen();
        } catch (const std::exception &e) {
            ADD_FAILURE() << e.what();
        }
        EXPECT_TRUE(services.messages().isEmpty()) << services.messageTexts().join('|').toStdString();
        EXPECT_GT(engine.count(QStringLiteral("LlPrint")), 0);
        EXPECT_EQ(engine.count(QStringLiteral("LlJobOpen")), engine.count(QStringLiteral("LlJobClose")));
        EXPECT_EQ(engine.count(QStringLiteral("LlPreviewDeleteFiles")),
                  engine.count(QStringLiteral("LlPreviewDisplay")));
    }
}
