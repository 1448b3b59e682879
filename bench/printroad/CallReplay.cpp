#include "CallReplay.h"

using report::ReportEngine;

int CallReplay::pass(int job, Call call, bool opensJob)
{
    const int result = call(m_inner, job);
    m_calls.push_back({std::move(call), opensJob});
    return result;
}

void CallReplay::replay(ReportEngine &engine) const
{
    int job = 0;
    for (const Kept &kept : m_calls) {
        const int result = kept.call(engine, job);
        if (kept.opensJob)
            job = result;
    }
}

int CallReplay::jobOpen(int language)
{
    return pass(
        0, [=](ReportEngine &e, int) { return e.jobOpen(language); }, true);
}

int CallReplay::jobClose(int job)
{
    return pass(job, [](ReportEngine &e, int j) { return e.jobClose(j); });
}

int CallReplay::setDlgboxMode(int mode)
{
    return pass(0, [=](ReportEngine &e, int) { return e.setDlgboxMode(mode); });
}

int CallReplay::setOption(int job, int option, int value)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.setOption(j, option, value); });
}

int CallReplay::defineVariable(int job, const QString &name, const QString &contents, int type, const QString &param)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.defineVariable(j, name, contents, type, param); });
}

int CallReplay::defineVariableImage(int job, const QString &name, const QImage &image, int type, const QString &param)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.defineVariableImage(j, name, image, type, param); });
}

int CallReplay::defineField(int job, const QString &name, const QString &contents, int type, const QString &param)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.defineField(j, name, contents, type, param); });
}

int CallReplay::defineFieldImage(int job, const QString &name, const QImage &image, int type, const QString &param)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.defineFieldImage(j, name, image, type, param); });
}

int CallReplay::printStart(int job, int kind, const QString &layout, int destination, int options, QWidget *parent,
                           const QString &boxTitle, bool withBox)
{
    return pass(job, [=](ReportEngine &e, int j) {
        return e.printStart(j, kind, layout, destination, options, parent, boxTitle, withBox);
    });
}

int CallReplay::printGetPrinterInfo(int job, QString &name, QString &port)
{
    const int result = m_inner.printGetPrinterInfo(job, name, port);
    m_calls.push_back({[](ReportEngine &e, int j) {
                           QString n, p;
                           return e.printGetPrinterInfo(j, n, p);
                       },
                       false});
    return result;
}

int CallReplay::setPrinterToDefault(int job, int kind, const QString &layout)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.setPrinterToDefault(j, kind, layout); });
}

int CallReplay::printSetOption(int job, int option, int value)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.printSetOption(j, option, value); });
}

int CallReplay::printSetOptionString(int job, int option, const QString &value)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.printSetOptionString(j, option, value); });
}

int CallReplay::printGetOption(int job, int option)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.printGetOption(j, option); });
}

int CallReplay::printOptionsDialog(int job, QWidget *parent, const QString &title)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.printOptionsDialog(j, parent, title); });
}

int CallReplay::print(int job)
{
    return pass(job, [](ReportEngine &e, int j) { return e.print(j); });
}

int CallReplay::printFields(int job)
{
    return pass(job, [](ReportEngine &e, int j) { return e.printFields(j); });
}

int CallReplay::printFieldsEnd(int job)
{
    return pass(job, [](ReportEngine &e, int j) { return e.printFieldsEnd(j); });
}

int CallReplay::printGetCurrentPage(int job)
{
    return pass(job, [](ReportEngine &e, int j) { return e.printGetCurrentPage(j); });
}

int CallReplay::printSetBoxText(int job, const QString &text, int percent)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.printSetBoxText(j, text, percent); });
}

int CallReplay::printEnd(int job, int options)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.printEnd(j, options); });
}

int CallReplay::previewDisplay(int job, const QString &layout, const QString &path, QWidget *parent)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.previewDisplay(j, layout, path, parent); });
}

int CallReplay::previewDeleteFiles(int job, const QString &layout, const QString &path)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.previewDeleteFiles(j, layout, path); });
}

int CallReplay::defineLayout(int job, QWidget *parent, const QString &title, int kind, const QString &layout)
{
    return pass(job, [=](ReportEngine &e, int j) { return e.defineLayout(j, parent, title, kind, layout); });
}
