#include "platform/report/PrintRun.h"

#include "platform/report/api/ReportCodes.h"

namespace report {

PrintRun::PrintRun(const Layout &layout, const QString &layoutFolder, std::unique_ptr<PageSink> sink,
                   const Definitions &variables, const Definitions &fields)
    : m_layout(layout), m_renderer(layoutFolder), m_variables(variables), m_fields(fields), m_sink(std::move(sink))
{}

void PrintRun::openPage()
{
    ++m_pageNumber;
    m_page = Page{};
    m_page->size = m_layout.pageSize;
}

int PrintRun::closePage()
{
    if (!m_page)
        return 0;
    if (m_error == 0 && m_pageNumber >= m_firstPage && m_pageNumber <= m_lastPage) {
        m_error = m_sink->addPage(*m_page);
        ++m_pagesOut;
    }
    m_page.reset();
    return m_error;
}

void PrintRun::renderObjects(const QList<Appearance> &appearances, QPointF offset, const NameScope &scope)
{
    for (const LayoutObject &o : m_layout.objects) {
        if (appearances.contains(o.appearance))
            m_renderer.render(o, offset, scope, *m_page);
    }
}

QString PrintRun::errorText() const
{
    if (!m_unknownNames.isEmpty())
        return m_unknownNames;
    return m_sink ? m_sink->errorText() : QString();
}

// A name that prints as nothing makes a document that looks right and is
// wrong; it is refused rather than output.
int PrintRun::refuseUnknownNames(int code)
{
    const QList<UnknownNames> unknown = m_renderer.takeUnknownNames();
    if (unknown.isEmpty())
        return m_unknownNames.isEmpty() ? code : LL_ERR_EXPRESSION;
    m_error = LL_ERR_EXPRESSION;
    m_unknownNames = unknownNamesMessage(unknown).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return m_error;
}

int PrintRun::end(bool aborted)
{
    if (aborted) {
        m_page.reset();
        m_sink->abort();
        return 0;
    }
    const int closed = closePage();
    if (closed != 0) {
        m_sink->abort();
        return closed;
    }
    return m_sink->finish();
}

int ListRun::print()
{
    const int closed = closePage();
    if (closed != 0)
        return closed;
    startPage();
    return 0;
}

void ListRun::startPage()
{
    openPage();
    const DefinitionScope variables(&m_variables, nullptr);
    renderObjects({Appearance::AllPages, m_pageNumber == 1 ? Appearance::FirstPage : Appearance::FollowingPages}, {},
                  variables);
    m_linesOnPage = 0;
    if (!m_layout.table)
        return;
    const TableDef &table = *m_layout.table;
    m_top = m_pageNumber > 1 && table.followingTop > 0 ? table.followingTop : table.rect.y();
    // A continuation page's header belongs to what was printed so far (a
    // carry-over shown there matches the previous page's footer).
    const DefinitionScope header(&m_variables, m_printedAny ? &m_lastPrinted : &m_fields);
    m_top =
        m_renderer.renderRows(m_renderer.fitRows(table, RowPart::Header, header), table, m_top, tableBottom(), *m_page);
}

double ListRun::tableBottom() const
{
    return m_layout.table ? m_layout.table->rect.bottom() : m_layout.printableBottom();
}

// The carried-over sums belong to the last line that made it onto the page,
// not to the line that is waiting for the next page.
QList<FittedRow> ListRun::pageFooter() const
{
    const DefinitionScope last(&m_variables, m_printedAny ? &m_lastPrinted : &m_fields);
    return m_renderer.fitRows(*m_layout.table, RowPart::PageFooter, last);
}

void ListRun::drawPageFooter(const QList<FittedRow> &footer)
{
    m_top = m_renderer.renderRows(footer, *m_layout.table, m_top, m_layout.printableBottom(), *m_page);
}

int ListRun::printFields()
{
    if (!m_layout.table)
        return LL_ERR_NO_TABLE;
    if (!m_page)
        startPage();
    const TableDef &table = *m_layout.table;
    const DefinitionScope current(&m_variables, &m_fields);
    const QList<FittedRow> rows = m_renderer.fitRows(table, RowPart::Data, current);
    // The footer is set once here: its height decides whether the line
    // fits, and when it does not, it is drawn as measured.
    const QList<FittedRow> footer = pageFooter();
    const double height = ObjectRenderer::rowsHeight(rows);
    if (m_top + height + ObjectRenderer::rowsHeight(footer) > tableBottom() + 1e-9 && m_linesOnPage > 0) {
        if (m_printedAny)
            drawPageFooter(footer);
        return LL_WRN_REPEAT_DATA;
    }
    // A line taller than the empty table is clipped rather than repeated for ever.
    m_top = m_renderer.renderRows(rows, table, m_top, tableBottom(), *m_page);
    ++m_linesOnPage;
    m_lastPrinted = m_fields;
    m_printedAny = true;
    return 0;
}

int ListRun::printFieldsEnd()
{
    if (!m_page)
        startPage();
    if (!m_layout.table)
        return 0;
    const TableDef &table = *m_layout.table;
    const DefinitionScope current(&m_variables, &m_fields);
    const QList<FittedRow> rows = m_renderer.fitRows(table, RowPart::EndFooter, current);
    const double height = ObjectRenderer::rowsHeight(rows);
    double afterHeight = 0;
    for (const LayoutObject &o : m_layout.objects) {
        if (o.appearance == Appearance::AfterTable)
            afterHeight = qMax(afterHeight, o.rect.bottom());
    }
    const bool fits =
        m_top + height <= tableBottom() + 1e-9 && m_top + height + afterHeight <= m_layout.printableBottom() + 1e-9;
    if (!fits && m_linesOnPage > 0) {
        if (m_printedAny)
            drawPageFooter(pageFooter());
        const int closed = closePage();
        return closed != 0 ? closed : LL_WRN_REPEAT_DATA;
    }
    m_top = m_renderer.renderRows(rows, table, m_top, tableBottom(), *m_page);
    renderObjects({Appearance::AfterTable}, QPointF(0, m_top), current);
    m_linesOnPage = 1;
    return 0;
}

LabelRun::LabelRun(const Layout &layout, const QString &layoutFolder, std::unique_ptr<PageSink> sink,
                   const Definitions &variables, const Definitions &fields, bool onePerPage)
    : PrintRun(layout, layoutFolder, std::move(sink), variables, fields), m_onePerPage(onePerPage)
{}

int LabelRun::print()
{
    if (!m_page)
        openPage();
    const int perPage = m_onePerPage ? 1 : m_layout.sheet.labelsPerSheet();
    const DefinitionScope variables(&m_variables, nullptr);
    renderObjects({Appearance::AllPages, Appearance::FirstPage, Appearance::FollowingPages, Appearance::AfterTable},
                  m_layout.sheet.origin(m_slot), variables);
    if (++m_slot < perPage)
        return 0;
    m_slot = 0;
    return closePage();
}

}
