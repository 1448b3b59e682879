#pragma once

#include "app/PrintRequest.h"

#include <QString>

class QWidget;
class TTable;

namespace printroad {

class ReportFields;
class ReportData;

enum class Output { Standarddrucker, Formulardrucker, Bildschirm };

// The form row the user picked on the print tab.
struct FormRow
{
    QString Bezeichnung;
    QString DateiErsteSeite;
    int Ausdrucke = 1;
};

// What the print road reads from and does to the main window.
class PrintWindow
{
public:
    virtual ~PrintWindow() = default;
    virtual FormRow currentFormRow() const = 0;
    virtual Output output() const = 0;
    // The texts the printer lists show ("name an port"), empty when none.
    virtual QString standardPrinterText() const = 0;
    virtual QString formPrinterText() const = 0;
    virtual void focusStandardPrinterList() = 0;
    virtual void focusFormPrinterList() = 0;
    // The engine's print options dialog before printing.
    virtual bool withOptions() const = 0;
    // Copies typed with Alt and a digit; 0 when none was typed.
    virtual int typedCopies() const = 0;
    // The typed copies were for one print, which has run.
    virtual void forgetTypedCopies() = 0;
    virtual bool closeAfterJob() const = 0;
    virtual bool backgroundAfterJob() const = 0;
    virtual void closeMainWindow() = 0;
    virtual void minimizeApplication(bool hideMainWindow) = 0;
    // The window the engine's boxes belong to.
    virtual QWidget *activeWindow() const = 0;
};

// The German text of a report engine error code.
QString EngineErrorText(int code);

// One report job: a list or form, labels, or the layout designer.
class PrintLoop
{
public:
    PrintLoop(ReportFields &fields, PrintWindow &window);

    void ListeTintlen(bool withOptions);
    void EtikettTintlen(bool withOptions);
    void Layout();
    bool LLErrHandler(int code, int job);
    QString errorText(int code) const;
    // The last job was refused for its layout, which every further document
    // of a run shares.
    bool layoutRefused() const { return m_layoutRefused; }

    // The current form row's layout file; empty (and said so) when none.
    QString GetFormFileName() const;
    bool AusgabeAufDrucker() const;
    void applyWindowBehaviour(bool hideMainWindow);
    // A job, its printer check or the designer is under way. The engine's
    // boxes keep the message loop running, and a second job started from
    // there would reopen the module's tables under the running one.
    bool isRunning() const { return m_running; }
    // Tells the user that the request selected no record to print.
    void reportNothingSelected() const;

private:
    struct JobSetup;
    class OpenJob;
    class OpenTables;

    JobSetup jobSetup(bool labels) const;
    bool prepareJob(const JobSetup &setup, bool labels);
    // The default printer must exist; printer output makes a check pass.
    bool checkPrinter(const JobSetup &setup, bool labels);
    bool runCheckPass(const JobSetup &setup, bool labels, QString &enginePrinter);
    void setEuroFromWorkstation();
    bool nothingSelected(TTable *slot) const;
    void restoreRequest();
    int defineRecord(int job, TTable *&slot, bool labels);
    bool printListCopies(OpenJob &job, OpenTables &tables, const JobSetup &setup, TTable *&slot, int limit, int copies);
    bool printListPages(OpenJob &job, const JobSetup &setup, TTable *&slot, int limit, int copies, int &result);
    int printListRecords(int job, const JobSetup &setup, TTable *&slot, int limit, int copies, bool &repeat);
    bool printLabels(OpenJob &job, const JobSetup &setup, TTable *&slot, int limit, bool withOptions);
    bool showProgress(int job, const JobSetup &setup, TTable *slot, int limit, int copies, int copyNumber);
    bool printOptions(OpenJob &job, const JobSetup &setup, int &copies, bool resetCopies);
    bool endScreenOutput(OpenJob &job, const JobSetup &setup);
    bool endPrinting(OpenJob &job);
    bool fail(int code, OpenJob &job);
    QString errorText(int code, int job) const;
    QString formFilePath() const;
    void reportDesignerRefusal(int code, int job, const QString &layout) const;

    ReportFields &m_fields;
    ReportData &m_data;
    PrintWindow &m_window;
    TPrintRequest m_request;
    bool m_aborted = false;
    bool m_layoutRefused = false;
    bool m_running = false;
    // The layout of the running preview job; empty for printer output.
    QString m_previewLayout;
};

} // namespace printroad
