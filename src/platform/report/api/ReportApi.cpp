#include "platform/report/api/ReportApi.h"

#include "platform/report/ReportEngine.h"

#include <QtGlobal>

#include <exception>

namespace {

// Whatever goes wrong inside the engine comes back as a general error code.
template <typename Call>
int guarded(const char *name, Call &&call)
{
    try {
        return call(report::engine());
    } catch (const std::exception &e) {
        qWarning("%s: %s", name, e.what());
    } catch (...) {
        qWarning("%s: unbekannter Fehler", name);
    }
    return report::LL_ERR_GENERAL;
}

}

int LlJobOpen(int language)
{
    return guarded("LlJobOpen", [&](report::ReportEngine &e) { return e.jobOpen(language); });
}

int LlJobClose(int job)
{
    return guarded("LlJobClose", [&](report::ReportEngine &e) { return e.jobClose(job); });
}

int LlSetDlgboxMode(int mode)
{
    return guarded("LlSetDlgboxMode", [&](report::ReportEngine &e) { return e.setDlgboxMode(mode); });
}

int LlSetOption(int job, int option, int value)
{
    return guarded("LlSetOption", [&](report::ReportEngine &e) { return e.setOption(job, option, value); });
}

int LlDefineVariable(int job, const QString &name, const QString &contents)
{
    return LlDefineVariableExt(job, name, contents, report::LL_TEXT, QString());
}

int LlDefineVariableExt(int job, const QString &name, const QString &contents, int type, const QString &param)
{
    return guarded("LlDefineVariableExt",
                   [&](report::ReportEngine &e) { return e.defineVariable(job, name, contents, type, param); });
}

int LlDefineVariableExtHandle(int job, const QString &name, const QImage &image, int type, const QString &param)
{
    return guarded("LlDefineVariableExtHandle",
                   [&](report::ReportEngine &e) { return e.defineVariableImage(job, name, image, type, param); });
}

int LlDefineField(int job, const QString &name, const QString &contents)
{
    return LlDefineFieldExt(job, name, contents, report::LL_TEXT, QString());
}

int LlDefineFieldExt(int job, const QString &name, const QString &contents, int type, const QString &param)
{
    return guarded("LlDefineFieldExt",
                   [&](report::ReportEngine &e) { return e.defineField(job, name, contents, type, param); });
}

int LlDefineFieldExtHandle(int job, const QString &name, const QImage &image, int type, const QString &param)
{
    return guarded("LlDefineFieldExtHandle",
                   [&](report::ReportEngine &e) { return e.defineFieldImage(job, name, image, type, param); });
}

int LlPrintStart(int job, int kind, const QString &layout, int destination, int options)
{
    return guarded("LlPrintStart", [&](report::ReportEngine &e) {
        return e.printStart(job, kind, layout, destination, options, nullptr, QString(), false);
    });
}

int LlPrintWithBoxStart(int job, int kind, const QString &layout, int destination, int options, QWidget *parent,
                        const QString &boxTitle)
{
    return guarded("LlPrintWithBoxStart", [&](report::ReportEngine &e) {
        return e.printStart(job, kind, layout, destination, options, parent, boxTitle, true);
    });
}

int LlPrintGetPrinterInfo(int job, QString &printer, QString &port)
{
    return guarded("LlPrintGetPrinterInfo",
                   [&](report::ReportEngine &e) { return e.printGetPrinterInfo(job, printer, port); });
}

int LlSetPrinterToDefault(int job, int kind, const QString &layout)
{
    return guarded("LlSetPrinterToDefault",
                   [&](report::ReportEngine &e) { return e.setPrinterToDefault(job, kind, layout); });
}

int LlPrintSetOption(int job, int option, int value)
{
    return guarded("LlPrintSetOption", [&](report::ReportEngine &e) { return e.printSetOption(job, option, value); });
}

int LlPrintGetOption(int job, int option)
{
    return guarded("LlPrintGetOption", [&](report::ReportEngine &e) { return e.printGetOption(job, option); });
}

int LlPrintSetOptionString(int job, int option, const QString &value)
{
    return guarded("LlPrintSetOptionString",
                   [&](report::ReportEngine &e) { return e.printSetOptionString(job, option, value); });
}

int LlPrintOptionsDialog(int job, QWidget *parent, const QString &title)
{
    return guarded("LlPrintOptionsDialog",
                   [&](report::ReportEngine &e) { return e.printOptionsDialog(job, parent, title); });
}

int LlPrint(int job)
{
    return guarded("LlPrint", [&](report::ReportEngine &e) { return e.print(job); });
}

int LlPrintFields(int job)
{
    return guarded("LlPrintFields", [&](report::ReportEngine &e) { return e.printFields(job); });
}

int LlPrintFieldsEnd(int job)
{
    return guarded("LlPrintFieldsEnd", [&](report::ReportEngine &e) { return e.printFieldsEnd(job); });
}

int LlPrintGetCurrentPage(int job)
{
    return guarded("LlPrintGetCurrentPage", [&](report::ReportEngine &e) { return e.printGetCurrentPage(job); });
}

int LlPrintSetBoxText(int job, const QString &text, int percent)
{
    return guarded("LlPrintSetBoxText", [&](report::ReportEngine &e) { return e.printSetBoxText(job, text, percent); });
}

int LlPrintEnd(int job, int options)
{
    return guarded("LlPrintEnd", [&](report::ReportEngine &e) { return e.printEnd(job, options); });
}

int LlPreviewDisplay(int job, const QString &layout, const QString &path, QWidget *parent)
{
    return guarded("LlPreviewDisplay",
                   [&](report::ReportEngine &e) { return e.previewDisplay(job, layout, path, parent); });
}

int LlPreviewDeleteFiles(int job, const QString &layout, const QString &path)
{
    return guarded("LlPreviewDeleteFiles",
                   [&](report::ReportEngine &e) { return e.previewDeleteFiles(job, layout, path); });
}

int LlDefineLayout(int job, QWidget *parent, const QString &title, int kind, const QString &layout)
{
    return guarded("LlDefineLayout",
                   [&](report::ReportEngine &e) { return e.defineLayout(job, parent, title, kind, layout); });
}

QString LlGetErrorText(int job)
{
    try {
        return report::engine().errorText(job);
    } catch (const std::exception &) {
        return {};
    }
}
