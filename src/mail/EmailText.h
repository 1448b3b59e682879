#pragma once

#include "mail/EmailRecipients.h"
#include "mail/Variant.h"

#include <QString>
#include <QStringList>

#include <memory>

class TFormatlistItem;
namespace mail {
class TableReader;
}
class TFormular;
class TNCTable;
class TTemplateContext;

// The line that separates pages in the preview's text.
extern const QString PageSeparatorLine;

// The tables one document's e-mail is read from; the staff table only for
// sales documents.
struct TEmailDocumentTables
{
    TNCTable *Kopf = nullptr;
    TNCTable *Pos = nullptr;
    TNCTable *Artikel = nullptr;
    TNCTable *Partner = nullptr;
    TNCTable *Mitarb = nullptr;
    bool IstAuftrag = false;
    QString PartnerWord;
};

// Places a table on the record of a primary key, or on no record at all
// (every field reads empty) when there is none. A seek serves while every
// key was found; after a missing key the table is restricted to each key.
class TRecordPositioner
{
public:
    explicit TRecordPositioner(TNCTable *table = nullptr) : m_table(table) {}
    void PositionOn(const QVariant &key);

private:
    TNCTable *m_table;
    QVariant m_key;
    bool m_positioned = false;
    bool m_restricted = false;
};

// Renders the current document of the head table through the template into
// one plain-text e-mail.
class TEmailGenerator
{
public:
    TEmailGenerator(TTemplateContext &context, const TFormular &formular, const TEmailDocumentTables &tables,
                    const QString &dataPath, bool werbungAus);
    ~TEmailGenerator();
    TEmailGenerator(const TEmailGenerator &) = delete;
    TEmailGenerator &operator=(const TEmailGenerator &) = delete;

    // The e-mail tab's texts; corrected copy lists are written back here.
    TEmailTabTexts Tab;
    // Asked for invalid addresses when the caller asks for asking.
    TAddressPrompt *Prompt = nullptr;

    // False when the document is not to be sent (the user declined it or
    // chose to ignore all invalid e-mails).
    bool GenerateEmailText(QStringList &output, QString &sendTo, QString &cc, int &page, bool preview, bool ask,
                           QString &subject, QString &bcc);

private:
    struct Sums
    {
        double uebertrag = 0;
        double summeMenge = 0;
        double uebertragBlock = 0;
        double summeMengeBlock = 0;
    };

    void positionRelatedRecords();
    void findVariables();
    void setVariable(TFormatlistItem *item, const mail::Variant &value);
    void publishSums(const Sums &sums);
    void appendPageBreak(QStringList &output, int &page, bool preview);
    void runPositions(QStringList &output, int &page, bool preview);
    void applyAdvertisementSetting(QStringList &output) const;

    TTemplateContext &m_context;
    const TFormular &m_formular;
    TEmailDocumentTables m_tables;
    QString m_dataPath;
    bool m_werbungAus;
    TRecordPositioner m_partner;
    TRecordPositioner m_staff;
    TRecordPositioner m_article;
    // The company settings, read once for all documents of a run.
    std::unique_ptr<mail::TableReader> m_setup;

    // The variables the generation sets, found once per document.
    struct Variables
    {
        TFormatlistItem *seite = nullptr;
        TFormatlistItem *seitenumbruch = nullptr;
        TFormatlistItem *uebertrag = nullptr;
        TFormatlistItem *summeMenge = nullptr;
        TFormatlistItem *uebertragBlock = nullptr;
        TFormatlistItem *summeMengeBlock = nullptr;
    } m_variables;
};

// Restricts the table to the records of this key (the first fields of its
// primary key) and goes to the first of them.
void PositionOnKey(TNCTable &table, const QVariant &key);
