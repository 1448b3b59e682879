#include "mail/EmailText.h"

#include "mail/NCTable.h"
#include "mail/TemplateLanguage.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/db/TField.h"
#include "platform/runtime/Conversions.h"

#include <cmath>

const QString PageSeparatorLine = QStringLiteral("---------- Seitenwechsel ----------");

namespace {

// Amounts with whole cents add up to whole cents again: such a sum is
// already what the decimal rounding would give (n / 100 is the double
// nearest to n cents), and only other values take the decimal road.
double round2(double value)
{
    const double cents = value * 100.0;
    const double whole = std::round(cents);
    if (std::abs(whole) < 1e13 && std::abs(cents - whole) < 1e-6)
        return whole / 100.0;
    return RoundTo(value, 2);
}

double numberOf(const TDataSet &table, const QString &fieldName)
{
    return table.FieldByName(fieldName)->AsFloat();
}

// Besides the e-mail's own "#ZW", every marker the print road prints as a
// subtotal ("#ZWB", "#ZS", "#Z") is a subtotal row: a customer must never
// read a marker as a position.
bool isSubtotalRow(const QString &description)
{
    static const QStringList markers = {QStringLiteral("#ZW"), QStringLiteral("#ZWB"), QStringLiteral("#ZS"),
                                        QStringLiteral("#Z")};
    return markers.contains(description.toUpper());
}

}

void PositionOnKey(TNCTable &table, const QVariant &key)
{
    table.SetRange({key}, {key});
    table.First();
}

void TRecordPositioner::PositionOn(const QVariant &key)
{
    if (m_positioned && key == m_key)
        return;
    m_key = key;
    m_positioned = true;
    if (!m_restricted && m_table->FindKey({key}))
        return;
    PositionOnKey(*m_table, key);
    m_restricted = true;
}

TEmailGenerator::TEmailGenerator(TTemplateContext &context, const TFormular &formular,
                                 const TEmailDocumentTables &tables, const QString &dataPath, bool werbungAus)
    : m_context(context), m_formular(formular), m_tables(tables), m_dataPath(dataPath), m_werbungAus(werbungAus),
      m_partner(tables.Partner), m_staff(tables.Mitarb), m_article(tables.Artikel)
{}

TEmailGenerator::~TEmailGenerator() = default;

void TEmailGenerator::positionRelatedRecords()
{
    const TNCTable &head = *m_tables.Kopf;
    m_partner.PositionOn(head.FieldByName(QStringLiteral("Kundennr"))->AsString());
    if (m_tables.IstAuftrag && m_tables.Mitarb)
        m_staff.PositionOn(head.FieldByName(QStringLiteral("VertreterNr"))->AsString());
}

void TEmailGenerator::findVariables()
{
    const TFormatlist &vocabulary = m_context.Vocabulary();
    const auto find = [&vocabulary](const QString &qualifiedName) {
        const int index = vocabulary.IndexOfQualifiedName(qualifiedName);
        return index < 0 ? nullptr : vocabulary.GetItem(index);
    };
    m_variables = {find(QStringLiteral("Var_Seite")),         find(QStringLiteral("Var_Seitenumbruch")),
                   find(QStringLiteral("Var_Übertrag")),      find(QStringLiteral("Var_SummeMenge")),
                   find(QStringLiteral("Var_ÜbertragBlock")), find(QStringLiteral("Var_SummeMengeBlock"))};
}

void TEmailGenerator::setVariable(TFormatlistItem *item, const mail::Variant &value)
{
    if (item)
        item->Value = value;
}

void TEmailGenerator::publishSums(const Sums &sums)
{
    setVariable(m_variables.uebertrag, sums.uebertrag);
    setVariable(m_variables.summeMenge, sums.summeMenge);
    setVariable(m_variables.uebertragBlock, sums.uebertragBlock);
    setVariable(m_variables.summeMengeBlock, sums.summeMengeBlock);
}

void TEmailGenerator::appendPageBreak(QStringList &output, int &page, bool preview)
{
    setVariable(m_variables.seitenumbruch, true);
    m_context.ProcessFormSection(fsTabellenfuss, output, QString());
    m_context.ProcessFormSection(fsFusszeile, output, QString());
    if (preview)
        output << PageSeparatorLine;
    ++page;
    setVariable(m_variables.seite, QString::number(page));
    m_context.ProcessFormSection(fsKopfzeile, output, QString());
    m_context.ProcessFormSection(fsTabellenkopf, output, QString());
    setVariable(m_variables.seitenumbruch, false);
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
        // The article is looked up only when the template reads one of its fields.
        const QString article = positions.FieldByName(QStringLiteral("Artikelnr"))->AsString();
        m_tables.Artikel->DeferPositioning([this, article] { m_article.PositionOn(article); });
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
        // The emptied block sums reach the variables with the next position:
        // a block closing the document still shows its total in the end sections.
        if (description.toUpper() == QLatin1String("#ZWB")) {
            sums.uebertragBlock = 0;
            sums.summeMengeBlock = 0;
        }
    }
}

void TEmailGenerator::applyAdvertisementSetting(QStringList &output) const
{
    const QStringList &advertisement = AdvertisementLines();
    if (m_werbungAus) {
        for (const QString &line : advertisement)
            output.removeAll(line);
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
    if (!m_setup)
        m_setup = std::make_unique<mail::TableReader>(m_dataPath, QStringLiteral("Setup.db"));
    m_context.Vocabulary().RegisterSetupVariables(*m_setup, *m_tables.Kopf);
    findVariables();
    setVariable(m_variables.seite, 1);

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
