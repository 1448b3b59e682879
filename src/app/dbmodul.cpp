#include "app/dbmodul.h"

#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "app/mainmodul.h"
#include "mail/NCTable.h"
#include "mail/formularmodul.h"
#include "mail/parsermodul.h"
#include "platform/db/TField.h"
#include "platform/os/IniFile.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "platform/runtime/Exceptions.h"
#include "platform/ui/UiServices.h"

#include <QScopeGuard>

namespace {

const QString initSection = QStringLiteral("Init");
const QString printTabSetting = QStringLiteral("Tintlen");

const TDocumentKind salesDocuments{QStringLiteral("Auftrag.db"),
                                   QStringLiteral("Auftrag"),
                                   QStringLiteral("atrpos.db"),
                                   QStringLiteral("Kunden.db"),
                                   QStringLiteral("Kunden"),
                                   QStringLiteral("Kunden"),
                                   {QStringLiteral("Angebot"), QStringLiteral("Auftragsbest."),
                                    QStringLiteral("Lieferschein"), QStringLiteral("Rechnung"),
                                    QStringLiteral("Barrechnung"), QStringLiteral("Gutschrift")}};

const TDocumentKind purchaseDocuments{QStringLiteral("Bestell.db"),
                                      QStringLiteral("Bestellung"),
                                      QStringLiteral("bestpos.db"),
                                      QStringLiteral("Liefer.db"),
                                      QStringLiteral("Lieferant"),
                                      QStringLiteral("Lieferanten"),
                                      {QStringLiteral("Anfrage"), QStringLiteral("Bestellung"),
                                       QStringLiteral("Stornierung"), QStringLiteral("Sonstiges")}};

// The modules whose documents have e-mail rows.
const QString salesModule = QStringLiteral("Auftrag");
const QString purchaseMailModule = QStringLiteral("Bestellung");

QList<TNCTable *> documentTables(const TEmailState &state)
{
    QList<TNCTable *> tables;
    for (TNCTable *table :
         {state.Kopf.data(), state.Pos.data(), state.Artikel.data(), state.Partner.data(), state.Mitarb.data()})
        if (table)
            tables << table;
    return tables;
}

void closeDocumentTableObjects(const TEmailState &state)
{
    for (TNCTable *table : documentTables(state))
        table->Close();
}

// The mail program's folder: beside this program when its ini file is
// there, else where its registry key says.
void findMailProgram(TEmailState &state)
{
    TKuvertaliaPaths paths;
    const QString ownFolder = os::executableFolder();
    if (os::fileExists(ownFolder + QStringLiteral("/kuvertalia.ini")))
        paths.Program = ownFolder;
    else
        ReadKuvertaliaPath(paths);
    state.KuvertaliaInstalled = ReadKuvertaliaIni(paths);
    state.Kuvertalia = paths;
}

QString userNumberOf(const QString &dataFolder, const QString &userName)
{
    std::unique_ptr<TTable> users;
    OpenTable(users, dataFolder, QStringLiteral("am-Benutzer.db"));
    const QString number =
        users->FindKey({userName}) ? users->FieldByName(QStringLiteral("Nr"))->AsString() : QString();
    users->Close();
    return number;
}

// The mail program's last user, and that user's number; a mail program
// that cannot tell leaves the number empty without a word.
void readMailUser(TEmailState &state)
{
    state.LastUser.clear();
    state.UserNr.clear();
    if (!state.KuvertaliaInstalled)
        return;
    TrimKuvertaliaPaths(state.Kuvertalia);
    try {
        const TIniFile userSettings(state.Kuvertalia.User + QStringLiteral("/frm.ini"));
        state.LastUser = userSettings.ReadString(QStringLiteral("User"), QStringLiteral("Lastuser"), QString());
        if (!state.LastUser.isEmpty())
            state.UserNr = userNumberOf(state.Kuvertalia.Data, state.LastUser);
    } catch (const std::exception &) {
        state.UserNr.clear();
    }
}

// A form table that cannot be opened leaves the e-mail view closed and
// without rows; the print side reports its own view's problems.
void openEmailFormView(TTable *view)
{
    view->Close();
    view->SetDatabaseName(EmailPaths().DatenPfad);
    view->SetTableName(QStringLiteral("Formular.db"));
    try {
        view->Open();
    } catch (const std::exception &) {
        view->Close();
    }
}

TNCTable *createDocumentTable(const QString &tableName, const QString &prefix)
{
    auto *table = new TNCTable(frmPrintMan);
    table->SetDatabaseName(EmailPaths().DatenPfad);
    table->SetTableName(tableName);
    table->Prefix = prefix;
    return table;
}

void createDocumentTables(TEmailState &state)
{
    state.Kopf = createDocumentTable(QString(), QString());
    state.Pos = createDocumentTable(QString(), QStringLiteral("Pos"));
    state.Artikel = createDocumentTable(QStringLiteral("Artikel.db"), QStringLiteral("Artikel"));
    state.Partner = createDocumentTable(QString(), QString());
    state.Mitarb = createDocumentTable(QStringLiteral("Mitarbei.db"), QStringLiteral("Mitarb"));
}

void readEmailSettings(TEmailState &state)
{
    const TIniFile ini(ProgramIniPath());
    const bool printTab = ini.ReadString(initSection, QStringLiteral("Tabsheet"), printTabSetting) == printTabSetting;
    frmPrintMan->pgcAuswahl->setCurrentWidget(printTab ? frmPrintMan->tsTintlen : frmPrintMan->tsEmail);
    frmPrintMan->cbxVorschau->setChecked(ini.ReadBool(initSection, QStringLiteral("eMailVorschau"), false));
    state.Outbox = !ini.ReadBool(initSection, QStringLiteral("Standardclient"), true) && state.KuvertaliaInstalled;
    state.Anlagenpfad = ini.ReadString(initSection, QStringLiteral("Anlagenpfad"), QString());
    state.FixedRecipient = ini.ReadString(initSection, QStringLiteral("E-Mail"), QString());
    state.WerbungAus = IsAdvertisementOff(ini.ReadString(initSection, QStringLiteral("Werbung"), QString()));
    state.Formular->WerbungAus = state.WerbungAus;
}

void restrictEmailFormView(TTable *view, const TEmailRequest &request)
{
    if (!view->Active())
        return;
    const QVariantList key{request.Modul, request.FormFilterTyp + QStringLiteral("-eMail")};
    view->SetRange(key, key);
}

void assignDocumentKind(TEmailState &state, const TDocumentKind &kind)
{
    state.Kopf->SetTableName(kind.HeadTable);
    state.Kopf->Prefix = kind.HeadPrefix;
    state.Pos->SetTableName(kind.PositionTable);
    state.Partner->SetTableName(kind.PartnerTable);
    state.Partner->Prefix = kind.PartnerPrefix;
    state.PartnerLabel = kind.PartnerLabel;
}

void showEmailTabFor(const TEmailRequest &request)
{
    const int emailTab = frmPrintMan->pgcAuswahl->indexOf(frmPrintMan->tsEmail);
    const bool visible = HasEmailTab(request.Modul, request.FormFilterTyp);
    frmPrintMan->pgcAuswahl->setTabVisible(emailTab, visible);
    if (!visible)
        frmPrintMan->pgcAuswahl->setCurrentWidget(frmPrintMan->tsTintlen);
}

void openTables(TEmailState &state, const TEmailRequest &request)
{
    for (TNCTable *table : {state.Kopf.data(), state.Pos.data(), state.Artikel.data(), state.Partner.data()})
        table->Open();
    state.Mitarb->SetActive(request.IstAuftrag);
    if (request.Datenbereich == QLatin1String("A"))
        state.Kopf->SetFilter(request.Datenfilter);
    else if (request.Datenbereich == QLatin1String("M"))
        state.Kopf->SetFilter(QStringLiteral("Mark='J'"));
    state.Kopf->SetFiltered(request.Datenbereich != QLatin1String("E"));
}

void registerVocabulary(TEmailState &state, const TEmailRequest &request)
{
    TFormatlist &vocabulary = *state.Formatlist;
    vocabulary.Clear();
    vocabulary.RegisterTemplateCommands();
    vocabulary.RegisterTableFields(state.Kopf, AllAreas);
    vocabulary.RegisterTableFields(state.Pos, TableEntryArea);
    vocabulary.RegisterTableFields(state.Artikel, TableEntryArea);
    vocabulary.RegisterTableFields(state.Partner, PartnerAreas);
    if (request.IstAuftrag)
        vocabulary.RegisterTableFields(state.Mitarb, AllAreas);
}

void writeEmailSettings(const TEmailState &state)
{
    if (!os::fileExists(ProgramIniPath()))
        return;
    TIniFile ini(ProgramIniPath());
    const bool printTab = frmPrintMan->pgcAuswahl->currentWidget() == frmPrintMan->tsTintlen;
    ini.WriteString(initSection, QStringLiteral("Tabsheet"), printTab ? printTabSetting : QStringLiteral("Email"));
    ini.WriteBool(initSection, QStringLiteral("Standardclient"), !state.Outbox);
    ini.WriteBool(initSection, QStringLiteral("eMailVorschau"), frmPrintMan->cbxVorschau->isChecked());
    ini.WriteString(initSection, QStringLiteral("Anlagenpfad"), state.Anlagenpfad);
}

void releaseSharedObjects(TEmailState &state)
{
    frmPrintMan->tblFormular->Close();
    for (TNCTable *table : documentTables(state)) {
        table->Close();
        delete table;
    }
    state.TablesOpen = false;
    state.Formatlist.reset();
    state.Formular.reset();
}

}

