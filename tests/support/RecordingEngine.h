#pragma once

#include "platform/report/ReportEngine.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariantList>

namespace report {

// A stand-in engine for tests of the calling code: records every call with
// its arguments, keeps the definitions and answers from scripted results
// (by default 0, the next job handle, and the options as they were set).
class RecordingEngine : public ReportEngine
{
public:
    struct Call
    {
        QString name;
        QVariantList args;
        // Variables and fields (name -> contents) at LlPrint and LlPrintFields.
        QMap<QString, QString> values;
    };

    QList<Call> calls;
    QMap<QString, QString> variables;
    QMap<QString, QString> fields;
    QString printerName = QStringLiteral("Testdrucker");
    QString printerPort = QStringLiteral("LPT1:");
    // What the engine says about the last failure of any job.
    QString cause;

    // The next calls of `name` return `results` in order, then 0 again.
    void script(const QString &name, const QList<int> &results);
    QStringList callNames() const;
    int count(const QString &name) const;
    const Call *last(const QString &name) const;

    int jobOpen(int language) override;
    int jobClose(int job) override;
    int setDlgboxMode(int mode) override;
    int setOption(int job, int option, int value) override;

    int defineVariable(int job, const QString &name, const QString &contents, int type, const QString &param) override;
    int defineVariableImage(int job, const QString &name, const QImage &image, int type, const QString &param) override;
    int defineField(int job, const QString &name, const QString &contents, int type, const QString &param) override;
    int defineFieldImage(int job, const QString &name, const QImage &image, int type, const QString &param) override;

    int printStart(int job, int kind, const QString &layout, int destination, int options, QWidget *parent,
                   const QString &boxTitle, bool withBox) override;
    int printGetPrinterInfo(int job, QString &name, QString &port) override;
    int setPrinterToDefault(int job, int kind, const QString &layout) override;
    int printSetOption(int job, int option, int value) override;
    int printGetOption(int job, int option) override;
    int printSetOptionString(int job, int option, const QString &value) override;
    int printOptionsDialog(int job, QWidget *parent, const QString &title) override;

    int print(int job) override;
    int printFields(int job) override;
    int printFieldsEnd(int job) override;
    int printGetCurrentPage(int job) override;
    int printSetBoxText(int job, const QString &text, int percent) override;
    int printEnd(int job, int options) override;

    int previewDisplay(int job, const QString &layout, const QString &path, QWidget *parent) override;
    int previewDeleteFiles(int job, const QString &layout, const QString &path) override;
    int defineLayout(int job, QWidget *parent, const QString &title, int kind, const QString &layout) override;
    QString errorText(int) const override { return cause; }

private:
    QHash<QString, QList<int>> m_scripted;
    QHash<int, int> m_printOptions;
    int m_lastJob = 0;
    int m_page = 0;

    int record(const QString &name, const QVariantList &args, int fallback = 0, bool withValues = false);
};

}
