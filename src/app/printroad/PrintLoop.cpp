#include "app/printroad/PrintLoop.h"

#include "app/Utils.h"
#include "app/printroad/PrintJob.h"
#include "app/printroad/ReportFields.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/api/ReportApi.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/runtime/DateTime.h"

#include <QScopedValueRollback>

namespace printroad {

struct PrintLoop::JobSetup
{
    QString layout;
    QWidget *parent = nullptr;
    int copies = 1;
    int kind = report::LL_PROJECT_CARD;
    int destination = report::LL_PRINT_PREVIEW;
    QString description;
    QString boxTitle;
    bool toPrinter = false;
};

// The engine job of one pass; closed on every way out unless the error
// handler closed it already.
class PrintLoop::OpenJob
{
public:
    OpenJob() : m_handle(LlJobOpen(0)) {}
    ~OpenJob()
    {
        if (m_open)
            LlJobClose(m_handle);
    }
    OpenJob(const OpenJob &) = delete;
    OpenJob &operator=(const OpenJob &) = delete;

    int handle() const { return m_handle; }
    void closed() { m_open = false; }

private:
    int m_handle;
    bool m_open = true;
};

// The module's tables for one pass; closed on every way out.
class PrintLoop::OpenTables
{
public:
    explicit OpenTables(ReportData &data) : m_data(data) { reopen(); }
    ~OpenTables() { m_data.OpenDBs(false); }
    OpenTables(const OpenTables &) = delete;
    OpenTables &operator=(const OpenTables &) = delete;

