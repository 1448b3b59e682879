#include "platform/report/RealEngine.h"

#include "platform/report/LayoutDesigner.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/PreviewFile.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/PrintOptionsDialog.h"
#include "platform/report/PrinterOutput.h"
#include "platform/report/api/ReportCodes.h"
#include "platform/ui/Application.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace report {

RealEngine::RealEngine() = default;

RealEngine::~RealEngine()
{
    if (m_job)
        closeBox(*m_job);
}

RealEngine::Job *RealEngine::find(int handle)
{
    return m_job && m_job->handle == handle ? &*m_job : nullptr;
}

ProgressBox *RealEngine::progressBox() const
{
    return m_job ? m_job->box.data() : nullptr;
}

QString RealEngine::jobPrinter() const
{
    return m_job ? m_job->printer : QString();
}

int RealEngine::jobOpen(int)
{
    if (m_job)
        return LL_ERR_GENERAL;
    m_job = Job();
    m_job->handle = ++m_lastHandle;
    return m_job->handle;
}

int RealEngine::jobClose(int handle)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    if (job->run)
        job->run->end(true);
    closeBox(*job);
    m_job.reset();
    return 0;
}

int RealEngine::setDlgboxMode(int mode)
{
    m_dlgboxMode = mode;
    return 0;
}

int RealEngine::setOption(int handle, int option, int value)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    job->options.insert(option, value);
    return 0;
}

int RealEngine::defineVariable(int handle, const QString &name, const QString &contents, int type, const QString &)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    job->variables.define(name, contents, type);
    return 0;
}

int RealEngine::defineVariableImage(int handle, const QString &name, const QImage &image, int type, const QString &)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    job->variables.defineImage(name, image, type);
    return 0;
}

int RealEngine::defineField(int handle, const QString &name, const QString &contents, int type, const QString &)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    job->fields.define(name, contents, type);
    return 0;
}

int RealEngine::defineFieldImage(int handle, const QString &name, const QImage &image, int type, const QString &)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    job->fields.defineImage(name, image, type);
    return 0;
}

QString RealEngine::errorText(int handle) const
{
    return m_job && m_job->handle == handle ? m_job->errorText : QString();
}

const QString &RealEngine::documentNameOf(const Job &job)
{
    return job.documentName.isEmpty() ? job.title : job.documentName;
}

std::unique_ptr<PageSink> RealEngine::makeSink(Job &job, int &code)
{
    code = 0;
    const QString &name = documentNameOf(job);
    if (m_factory)
        return m_factory(job.destination, job.layout, job.printer, name, code);
    if (job.destination == LL_PRINT_PREVIEW)
        return std::make_unique<PreviewSink>(previewPath(job.layout));
    return printerSink(job.printer, name, code, job.errorText);
}

int RealEngine::startRun(Job &job, int kind, const QString &layoutPath)
{
    Layout layout;
    if (loadLayout(layoutPath, layout) != 0)
        return LL_ERR_LAYOUT;
    const bool isLabel = layout.type == Layout::Type::Label;
    if ((kind == LL_PROJECT_LABEL && !isLabel) || (kind == LL_PROJECT_LIST && isLabel))
        return LL_ERR_LAYOUT;
    if (!layout.firstExpressionError().isEmpty())
        return LL_ERR_EXPRESSION;
    if (!layout.hasPrintableObjects())
        return LL_ERR_NOTHING_PRINTABLE;
    if (kind == LL_PROJECT_LIST && !layout.table)
        return LL_ERR_NO_TABLE;
    int code = 0;
    std::unique_ptr<PageSink> sink = makeSink(job, code);
    if (!sink)
        return code != 0 ? code : LL_ERR_NO_PRINTER;
    const QString folder = QFileInfo(layoutPath).absolutePath();
    if (isLabel)
        job.run = std::make_unique<LabelRun>(layout, folder, std::move(sink), job.variables, job.fields,
                                             kind == LL_PROJECT_CARD);
    else
        job.run = std::make_unique<ListRun>(layout, folder, std::move(sink), job.variables, job.fields);
    job.run->setPageRange(job.firstPage, job.printOptions.value(LL_PRNOPT_LASTPAGE, LL_DEFAULT_LASTPAGE));
    return 0;
}

