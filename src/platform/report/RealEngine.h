#pragma once

#include "platform/report/Definitions.h"
#include "platform/report/PageSink.h"
#include "platform/report/PrintRun.h"
#include "platform/report/ProgressBox.h"
#include "platform/report/ReportEngine.h"

#include <QHash>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

namespace report {

// The engine that reads our layouts and renders them.
class RealEngine : public ReportEngine
{
public:
    // Makes the sink of a print start: destination 0x100 or 0x200, the layout
    // path, the printer and the document name; null with `code` set on failure.
    using SinkFactory = std::function<std::unique_ptr<PageSink>(
        int destination, const QString &layout, const QString &printer, const QString &title, int &code)>;

    RealEngine();
    ~RealEngine() override;

    // Tests route all output to a recording or a PDF file; null restores
    // print queues and preview files.
    void setSinkFactory(SinkFactory factory) { m_factory = std::move(factory); }
    ProgressBox *progressBox() const;
    // The printer the current job prints on.
    QString jobPrinter() const;

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
    QString errorText(int job) const override;

private:
    struct Job
    {
        int handle = 0;
        Definitions variables;
        Definitions fields;
        QHash<int, int> options;
        QHash<int, int> printOptions;
        QString layout;
        QString printer;
        QString title;
        QString documentName;
        int destination = 0;
        int kind = 0;
        int firstPage = 1;
        bool aborted = false;
        // Why the last failing call failed, where a code alone cannot say.
        QString errorText;
        std::unique_ptr<PrintRun> run;
        QPointer<ProgressBox> box;
    };

    std::optional<Job> m_job;
    int m_lastHandle = 0;
    int m_dlgboxMode = 0;
    SinkFactory m_factory;

    Job *find(int handle);
    // The name a printed file or print job of the job gets.
    static const QString &documentNameOf(const Job &job);
    std::unique_ptr<PageSink> makeSink(Job &job, int &code);
    int startRun(Job &job, int kind, const QString &layoutPath);
    template <typename Call>
    int withRun(int handle, Call &&call);
    void closeBox(Job &job);
    void keepErrorText(Job &job, int code);
};

}