const TDocumentKind &DocumentKindOf(const QString &module)
{
    return module == salesModule ? salesDocuments : purchaseDocuments;
}

bool HasEmailTab(const QString &module, const QString &formType)
{
    if (module != salesModule && module != purchaseMailModule)
        return false;
    return DocumentKindOf(module).EmailFormTypes.contains(formType);
}

bool ReadKuvertaliaPath(TKuvertaliaPaths &paths)
{
    TRegistry registry;
    registry.SetRootKey(TRegistry::HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly(QStringLiteral("Software\\Velmora\\Kuvertalia\\1.0")))
        return false;
    paths.Program = registry.ReadString(QStringLiteral("Pfad"));
    registry.CloseKey();
    return true;
}

bool ReadKuvertaliaIni(TKuvertaliaPaths &paths)
{
    if (paths.Program.isEmpty())
        return false;
    const QString iniPath = os::includeTrailingSeparator(paths.Program) + QStringLiteral("kuvertalia.ini");
    if (!os::fileExists(iniPath))
        return false;
    const TIniFile ini(iniPath);
    const auto path = [&](const char *section, const char *key, const QString &fallback) {
        return ini.ReadString(QLatin1String(section), QLatin1String(key), fallback);
    };
    paths.Data = path("Path", "Data", QString());
    paths.User = path("Path", "User", QString());
    paths.Temp = path("Path", "Temp", QString());
    paths.Forms = path("Path", "Forms", QString());
    paths.Print = path("Path", "Print", paths.Program);
    paths.Help = path("Path", "Help", paths.Program);
    paths.Report = path("Path", "Oravantis", paths.Program);
    paths.MailboxData = path("QRBPath", "Data", QString());
    paths.Download = path("QRBPath", "Download", QString());
    paths.Address = path("QRBPath", "Address", QString());
    return !paths.Data.isEmpty();
}

