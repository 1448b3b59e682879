#include "ModuleFieldsFixture.h"

#include "app/printroad/ReportFields.h"
#include "platform/db/TField.h"
#include "platform/os/IniFile.h"
#include "platform/report/api/ReportApi.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/runtime/FormatSettings.h"

namespace {

constexpr int job = 1;

class ReportFieldsTest : public PrintRoadFixture
{
protected:
    void SetUp() override
    {
        PrintRoadFixture::SetUp();
        ResetFormatSettings();
    }

    // The type code of the last definition of `name` by the given call.
    int typeOf(const QString &call, const QString &name) const
    {
        for (auto it = engine.calls.crbegin(); it != engine.calls.crend(); ++it) {
            if (it->name == call && it->args.value(1).toString() == name)
                return it->args.value(3).toInt();
        }
        return -1;
    }

    int variableType(const QString &name) const { return typeOf(QStringLiteral("LlDefineVariableExt"), name); }
    int fieldType(const QString &name) const { return typeOf(QStringLiteral("LlDefineFieldExt"), name); }

    void openModule(const QString &module, const QString &key = QString())
    {
        request(module, QStringLiteral("Liste"), QStringLiteral("L"), QStringLiteral("A"), key);
        data.OpenDBs(true);
    }

    printroad::ReportFields fields{data, {}};
};

}

TEST_F(ReportFieldsTest, CommonVariablesComeFromTheCompanySettingsOrStayEmpty)
{
    openModule(QStringLiteral("Kunden"));
    fields.DefineCommVars(job, EncodeDate(2026, 11, 20));
    expectGolden(QStringLiteral("CommonVariables_Kunden"), definitionsOf(engine));
    data.job().euroDruck = true;
    fields.DefineCommVars(job, EncodeDate(2026, 11, 20));
    EXPECT_EQ(engine.variables.value("Währung"), QStringLiteral("€"));
    EXPECT_TRUE(services.messages().isEmpty());

    // Without settings the texts are empty and the formats have no decimals.
    tcSetup->Close();
    engine.calls.clear();
    fields.DefineCommVars(job, EncodeDate(2026, 11, 20));
    expectGolden(QStringLiteral("CommonVariables_without_settings"), definitionsOf(engine));
    EXPECT_TRUE(services.messages().isEmpty());
}

TEST_F(ReportFieldsTest, TaxRatesFollowTheirValidityDateAndProblemsAreReportedOncePerJob)
{
    openModule(QStringLiteral("Kunden"));
    EXPECT_EQ(fields.GetSteuerProz(QStringLiteral("1"), EncodeDate(2026, 1, 1)), 19.0);
    EXPECT_EQ(fields.GetSteuerProz(QStringLiteral("1"), EncodeDate(2006, 12, 31)), 16.0);
    EXPECT_EQ(fields.GetSteuerProz(QStringLiteral(" 2"), EncodeDate(1970, 1, 1)), 7.0);
    EXPECT_EQ(fields.GetSteuerProz(QStringLiteral("0"), EncodeDate(1970, 1, 1)), 0.0);
    EXPECT_TRUE(services.messages().isEmpty());

    // Problems are reported once per job.
    for (int record = 0; record < 3; ++record) {
        EXPECT_EQ(fields.GetSteuerProz(QStringLiteral("9"), EncodeDate(2026, 1, 1)), 0.0);
        EXPECT_EQ(fields.GetSteuerProz(QStringLiteral("123"), EncodeDate(2026, 1, 1)), 0.0);
    }
    EXPECT_EQ(services.messageTexts(), QStringList({QStringLiteral("Der Steuersatz  9 ist nicht vorhanden!"),
                                                    QStringLiteral("Steuersatz 123 ist ungültig!")}));
    EXPECT_EQ(services.messages().first().caption, QStringLiteral("GetSteuerProz()"));
    data.job().startJob();
    fields.GetSteuerProz(QStringLiteral("9"), EncodeDate(2026, 1, 1));
    EXPECT_EQ(services.messages().size(), 3);
}

