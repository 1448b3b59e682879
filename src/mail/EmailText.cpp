#include "mail/EmailText.h"

#include "mail/NCTable.h"
#include "mail/TemplateLanguage.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/db/TField.h"
#include "platform/runtime/Conversions.h"

const QString PageSeparatorLine = QStringLiteral("---------- Seitenwechsel ----------");

namespace {

double round2(double value)
{
    return RoundTo(value, 2);
}

double numberOf(const TDataSet &table, const QString &fieldName)
{
    return table.FieldByName(fieldName)->AsFloat();
}

bool isSubtotalRow(const QString &description)
{
    const QString upper = description.toUpper();
    return upper == QLatin1String("#ZW") || upper == QLatin1String("#ZWB");
}

}

void PositionOnKey(TNCTable &table, const QVariant &key)
{
    table.SetRange({key}, {key});
    table.First();
}

TEmailGenerator::TEmailGenerator(TTemplateContext &context, const TFormular &formular,
                                 const TEmailDocumentTables &tables, const QString &dataPath, bool werbungAus)
    : m_context(context), m_formular(formular), m_tables(tables), m_dataPath(dataPath), m_werbungAus(werbungAus)
{
}

void TEmailGenerator::positionRelatedRecords()
{
    const TNCTable &head = *m_tables.Kopf;
    PositionOnKey(*m_tables.Partner, head.FieldByName(QStringLiteral("Kundennr"))->AsString());
    if (m_tables.IstAuftrag && m_tables.Mitarb)
        PositionOnKey(*m_tables.Mitarb, head.FieldByName(QStringLiteral("VertreterNr"))->AsString());
}

void TEmailGenerator::setVariable(const QString &qualifiedName, const mail::Variant &value)
{
    TFormatlist &vocabulary = m_context.Vocabulary();
    const int index = vocabulary.IndexOfQualifiedName(qualifiedName);
    if (index >= 0)
        vocabulary.GetItem(index)->Value = value;
}

void TEmailGenerator::publishSums(const Sums &sums)
{
    setVariable(QStringLiteral("Var_Übertrag"), sums.uebertrag);
    setVariable(QStringLiteral("Var_SummeMenge"), sums.summeMenge);
    setVariable(QStringLiteral("Var_ÜbertragBlock"), sums.uebertragBlock);
    setVariable(QStringLiteral("Var_SummeMengeBlock"), sums.summeMengeBlock);
}

void TEmailGenerator::appendPageBreak(QStringList &output, int &page, bool preview)
{
    setVariable(QStringLiteral("Var_Seitenumbruch"), true);
    m_context.ProcessFormSection(fsTabellenfuss, output, QString());
    m_context.ProcessFormSection(fsFusszeile, output, QString());
    if (preview)
        output << PageSeparatorLine;
    ++page;
    setVariable(QStringLiteral("Var_Seite"), QString::number(page));
    m_context.ProcessFormSection(fsKopfzeile, output, QString());
    m_context.ProcessFormSection(fsTabellenkopf, output, QString());
    setVariable(QStringLiteral("Var_Seitenumbruch"), false);
}

// The carry-over shown at a break is the sum of the positions before the
// break: a break is taken, and an overflow block built, before the position
// that opens the next page is added.
void TEmailGenerator::runPositions(QStringList &output, int &page, bool preview)
{
    TNCTable &positions = *m_tables.Pos;
    const QString amountField = m_tables.Kopf->FieldByName(QStringLiteral("Euro"))->AsString() == QLatin1String("J")
        ? QStringLiteral("gpreis")
        : QStringLiteral("gpreisWae");
    const int maxLines = m_formular.MaxTabellenzeilen;
    Sums sums;
    int lineCount = 0;
    PositionOnKey(positions, m_tables.Kopf->FieldByName(QStringLiteral("Auftragnr"))->AsString());
    for (; !positions.Eof(); positions.Next()) {
        PositionOnKey(*m_tables.Artikel, positions.FieldByName(QStringLiteral("Artikelnr"))->AsString());
        const QString description = positions.FieldByName(QStringLiteral("Bezeichnung"))->AsString();
        const bool skipped = isSubtotalRow(description) && !m_formular.Zwischensumme;
        const Sums before = sums;
        const double amount = numberOf(positions, amountField);
        const double quantity = numberOf(positions, QStringLiteral("menge"));
        sums = {round2(sums.uebertrag + amount), round2(sums.summeMenge + quantity),
                round2(sums.uebertragBlock + amount), round2(sums.summeMengeBlock + quantity)};
        if (!skipped) {
            if (maxLines > 0 && lineCount == maxLines) {
                publishSums(before);
                appendPageBreak(output, page, preview);
                lineCount = 0;
            }
            publishSums(sums);
            const qsizetype start = output.size();
            m_context.ProcessFormSection(fsTabelleneintrag, output, QString());
            lineCount += int(output.size() - start);
            if (maxLines > 0 && lineCount > maxLines) {
                QStringList block;
                publishSums(before);
                appendPageBreak(block, page, preview);
                publishSums(sums);
                const qsizetype insertAt = output.size() - (lineCount - maxLines);
                for (qsizetype i = 0; i < block.size(); ++i)
                    output.insert(insertAt + i, block[i]);
                lineCount -= maxLines;
            }
        } else {
            publishSums(sums);
        }
        if (description.toUpper() == QLatin1String("#ZWB")) {
            sums.uebertragBlock = 0;
            sums.summeMengeBlock = 0;
            publishSums(sums);
        }
    }
    m_tables.Pos->CancelRange();
}

void TEmailGenerator::applyAdvertisementSetting(QStringList &output) const
{
    const QStringList &advertisement = AdvertisementLines();
    if (m_werbungAus) {
        for (const QString &line : advertisement)
            output.removeOne(line);
        return;
    }
    const bool complete = std::all_of(advertisement.begin(), advertisement.end(),
                                      [&](const QString &line) { return output.contains(line); });
    if (!complete)
        output << QString() << advertisement;
}

bool TEmailGenerator::GenerateEmailText(QStringList &output, QString &sendTo, QString &cc, int &page, bool preview,
                                        bool ask, QString &subject, QString &bcc)
{
    page = 1;
    positionRelatedRecords();
    m_context.ResetTemplateState();
    m_context.Vocabulary().RegisterSetupVariables(m_dataPath, *m_tables.Kopf);
    setVariable(QStringLiteral("Var_Seite"), 1);

    QStringList scratch;
    m_context.ProcessFormSection(fsFormularvorgaben, scratch, QString());

    TRecipientResolver resolver(m_context, *m_tables.Partner, m_tables.PartnerWord);
    TEmailAddresses addresses;
    const bool send = resolver.Resolve(Tab, ask ? Prompt : nullptr, addresses);
    sendTo = addresses.SendTo;
    cc = addresses.CC;
    bcc = addresses.BCC;
    subject = addresses.Betreff;
    if (!send)
        return false;

    for (const int section : {fsDokumentanfang, fsKopfzeile, fsFormularanfang, fsTabellenkopf})
        m_context.ProcessFormSection(section, output, QString());
    runPositions(output, page, preview);
    for (const int section : {fsTabellenfuss, fsFormularende, fsFusszeile, fsDokumentende})
        m_context.ProcessFormSection(section, output, QString());
    applyAdvertisementSetting(output);
    return send;
}
