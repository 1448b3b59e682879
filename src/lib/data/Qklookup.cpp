#include "lib/data/Qklookup.h"

#include "lib/data/QkcommonData.h"
#include "lib/data/Qklocate.h"
#include "lib/data/Qkprops.h"
#include "lib/data/Qktable.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Exceptions.h"

namespace {

// Shared by all data sets: a lookup triggered while another is being
// resolved is not run.
bool g_resolvingLookup = false;

class ResolvingLookup
{
public:
    ResolvingLookup() { g_resolvingLookup = true; }
    ~ResolvingLookup() { g_resolvingLookup = false; }
    ResolvingLookup(const ResolvingLookup &) = delete;
    ResolvingLookup &operator=(const ResolvingLookup &) = delete;
};

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QVariant typedValue(const TField *field)
{
    if (!field || field->IsNull())
        return {};
    switch (qkValueKind(field->DataType())) {
    case TqkValueKind::Integer:
        return field->AsInteger();
    case TqkValueKind::Boolean:
        return field->AsBoolean();
    case TqkValueKind::Float:
        return field->AsFloat();
    case TqkValueKind::Date:
    case TqkValueKind::Time:
    case TqkValueKind::DateTime:
        return field->AsDateTime();
    case TqkValueKind::Binary:
        return field->AsBytes();
    default:
        return field->AsString();
    }
}

bool isTextBlob(const TField *field)
{
    return field->DataType() == ftMemo || field->DataType() == ftFmtMemo || field->IsBlob();
}

struct LinkPair
{
    QString ownField;
    QString lookupField;
};

QList<LinkPair> linkPairs(const QString &linksText)
{
    const QStringList names = linksText.split(QLatin1Char(';'));
    QList<LinkPair> pairs;
    for (int i = 0; i + 1 < names.size(); i += 2)
        pairs.append({names[i].trimmed(), names[i + 1].trimmed()});
    return pairs;
}

// The values of this data set's link fields as text; nothing when one of
// them is missing.
std::optional<QStringList> linkValues(const TDataSet *dataSet, const QList<LinkPair> &pairs)
{
    QStringList values;
    for (const LinkPair &pair : pairs) {
        const TField *field = dataSet->FindField(pair.ownField);
        if (!field)
            return std::nullopt;
        values.append(field->AsString());
    }
    return values;
}

// Searched with the table's lookup-search flag raised, so that a table kept
// narrowed to its key answers from its range.
bool searchLookupTable(TqkLookupTable &lookup, const QList<LinkPair> &pairs, const QStringList &values)
{
    auto &table = static_cast<TqkTable &>(*lookup.Table);
    if (pairs.isEmpty())
        return false;
    struct Searching
    {
        TqkTable &table;
        explicit Searching(TqkTable &searched) : table(searched) { table.SetLookupSearching(true); }
        ~Searching() { table.SetLookupSearching(false); }
    } searching(table);
    return lookup.UsesIndex && table.IndexFieldCount() > 0
               ? table.FindKeyForIndex(values.mid(0, 6))
               : table.LocateLookupValue(pairs.first().lookupField, values.first());
}

void showLookupValue(TField *target, const TqkLookupTable &lookup, const QString &resultField)
{
    const TField *result = lookup.Found ? lookup.Table->FindField(resultField) : nullptr;
    if (!result) {
        target->Clear();
        return;
    }
    target->SetAsString(isTextBlob(result) ? result->AsString() : result->DisplayText());
}

bool currentRecordHolds(TTable &table, const QStringList &values)
{
    if (table.IsEmpty())
        return false;
    for (int i = 0; i < values.size(); ++i) {
        if (table.IndexFields(i)->AsString().toLower() != values[i].toLower())
            return false;
    }
    return true;
}

// Resolves one "LookupFields" line; false stops the calculation.
bool resolveLine(TDataSet *dataSet, TqkLookupTables &tables, const QString &fieldLine, const QString &linksText)
{
    const std::optional<TqkLookupFieldLine> line = TqkLookupFieldLine::Parse(fieldLine);
    TField *target = line ? dataSet->FindField(line->FieldName) : nullptr;
    if (!target)
        return true;
    TqkLookupTable *lookup = tables.Find(*line, linksText);
    if (!lookup)
        lookup = &tables.Open(*line, linksText);
    else if (!lookup->Table->Active())
        lookup->Table->Open();
    const QList<LinkPair> pairs = linkPairs(linksText);
    const std::optional<QStringList> values = linkValues(dataSet, pairs);
    if (!values) {
        target->SetVisible(false);
        return false;
    }
    if (!lookup->Searched)
        lookup->Found = searchLookupTable(*lookup, pairs, *values);
    showLookupValue(target, *lookup, line->ResultField);
    lookup->Searched = true;
    return true;
}

TField *libraryLookupValue(TDataSet *dataSet, const TField *field, const TqkLookupTables &tables)
{
    const QStringList fieldLines = qkGetLookupFields(dataSet).value_or(QStringList());
    const QStringList linkLines = qkGetLookupLinks(dataSet).value_or(QStringList());
    for (int i = 0; i < fieldLines.size(); ++i) {
        const std::optional<TqkLookupFieldLine> line = TqkLookupFieldLine::Parse(fieldLines[i]);
        if (!line || !sameName(line->FieldName, field->FieldName()))
            continue;
        const QString linksText = linkLines.value(i);
        TqkLookupTable *lookup = tables.Find(*line, linksText);
        const QList<LinkPair> pairs = linkPairs(linksText);
        const std::optional<QStringList> values = linkValues(dataSet, pairs);
        if (!lookup || !lookup->Table->Active() || !values || !searchLookupTable(*lookup, pairs, *values))
            return nullptr;
        return lookup->Table->FindField(line->ResultField);
    }
    return nullptr;
}

TField *frameworkLookupValue(TDataSet *dataSet, const TField *field)
{
    TDataSet *lookupDataSet = field->LookupDataSet();
    if (!lookupDataSet || field->KeyFields().isEmpty())
        return nullptr;
    QVariantList keyValues;
    for (const QString &keyField : field->KeyFields().split(QLatin1Char(';'))) {
        const TField *key = dataSet->FindField(keyField.trimmed());
        if (!key)
            return nullptr;
        keyValues << key->Value();
    }
    const QVariant values = keyValues.size() == 1 ? keyValues.first() : QVariant(keyValues);
    if (!lookupDataSet->Locate(field->LookupKeyFields(), values, 0))
        return nullptr;
    return lookupDataSet->FindField(field->LookupResultField());
}

} // namespace

