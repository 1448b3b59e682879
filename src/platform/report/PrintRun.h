#pragma once

#include "platform/report/Definitions.h"
#include "platform/report/Layout.h"
#include "platform/report/ObjectRenderer.h"
#include "platform/report/PageSink.h"

#include <memory>
#include <optional>

namespace report {

// One print start of a job up to its end: renders pages from the layout
// with the job's definitions as they are at each call, and hands each
// finished page to the sink.
class PrintRun
{
public:
    PrintRun(const Layout &layout, const QString &layoutFolder, std::unique_ptr<PageSink> sink,
             const Definitions &variables, const Definitions &fields);
    virtual ~PrintRun() = default;

    virtual int print() = 0;
    virtual int printFields() { return -28; }
    virtual int printFieldsEnd() { return 0; }

    int currentPage() const { return m_pageNumber; }
    // Pages outside the range are rendered, so numbers and sums stay right,
    // but not output.
    void setPageRange(int first, int last)
    {
        m_firstPage = first;
        m_lastPage = last;
    }
    // Only before the first page went out (the options dialog may change the
    // printer).
    void replaceSink(std::unique_ptr<PageSink> sink) { m_sink = std::move(sink); }
    bool hasOutput() const { return m_pagesOut > 0; }
    QString errorText() const;
    int end(bool aborted);
    // The result of a call of the run, unless the call drew an element with
    // a name no definition made: then -23, and nothing of the run is output.
    int refuseUnknownNames(int code);

protected:
    Layout m_layout;
    ObjectRenderer m_renderer;
    const Definitions &m_variables;
    const Definitions &m_fields;
    std::optional<Page> m_page;
    int m_pageNumber = 0;

    void openPage();
    int closePage();
    void renderObjects(const QList<Appearance> &appearances, QPointF offset, const NameScope &scope);

private:
    std::unique_ptr<PageSink> m_sink;
    int m_firstPage = 1;
    int m_lastPage = 9999;
    int m_pagesOut = 0;
    int m_error = 0;
    QString m_unknownNames;
};

// Lists and forms: page objects, one table with header, data, page-footer
// and end-footer lines, objects after the table.
class ListRun : public PrintRun
{
public:
    using PrintRun::PrintRun;

    int print() override;
    int printFields() override;
    int printFieldsEnd() override;

private:
    double m_top = 0;
    int m_linesOnPage = 0;
    bool m_printedAny = false;
    Definitions m_lastPrinted;

    void startPage();
    double tableBottom() const;
    QList<FittedRow> pageFooter() const;
    void drawPageFooter(const QList<FittedRow> &footer);
};

// Labels: one label per print call in the next slot of the sheet; cards put
// one label on each page.
class LabelRun : public PrintRun
{
public:
    LabelRun(const Layout &layout, const QString &layoutFolder, std::unique_ptr<PageSink> sink,
             const Definitions &variables, const Definitions &fields, bool onePerPage);

    int print() override;

private:
    int m_slot = 0;
    bool m_onePerPage;
};

}
