#pragma once

#include "mail/EmailRecipients.h"
#include "mail/Variant.h"

#include <QString>
#include <QStringList>

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

// Renders the current document of the head table through the template into
// one plain-text e-mail.
class TEmailGenerator
{
public:
    TEmailGenerator(TTemplateContext &context, const TFormular &formular, const TEmailDocumentTables &tables,
                    const QString &dataPath, bool werbungAus);

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
    void setVariable(const QString &qualifiedName, const mail::Variant &value);
    void publishSums(const Sums &sums);
    void appendPageBreak(QStringList &output, int &page, bool preview);
    void runPositions(QStringList &output, int &page, bool preview);
    void applyAdvertisementSetting(QStringList &output) const;

    TTemplateContext &m_context;
    const TFormular &m_formular;
    TEmailDocumentTables m_tables;
    QString m_dataPath;
    bool m_werbungAus;
};

// Places the table on the record with this primary key, or on no record at
// all (every field reads empty) when there is none.
void PositionOnKey(TNCTable &table, const QVariant &key);
