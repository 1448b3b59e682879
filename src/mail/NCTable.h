#pragma once

#include "mail/Variant.h"
#include "platform/db/TTable.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

// A table whose fields the template vocabulary knows as prefix + "_" + field
// name ("Auftrag_Datum", "Kunden_Name").
class TNCTable : public TTable
{
    Q_OBJECT
public:
    explicit TNCTable(QObject *owner = nullptr);

    // Set directly by whoever sets the table up; empty after construction.
    QString Prefix;

    // A move that waits for the first read of a field through the template
    // vocabulary, so a table whose fields a template never reads is never
    // moved. A later request replaces an earlier one.
    void DeferPositioning(std::function<void()> position) { m_deferred = std::move(position); }
    void ApplyDeferredPositioning()
    {
        if (m_deferred)
            std::exchange(m_deferred, {})();
    }

private:
    std::function<void()> m_deferred;
};

namespace mail {

// A field's value as the template language sees it: null stays null, money
// is currency, dates are dates.
Variant FieldVariant(const TField &field);
Variant FieldVariant(const TDataSet &table, const QString &fieldName);

QStringList FieldNames(const TDataSet &table);

// Opens a table for reading its first record and closes it again when done.
class TableReader
{
public:
    TableReader(const QString &folder, const QString &tableName);
    ~TableReader();
    TableReader(const TableReader &) = delete;
    TableReader &operator=(const TableReader &) = delete;

    // Raises the data layer's error when the table has no such field.
    Variant Value(const QString &fieldName) const;

private:
    std::unique_ptr<TTable> m_table;
};

} // namespace mail
