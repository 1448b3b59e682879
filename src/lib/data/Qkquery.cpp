#include "lib/data/Qkquery.h"

#include "lib/data/Qklocate.h"
#include "lib/data/Qkqbe.h"

TqkQuery::TqkQuery(QObject *owner) : TQuery(owner)
{}

TqkQuery::~TqkQuery()
{
    m_lookupTables.Clear();
}

void TqkQuery::SetOnFilter(const TqkQueryFilterEvent &handler)
{
    m_onFilter = handler;
    if (Active())
        installQueryFilter();
}

void TqkQuery::installQueryFilter()
{
    const bool installed = installOnFilter(this, m_onFilter);
    if (!installed)
        qkShowLibraryWarning(QStringLiteral(
            "Local filtering is not supported on a Live-Query which contains a Where clause in the SQL string. To "
            "perform a local filter on this query, you will need to set its RequestLive property to False."));
}

void TqkQuery::openCursor()
{
    TQuery::openCursor();
    if (!m_answerTable.isEmpty())
        qkSaveAnswerTable(*this, m_answerTable, queryText(), &m_params);
}

void TqkQuery::DoAfterOpen()
{
    TQuery::DoAfterOpen();
    if (m_onFilter)
        installQueryFilter();
}

void TqkQuery::DoBeforePost()
{
    TQuery::DoBeforePost();
    validateBeforePost(this);
}

void TqkQuery::DoOnCalcFields()
{
    calculateLibraryFields(this);
    TQuery::DoOnCalcFields();
}

void TqkQuery::closeCursor()
{
    m_lookupTables.Clear();
    m_callbackHandle = 0;
    TQuery::closeCursor();
}

QVariant TqkQuery::FilterFieldValue(const QString &fieldName)
{
    return qkFilterFieldValue(this, fieldName, &m_lookupTables);
}
