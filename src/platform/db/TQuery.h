#pragma once

#include "platform/db/TDBDataSet.h"
#include "platform/db/TParams.h"

#include <QStringList>

// SQL queries over the table files. The class exists so that callers can
// name it; running SQL text comes with the query extension of this layer.
class TQuery : public TDBDataSet
{
    Q_OBJECT
    Q_PROPERTY(QStringList SQL READ SQL WRITE SetSQL)
    Q_PROPERTY(bool RequestLive READ RequestLive WRITE SetRequestLive)
    Q_PROPERTY(TParams *Params READ Params)
public:
    explicit TQuery(QObject *owner = nullptr);

    const QStringList &SQL() const { return m_sql; }
    void SetSQL(const QStringList &lines);
    bool RequestLive() const { return m_requestLive; }
    void SetRequestLive(bool live) { m_requestLive = live; }
    TParams *Params() { return &m_params; }

protected:
    void openCursor() override;

private:
    QStringList m_sql;
    bool m_requestLive = false;
    TParams m_params;
};

class TStoredProc : public TDBDataSet
{
    Q_OBJECT
    Q_PROPERTY(QString StoredProcName READ StoredProcName WRITE SetStoredProcName)
    Q_PROPERTY(TParams *Params READ Params)
public:
    explicit TStoredProc(QObject *owner = nullptr);

    const QString &StoredProcName() const { return m_name; }
    void SetStoredProcName(const QString &name) { m_name = name; }
    TParams *Params() { return &m_params; }

protected:
    void openCursor() override;

private:
    QString m_name;
    TParams m_params;
};