TEST_F(ReportFieldsTest, TableFieldsAreOfferedByTheirType)
{
    openModule(QStringLiteral("Auftrag"), QStringLiteral("20260002"));
    ASSERT_TRUE(tc->FindKey({QStringLiteral("20260002")}));
    fields.TCDefineFields(job, tc, false, false, QString());
    // Among them no Versandkosten and no Zaehler.
    expectGolden(QStringLiteral("TableFields_Auftrag_20260002"), definitionsOf(engine));
    EXPECT_TRUE(engine.variables.isEmpty());
}

TEST_F(ReportFieldsTest, AmountsComeInEuroAndInTheDocumentsCurrency)
{
    openModule(QStringLiteral("Auftrag"), QStringLiteral("20260002"));
    ASSERT_TRUE(tc->FindKey({QStringLiteral("20260002")}));
    const QString euro = tc->FieldByName(QStringLiteral("endbetrag"))->AsString();
    const QString currency = tc->FieldByName(QStringLiteral("endbetragWae"))->AsString();
    ASSERT_NE(euro, currency);

    fields.TCDefineFields(job, tc, false, false, QStringLiteral("Auftrag_"));
    EXPECT_EQ(engine.fields.value("Auftrag_endbetrag"), currency);
    EXPECT_EQ(engine.fields.value("Auftrag_endbetragWae"), currency);
    EXPECT_EQ(engine.fields.value("Auftrag_endbetragEuro"), euro);
    EXPECT_EQ(fieldType("Auftrag_endbetragEuro"), report::LL_NUMERIC);

    data.job().euroDruck = true;
    fields.TCDefineFields(job, tc, false, false, QStringLiteral("Auftrag_"));
    EXPECT_EQ(engine.fields.value("Auftrag_endbetrag"), euro);
}

TEST_F(ReportFieldsTest, VariablesAreCopiedForHeaderAndFooterLines)
{
    openModule(QStringLiteral("Kunden"));
    fields.TCDefineFields(job, tc, true, false, QStringLiteral("Kunde_"));
    const QString name = tc->FieldByName(QStringLiteral("Name"))->AsString();
    EXPECT_EQ(engine.variables.value("Kunde_Name"), name);
    EXPECT_EQ(engine.fields.value("Kopf_Kunde_Name"), name);
    EXPECT_EQ(engine.fields.value("Fuss_Kunde_Name"), name);
    EXPECT_EQ(fieldType("Kopf_Kunde_Name"), report::LL_TEXT | report::LL_TABLE_HEADERFIELD);
    EXPECT_EQ(fieldType("Fuss_Kunde_Name"), report::LL_TEXT | report::LL_TABLE_FOOTERFIELD);
    EXPECT_EQ(engine.variables.value("Kunde_Bild").isEmpty(), tc->FieldByName(QStringLiteral("Bild"))->IsNull());
    EXPECT_EQ(variableType("Kunde_Bild"), -1);
    EXPECT_EQ(engine.last(QStringLiteral("LlDefineVariableExtHandle"))->args.value(3).toInt(),
              report::LL_DRAWING_HBITMAP);
}

TEST_F(ReportFieldsTest, ARecordNotFoundDefinesEverythingEmpty)
{
    openModule(QStringLiteral("Auftrag"), QStringLiteral("20260002"));
    tc->First();
    EXPECT_FALSE(fields.DefineLookup(job, tc, {QStringLiteral("nicht da")}, true, QStringLiteral("Auftrag_")));
    EXPECT_TRUE(engine.variables.contains("Auftrag_auftragnr"));
    EXPECT_TRUE(engine.variables.value("Auftrag_auftragnr").isEmpty());
    EXPECT_TRUE(engine.variables.value("Auftrag_endbetragEuro").isEmpty());
    EXPECT_TRUE(engine.variables.value("Auftrag_endbetrag").isEmpty());

    EXPECT_TRUE(fields.DefineLookup(job, tcKunden, {QStringLiteral("10003")}, true, QStringLiteral("Kunde_")));
    EXPECT_EQ(engine.variables.value("Kunde_nr"), QStringLiteral("10003"));
}