void TrimKuvertaliaPaths(TKuvertaliaPaths &paths)
{
    for (QString *path : {&paths.Program, &paths.Data, &paths.User, &paths.Temp, &paths.Forms, &paths.Print,
                          &paths.Help, &paths.Report, &paths.MailboxData, &paths.Download, &paths.Address})
        *path = os::excludeTrailingSeparator(*path);
}

TEmailState::TEmailState() = default;
TEmailState::~TEmailState() = default;

TEmailState &EmailState()
{
    static TEmailState state;
    return state;
}

void InitEmailModule()
{
    TEmailState &state = EmailState();
    state.Formular = std::make_unique<TFormular>();
    state.Formatlist = std::make_unique<TFormatlist>();
    state.TablesOpen = false;
    state.SetupPending = false;
    ReadDataPaths();
    findMailProgram(state);
    readMailUser(state);
    openEmailFormView(frmPrintMan->tblFormular);
    createDocumentTables(state);
    readEmailSettings(state);
}

void SetupDocumentTables()
{
    TEmailState &state = EmailState();
    // After the main window closed there is nothing left to set up.
    if (!state.Kopf)
        return;
    const TDataSetState viewState = frmPrintMan->tblFormular->State();
    if (state.TablesOpen || viewState == dsEdit || viewState == dsInsert) {
        state.SetupPending = true;
        return;
    }
    ui::BusyCursor busy;
    ReadHelpFile();
    ReadPrintRequest();
    const TEmailRequest &request = EmailRequest();
    restrictEmailFormView(frmPrintMan->tblFormular, request);
    assignDocumentKind(state, DocumentKindOf(request.Modul));
    showEmailTabFor(request);
    frmPrintMan->pgcAuswahlChange();
    state.SetupPending = false;
}

bool OpenDocumentTables()
{
    TEmailState &state = EmailState();
    if (state.TablesOpen) {
        ShowPlainMessage(QStringLiteral("Fehler: Die Datenbank wurde ein zweites mal geöffnet"));
        return false;
    }
    const TEmailRequest &request = EmailRequest();
    // A failure half-way closes what was opened, so no table stays open
    // behind a flag that says closed.
    auto closeOnFailure = qScopeGuard([&state] { closeDocumentTableObjects(state); });
    try {
        openTables(state, request);
    } catch (const EDatabaseError &error) {
        ShowPlainMessage(QStringLiteral("Datenbankfehler: ") + error.Message());
        return false;
    }
    registerVocabulary(state, request);
    closeOnFailure.dismiss();
    state.TablesOpen = true;
    return true;
}

void CloseDocumentTables()
{
    TEmailState &state = EmailState();
    if (!state.TablesOpen) {
        ShowPlainMessage(QStringLiteral("Fehler: Die Datenbank wurde geschlosse, obwohl sie nicht offen war"));
        return;
    }
    closeDocumentTableObjects(state);
    state.TablesOpen = false;
}

void SaveEmailSettings()
{
    TEmailState &state = EmailState();
    if (!state.Kopf)
        return;
    // The shared objects go even when the settings cannot be written.
    const auto release = qScopeGuard([&state] { releaseSharedObjects(state); });
    writeEmailSettings(state);
}
