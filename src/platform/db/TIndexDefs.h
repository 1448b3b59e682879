#pragma once

#include "platform/db/DbTypes.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

struct TIndexDef
{
    QString Name;
    QString Fields; // ";"-separated
    TIndexOptions Options = 0;

    QStringList fieldList() const;
    bool caseInsensitive() const { return Options & ixCaseInsensitive; }
};

class TIndexDefs : public QObject
{
    Q_OBJECT
public:
    explicit TIndexDefs(QObject *owner = nullptr);

    void Add(const QString &name, const QString &fields, TIndexOptions options);
    void Clear();
    int Count() const { return int(m_items.size()); }
    const TIndexDef &Items(int index) const { return m_items.at(index); }
    int IndexOf(const QString &name) const;
    const TIndexDef *Find(const QString &name) const;
    // The index whose fields are exactly (or else begin with) the given list.
    const TIndexDef *FindIndexForFields(const QString &fields) const;
    const TIndexDef *Primary() const;
    void Assign(const TIndexDefs &other);
    const QVector<TIndexDef> &items() const { return m_items; }
    // Takes definitions read from a table file as they are.
    void setItems(const QVector<TIndexDef> &items) { m_items = items; }

private:
    QVector<TIndexDef> m_items;
};

QStringList splitFieldList(const QString &fields);