TEST_F(ReportFieldsTest, ComputedAmountsDefineAllThreeNames)
{
    fields.DefineEuroVariable(job, QStringLiteral("Summe"), 1234.5, 2414.5);
    EXPECT_EQ(engine.variables.value("Summe"), QStringLiteral("2414,5"));
    EXPECT_EQ(engine.variables.value("SummeEuro"), QStringLiteral("1234,5"));
    EXPECT_EQ(engine.variables.value("SummeWae"), QStringLiteral("2414,5"));
    data.job().euroDruck = true;
    fields.DefineEuroField(job, QStringLiteral("Summe"), report::LL_NUMERIC | report::LL_TABLE_FOOTERFIELD, 10, 19.56);
    EXPECT_EQ(engine.fields.value("Summe"), QStringLiteral("10"));
    EXPECT_EQ(fieldType("SummeWae"), report::LL_NUMERIC | report::LL_TABLE_FOOTERFIELD);
}

TEST_F(ReportFieldsTest, BarcodesArePaddedForTheirSymbology)
{
    fields.DefineBarcodes(job, QStringLiteral("12345"), QStringLiteral("KdNr"));
    expectGolden(QStringLiteral("Barcodes_12345"), definitionsOf(engine));
    EXPECT_EQ(engine.count(QStringLiteral("LlDefineVariableExt")), 15);

    TIniFile(scratchPath(QStringLiteral("Tintlen.ini")))
        .WriteString(QStringLiteral("Init"), QStringLiteral("EAN13Prefix"), QStringLiteral(" 400 "));
    // The ini file is read once per job: the prefix counts from the next one.
    fields.DefineBarcodes(job, QStringLiteral("12345"), QStringLiteral("KdNr"));
    EXPECT_EQ(engine.variables.value("Barcode_KdNr_EAN13"), QStringLiteral("00|00000|12345"));
    fields.job().startJob();
    fields.DefineBarcodes(job, QStringLiteral("12345"), QStringLiteral("KdNr"));
    EXPECT_EQ(engine.variables.value("Barcode_KdNr_EAN13"), QStringLiteral("00|00400|12345"));
}

TEST_F(ReportFieldsTest, TheModuleChoosesItsBranch)
{
    QStringList called;
    auto branch = [&called](const QString &name, int limit) {
        return [&called, name, limit](printroad::ReportFields &, int, TTable *&, bool) {
            called << name;
            return limit;
        };
    };
    printroad::ReportFields dispatching(data, {{QStringLiteral("Kontakte-"), true, branch("Kontakte-", 5)},
                                               {QStringLiteral("Kontakte"), false, branch("Kontakte", 7)}});
    TTable *slot = nullptr;
    request(QStringLiteral("Kontakte-L"), QString(), QStringLiteral("L"), QStringLiteral("A"));
    EXPECT_EQ(dispatching.DefineFields(job, slot, false, true), 5);
    EXPECT_TRUE(data.job().designer);
    request(QStringLiteral("Kontakte"), QString(), QStringLiteral("L"), QStringLiteral("A"));
    EXPECT_EQ(dispatching.DefineFields(job, slot, false, false), 7);
    request(QStringLiteral("Kontakt"), QString(), QStringLiteral("L"), QStringLiteral("A"));
    EXPECT_EQ(dispatching.DefineFields(job, slot, false, false), 0);
    EXPECT_EQ(called, QStringList({"Kontakte-", "Kontakte"}));
    EXPECT_EQ(services.messageTexts(), QStringList(QStringLiteral("Fehler DefineFields: Modul Kontakt unbekannt")));
}

TEST_F(ReportFieldsTest, PicturesAreHandedOverAndEmptyWhenNotFound)
{
    openModule(QStringLiteral("Artikel"));
    ASSERT_TRUE(fields.DefineLookup(job, tc, {QStringLiteral("1001")}, true, QStringLiteral("Artikel_")));
    EXPECT_EQ(engine.variables.value("Artikel_Bild"), QStringLiteral("(Bild)"));
    const auto *picture = engine.last(QStringLiteral("LlDefineVariableExtHandle"));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->args.value(2).value<QImage>().isNull());
    EXPECT_FALSE(fields.DefineLookup(job, tc, {QStringLiteral("0000")}, false, QStringLiteral("Artikel_")));
    EXPECT_TRUE(engine.fields.contains("Artikel_Bild"));
    EXPECT_TRUE(engine.fields.value("Artikel_Bild").isEmpty());
}
