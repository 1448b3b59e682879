#include "app/printroad/PrintJob.h"

#include "app/PrintRequest.h"
#include "app/Utils.h"
#include "app/printroad/PrintLoop.h"
#include "app/printroad/ReportFields.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/Printers.h"
#include "platform/ui/UiServices.h"

#include <QScopedValueRollback>

#include <memory>

namespace printroad {
namespace {

const QString setCurrentPrinterCaption = QStringLiteral("SetCurrentPrinter");

// Whatever way the driver ends, the request is what it was before, and a
// form printer made the default for the job gives the default back.
class DriverState
{
public:
    DriverState() : m_request(PrintRequest()) {}
    ~DriverState()
    {
        PrintRequest() = m_request;
        if (!m_restorePrinter.isEmpty())
            SetCurrentPrinter(m_restorePrinter);
    }
    DriverState(const DriverState &) = delete;
    DriverState &operator=(const DriverState &) = delete;

    void restorePrinterLater(const QString &printer) { m_restorePrinter = printer; }

private:
    TPrintRequest m_request;
    QString m_restorePrinter;
};

// A table of the driver's own, opened through the slot routine and closed
// and freed on every way out.
class DriverTable
{
public:
    explicit DriverTable(const QString &name) { OpenModuleTable(m_table, name, true); }
    ~DriverTable()
    {
        OpenModuleTable(m_table, QString(), false);
        delete m_table;
    }
    DriverTable(const DriverTable &) = delete;
    DriverTable &operator=(const DriverTable &) = delete;