std::optional<TqkLookupFieldLine> TqkLookupFieldLine::Parse(const QString &line)
{
    const QStringList parts = line.split(QLatin1Char(';'));
    if (parts.size() < 5)
        return std::nullopt;
    TqkLookupFieldLine result;
    result.FieldName = parts[0];
    result.DatabaseName = parts[1];
    result.TableName = parts[2];
    result.ResultField = parts[3];
    if (parts.size() == 5) {
        result.IndexName = parts[4];
    } else {
        result.IndexFields = parts.mid(4, parts.size() - 5);
        result.CutTableName = parts.last() == QLatin1String("N");
    }
    return result;
}

QString TqkLookupFieldLine::EffectiveTableName() const
{
    return CutTableName ? TableName.section(QLatin1Char('.'), 0, 0) : TableName;
}

TqkLookupTables::TqkLookupTables() = default;
TqkLookupTables::~TqkLookupTables() = default;

TqkLookupTable *TqkLookupTables::Find(const TqkLookupFieldLine &line, const QString &linksText) const
{
    for (const auto &lookup : m_tables) {
        if (sameName(lookup->DatabaseName, line.DatabaseName) && sameName(lookup->TableName, line.EffectiveTableName())
            && sameName(lookup->LinksText, linksText))
            return lookup.get();
    }
    return nullptr;
}

