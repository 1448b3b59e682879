#include "app/printroad/ReportData.h"

#include "app/PrintRequest.h"
#include "app/Utils.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/os/Paths.h"

#include <QDir>

#include <optional>
#include <utility>

TTable *tc = nullptr;
TTable *tcSetup = nullptr;
TTable *tcSetupLoc = nullptr;
TTable *tcStSatz = nullptr;
TTable *tcKunden = nullptr;
TTable *tcArtikel = nullptr;
TTable *tcLiefer = nullptr;
TTable *tcMitarbei = nullptr;
TTable *tcKopf = nullptr;
TTable *tcPos = nullptr;
TTable *tcBestell = nullptr;
TTable *tcBestPos = nullptr;
TTable *tcOffPos = nullptr;
TTable *tcMahnPara = nullptr;
TTable *tcUmsatz = nullptr;
TTable *tcKArtDru = nullptr;
TTable *tcKontakte = nullptr;
TTable *tcGruppen = nullptr;
TTable *tcLaender = nullptr;

namespace {

TTable **const allSlots[] = {&tc,         &tcSetup,   &tcSetupLoc, &tcStSatz,  &tcKunden,  &tcArtikel, &tcLiefer,
                             &tcMitarbei, &tcKopf,    &tcPos,      &tcBestell, &tcBestPos, &tcOffPos,  &tcMahnPara,
                             &tcUmsatz,   &tcKArtDru, &tcKontakte, &tcGruppen, &tcLaender};

bool isFullPath(const QString &name)
{
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name.contains(QLatin1Char(':')) || QDir::isAbsolutePath(path);
}

void emptySlot(TTable *&slot)
{
    delete slot;
    slot = nullptr;
}

void closeAllSlots()
{
    for (TTable **slot : allSlots) {
        if (*slot)
            (*slot)->Close();
    }
}

// Countries only name a partner's land; a missing table prints without them.
void openCountries()
{
    try {
        OpenModuleTable(tcLaender, QStringLiteral("laender.db"), true);
    } catch (const Exception &) {
    }
}

QString lastLetter(const QString &module)
{
    return module.right(1);
}

void setKeyRange(const QVariantList &key)
{
    tc->SetRange(key, key);
}

void setRecordKeyRange()
{
    setKeyRange({PrintRequest().Datensatz});
}

void setTwoFieldRange(const QString &module)
{
    setKeyRange({lastLetter(module), PrintRequest().Datensatz});
}

void openWithIndex(const QString &table, const QString &index)
{
    OpenModuleTable(tc, table, true);
    tc->SetIndexName(index);
}

bool isSalesListMode(const TPrintRequest &request)
{
    return (request.FormTyp == QLatin1String("E") && request.FormFilterTyp != QLatin1String("EtikettArt"))
           || request.FormFilterTyp.contains(QLatin1String("iste"));
}

bool isPurchaseListMode(const TPrintRequest &request)
{
    return (request.FormTyp == QLatin1String("E") && request.FormFilterTyp != QLatin1String("EtikettArt"))
           || request.FormFilterTyp == QLatin1String("Liste");
}

void openSalesTables(const TPrintRequest &request)
{
    if (isSalesListMode(request)) {
        OpenModuleTable(tc, QStringLiteral("auftrag.db"), true);
        OpenModuleTable(tcPos, QStringLiteral("atrpos.db"), true);
        openCountries();
    } else {
        OpenModuleTable(tc, QStringLiteral("atrpos.db"), true);
        OpenModuleTable(tcKopf, QStringLiteral("auftrag.db"), true);
        openCountries();
    }
    OpenModuleTable(tcKunden, QStringLiteral("kunden.db"), true);
    OpenModuleTable(tcArtikel, QStringLiteral("artikel.db"), true);
    OpenModuleTable(tcMitarbei, QStringLiteral("mitarbei.db"), true);
    OpenModuleTable(tcOffPos, QStringLiteral("offpos.db"), true);
}

void openPurchaseTables(const TPrintRequest &request)
{
    if (isPurchaseListMode(request)) {
        OpenModuleTable(tc, QStringLiteral("bestell.db"), true);
        OpenModuleTable(tcBestPos, QStringLiteral("bestpos.db"), true);
    } else {
        OpenModuleTable(tc, QStringLiteral("bestpos.db"), true);
        OpenModuleTable(tcBestell, QStringLiteral("bestell.db"), true);
        openCountries();
    }
    OpenModuleTable(tcOffPos, QStringLiteral("offposBe.db"), true);
    OpenModuleTable(tcArtikel, QStringLiteral("artikel.db"), true);
    OpenModuleTable(tcLiefer, QStringLiteral("liefer.db"), true);
}

// Customer statistics over documents, open items or payments, chosen by the
// seventh character of the form type.
void openCustomerDocuments(const TPrintRequest &request)
{
    OpenModuleTable(tcKunden, QStringLiteral("kunden.db"), true);
    const QString type = request.FormFilterTyp;
    if (type.size() < 7) {
        ShowError(QString(), QStringLiteral("KunAtr: FilterTyp ungültig"));
        return;
    }
    const QChar kind = type.at(6);
    if (kind == QLatin1Char('A'))
        openWithIndex(QStringLiteral("Auftrag.db"), QStringLiteral("ATRKUNNR"));
    else if (kind == QLatin1Char('O'))
        openWithIndex(QStringLiteral("offpos.db"), QStringLiteral("OPOKUNATRNR"));
    else if (kind == QLatin1Char('U'))
        openWithIndex(QStringLiteral("Umsatz.db"), QStringLiteral("UMSKUNATRNR"));
    else
        return;
    setRecordKeyRange();
}

void openContactPersons(const QString &module)
{
    if (lastLetter(module) == QLatin1String("L"))
        OpenModuleTable(tcLiefer, QStringLiteral("liefer.db"), true);
    else
        OpenModuleTable(tcKunden, QStringLiteral("kunden.db"), true);
    OpenModuleTable(tc, QStringLiteral("ansprech.db"), true);
    setTwoFieldRange(module);
}

void openContactsOfOwner(const QString &module)
{
    OpenModuleTable(tc, QStringLiteral("kontakte.db"), true);
    const QString letter = lastLetter(module);
    if (letter == QLatin1String("K"))
        OpenModuleTable(tcKunden, QStringLiteral("kunden.db"), true);
    else if (letter == QLatin1String("L"))
        OpenModuleTable(tcLiefer, QStringLiteral("liefer.db"), true);
    else
        OpenModuleTable(tcMitarbei, QStringLiteral("mitarbei.db"), true);
    setTwoFieldRange(module);
}

void openTasks(bool ofOneCustomer)
{
    OpenModuleTable(tc, QStringLiteral("aufgaben.db"), true);
    OpenModuleTable(tcKunden, QStringLiteral("kunden.db"), true);
    OpenModuleTable(tcKontakte, QStringLiteral("kontakte.db"), true);
    tcKontakte->SetIndexName(QStringLiteral("SortID"));
    if (ofOneCustomer) {
        tc->SetIndexName(QStringLiteral("SortAdrNrDatumZeitPrior"));
        setRecordKeyRange();
    }
}

void openTables(std::initializer_list<std::pair<TTable **, const char *>> tables)
{
    for (const auto &[slot, name] : tables)
        OpenModuleTable(*slot, QString::fromUtf8(name), true);
}

enum class SetupTables { Forced, IfPresent, None };

// The master data, price, stock and statistics modules; None when the
// module is not among them.
std::optional<SetupTables> openMasterTables(const QString &module, const TPrintRequest &request)
{
    if (module == QLatin1String("ArtPreis")) {
        openTables({{&tc, "kunPreis.db"}, {&tcArtikel, "artikel.db"}, {&tcKunden, "kunden.db"}});
        tc->SetIndexName(QStringLiteral("KUNPREISART"));
    } else if (module == QLatin1String("Artikel")) {
        openTables({{&tc, "artikel.db"}, {&tcLiefer, "liefer.db"}});
    } else if (module == QStringLiteral("Stückliste")) {
        openTables({{&tc, "artstlst.db"}, {&tcArtikel, "artikel.db"}});
        if (!request.Datensatz.isEmpty())
            setRecordKeyRange();
    } else if (module == QLatin1String("Liefer")) {
        openTables({{&tc, "liefer.db"}});
        openCountries();
    } else if (module == QLatin1String("LfrArt")) {
        openTables({{&tc, "artikel.db"}, {&tcLiefer, "liefer.db"}});
        tc->SetIndexName(QStringLiteral("ARTLFRNR"));
        setRecordKeyRange();
    } else if (module == QLatin1String("Mitarbei")) {
        openTables({{&tc, "mitarbei.db"}});
        openCountries();
    } else if (module == QLatin1String("MabKun")) {
        OpenModuleTable(tc, GetAliasPath(QStringLiteral("zvuser")) + QStringLiteral("\\mabkun.db"), true);
        openTables({{&tcMitarbei, "mitarbei.db"}, {&tcKunden, "kunden.db"}});
        openCountries();
        setRecordKeyRange();
    } else {
        return std::nullopt;
    }
    return SetupTables::Forced;
}

std::optional<SetupTables> openDocumentTables(const QString &module, const TPrintRequest &request)
{
    if (module == QLatin1String("Auftrag"))
        openSalesTables(request);
    else if (module == QLatin1String("Bestellung"))
        openPurchaseTables(request);
    else if (module == QLatin1String("Lagerbew"))
        openTables({{&tc, "lagerbew.db"}, {&tcArtikel, "artikel.db"}, {&tcLiefer, "liefer.db"}});
    else if (module == QLatin1String("Mahnung")) {
        openTables(
            {{&tc, "offposMa.db"}, {&tcOffPos, "offpos.db"}, {&tcKunden, "kunden.db"}, {&tcMahnPara, "MahnPara.db"}});
        openCountries();
    } else if (module == QLatin1String("Offene Posten"))
        openTables({{&tc, "offpos.db"}, {&tcKunden, "kunden.db"}, {&tcKopf, "auftrag.db"}, {&tcUmsatz, "umsatz.db"}});
    else if (module == QLatin1String("Zahlungseingang"))
        openTables({{&tc, "umsatz.db"}, {&tcKunden, "kunden.db"}, {&tcKopf, "auftrag.db"}});
    else if (module == QLatin1String("Zahlungsausgang"))
        openTables({{&tc, "UmsatzBe.db"}, {&tcKunden, "liefer.db"}, {&tcKopf, "bestell.db"}});
    else if (module == QLatin1String("OpoBList"))
        openTables({{&tc, "offposbe.db"}, {&tcBestell, "bestell.db"}, {&tcLiefer, "liefer.db"}});
    else
        return std::nullopt;
    return SetupTables::Forced;
}

std::optional<SetupTables> openStatisticsTables(const QString &module, const TPrintRequest &request)
{
    if (module == QLatin1String("KunAtr")) {
        openCustomerDocuments(request);
    } else if (module == QLatin1String("KunArt")) {
        openWithIndex(QStringLiteral("AtrPos.db"), QStringLiteral("APOKUNARTNR"));
        openTables({{&tcKunden, "kunden.db"}, {&tcKopf, "Auftrag.db"}, {&tcKArtDru, "KArtDru"}});
        setRecordKeyRange();
    } else if (module == QLatin1String("ArtKun")) {
        openWithIndex(QStringLiteral("AtrPos.db"), QStringLiteral("APOARTNR"));
        openTables({{&tcArtikel, "Artikel.db"}, {&tcKunden, "kunden.db"}, {&tcKopf, "Auftrag.db"}});
        setRecordKeyRange();
    } else if (module == QLatin1String("ZVBestellform")) {
        openTables({{&tc, "kunden.db"}});
    } else {
        return std::nullopt;
    }
    return SetupTables::Forced;
}

std::optional<SetupTables> openGroupAndTaskTables(const QString &module)
{
    if (module.contains(QLatin1String("Aufgaben-"))) {
        openTasks(true);
    } else if (module == QLatin1String("Aufgaben")) {
        openTasks(false);
    } else if (module == QLatin1String("Gruppen")) {
        openTables({{&tc, "gruppen.db"}});
    } else if (module == QLatin1String("GrZuord-K")) {
        openTables({{&tc, "GrZuord.db"}, {&tcGruppen, "gruppen.db"}, {&tcKunden, "kunden.db"}});
        setRecordKeyRange();
    } else if (module == QLatin1String("GrZuord-G")) {
        openWithIndex(QStringLiteral("GrZuord.db"), QStringLiteral("Gruppe"));
        openTables({{&tcKunden, "kunden.db"}, {&tcGruppen, "gruppen.db"}});
        setRecordKeyRange();
    } else if (module == QLatin1String("Textbausteine")) {
        if (ProgramPaths().DatenpfadQRB.isEmpty()) {
            ShowError(QString(), QStringLiteral("E-Mailpfad von Kuvertalia wurde nicht angegeben!"));
            return SetupTables::None;
        }
        OpenModuleTable(tc, os::includeTrailingSeparator(ProgramPaths().DatenpfadQRB) + QStringLiteral("texte.db"),
                        true);
    } else if (module == QLatin1String("Kontakte")) {
        openTables({{&tc, "kontakte.db"}, {&tcKunden, "kunden.db"}});
    } else {
        return std::nullopt;
    }
    return SetupTables::IfPresent;
}

SetupTables openTablesOfModule(const TPrintRequest &request)
{
    const QString &module = request.Modul;
    if (module == QLatin1String("Kunden")) {
        openTables({{&tc, "kunden.db"}});
        openCountries();
        return SetupTables::IfPresent;
    }
    if (module == QLatin1String("KunPreis")) {
        openTables({{&tc, "kunPreis.db"}, {&tcKunden, "kunden.db"}, {&tcArtikel, "artikel.db"}});
        return SetupTables::Forced;
    }
    if (module.contains(QLatin1String("Ansprech"))) {
        openContactPersons(module);
        return SetupTables::IfPresent;
    }
    if (module.contains(QLatin1String("Kontakte-"))) {
        openContactsOfOwner(module);
        return SetupTables::IfPresent;
    }
    for (const auto &opener : {openMasterTables, openDocumentTables, openStatisticsTables}) {
        if (const auto setup = opener(module, request))
            return *setup;
    }
    if (const auto setup = openGroupAndTaskTables(module))
        return *setup;
    ShowError(QString(), QStringLiteral("Tintlen:OpenDBs:Modul ") + module + QStringLiteral(" unbekannt"));
    return SetupTables::IfPresent;
}

void openSetupTable(TTable *&slot, const QString &path, SetupTables setup)
{
    if (setup == SetupTables::Forced || os::fileExists(path))
        OpenModuleTable(slot, path, true);
}

void openSetupTables(SetupTables setup)
{
    const TProgramPaths &paths = ProgramPaths();
    const QString data = os::includeTrailingSeparator(paths.DatenPfad);
    openSetupTable(tcSetup, data + QStringLiteral("setup.db"), setup);
    openSetupTable(tcSetupLoc, os::includeTrailingSeparator(paths.UserPfad) + QStringLiteral("setupLoc.db"), setup);
    openSetupTable(tcStSatz, data + QStringLiteral("StSatz.db"), setup);
}

bool isDocumentModule(const QString &module)
{
    return module == QLatin1String("Auftrag") || module == QLatin1String("Bestellung");
}

// Document mode: the main table holds one document's positions.
bool holdsDocumentPositions(const TPrintRequest &request)
{
    return (request.Modul == QLatin1String("Auftrag") && !isSalesListMode(request))
           || (request.Modul == QLatin1String("Bestellung") && !isPurchaseListMode(request));
}

QString joinedFilter(const QString &recordFilter, const QString &extraFilter)
{
    if (recordFilter.isEmpty())
        return extraFilter;
    if (extraFilter.isEmpty())
        return recordFilter;
    return QStringLiteral("(") + recordFilter + QStringLiteral(") AND (") + extraFilter + QStringLiteral(")");
}

bool isTextLine(TTable *table)
{
    return table->FieldByName(QStringLiteral("Artikelnr"))->AsString().isEmpty()
           && table->FieldByName(QStringLiteral("Menge"))->IsNull()
           && table->FieldByName(QStringLiteral("epreis"))->IsNull();
}

}

