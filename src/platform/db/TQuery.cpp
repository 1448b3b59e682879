#include "platform/db/TQuery.h"

#include "platform/db/DbErrors.h"

namespace {

[[noreturn]] void notAvailable(const QObject *dataSet, const char *what)
{
    db::raiseDataSetError(dataSet, QStringLiteral("%1 werden von dieser Version nicht ausgeführt")
                                       .arg(QLatin1String(what)));
}

}

TQuery::TQuery(QObject *owner) : TDBDataSet(owner) {}

void TQuery::SetSQL(const QStringList &lines)
{
    if (Active())
        Close();
    m_sql = lines;
}

void TQuery::openCursor() { notAvailable(this, "SQL-Abfragen"); }

TStoredProc::TStoredProc(QObject *owner) : TDBDataSet(owner) {}

void TStoredProc::openCursor() { notAvailable(this, "Gespeicherte Prozeduren"); }
