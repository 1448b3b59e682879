#include "mail/NCTable.h"

#include "platform/db/TField.h"

TNCTable::TNCTable(QObject *owner) : TTable(owner)
{}

namespace mail {

Variant FieldVariant(const TField &field)
{
    if (field.IsNull())
        return Variant::Null();
    switch (field.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return Variant(qint64(field.AsInteger()));
    case ftBoolean:
        return Variant(field.AsBoolean());
    case ftFloat:
        return Variant(field.AsFloat());
    case ftCurrency:
    case ftBCD:
        return Variant::Currency(field.AsFloat());
    case ftDate:
    case ftTime:
    case ftDateTime:
        return Variant::Date(field.AsDateTime());
    default:
        return Variant(field.AsString());
    }
}

Variant FieldVariant(const TDataSet &table, const QString &fieldName)
{
    return FieldVariant(*table.FieldByName(fieldName));
}

QStringList FieldNames(const TDataSet &table)
{
    QStringList names;
    for (const TField *field : table.FieldList())
        names << field->FieldName();
    return names;
}

TableReader::TableReader(const QString &folder, const QString &tableName) : m_table(std::make_unique<TTable>())
{
    m_table->SetDatabaseName(folder);
    m_table->SetTableName(tableName);
    m_table->Open();
    m_table->First();
}

TableReader::~TableReader()
{
    m_table->Close();
}

Variant TableReader::Value(const QString &fieldName) const
{
    return FieldVariant(*m_table, fieldName);
}

} // namespace mail