bool OpenModuleTable(TTable *&slot, const QString &name, bool open)
{
    if (!open) {
        if (slot)
            slot->Close();
        return false;
    }
    emptySlot(slot);
    slot = new TTable;
    if (!isFullPath(name))
        slot->SetDatabaseName(ProgramPaths().DatenPfad);
    slot->SetTableName(name);
    slot->Open();
    return true;
}

namespace printroad {

DocumentTransaction::DocumentTransaction(const QString &databaseName) : m_database(std::make_unique<TDatabase>())
{
    // A transaction already running on the database takes the writes.
    if (const TDatabase *running = Session()->FindDatabase(databaseName); running && running->InTransaction()) {
        m_database.reset();
        return;
    }
    m_database->SetDatabaseName(databaseName);
    m_database->StartTransaction();
}

DocumentTransaction::~DocumentTransaction()
{
    if (m_database && m_database->InTransaction())
        m_database->Rollback();
}

void DocumentTransaction::commit()
{
    if (m_database && m_database->InTransaction())
        m_database->Commit();
}

void JobState::startJob()
{
    startPass();
    reported.clear();
    iniSettings.clear();
    taxRates.clear();
    countryNames.clear();
    lookedUpRecords.clear();
}

void JobState::startPass()
{
    copyNumber = 0;
    recordCounter = 0;
}

// Every slot that is open is closed first, whatever module opened it: no
// table outlives a job whose module failed half-way, and no table of an
// earlier module stands in for one that could not be opened.
bool ReportData::OpenDBs(bool open)
{
    closeAllSlots();
    if (!open)
        return true;
    emptySlot(tcSetup);
    emptySlot(tcSetupLoc);
    emptySlot(tcStSatz);
    const SetupTables setup = openTablesOfModule(PrintRequest());
    if (setup != SetupTables::None)
        openSetupTables(setup);
    return true;
}

int ReportData::GetRecords(TTable *&slot, const QString &extraFilter)
{
    if (slot)
        return 0;
    // A module whose main table could not be opened (said so when opening)
    // has nothing to print.
    if (!tc || !tc->Active())
        return NothingToPrint;
    slot = tc;
    const TPrintRequest &request = PrintRequest();
    if (!request.Datenindex.isEmpty())
        tc->SetIndexName(request.Datenindex);
    const bool oneRecord = !request.Datensatz.isEmpty()
                           && (request.Datenbereich == QLatin1String("E")
                               || (request.Datenbereich == QLatin1String("M") && isDocumentModule(request.Modul)));
    if (oneRecord)
        return lookupRecord(request.Modul) ? tc->RecNo() : NothingToPrint;
    if (m_storedCriteria && !m_storedCriteria(tc))
        return NothingToPrint;
    const QString filter = joinedFilter(request.Datenfilter, extraFilter);
    if (!filter.isEmpty()) {
        tc->SetFilter(filter);
        tc->SetFiltered(true);
    }
    const int limit = tc->Filtered() ? FilteredRecordLimit : tc->RecordCount();
    tc->First();
    return limit;
}

// A record that is not there is not printed; only the designer goes on with
// wherever the cursor stands, as it prints nothing. A document without
// positions is no failure here: its head decides, and a head that is there
// prints without positions. A missing document is not reported here: its
// head reports it where the positions print, and a list or label of it
// leaves it out quietly.
bool ReportData::lookupRecord(const QString &module)
{
    const TPrintRequest &request = PrintRequest();
    tc->SetIndexName(QString());
    const QVariantList key = module == QLatin1String("GrZuord-G") ? QVariantList{request.Datensatz1, request.Datensatz}
                                                                  : QVariantList{request.Datensatz};
    if (tc->FindKey(key) || holdsDocumentPositions(request))
        return true;
    if (!isDocumentModule(module))
        ShowError(QStringLiteral("GetRecords"),
                  QStringLiteral("tc.findkey(") + request.Datensatz + QStringLiteral(") erfolglos"));
    return m_job.designer;
}

int ReportData::NumberPositions(TTable *table, const QString &orderNumber)
{
    if (IsTableEmpty(table))
        return 0;
    if (!table->FindKey({orderNumber}))
        return table->RecNo();
    // Stepping moves one record on; counting the numbers instead of asking
    // for each one keeps a write from costing a count of the table.
    int result = table->RecNo();
    int counter = 0;
    for (int step = 0; !table->Eof() && table->FieldByName(QStringLiteral("Auftragnr"))->AsString() == orderNumber;
         ++step) {
        numberPosition(table, counter);
        result += step == 0 ? 0 : 1;
        table->Next();
    }
    table->FindKey({orderNumber});
    return result;
}

void ReportData::numberPosition(TTable *table, int &counter)
{
    const int number = isTextLine(table) ? 0 : ++counter;
    TField *field = table->FieldByName(QStringLiteral("posdruck"));
    if (!field->IsNull() && field->AsInteger() == number)
        return;
    table->Edit();
    field->SetAsInteger(number);
    table->Post();
}

void ReportData::reportOnce(const QString &caption, const QString &text)
{
    const QString key = caption + QLatin1Char('\n') + text;
    if (m_job.reported.contains(key))
        return;
    m_job.reported.insert(key);
    ShowError(caption, text);
}

QString ReportData::filterLiteral(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace printroad