int RealEngine::printStart(int handle, int kind, const QString &layoutName, int destination, int, QWidget *parent,
                           const QString &boxTitle, bool withBox)
{
    const QString layout = resolveLayoutPath(layoutName, kind);
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    if (job->run)
        job->run->end(job->aborted);
    job->run.reset();
    job->errorText.clear();
    if (destination != LL_PRINT_NORMAL && destination != LL_PRINT_PREVIEW)
        return LL_ERR_GENERAL;
    job->layout = layout;
    job->kind = kind & ~LL_FUNCTION_CREATE_IF_MISSING;
    job->destination = destination;
    job->title = boxTitle.isEmpty() ? QFileInfo(layout).completeBaseName() : boxTitle;
    job->aborted = false;
    if (job->printer.isEmpty() || destination == LL_PRINT_PREVIEW)
        job->printer = printerForLayout(layout);
    const int code = startRun(*job, kind & ~LL_FUNCTION_CREATE_IF_MISSING, layout);
    if (code != 0)
        return code;
    if (withBox && !job->box) {
        job->box = new ProgressBox(parent, boxTitle);
        job->box->show();
        // The first progress comes after the first records; until then the
        // box must already be on the screen, not only asked for.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return 0;
}

int RealEngine::printGetPrinterInfo(int handle, QString &name, QString &port)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    name = job->printer.isEmpty() ? printerForLayout(job->layout) : job->printer;
    port = printerPort(name);
    return name.isEmpty() ? LL_ERR_NO_PRINTER : 0;
}

int RealEngine::setPrinterToDefault(int handle, int kind, const QString &layout)
{
    if (!find(handle))
        return LL_ERR_GENERAL;
    forgetLayoutPrinter(resolveLayoutPath(layout, kind));
    return 0;
}

int RealEngine::printSetOption(int handle, int option, int value)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    job->printOptions.insert(option, value);
    if (job->run && option == LL_PRNOPT_LASTPAGE)
        job->run->setPageRange(job->firstPage, value);
    return 0;
}

int RealEngine::printSetOptionString(int handle, int option, const QString &value)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    if (option == LL_PRNOPTSTR_PRINTJOBNAME)
        job->documentName = value;
    return 0;
}

int RealEngine::printGetOption(int handle, int option)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    const int fallback = option == LL_PRNOPT_COPIES ? 1 : (option == LL_PRNOPT_LASTPAGE ? LL_DEFAULT_LASTPAGE : 0);
    return job->printOptions.value(option, fallback);
}

int RealEngine::printOptionsDialog(int handle, QWidget *parent, const QString &title)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    PrintOptions options;
    options.printer = job->printer;
    options.printers = printerNames();
    options.copies = printGetOption(handle, LL_PRNOPT_COPIES);
    options.firstPage = job->firstPage;
    options.lastPage = printGetOption(handle, LL_PRNOPT_LASTPAGE);
    if (!askPrintOptions(options, parent, title))
        return LL_ERR_USER_ABORTED;
    job->printOptions.insert(LL_PRNOPT_COPIES, options.copies);
    job->printOptions.insert(LL_PRNOPT_LASTPAGE, options.lastPage);
    job->firstPage = options.firstPage;
    if (job->run) {
        job->run->setPageRange(options.firstPage, options.lastPage);
        if (options.printer != job->printer && !job->run->hasOutput()) {
            job->printer = options.printer;
            int code = 0;
            std::unique_ptr<PageSink> sink = makeSink(*job, code);
            if (!sink)
                return code;
            job->run->replaceSink(std::move(sink));
        }
    }
    return 0;
}

template <typename Call>
int RealEngine::withRun(int handle, Call &&call)
{
    Job *job = find(handle);
    if (!job || !job->run)
        return LL_ERR_GENERAL;
    if (job->aborted)
        return LL_ERR_USER_ABORTED;
    const int code = job->run->refuseUnknownNames(call(*job->run));
    keepErrorText(*job, code);
    return code;
}

