#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

class TDataSet;
class TField;
class TTable;

// One "LookupFields" line: field; database; table; result field; then either
// the index name (five parts) or the index fields and a last part, "N"
// meaning that the table name counts only up to its first ".".
struct TqkLookupFieldLine
{
    QString FieldName;
    QString DatabaseName;
    QString TableName;
    QString ResultField;
    QString IndexName;
    QStringList IndexFields;
    bool CutTableName = false;

    static std::optional<TqkLookupFieldLine> Parse(const QString &line);
    QString EffectiveTableName() const;
};

// A lookup table a data set keeps open for its library lookup fields,
// identified by database, table and the links text of its line.
struct TqkLookupTable
{
    std::unique_ptr<TTable> Table;
    QString DatabaseName;
    QString TableName;
    QString LinksText;
    // False when no index fits the line's index fields: the table is then
    // searched by locating the first link.
    bool UsesIndex = true;
    bool Searched = false;
    bool Found = false;
};

// The lookup tables of one data set; they live until the data set closes.
class TqkLookupTables
{
public:
    TqkLookupTables();
    ~TqkLookupTables();
    TqkLookupTables(const TqkLookupTables &) = delete;
    TqkLookupTables &operator=(const TqkLookupTables &) = delete;

    TqkLookupTable *Find(const TqkLookupFieldLine &line, const QString &linksText) const;
    TqkLookupTable &Open(const TqkLookupFieldLine &line, const QString &linksText);
    void MarkUnsearched();
    void Clear();
    int Count() const { return int(m_tables.size()); }

private:
    std::vector<std::unique_ptr<TqkLookupTable>> m_tables;
};

// Computes the data set's library lookup fields for its current record from
// its "LookupFields" and "LookupLinks"; several fields reading one table cost
// one search per record.
void qkLookupFieldGetText(TDataSet *dataSet, TqkLookupTables &tables);

// The field of the lookup table that holds the looked-up value of a lookup
// field for the current record, or nothing when no record matches. Library
// lookup fields are looked up in the data set's open lookup tables.
TField *qkLookupFieldValue(TDataSet *dataSet, TField *field, const TqkLookupTables *tables = nullptr);

// The name of an index over exactly (or else beginning with) the ";"-separated
// fields, case-insensitive indexes first; "?" when there is none.
QString qkIndexNameForFields(TTable &table, const QString &fieldList);
// A key search with one value per leading index field: true at once when the
// current record holds the values already.
bool qkFindKeyForIndex(TTable &table, const QStringList &values);

// A field's value for the filter dialog's record test, typed like the field:
// text, integer, Boolean, floating point, TDateTime, or the bytes of a blob;
// an empty value is a null variant. An unknown field name raises the
// framework's database error.
QVariant qkFilterFieldValue(TDataSet *dataSet, const QString &fieldName, const TqkLookupTables *tables = nullptr);
