#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace report {

// The engine behind the report calls. The free functions of ReportApi.h
// forward to the installed engine, so tests can put a recording fake in
// place of the real one. Implementations return result codes and never
// throw.
class ReportEngine
{
public:
    virtual ~ReportEngine() = default;

    virtual int jobOpen(int language) = 0;
    virtual int jobClose(int job) = 0;
    virtual int setDlgboxMode(int mode) = 0;
    virtual int setOption(int job, int option, int value) = 0;

    virtual int defineVariable(int job, const QString &name, const QString &contents, int type,
                               const QString &param) = 0;
    virtual int defineVariableImage(int job, const QString &name, const QImage &image, int type,
                                    const QString &param) = 0;
    virtual int defineField(int job, const QString &name, const QString &contents, int type, const QString &param) = 0;
    virtual int defineFieldImage(int job, const QString &name, const QImage &image, int type, const QString &param) = 0;

    virtual int printStart(int job, int kind, const QString &layout, int destination, int options, QWidget *parent,
                           const QString &boxTitle, bool withBox) = 0;
    virtual int printGetPrinterInfo(int job, QString &name, QString &port) = 0;
    virtual int setPrinterToDefault(int job, int kind, const QString &layout) = 0;
    virtual int printSetOption(int job, int option, int value) = 0;
    virtual int printGetOption(int job, int option) = 0;
    virtual int printSetOptionString(int job, int option, const QString &value) = 0;
    virtual int printOptionsDialog(int job, QWidget *parent, const QString &title) = 0;

    virtual int print(int job) = 0;
    virtual int printFields(int job) = 0;
    virtual int printFieldsEnd(int job) = 0;
    virtual int printGetCurrentPage(int job) = 0;
    virtual int printSetBoxText(int job, const QString &text, int percent) = 0;
    virtual int printEnd(int job, int options) = 0;

    virtual int previewDisplay(int job, const QString &layout, const QString &path, QWidget *parent) = 0;
    virtual int previewDeleteFiles(int job, const QString &layout, const QString &path) = 0;
    virtual int defineLayout(int job, QWidget *parent, const QString &title, int kind, const QString &layout) = 0;

    // Why the job's last failing call failed, where its code alone cannot
    // say (an unusable PDF folder); empty otherwise.
    virtual QString errorText(int /*job*/) const { return {}; }
};

// The installed engine; the real engine unless a test installed another.
ReportEngine &engine();
// Installs `engine` (not owned); null restores the real engine.
void setEngine(ReportEngine *engine);

}