TqkLookupTable &TqkLookupTables::Open(const TqkLookupFieldLine &line, const QString &linksText)
{
    auto lookup = std::make_unique<TqkLookupTable>();
    lookup->DatabaseName = line.DatabaseName;
    lookup->TableName = line.EffectiveTableName();
    lookup->LinksText = linksText;
    lookup->Table = std::make_unique<TqkTable>();
    TTable &table = *lookup->Table;
    table.SetDatabaseName(line.DatabaseName);
    table.SetTableName(lookup->TableName);
    if (line.IndexFields.isEmpty())
        table.SetIndexName(line.IndexName);
    table.Open();
    if (!line.IndexFields.isEmpty()) {
        const QString indexName = qkIndexNameForFields(table, line.IndexFields.join(QLatin1Char(';')));
        lookup->UsesIndex = indexName != QLatin1String("?");
        if (lookup->UsesIndex)
            table.SetIndexName(indexName);
    }
    m_tables.push_back(std::move(lookup));
    return *m_tables.back();
}

void TqkLookupTables::MarkUnsearched()
{
    for (const auto &lookup : m_tables)
        lookup->Searched = false;
}

void TqkLookupTables::Clear()
{
    m_tables.clear();
}

void qkLookupFieldGetText(TDataSet *dataSet, TqkLookupTables &tables)
{
    if (g_resolvingLookup)
        return;
    const ResolvingLookup resolving;
    tables.MarkUnsearched();
    const QStringList fieldLines = qkGetLookupFields(dataSet).value_or(QStringList());
    const QStringList linkLines = qkGetLookupLinks(dataSet).value_or(QStringList());
    for (int i = 0; i < fieldLines.size(); ++i) {
        if (!resolveLine(dataSet, tables, fieldLines[i], linkLines.value(i)))
            return;
    }
}

TField *qkLookupFieldValue(TDataSet *dataSet, TField *field, const TqkLookupTables *tables)
{
    if (!field)
        return nullptr;
    if (field->FieldKind() == fkCalculated)
        return tables ? libraryLookupValue(dataSet, field, *tables) : nullptr;
    return frameworkLookupValue(dataSet, field);
}

QString qkIndexNameForFields(TTable &table, const QString &fieldList)
{
    const QVector<TIndexDef> &indexes = table.IndexDefs()->items();
    const QString longer = fieldList + QLatin1Char(';');
    const auto pick = [&](bool exact, bool caseInsensitive) -> const TIndexDef * {
        for (const TIndexDef &index : indexes) {
            const bool fits =
                exact ? sameName(index.Fields, fieldList) : index.Fields.startsWith(longer, Qt::CaseInsensitive);
            if (fits && index.caseInsensitive() == caseInsensitive)
                return &index;
        }
        return nullptr;
    };
    for (const auto &[exact, caseInsensitive] :
         {std::pair{true, true}, std::pair{true, false}, std::pair{false, true}, std::pair{false, false}}) {
        if (const TIndexDef *index = pick(exact, caseInsensitive))
            return index->Name;
    }
    return QStringLiteral("?");
}

bool qkFindKeyForIndex(TTable &table, const QStringList &values)
{
    const int indexFields = table.IndexFieldCount();
    if (indexFields == 0 || values.isEmpty())
        return false;
    if (indexFields < values.size()) {
        qkShowLibraryWarning(QStringLiteral("Table ") + table.objectName()
                             + QStringLiteral(": FindKey has too many lookup values for index ") + table.IndexName());
        return false;
    }
    if (currentRecordHolds(table, values))
        return true;
    QVariantList keyValues;
    for (const QString &value : values)
        keyValues << value;
    return table.FindKey(keyValues);
}

QVariant qkFilterFieldValue(TDataSet *dataSet, const QString &fieldName, const TqkLookupTables *tables)
{
    TField *field = dataSet->FindField(fieldName);
    if (!field)
        throw EDatabaseError(QStringLiteral("%1: Feld „%2“ nicht gefunden").arg(fieldName, fieldName));
    if (field->FieldKind() == fkLookup)
        return typedValue(qkLookupFieldValue(dataSet, field, tables));
    if (field->FieldKind() == fkCalculated && tables) {
        if (const TField *looked = qkLookupFieldValue(dataSet, field, tables))
            return typedValue(looked);
    }
    return typedValue(field);
}
