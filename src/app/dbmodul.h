#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class TFormatlist;
class TFormular;
class TNCTable;

// The tables a document module works on, and the form types whose
// documents can be sent by e-mail.
struct TDocumentKind
{
    QString HeadTable;
    QString HeadPrefix;
    QString PositionTable;
    QString PartnerTable;
    QString PartnerPrefix;
    QString PartnerLabel;
    QStringList EmailFormTypes;
};

// Sales documents for the module "Auftrag", purchase documents for any other.
const TDocumentKind &DocumentKindOf(const QString &module);
// Only the sales module and the module "Bestellung" have an e-mail tab, and
// only for their document types.
bool HasEmailTab(const QString &module, const QString &formType);

// The mail program's folders, without a trailing separator once trimmed.
struct TKuvertaliaPaths
{
    QString Program;
    QString Data;
    QString User;
    QString Temp;
    QString Forms;
    QString Print;
    QString Help;
    QString Report;
    QString MailboxData;
    QString Download;
    QString Address;
};

// The mail program's folder from its registry key; false when the key is missing.
bool ReadKuvertaliaPath(TKuvertaliaPaths &paths);
// The folders of the mail program's own ini file; true when it names a data
// folder, which is what makes the mail program count as installed.
bool ReadKuvertaliaIni(TKuvertaliaPaths &paths);
void TrimKuvertaliaPaths(TKuvertaliaPaths &paths);

// What both roads share from the main window's creation to its closing. The
// tables belong to the main window; the template and vocabulary to this state.
struct TEmailState
{
    std::unique_ptr<TFormular> Formular;
    std::unique_ptr<TFormatlist> Formatlist;
    QPointer<TNCTable> Kopf;
    QPointer<TNCTable> Pos;
    QPointer<TNCTable> Artikel;
    QPointer<TNCTable> Partner;
    QPointer<TNCTable> Mitarb;
    QString PartnerLabel;

    TKuvertaliaPaths Kuvertalia;
    bool KuvertaliaInstalled = false;
    QString LastUser;
    QString UserNr;

    bool Outbox = false;     // enter mails into the mail program's outbox
    QString FixedRecipient;  // "E-Mail" of section "Init"
    QString Anlagenpfad;     // folder of attachment files
    bool WerbungAus = false; // no advertisement lines

    bool TablesOpen = false;
    bool SetupPending = false;

    TEmailState();
    ~TEmailState();
};
TEmailState &EmailState();

void InitEmailModule();
void SetupDocumentTables();
bool OpenDocumentTables();
void CloseDocumentTables();
void SaveEmailSettings();
