#pragma once

#include "platform/db/DbTypes.h"

#include <QObject>
#include <QString>
#include <QVector>

// The description of one stored column.
struct TFieldDef
{
    QString Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    bool Required = false;
};

class TTable;

class TFieldDefs : public QObject
{
    Q_OBJECT
public:
    // The definitions of the table's fields, or (without one) of a table to create.
    explicit TFieldDefs(TTable *table = nullptr);

    void Add(const QString &name, TFieldType dataType, int size = 0, bool required = false);
    // Adds a column written the Paradox way: a type letter and an optional
    // size ("A15", "N", "$", "M240").
    void AddParadox(const QString &name, const QString &typeText, bool required = false);
    void Clear();
    int Count() const { return int(m_items.size()); }
    const TFieldDef &Items(int index) const { return m_items.at(index); }
    int IndexOf(const QString &name) const;
    const TFieldDef *Find(const QString &name) const;
    void Assign(const TFieldDefs &other);
    const QVector<TFieldDef> &items() const { return m_items; }
    // Takes definitions read from a table file as they are.
    void setItems(const QVector<TFieldDef> &items) { m_items = items; }
    // Reads the table's definitions again, from its file while it is closed.
    void Update();

private:
    TTable *m_table;
    QVector<TFieldDef> m_items;
};

// The type of a Paradox type letter; raises EDatabaseError for an unknown one.
TFieldType FieldTypeFromParadox(QChar letter);