    TTable *operator->() const { return m_table; }
    TTable *get() const { return m_table; }

private:
    TTable *m_table = nullptr;
};

bool isPerDocumentRequest(const TPrintRequest &request)
{
    return !request.Modul.isEmpty() && QStringLiteral("Auftrag,Bestellung").contains(request.Modul)
           && !request.Datenbereich.isEmpty() && QStringLiteral("AM").contains(request.Datenbereich)
           && !request.FormFilterTyp.contains(QLatin1String("iste"));
}

bool isPerCustomerRequest(const TPrintRequest &request)
{
    return request.Modul == QLatin1String("Mahnung")
           && (request.Datenbereich == QLatin1String("A") || request.Datenbereich == QLatin1String("M"));
}

}

bool GetDefaultPrinter(QString &name, QString &driver, QString &port)
{
    const os::PrinterService &service = os::PrinterService::instance();
    const QString current = service.currentPrinter();
    if (current.isEmpty()) {
        ShowError(QString(), QStringLiteral("Kein Standarddrucker definiert"));
        return false;
    }
    name = current;
    driver.clear();
    port.clear();
    for (const os::PrinterInfo &printer : service.printers()) {
        if (printer.name.compare(current, Qt::CaseInsensitive) == 0) {
            driver = printer.builtinPdf ? QStringLiteral("PDF") : QString();
            port = printer.port;
        }
    }
    return true;
}

bool SetCurrentPrinter(const QString &name)
{
    if (name.isEmpty()) {
        ShowError(setCurrentPrinterCaption, QStringLiteral("Parameter cDevice fehlt"));
        return false;
    }
    os::PrinterService &service = os::PrinterService::instance();
    if (!service.exists(name)) {
        ShowError(setCurrentPrinterCaption,
                  QStringLiteral("Treiber zu ") + name + QStringLiteral(" in Win.ini nicht vorhanden"));
        return false;
    }
    service.setCurrentPrinter(name);
    return true;
}

QString PrinterNameOf(const QString &listText)
{
    const int separator = listText.indexOf(QStringLiteral(" an "), 1);
    return separator > 0 ? listText.left(separator) : listText;
}

PrintJob::PrintJob(PrintLoop &loop, ReportFields &fields, PrintWindow &window)
    : m_loop(loop), m_fields(fields), m_window(window)
{}

void PrintJob::lstStdDruckerChange()
{
    const QString name = PrinterNameOf(m_window.standardPrinterText());
    if (!SetCurrentPrinter(name))
        ShowError(QString(), QStringLiteral("Druckertreiber ") + name
                                 + QStringLiteral(" kann nicht als Standard aktiviert werden."));
}

bool PrintJob::Tintlen()
{
    // Started again from a box of the running job: that job goes on alone.
    if (m_running || m_loop.isRunning())
        return false;
    const QScopedValueRollback<bool> running(m_running, true);
    m_fields.job().euroDruck = false;
    if (m_loop.GetFormFileName().isEmpty())
        return false;
    {
        DriverState state;
        QString restorePrinter;
        if (!checkOutput(restorePrinter))
            return false;
        state.restorePrinterLater(restorePrinter);
        ui::BusyCursor busy;
        const QString kind = PrintRequest().FormTyp;
        if (kind == QLatin1String("L"))
            printLists();
        else if (kind == QLatin1String("E"))
            m_loop.EtikettTintlen(m_window.withOptions());
        else
            ShowError(QString(), QStringLiteral("Formtyp ") + kind + QStringLiteral(" ist unbekannt!"));
    }
    m_window.forgetTypedCopies();
    m_loop.applyWindowBehaviour(false);
    m_fields.freePicture();
    return false;
}

// The chosen output must name a printer; a form printer becomes the default
// for the job, and `restorePrinter` is then the default to give back.
bool PrintJob::checkOutput(QString &restorePrinter)
{
    const Output output = m_window.output();
    if (output == Output::Standarddrucker && m_window.standardPrinterText().isEmpty()) {
        ShowError(QString(), QStringLiteral("Bitte erst den Drucker wählen!"));
        m_window.focusStandardPrinterList();
        return false;
    }
    if (output != Output::Formulardrucker)
        return true;
    if (m_window.formPrinterText().isEmpty()) {
        ShowError(QString(), QStringLiteral("Bitte erst einen Formulardrucker wählen!"));
        m_window.focusFormPrinterList();
        return false;
    }
    QString defaultPrinter, driver, port;
    if (!GetDefaultPrinter(defaultPrinter, driver, port))
        return false;
    const QString formPrinter = PrinterNameOf(m_window.formPrinterText());
    if (formPrinter != defaultPrinter && !SetCurrentPrinter(formPrinter)) {
        ShowError(QString(), QStringLiteral("Druckertreiber ") + formPrinter
                                 + QStringLiteral(" kann nicht als Standard aktiviert werden."));
        return false;
    }
    restorePrinter = defaultPrinter;
    return true;
}

void PrintJob::printLists()
{
    const TPrintRequest &request = PrintRequest();
    if (isPerDocumentRequest(request))
        printEachDocument();
    else if (isPerCustomerRequest(request))
        printEachCustomer();
    else
        m_loop.ListeTintlen(m_window.withOptions());
}

void PrintJob::printEachDocument()
{
    const QString range = PrintRequest().Datenbereich;
    const QStringList keys = documentKeys(range);
    PrintRequest().Datenbereich = QStringLiteral("E");
    printJobsFor(keys);
}

QStringList PrintJob::documentKeys(const QString &range)
{
    const TPrintRequest &request = PrintRequest();
    DriverTable heads(request.Modul == QLatin1String("Auftrag") ? QStringLiteral("Auftrag.db")
                                                                : QStringLiteral("Bestell.db"));
    if (!request.Datenfilter.isEmpty()) {
        heads->SetFilter(request.Datenfilter);
        heads->SetFiltered(true);
    }
    QStringList keys;
    for (heads->First(); !heads->Eof(); heads->Next()) {
        const bool printed = range == QLatin1String("A")
                             || (range == QLatin1String("M")
                                 && heads->FieldByName(QStringLiteral("mark"))->AsString() == QLatin1String("J"));
        if (printed)
            keys << heads->FieldByName(QStringLiteral("auftragnr"))->AsString();
    }
    return keys;
}

void PrintJob::printEachCustomer()
{
    const QStringList keys = customerKeys();
    PrintRequest().Datenbereich = QStringLiteral("E");
    printJobsFor(keys);
}

// One key per run of proposal rows of one customer, in the table's order.
QStringList PrintJob::customerKeys()
{
    DriverTable proposals(QStringLiteral("OffposMa"));
    QStringList keys;
    for (proposals->First(); !proposals->Eof(); proposals->Next()) {
        const QString customer = proposals->FieldByName(QStringLiteral("kundennr"))->AsString();
        if (keys.isEmpty() || keys.constLast() != customer)
            keys << customer;
    }
    return keys;
}

// A layout refused for one document is refused for all: said once, and the
// run ends there.
void PrintJob::printJobsFor(const QStringList &keys)
{
    if (keys.isEmpty())
        m_loop.reportNothingSelected();
    for (const QString &key : keys) {
        PrintRequest().Datensatz = key;
        m_loop.ListeTintlen(m_window.withOptions());
        if (m_loop.layoutRefused())
            return;
    }
}

} // namespace printroad
