#pragma once

#include "platform/report/ReportEngine.h"

#include <functional>
#include <vector>

// An engine in front of another that keeps every call it passes on, so that
// exactly the same calls (same layout, same data, same order) can be made
// again on the engine alone, without the program that made them.
class CallReplay : public report::ReportEngine
{
public:
    explicit CallReplay(report::ReportEngine &inner) : m_inner(inner) {}

    // Makes the kept calls again on `engine`.
    void replay(report::ReportEngine &engine) const;
    size_t size() const { return m_calls.size(); }

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
    int printSetOptionString(int job, int option, const QString &value) override;
    int printGetOption(int job, int option) override;
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

private:
    // A call made on the job the replay has open.
    using Call = std::function<int(report::ReportEngine &, int job)>;
    int pass(int job, Call call, bool opensJob = false);

    struct Kept
    {
        Call call;
        bool opensJob;
    };
    report::ReportEngine &m_inner;
    std::vector<Kept> m_calls;
};