int RealEngine::print(int handle)
{
    return withRun(handle, [](PrintRun &run) { return run.print(); });
}

int RealEngine::printFields(int handle)
{
    return withRun(handle, [](PrintRun &run) { return run.printFields(); });
}

int RealEngine::printFieldsEnd(int handle)
{
    return withRun(handle, [](PrintRun &run) { return run.printFieldsEnd(); });
}

int RealEngine::printGetCurrentPage(int handle)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    return job->run ? job->run->currentPage() : 0;
}

int RealEngine::printSetBoxText(int handle, const QString &text, int percent)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    if (job->box) {
        job->box->setProgress(text, percent);
        QCoreApplication::processEvents();
        if (job->box && job->box->aborted())
            job->aborted = true;
    }
    return job->aborted ? LL_ERR_USER_ABORTED : 0;
}

int RealEngine::printEnd(int handle, int)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    int code = 0;
    if (job->run) {
        code = job->run->end(job->aborted);
        keepErrorText(*job, code);
    }
    job->run.reset();
    closeBox(*job);
    return code;
}

// What the output said about its failure is what the error box shows.
void RealEngine::keepErrorText(Job &job, int code)
{
    if (code < 0 && code != LL_WRN_REPEAT_DATA && job.run && !job.run->errorText().isEmpty())
        job.errorText = job.run->errorText();
}

void RealEngine::closeBox(Job &job)
{
    if (job.box) {
        job.box->close();
        delete job.box.data();
    }
}

// The preview calls name the layout without its kind; the job's last print
// start tells which extension a bare name gets.
int RealEngine::previewDisplay(int handle, const QString &layout, const QString &, QWidget *parent)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    const QString path = previewPath(resolveLayoutPath(layout, job->kind));
    // Printed or saved from the preview, the document keeps the name it gets
    // when printed directly.
    return showPreview(path, documentNameOf(*job), parent) ? 0 : LL_ERR_NO_PREVIEW_FILES;
}

int RealEngine::previewDeleteFiles(int handle, const QString &layout, const QString &)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    QFile::remove(previewPath(resolveLayoutPath(layout, job->kind)));
    return 0;
}

int RealEngine::defineLayout(int handle, QWidget *parent, const QString &title, int kind, const QString &layoutName)
{
    Job *job = find(handle);
    if (!job)
        return LL_ERR_GENERAL;
    const bool create = (kind & LL_FUNCTION_CREATE_IF_MISSING) != 0;
    const int project = kind & ~LL_FUNCTION_CREATE_IF_MISSING;
    const QString layout = resolveLayoutPath(layoutName, project);
    job->errorText.clear();
    Layout loaded;
    // An empty file holds nothing to lose: it is made anew as a missing one.
    if (QFileInfo(layout).size() == 0) {
        if (!create)
            return LL_ERR_LAYOUT;
        loaded = newLayout(project == LL_PROJECT_LABEL ? Layout::Type::Label : Layout::Type::List);
    } else if (QString damage; loadLayout(layout, loaded, &damage) != 0) {
        if (!salvageLayout(layout, loaded)) {
            job->errorText = damage;
            return LL_ERR_LAYOUT;
        }
        ui::showWarning(QStringLiteral("Die Formulardatei %1 ist beschädigt (%2). Der Entwurf zeigt, was sich davon "
                                       "lesen ließ; erst beim Speichern wird die Datei ersetzt.")
                            .arg(layout, damage));
    }
    return designLayout(loaded, layout, job->variables, job->fields, parent, title);
}

namespace {

RealEngine &realEngine()
{
    static RealEngine real;
    return real;
}

ReportEngine *&installed()
{
    static ReportEngine *engine = nullptr;
    return engine;
}

}

ReportEngine &engine()
{
    return installed() ? *installed() : realEngine();
}

void setEngine(ReportEngine *engine)
{
    installed() = engine;
}

}
