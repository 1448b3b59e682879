#include "lib/data/Qkqbe.h"

#include "lib/data/Qklocate.h"
#include "lib/data/Qkstr.h"
#include "platform/db/QbeText.h"
#include "platform/runtime/Exceptions.h"

TqkQBE::TqkQBE(QObject *owner) : TSqlDataSet(owner)
{}

TqkQBE::~TqkQBE()
{
    m_lookupTables.Clear();
}

void TqkQBE::SetQBE(const QStringList &lines)
{
    m_qbe = lines;
    if (Active()) {
        Close();
        Open();
    }
}

void TqkQBE::SetOnFilter(const TqkQBEFilterEvent &handler)
{
    m_onFilter = handler;
    if (Active())
        installQbeFilter();
}

void TqkQBE::installQbeFilter()
{
    const bool installed = installOnFilter(this, m_onFilter);
    if (!installed)
        qkShowLibraryWarning(QStringLiteral("Local Filtering is not supported on this QBE."));
}

QString TqkQBE::PreparedQBE() const
{
    QStringList lines = m_qbe;
    for (QString &line : lines) {
        for (int at = int(line.indexOf(QLatin1Char('~'))); at >= 0; at = int(line.indexOf(QLatin1Char('~'), at + 1))) {
            for (int i = 0; i < m_params.Count(); ++i) {
                const TParam *param = m_params.Items(i);
                if (line.mid(at + 1, param->Name().size()).toLower() != param->Name().toLower())
                    continue;
                const QString value = param->Value().toString();
                line = line.left(at) + value + line.mid(at + 1 + param->Name().size()).left(255);
                at += int(value.size()) - 1;
                break;
            }
        }
    }
    return qkJoinQueryLines(lines, false);
}

QString TqkQBE::queryText() const
{
    return db::translateQbe(PreparedQBE()).sql;
}

void TqkQBE::openCursor()
{
    if (m_qbe.isEmpty() || m_qbe.first().trimmed().isEmpty())
        throw EAbort(QString());
    TSqlDataSet::openCursor();
}

void TqkQBE::closeCursor()
{
    m_lookupTables.Clear();
    m_callbackHandle = 0;
    TSqlDataSet::closeCursor();
}

void TqkQBE::DoAfterOpen()
{
    TSqlDataSet::DoAfterOpen();
    if (m_onFilter)
        installQbeFilter();
}

void TqkQBE::DoOnCalcFields()
{
    calculateLibraryFields(this);
    TSqlDataSet::DoOnCalcFields();
}

QVariant TqkQBE::FilterFieldValue(const QString &fieldName)
{
    return qkFilterFieldValue(this, fieldName, &m_lookupTables);
}
