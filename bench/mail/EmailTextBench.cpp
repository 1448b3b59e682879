// Generates the e-mails of 1,000 documents of 20 positions each through the
// template language and builds the same texts with plain string building on
// the same tables; prints both times and their ratio (template/plain).
// Run it from a Release build.

#include "demo/tables/DemoTables.h"
#include "mail/EmailText.h"
#include "mail/NCTable.h"
#include "mail/TemplateLanguage.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/db/TField.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int Documents = 1000;
constexpr int PositionsPerDocument = 20;
constexpr int Rounds = 5;

QString documentNumber(int index)
{
    return QString::number(30000000 + index);
}

void writeTables(const QString &folder)
{
    demo::writeTable("setup.db", folder, demo::Rows{{{"Firma", "Tintlen GmbH"}, {"EuroBezeichnung", "EUR"}}});
    demo::writeTable("Kunden.db", folder,
                     demo::Rows{{{"nr", "K1"}, {"Name", "Müller & Söhne GmbH"}, {"EMail", "info@mueller-soehne.de"}}});
    demo::writeTable("Mitarbei.db", folder, demo::Rows{{{"nr", "V1"}, {"Name", "Vertreter"}}});
    demo::Rows articles;
    for (int p = 1; p <= PositionsPerDocument; ++p)
        articles << demo::Row{{"Artikelnr", QString("A%1").arg(p)}, {"Einheit", "Stk"}};
    demo::writeTable("Artikel.db", folder, articles);
    demo::Rows heads;
    demo::Rows positions;
    for (int d = 0; d < Documents; ++d) {
        heads << demo::Row{{"auftragnr", documentNumber(d)}, {"kundennr", "K1"}, {"Euro", "J"}, {"vertreternr", "V1"}};
        for (int p = 1; p <= PositionsPerDocument; ++p)
            positions << demo::Row{{"auftragnr", documentNumber(d)},
                                   {"posnr", p},
                                   {"Artikelnr", QString("A%1").arg(p)},
                                   {"Bezeichnung", QString("Schraube M%1 verzinkt").arg(p)},
                                   {"menge", double(p)},
                                   {"gpreis", p * 12.5 + d * 0.01}};
    }
    demo::writeTable("Auftrag.db", folder, heads);
    demo::writeTable("atrpos.db", folder, positions);
}

struct Tables
{
    std::vector<std::unique_ptr<TNCTable>> owned;
    TEmailDocumentTables sources;

    Tables(const QString &folder, TFormatlist &vocabulary)
    {
        vocabulary.RegisterTemplateCommands();
        const auto open = [&](const char *name, const char *prefix) {
            auto table = std::make_unique<TNCTable>();
            table->SetDatabaseName(folder);
            table->SetTableName(name);
            table->Prefix = prefix;
            table->Open();
            vocabulary.RegisterTableFields(table.get(), AllAreas);
            owned.push_back(std::move(table));
            return owned.back().get();
        };
        sources = {open("Auftrag.db", "Auftrag"),
                   open("atrpos.db", "Pos"),
                   open("Artikel.db", "Artikel"),
                   open("Kunden.db", "Kunden"),
                   open("Mitarbei.db", "Mitarb"),
                   true,
                   "Kunden"};
    }
};

TFormular benchTemplate()
{
    TFormular formular;
    formular.Section(fsDokumentanfang) = {"Rechnung #Auftrag_auftragnr für #Kunden_Name", ""};
    formular.Section(fsTabellenkopf) = {"Bezeichnung                        Menge      Betrag"};
    formular.Section(fsTabelleneintrag) = {"#Pos_Bezeichnung:30#Pos_menge:10#Pos_gpreis:12"};
    formular.Section(fsFormularende) = {"", "Summe #Var_Übertrag:40"};
    return formular;
}

QStringList plainText(TEmailDocumentTables &tables)
{
    static const QLocale german(QLocale::German, QLocale::Germany);
    const auto number = [](double value, int width) {
        return QStringLiteral("%1").arg(german.toString(value, 'f', 2), width);
    };
    TNCTable &head = *tables.Kopf;
    TNCTable &positions = *tables.Pos;
    PositionOnKey(*tables.Partner, head.FieldByName("kundennr")->AsString());
    QStringList text;
    text << QStringLiteral("Rechnung ") + head.FieldByName("auftragnr")->AsString() + QStringLiteral(" für ")
                + tables.Partner->FieldByName("Name")->AsString()
         << QString() << QStringLiteral("Bezeichnung                        Menge      Betrag");
    double sum = 0;
    PositionOnKey(positions, head.FieldByName("auftragnr")->AsString());
    for (; !positions.Eof(); positions.Next()) {
        const double amount = positions.FieldByName("gpreis")->AsFloat();
        sum += amount;
        text << positions.FieldByName("Bezeichnung")->AsString().leftJustified(30, QLatin1Char(' '), true)
                    + number(positions.FieldByName("menge")->AsFloat(), 10) + number(amount, 12);
    }
    text << QString() << QStringLiteral("Summe ") + number(sum, 40) << QString() << AdvertisementLines();
    return text;
}

double seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    writeTables(folder.path());
    TFormatlist vocabulary;
    Tables tables(folder.path(), vocabulary);
    const TFormular formular = benchTemplate();
    TTemplateContext context(vocabulary, &formular);
    TEmailGenerator generator(context, formular, tables.sources, folder.path(), false);
    generator.Tab = {AutomaticRecipientText, QString(), QString(), "Rechnung #Auftrag_auftragnr"};

    const auto viaTemplate = [&] {
        QString to, cc, bcc, subject;
        int page = 0;
        for (tables.sources.Kopf->First(); !tables.sources.Kopf->Eof(); tables.sources.Kopf->Next()) {
            QStringList text;
            generator.GenerateEmailText(text, to, cc, page, false, false, subject, bcc);
        }
    };
    const auto viaPlainStrings = [&] {
        for (tables.sources.Kopf->First(); !tables.sources.Kopf->Eof(); tables.sources.Kopf->Next())
            plainText(tables.sources);
    };

    tables.sources.Kopf->First();
    QStringList generated;
    QString to, cc, bcc, subject;
    int page = 0;
    generator.GenerateEmailText(generated, to, cc, page, false, false, subject, bcc);
    if (generated != plainText(tables.sources)) {
        std::fprintf(stderr, "the two sides do not produce the same text:\n%s\n--\n%s\n",
                     qPrintable(generated.join('\n')), qPrintable(plainText(tables.sources).join('\n')));
        return 1;
    }

    std::vector<double> templateTimes;
    std::vector<double> plainTimes;
    viaTemplate();
    viaPlainStrings();
    for (int round = 0; round < Rounds; ++round) {
        templateTimes.push_back(seconds(viaTemplate));
        plainTimes.push_back(seconds(viaPlainStrings));
    }
    const double templateMin = *std::min_element(templateTimes.begin(), templateTimes.end());
    const double plainMin = *std::min_element(plainTimes.begin(), plainTimes.end());
    std::printf("e-mails %dx%d min     template %9.1f ms  plain %9.1f ms  ratio %.2f\n", Documents,
                PositionsPerDocument, templateMin * 1000, plainMin * 1000, templateMin / plainMin);
    std::printf("e-mails %dx%d median  template %9.1f ms  plain %9.1f ms  ratio %.2f\n", Documents,
                PositionsPerDocument, median(templateTimes) * 1000, median(plainTimes) * 1000,
                median(templateTimes) / median(plainTimes));
    return 0;
}