    // A module that fails half-way leaves none of its tables open. The
    // slots get new table objects: definitions remembered by table object
    // must not outlive the old ones.
    void reopen()
    {
        m_data.job().lookedUpRecords.clear();
        try {
            m_data.OpenDBs(true);
        } catch (...) {
            m_data.OpenDBs(false);
            throw;
        }
    }

private:
    ReportData &m_data;
};

namespace {

// Every pass starts from the request as the driver handed it over, and the
// request is that again afterwards: a module may adjust it while it selects.
class RequestKeeper
{
public:
    explicit RequestKeeper(TPrintRequest &kept) : m_kept(kept) { m_kept = PrintRequest(); }
    ~RequestKeeper() { PrintRequest() = m_kept; }
    RequestKeeper(const RequestKeeper &) = delete;
    RequestKeeper &operator=(const RequestKeeper &) = delete;

private:
    TPrintRequest &m_kept;
};

class DesignerFlag
{
public:
    explicit DesignerFlag(JobState &job) : m_job(job) { m_job.designer = true; }
    ~DesignerFlag() { m_job.designer = false; }
    DesignerFlag(const DesignerFlag &) = delete;
    DesignerFlag &operator=(const DesignerFlag &) = delete;

private:
    JobState &m_job;
};

bool limitReached(TTable *dataSet, int limit)
{
    return dataSet->RecNo() > limit;
}

bool isUnmarked(TTable *dataSet)
{
    if (PrintRequest().Datenbereich != QLatin1String("M"))
        return false;
    TField *mark = dataSet->FindField(QStringLiteral("mark"));
    return mark && mark->AsString() != QLatin1String("J");
}

// Article labels go on articles, never on a document's text, marker or
// service lines.
bool isLabelWithoutArticle(TTable *dataSet)
{
    if (PrintRequest().FormFilterTyp != QLatin1String("EtikettArt"))
        return false;
    TField *article = dataSet->FindField(QStringLiteral("artikelnr"));
    return article && article->AsString().trimmed().isEmpty();
}

void defineNumber(int job, const QString &name, int value)
{
    LlDefineVariableExt(job, name, QString::number(value), report::LL_NUMERIC, QString());
}

// A list learns the number of its records only at its end, for what follows
// the table; the name is known from the start, empty (and printing empty)
// until then, so that the layout is not refused for using it. Labels follow
// the same loop and know the name too. A module that defines it itself does
// so later and wins.
void defineRecordCountName(int job)
{
    LlDefineVariableExt(job, QStringLiteral("Anzahl"), QString(), report::LL_NUMERIC, QString());
}

const QString noErrorDescription = QStringLiteral("Zu diesem Fehler ist keine Fehlerbeschreibung vorhanden.");

bool hasOwnErrorText(int code)
{
    return EngineErrorText(code) != noErrorDescription;
}

QString errorCaption(int code)
{
    return QStringLiteral("Fehler (Nr.") + QString::number(code) + QLatin1Char(')');
}

// Refusals of the layout itself, the same for every document of a run.
bool isLayoutRefusal(int code)
{
    return code == report::LL_ERR_LAYOUT || code == report::LL_ERR_EXPRESSION || code == report::LL_ERR_NO_TABLE
           || code == report::LL_ERR_NOTHING_PRINTABLE;
}

int projectKind()
{
    const QString &kind = PrintRequest().FormTyp;
    if (kind == QLatin1String("L"))
        return report::LL_PROJECT_LIST;
    if (kind == QLatin1String("E"))
        return report::LL_PROJECT_LABEL;
    return report::LL_PROJECT_CARD;
}

void moveToRecord(TTable *dataSet, int recordNumber)
{
    dataSet->First();
    dataSet->MoveBy(recordNumber - dataSet->RecNo());
}

}

QString EngineErrorText(int code)
{
    switch (code) {
    case report::LL_ERR_GENERAL:
        return QStringLiteral("Evtl. fehlen Dateien, die zum Druckprg. gehören. Siehe Filelist.doc!");
    case report::LL_ERR_NO_PRINTER:
        return QStringLiteral("Es wurde kein Drucker gewählt.");
    case report::LL_ERR_PRINTING_FAILED:
        return QStringLiteral("Druck konnte nicht durchgeführt werden. Abbruch oder Fehler während des Drucks.");
    case report::LL_ERR_NO_PREVIEW_FILES:
        return QStringLiteral("Bildschirmausgabe: Vorschaudateien nicht vorhanden oder gefunden");
    case report::LL_ERR_LAYOUT:
        return QStringLiteral(
                   "Formular- oder Konfigurationsdatei nicht gefunden. Prüfen Sie, ob die Datei vorhanden ist "
                   "und ob der im Menü \"Einstellungen/Installation\" eingegebene Pfad für die Formulare "
                   "korrekt ist:\r\n")
               + ProgramPaths().FormularPfad;
    case report::LL_ERR_EXPRESSION:
        return QStringLiteral(
            "Einer der im Formular verwendeten Ausdrücke enthält einen Fehler.\r\nRufen Sie über den "
            "\"Bearbeiten/Layout\"-Button den Entwurfsmodus auf und korrigieren Sie bitte den Fehler!");
    case report::LL_ERR_NO_TABLE:
        return QStringLiteral("In dem Formular ist kein Tabellenobjekt vorhanden.");
    case report::LL_ERR_NOTHING_PRINTABLE:
        return QStringLiteral("Im Formular/Etikett sind keine zu tintlende Objekte vorhanden.");
    default:
        return noErrorDescription;
    }
}

PrintLoop::PrintLoop(ReportFields &fields, PrintWindow &window)
    : m_fields(fields), m_data(fields.data()), m_window(window)
{}

QString PrintLoop::GetFormFileName() const
{
    const QString file = m_window.currentFormRow().DateiErsteSeite;
    if (file.isEmpty())
        ShowError(QString(), QStringLiteral("Es wurde kein Formular-Dateiname eingegeben!"));
    return file;
}

bool PrintLoop::AusgabeAufDrucker() const
{
    return m_window.output() != Output::Bildschirm;
}

void PrintLoop::applyWindowBehaviour(bool hideMainWindow)
{
    if (m_window.closeAfterJob())
        m_window.closeMainWindow();
    else if (m_window.backgroundAfterJob())
        m_window.minimizeApplication(hideMainWindow);
}

// A form file that is there but empty or damaged is no missing file; one
// that is ours the designer opens on what it can read.
QString PrintLoop::errorText(int code) const
{
    if (code != report::LL_ERR_LAYOUT)
        return EngineErrorText(code);
    const QString layout = report::existingLayoutPath(formFilePath());
    if (report::isEmptyLayoutFile(layout))
        return QStringLiteral("Die Formulardatei %1 ist leer. Legen Sie das Formular über den \"Bearbeiten/Layout\"-"
                              "Button neu an oder holen Sie es aus einer Sicherung zurück.")
            .arg(layout);
    const QString damage = report::damagedLayoutReason(layout);
    if (damage.isEmpty())
        return EngineErrorText(code);
    report::Layout readable;
    const QString remedy = report::salvageLayout(layout, readable)
                               ? QStringLiteral(" Öffnen Sie es über den \"Bearbeiten/Layout\"-Button, um zu retten, "
                                                "was sich lesen lässt, oder holen Sie es aus einer Sicherung zurück.")
                               : QStringLiteral(" Holen Sie es aus einer Sicherung zurück.");
    return QStringLiteral("Die Formulardatei %1 ist beschädigt (%2).").arg(layout, damage) + remedy;
}

QString PrintLoop::formFilePath() const
{
    return ProgramPaths().FormularPfad + m_window.currentFormRow().DateiErsteSeite;
}

// The program's own text of the code, followed by what the engine said
// about this failure where that tells more; a code without a text of its
// own is told by the engine alone.
QString PrintLoop::errorText(int code, int job) const
{
    const QString cause = LlGetErrorText(job);
    const QString text = errorText(code);
    if (cause.isEmpty() || text.contains(cause))
        return text;
    if (!hasOwnErrorText(code))
        return cause;
    return text + QStringLiteral("\r\n") + cause;
}

bool PrintLoop::LLErrHandler(int code, int job)
{
    if (code != report::LL_ERR_USER_ABORTED)
        ShowError(errorCaption(code), errorText(code, job));
    LlPrintEnd(job, 0);
    // Pages a preview job had already rendered are never shown now.
    if (!m_previewLayout.isEmpty())
        LlPreviewDeleteFiles(job, m_previewLayout, QString());
    LlJobClose(job);
    return true;
}

bool PrintLoop::fail(int code, OpenJob &job)
{
    m_layoutRefused = isLayoutRefusal(code);
    LLErrHandler(code, job.handle());
    job.closed();
    return false;
}

PrintLoop::JobSetup PrintLoop::jobSetup(bool labels) const
{
    const FormRow row = m_window.currentFormRow();
    JobSetup setup;
    setup.layout = formFilePath();
    setup.parent = m_window.activeWindow();
    setup.toPrinter = AusgabeAufDrucker();
    setup.copies = setup.toPrinter ? row.Ausdrucke : 1;
    if (setup.toPrinter && m_window.typedCopies() > 0)
        setup.copies = m_window.typedCopies();
    if (setup.copies <= 0)
        setup.copies = 1;
    setup.kind = projectKind();
    setup.destination = setup.toPrinter ? report::LL_PRINT_NORMAL : report::LL_PRINT_PREVIEW;
    setup.description = row.Bezeichnung;
    setup.boxTitle = labels ? QStringLiteral("Tintlen...") : row.Bezeichnung;
    return setup;
}

void PrintLoop::restoreRequest()
{
    PrintRequest() = m_request;
}

void PrintLoop::setEuroFromWorkstation()
{
    if (tcSetupLoc && tcSetupLoc->Active() && !IsTableEmpty(tcSetupLoc))
        m_data.job().euroDruck =
            tcSetupLoc->FieldByName(QStringLiteral("EuroDruckVorgabe"))->AsString() == QLatin1String("J");
}

// A module that named no table to print from (an unknown one) has nothing
// to print, whatever record number it answered.
int PrintLoop::defineRecord(int job, TTable *&slot, bool labels)
{
    const int limit = m_fields.DefineFields(job, slot, labels, false);
    return slot ? limit : NothingToPrint;
}

void PrintLoop::reportNothingSelected() const
{
    ShowError(QString(), QStringLiteral("Es wurde kein Datensatz ausgewählt, es wird nichts gedruckt."));
}

// A filter that lets no record through, or a range without records (the
// contacts of a customer who has none), is said, not printed as nothing.
bool PrintLoop::nothingSelected(TTable *slot) const
{
    if (!slot->Eof())
        return false;
    if (slot->Filtered())
        reportNothingSelected();
    else
        ShowError(QString(), QStringLiteral("Keine druckbaren Daten gefunden!"));
    return true;
}

// A pass that only asks the engine which printer the layout names; when it
// is not the default printer, the layout forgets its own printer.
bool PrintLoop::checkPrinter(const JobSetup &setup, bool labels)
{
    QString printer, driver, port;
    if (!GetDefaultPrinter(printer, driver, port))
        return false;
    if (!setup.toPrinter)
        return true;
    QString enginePrinter;
    if (!runCheckPass(setup, labels, enginePrinter))
        return false;
    if (enginePrinter == printer)
        return true;
    OpenJob job;
    const int result = LlSetPrinterToDefault(job.handle(), setup.kind,
                                             setup.layout + (labels ? QStringLiteral(".lbl") : QStringLiteral(".lst")));
    return result == 0 || fail(result, job);
}

bool PrintLoop::runCheckPass(const JobSetup &setup, bool labels, QString &enginePrinter)
{
    restoreRequest();
    OpenTables tables(m_data);
    OpenJob job;
    LlSetOption(job.handle(), report::LL_OPTION_JOB_STANDARD, report::LL_OPTION_ON);
    m_fields.DefineCommVars(job.handle(), Date());
    defineRecordCountName(job.handle());
    TTable *slot = nullptr;
    if (defineRecord(job.handle(), slot, labels) == NothingToPrint)
        return false;
    int result = LlPrintStart(job.handle(), setup.kind, setup.layout, setup.destination, 0);
    if (result != 0)
        return fail(result, job);
    QString port;
    result = LlPrintGetPrinterInfo(job.handle(), enginePrinter, port);
    if (result != 0)
        return fail(result, job);
    LlPrintEnd(job.handle(), 0);
    return true;
}

// A print that the printer or the preview could not take is an error.
bool PrintLoop::endPrinting(OpenJob &job)
{
    const int result = LlPrintEnd(job.handle(), 0);
    return result == 0 || m_aborted || fail(result, job);
}

bool PrintLoop::printOptions(OpenJob &job, const JobSetup &setup, int &copies, bool resetCopies)
{
    const int result = LlPrintOptionsDialog(job.handle(), setup.parent, setup.description);
    copies = LlPrintGetOption(job.handle(), report::LL_PRNOPT_COPIES);
    if (result != 0)
        return fail(result, job);
    if (resetCopies)
        LlPrintSetOption(job.handle(), report::LL_PRNOPT_COPIES, 1);
    return true;
}

// What an aborted job had rendered is never shown, and its files go too.
bool PrintLoop::endScreenOutput(OpenJob &job, const JobSetup &setup)
{
    if (!m_aborted) {
        const int result = LlPreviewDisplay(job.handle(), setup.layout, QString(), setup.parent);
        if (result != 0)
            return fail(result, job);
    }
    LlPreviewDeleteFiles(job.handle(), setup.layout, QString());
    return true;
}

// The progress box; false when the user aborted there.
bool PrintLoop::showProgress(int job, const JobSetup &setup, TTable *slot, int limit, int copies, int copyNumber)
{
    QString text = QStringLiteral("Drucke ") + setup.description;
    if (copies > 1)
        text += QStringLiteral(" (") + QString::number(copyNumber) + QStringLiteral(". Ausdruck) ");
    const int percent = int(qint64(slot->RecNo()) * 100 / (limit == 0 ? 1 : limit));
    return LlPrintSetBoxText(job, text, percent) != report::LL_ERR_USER_ABORTED;
}

// Default printer and printer check; then the job starts from the request
// as it was handed over.
bool PrintLoop::prepareJob(const JobSetup &setup, bool labels)
{
    m_aborted = false;
    m_layoutRefused = false;
    m_previewLayout = setup.toPrinter ? QString() : setup.layout;
    m_data.job().startJob();
    if (!checkPrinter(setup, labels))
        return false;
    restoreRequest();
    m_data.job().startPass();
    return true;
}

void PrintLoop::ListeTintlen(bool withOptions)
{
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    RequestKeeper keeper(m_request);
    const JobSetup setup = jobSetup(false);
    if (!prepareJob(setup, false))
        return;
    OpenTables tables(m_data);
    setEuroFromWorkstation();
    OpenJob job;
    LlSetDlgboxMode(report::LL_DLGBOXMODE_PRINT_MANAGER);
    LlSetOption(job.handle(), report::LL_OPTION_JOB_STANDARD, report::LL_OPTION_ON);
    LlSetOption(job.handle(), report::LL_OPTION_RUN_STANDARD, report::LL_OPTION_ON);
    m_data.job().copyNumber = 1;
    m_fields.DefineCommVars(job.handle(), Date());
    defineRecordCountName(job.handle());
    TTable *slot = nullptr;
    const int limit = defineRecord(job.handle(), slot, false);
    if (limit == NothingToPrint || nothingSelected(slot))
        return;
    int result =
        LlPrintWithBoxStart(job.handle(), setup.kind, setup.layout, setup.destination, 1, setup.parent, setup.boxTitle);
    if (result != 0) {
        fail(result, job);
        return;
    }
    int copies = setup.copies;
    LlPrintSetOption(job.handle(), report::LL_PRNOPT_COPIES, copies);
    if (setup.toPrinter && withOptions && !printOptions(job, setup, copies, true))
        return;
    m_data.job().copies = copies;
    if (!printListCopies(job, tables, setup, slot, limit, copies))
        return;
    if (!setup.toPrinter)
        endScreenOutput(job, setup);
}

bool PrintLoop::printListCopies(OpenJob &job, OpenTables &tables, const JobSetup &setup, TTable *&slot, int limit,
                                int copies)
{
    JobState &state = m_data.job();
    int startRecord = slot->RecNo();
    int result = 0;
    while (state.copyNumber <= copies && !slot->Eof() && !m_aborted) {
        if (state.copyNumber > 1) {
            result = LlPrintWithBoxStart(job.handle(), setup.kind, setup.layout, setup.destination, 1, setup.parent,
                                         setup.boxTitle);
            if (result != 0)
                return fail(result, job);
            slot = nullptr;
            restoreRequest();
            tables.reopen();
            limit = defineRecord(job.handle(), slot, false);
            if (limit == NothingToPrint)
                return false;
            startRecord = slot->RecNo();
        }
        defineNumber(job.handle(), QStringLiteral("Exemplar"), state.copyNumber);
        if (!printListPages(job, setup, slot, limit, copies, result))
            return false;
        ++state.copyNumber;
        if (state.copyNumber <= copies)
            moveToRecord(slot, startRecord);
    }
    return true;
}

// One copy: its pages, the table's end and the copy's end.
bool PrintLoop::printListPages(OpenJob &job, const JobSetup &setup, TTable *&slot, int limit, int copies, int &result)
{
    JobState &state = m_data.job();
    const int lastPage = LlPrintGetOption(job.handle(), report::LL_PRNOPT_LASTPAGE);
    int page = 1;
    bool repeat = false;
    bool error = false;
    state.recordCounter = 0;
    result = 0;
    while (!limitReached(slot, limit) && !error && !slot->Eof() && !m_aborted
           && LlPrintGetCurrentPage(job.handle()) <= lastPage) {
        defineNumber(job.handle(), QStringLiteral("Seite"), page);
        result = LlPrint(job.handle());
        if (result == 0)
            result = printListRecords(job.handle(), setup, slot, limit, copies, repeat);
        error = result < 0 && result != report::LL_WRN_REPEAT_DATA;
        repeat = result == report::LL_WRN_REPEAT_DATA;
        if (!slot->Eof())
            ++page;
    }
    LlDefineVariable(job.handle(), QStringLiteral("Anzahl"), QString::number(state.recordCounter));
    if (result != 0 && result != report::LL_WRN_REPEAT_DATA)
        return fail(result, job);
    while (LlPrintFieldsEnd(job.handle()) == report::LL_WRN_REPEAT_DATA) {
        defineNumber(job.handle(), QStringLiteral("Seite"), page);
        ++page;
    }
    return endPrinting(job);
}

// The records of one page; a record that did not fit is printed first on
// the next page, without defining its fields again.
int PrintLoop::printListRecords(int job, const JobSetup &setup, TTable *&slot, int limit, int copies, bool &repeat)
{
    JobState &state = m_data.job();
    const int lastPage = LlPrintGetOption(job, report::LL_PRNOPT_LASTPAGE);
    int result = 0;
    while (result == 0 && !limitReached(slot, limit) && !slot->Eof() && !m_aborted
           && LlPrintGetCurrentPage(job) <= lastPage) {
        if (isUnmarked(slot)) {
            slot->Next();
            continue;
        }
        if (slot->RecNo() % 11 == 0 && !showProgress(job, setup, slot, limit, copies, state.copyNumber)) {
            ShowError(QString(), QStringLiteral("Benutzer-Abbruch"));
            m_aborted = true;
            break;
        }
        if (!repeat)
            defineRecord(job, slot, false);
        repeat = false;
        result = LlPrintFields(job);
        if (result == 0) {
            ++state.recordCounter;
            slot->Next();
        }
    }
    return result;
}

void PrintLoop::EtikettTintlen(bool withOptions)
{
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    RequestKeeper keeper(m_request);
    const JobSetup setup = jobSetup(true);
    if (!prepareJob(setup, true))
        return;
    JobState &state = m_data.job();
    {
        OpenTables tables(m_data);
        setEuroFromWorkstation();
        OpenJob job;
        LlSetDlgboxMode(report::LL_DLGBOXMODE_PRINT_MANAGER);
        LlSetOption(job.handle(), report::LL_OPTION_JOB_STANDARD, report::LL_OPTION_ON);
        state.copyNumber = 1;
        state.copies = setup.copies;
        defineRecordCountName(job.handle());
        TTable *slot = nullptr;
        const int limit = defineRecord(job.handle(), slot, true);
        if (limit == NothingToPrint || nothingSelected(slot))
            return;
        LlDefineVariableExt(job.handle(), QStringLiteral("Seite"), QStringLiteral("1"), report::LL_NUMERIC, QString());
        m_fields.DefineCommVars(job.handle(), Date());
        if (!printLabels(job, setup, slot, limit, withOptions))
            return;
    }
    applyWindowBehaviour(true);
}

bool PrintLoop::printLabels(OpenJob &job, const JobSetup &setup, TTable *&slot, int limit, bool withOptions)
{
    JobState &state = m_data.job();
    // The box says "Tintlen...", the document still carries the form's name.
    LlPrintSetOptionString(job.handle(), report::LL_PRNOPTSTR_PRINTJOBNAME, setup.description);
    int result =
        LlPrintWithBoxStart(job.handle(), setup.kind, setup.layout, setup.destination, 1, setup.parent, setup.boxTitle);
    if (result != 0)
        return fail(result, job);
    LlPrintSetOption(job.handle(), report::LL_PRNOPT_COPIES, state.copies);
    int copies = state.copies;
    if (setup.toPrinter && withOptions && !printOptions(job, setup, copies, false))
        return false;
    state.copies = copies;
    bool error = false;
    while (!limitReached(slot, limit) && !error && !slot->Eof() && !m_aborted) {
        if (isUnmarked(slot) || isLabelWithoutArticle(slot)) {
            slot->Next();
            continue;
        }
        defineRecord(job.handle(), slot, true);
        for (int copy = 0; copy < state.copies && result == 0; ++copy)
            result = LlPrint(job.handle());
        if (result != 0)
            return fail(result, job);
        if (!showProgress(job.handle(), setup, slot, limit, state.copies, 1)) {
            m_aborted = true;
            break;
        }
        slot->Next();
        if (PrintRequest().Datenbereich == QLatin1String("E") && limitReached(slot, limit)) {
            slot->Last();
            slot->Next();
        }
    }
    if (!endPrinting(job))
        return false;
    return setup.toPrinter || endScreenOutput(job, setup);
}

void PrintLoop::Layout()
{
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    const TPrintRequest &request = PrintRequest();
    if (request.Modul == QLatin1String("ZVBestellform") || request.FormFilterTyp == QLatin1String("Bestellform")) {
        ShowError(QString(), QStringLiteral("Ändern dieses Formulars nicht möglich"));
        return;
    }
    const QString file = GetFormFileName();
    if (file.isEmpty())
        return;
    RequestKeeper keeper(m_request);
    m_previewLayout.clear();
    const QString title =
        QStringLiteral("Formular-Layout \"") + m_window.currentFormRow().Bezeichnung + QStringLiteral("\"  ");
    m_data.job().startJob();
    DesignerFlag designer(m_data.job());
    OpenTables tables(m_data);
    setEuroFromWorkstation();
    OpenJob job;
    LlSetDlgboxMode(report::LL_DLGBOXMODE_PRINT_MANAGER);
    LlSetOption(job.handle(), report::LL_OPTION_JOB_STANDARD, report::LL_OPTION_ON);
    LlSetOption(job.handle(), report::LL_OPTION_RUN_STANDARD, report::LL_OPTION_ON);
    m_fields.DefineCommVars(job.handle(), Date());
    const bool list = request.FormTyp == QLatin1String("L");
    defineRecordCountName(job.handle());
    TTable *slot = nullptr;
    if (m_fields.DefineFields(job.handle(), slot, !list, true) == NothingToPrint) {
        ShowError(QString(), QStringLiteral("Keine druckbaren Daten gefunden!"));
        return;
    }
    const QString layout = formFilePath();
    const int result = LlDefineLayout(job.handle(), m_window.activeWindow(), title,
                                      projectKind() | report::LL_FUNCTION_CREATE_IF_MISSING, layout);
    if (result != 0 && result != report::LL_ERR_USER_ABORTED)
        reportDesignerRefusal(result, job.handle(), layout);
}

// The designer opens every layout of ours, a damaged one on what could be
// read; one that is not ours, or from a newer version, stays untouched.
void PrintLoop::reportDesignerRefusal(int code, int job, const QString &layout) const
{
    const QString cause = LlGetErrorText(job);
    const QString why = cause.isEmpty() ? EngineErrorText(code)
                                        : cause
                                              + QStringLiteral(". Holen Sie es aus einer Sicherung zurück, oder "
                                                               "entfernen Sie die Datei, dann legt der Entwurf ein "
                                                               "neues Formular an.");
    ShowError(errorCaption(code),
              QStringLiteral("Das Formular %1 kann nicht im Entwurf geöffnet werden: %2").arg(layout, why));
}

} // namespace printroad
