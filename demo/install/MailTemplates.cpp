#include "demo/install/MailTemplates.h"

#include "demo/tables/FormRows.h"
#include "platform/runtime/TextFile.h"

#include <QDir>
#include <QStringList>

namespace demo {
namespace {

// The names the template language knows the tables of a document by.
struct Vocabulary
{
    QString head;
    QString partner;
};

Vocabulary vocabularyOf(const QString &module)
{
    if (module == QLatin1String("Auftrag"))
        return {QStringLiteral("Auftrag"), QStringLiteral("Kunden")};
    return {QStringLiteral("Bestellung"), QStringLiteral("Lieferant")};
}

QString documentName(const QString &formType)
{
    if (formType == QLatin1String("Auftragsbest."))
        return QStringLiteral("Auftragsbestätigung");
    if (formType == QLatin1String("Sonstiges"))
        return QStringLiteral("Schreiben");
    return formType;
}

QStringList templateLines(const QString &document, const Vocabulary &names)
{
    const QString head = QLatin1Char('#') + names.head + QLatin1Char('_');
    const QString partner = QLatin1Char('#') + names.partner + QLatin1Char('_');
    return {
        QStringLiteral("!Formularvorgaben"),
        QStringLiteral("Vorlage der Demo: %1 als E-Mail.").arg(document),
        QString(),
        QStringLiteral("!Sendto ") + partner + QStringLiteral("EMail"),
        QStringLiteral("!CC "),
        QStringLiteral("!BCC "),
        QStringLiteral("!Betreff %1 Nr. %2auftragnr").arg(document, head),
        QStringLiteral("!Dokumentanfang"),
        partner + QStringLiteral("briefanrede"),
        QString(),
        QStringLiteral("nachfolgend erhalten Sie den Beleg \"%1 Nr. %2auftragnr\".").arg(document, head),
        QStringLiteral("!Kopfzeile"),
        QStringLiteral("!Formularanfang"),
        QString(),
        QStringLiteral("!Tabellenkopf"),
        QStringLiteral("Pos. Bezeichnung                               Menge      Betrag"),
        QStringLiteral("!Tabelleneintrag"),
        QStringLiteral("#Pos_posnr:4 #Pos_Bezeichnung:m40 #Pos_menge:8:2 #Pos_gpreis:11:2"),
        QStringLiteral("!Tabellenfuss"),
        QStringLiteral("!Formularende"),
        QStringLiteral("Summe netto: #Var_Übertrag:12:2 #Var_Währung"),
        QStringLiteral("!Fusszeile"),
        QStringLiteral("!Dokumentende"),
        QString(),
        QStringLiteral("Mit freundlichen Grüßen"),
        QStringLiteral("#Var_Firmenabsender"),
        QStringLiteral("!Anlage"),
        QStringLiteral("!FEOF"),
    };
}

}

void writeMailTemplates(const QString &formFolder)
{
    for (const Row &row : formRows()) {
        const QString type = row.value("Typ").toString();
        if (!type.endsWith(QLatin1String("-eMail")))
            continue;
        const QString document = documentName(type.chopped(6));
        const QStringList lines = templateLines(document, vocabularyOf(row.value("Modul").toString()));
        WriteTextFile(QDir(formFolder).filePath(formRowFile(row)),
                      lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), TextEncoding::Windows1252);
    }
}

}
