#include "lib/data/Qktable.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/QkcommonData.h"
#include "lib/data/Qklocate.h"
#include "lib/data/Qkqbe.h"
#include "lib/data/Qkstr.h"
#include "lib/data/qkfilter.h"
#include "platform/db/ConnectionPool.h"
#include "platform/db/DbErrors.h"
#include "platform/db/QbeText.h"
#include "platform/db/TField.h"
#include "platform/db/TIndexDefs.h"
#include "platform/db/TQuery.h"
#include "platform/runtime/Exceptions.h"
#include "platform/ui/UiServices.h"

#include <QFileInfo>
#include <QTimer>

namespace {

// Raises a counter for the time of one key search.
class KeySearch
{
public:
    explicit KeySearch(int &depth) : m_depth(depth) { ++m_depth; }
    ~KeySearch() { --m_depth; }
    KeySearch(const KeySearch &) = delete;
    KeySearch &operator=(const KeySearch &) = delete;

private:
    int &m_depth;
};

bool sameFields(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}

void TqkDataSetExtras::validateBeforePost(TDataSet *dataSet) const
{
    if (m_validateWithMask)
        qkValidateFieldPicture(dataSet, m_onInvalidValue);
}

void TqkDataSetExtras::calculateLibraryFields(TDataSet *dataSet)
{
    qkRemoveMissingFieldLines(dataSet, &m_lookupFields, &m_lookupLinks, &m_controlType);
    qkLookupFieldGetText(dataSet, m_lookupTables);
}

bool TqkDataSetExtras::installRecordFilter(TDataSet *dataSet, const std::function<void(bool &)> &handler)
{
    if (!handler)
        return qkSetFilterCallback({}, dataSet, m_callbackHandle);
    return qkSetFilterCallback(
        [this, handler](TDataSet *self) {
            return m_recordFilter.Accept(self, m_qkFilterOptions, handler, [this, self] {
                if (m_onFilterEscape)
                    m_onFilterEscape(self);
            });
        },
        dataSet, m_callbackHandle);
}

void TqkDataSetExtras::changeFilterOptions(TDataSet *dataSet, TqkOnFilterOptions options, bool hasHandler)
{
    const bool switchedOff = (m_qkFilterOptions & ofoEnabled) && !(options & ofoEnabled);
    m_qkFilterOptions = options;
    if (!switchedOff || !dataSet->Active() || !hasHandler)
        return;
    // Escape switched the filter off in the middle of a read: the records
    // are read again once that read is over.
    if (m_recordFilter.Accepting())
        QTimer::singleShot(0, dataSet, [dataSet] {
            if (dataSet->Active())
                dataSet->RefreshFilters();
        });
    else
        dataSet->RefreshFilters();
}

TqkTable::TqkTable(QObject *owner) : TTable(owner)
{}

TqkTable::~TqkTable()
{
    m_lookupTables.Clear();
}

void TqkTable::SetOnFilter(const TqkTableFilterEvent &handler)
{
    m_onFilter = handler;
    if (Active())
        installTableFilter();
}

void TqkTable::SetOnFilterOptions(TqkOnFilterOptions options)
{
    changeFilterOptions(this, options, bool(m_onFilter));
}

void TqkTable::SetqkFilter(const QStringList &lines)
{
    m_qkFilter = lines;
    if (Active() && !qkSetExpressionFilter(JoinedFilter(), this, m_expressionHandle, false))
        qkShowLibraryWarning(QStringLiteral("Fail to set filter"));
}

void TqkTable::SetQuery(const QStringList &lines)
{
    if (Active())
        Close();
    if (!lines.isEmpty()) {
        TTable::SetTableName(QString());
        SetIndexFieldNames(QString());
        SetMasterSource(nullptr);
        SetMasterFields(QString());
    }
    m_query = lines;
}

void TqkTable::SetTableName(const QString &name)
{
    TTable::SetTableName(name);
    m_ownPictures.reset();
    if (!name.isEmpty())
        m_query.clear();
}

QString TqkTable::JoinedFilter() const
{
    QString joined;
    for (const QString &line : m_qkFilter) {
        const QString kept = strStripTrailing(line, QStringLiteral(" \t"));
        if (kept.isEmpty())
            continue;
        joined += joined.isEmpty() ? kept : QStringLiteral(" AND (") + kept + QLatin1Char(')');
    }
    return joined;
}

bool TqkTable::IsSequenced() const
{
    return !m_onFilter && JoinedFilter().isEmpty() && TTable::IsSequenced();
}

// The filter lines take effect as the cursor opens; a text that does not
// parse is not reported here (setting "qkFilter" reports it).
void TqkTable::openCursor()
{
    m_ownPictures.reset();
    if (!m_query.isEmpty())
        runQueryIntoAnswer();
    TTable::openCursor();
    const QString joined = JoinedFilter();
    if (joined.isEmpty() && !m_onFilter)
        return;
    try {
        qkSetExpressionFilter(joined, this, m_expressionHandle, true);
    } catch (const Exception &) {
        m_expressionHandle = 0;
    }
    if (m_onFilter)
        installTableFilter();
}

namespace {

// A table shows an answer; a text that changes tables has none to show.
QString qbeAnswerSql(const TqkTable &table, const QStringList &lines)
{
    const db::QbeQuery query = qkTranslateQbe(table, qkJoinQueryLines(lines, false), true);
    if (query.sql.isEmpty())
        db::raiseDataSetError(&table, QStringLiteral("Die Abfrage liefert keine Datenmenge"));
    return query.sql;
}

}

// The first word of the "Query" text tells QBE ("Query") from SQL.
QString TqkTable::querySelect() const
{
    const bool qbe = m_query.first().trimmed().section(QLatin1Char(' '), 0, 0).toLower() == QLatin1String("query");
    return qbe ? qbeAnswerSql(*this, m_query) : m_query.join(QLatin1Char('\n'));
}

// The answer of the "Query" text is a table file of its own, opened as this
// table and removed when it closes.
void TqkTable::runQueryIntoAnswer()
{
    const QString select = querySelect();
    const ui::BusyCursor busy;
    m_answerFolder = std::make_unique<QTemporaryDir>();
    const QString path = m_answerFolder->filePath(QStringLiteral("ANSWER.db"));
    qkWriteAnswerTable(*this, select, path);
    TTable::SetTableName(path);
}

// Closed, with "Query" lines there is no table file to read the fields
// from: the query runs briefly for them instead.
void TqkTable::InitFieldDefs()
{
    if (m_query.isEmpty() || Active()) {
        TTable::InitFieldDefs();
        return;
    }
    FieldDefs()->setItems(qkAnswerFieldDefs(*this, querySelect()));
}

void TqkTable::DoAfterClose()
{
    if (m_answerFolder) {
        db::ConnectionPool::forget(TableFilePath());
        TTable::SetTableName(QString());
        m_answerFolder.reset();
    }
    TTable::DoAfterClose();
}

void TqkTable::closeCursor()
{
    m_lookupTables.Clear();
    m_expressionHandle = 0;
    m_callbackHandle = 0;
    m_rangeFromKeySearch = false;
    TTable::closeCursor();
}

void TqkTable::DoBeforePost()
{
    TTable::DoBeforePost();
    validateBeforePost(this);
}

void TqkTable::DoOnCalcFields()
{
    calculateLibraryFields(this);
    TTable::DoOnCalcFields();
}

void TqkTable::installTableFilter()
{
    installOnFilter(this, m_onFilter);
}

// ---- the table's own pictures

// A name without an extension is a ".db" file, as everywhere in the layer.
bool TqkTable::keepsOwnPictures() const
{
    if (TableType() == ttParadox)
        return true;
    QString name = QFileInfo(TableName().trimmed().replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName().toLower();
    if (TableType() != ttDefault || name.isEmpty())
        return false;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".db");
    return name.contains(QLatin1String(".db")) && name.endsWith(QLatin1Char('b'));
}

// A closed table whose file cannot be read has no pictures to tell; they
// are asked for again next time, when the file may be there.
QString TqkTable::GetFieldPicture(const QString &fieldName)
{
    if (!m_ownPictures) {
        try {
            m_ownPictures = keepsOwnPictures() ? ReadValidityChecks() : QVector<db::ValidityCheck>();
        } catch (const Exception &) {
            return {};
        }
    }
    for (const db::ValidityCheck &check : std::as_const(*m_ownPictures))
        if (check.fieldName == fieldName)
            return check.picture;
    return {};
}

// ---- key searches

bool TqkTable::currentRecordHolds(const QStringList &values)
{
    if (IsEmpty())
        return false;
    for (int i = 0; i < values.size(); ++i)
        if (IndexFields(i)->AsString().toLower() != values[i].toLower())
            return false;
    return true;
}

bool TqkTable::FindKeyForIndex(const QStringList &values)
{
    if (IndexFieldCount() == 0 || values.isEmpty())
        return false;
    if (IndexFieldCount() < values.size()) {
        qkShowLibraryWarning(QStringLiteral("Table ") + objectName()
                             + QStringLiteral(": FindKey has too many lookup values for index ") + IndexName());
        return false;
    }
    const KeySearch search(m_keySearchDepth);
    if (m_syncSqlByRange)
        return findKeyByRange(values);
    if (m_narrowSearch)
        CancelRange();
    return qkFindKeyForIndex(*this, values);
}

// The key search of a table that keeps its records narrowed to the key.
bool TqkTable::findKeyByRange(const QStringList &values)
{
    if (currentRecordHolds(values) && (!m_rangeFromKeySearch || m_lookupSearching))
        return true;
    if (values.first().isEmpty()) {
        if (!m_lookupSearching) {
            CancelRange();
            m_rangeFromKeySearch = false;
        }
        return false;
    }
    QVariantList bounds;
    for (const QString &value : values)
        bounds << value;
    SetRange(bounds, bounds);
    m_rangeFromKeySearch = true;
    First();
    return currentRecordHolds(values);
}

void TqkTable::SeekKeyValues(const QVariantList &values)
{
    SetKey();
    for (int i = 0; i < values.size() && i < IndexFieldCount(); ++i)
        IndexFields(i)->SetValue(values[i]);
    GotoNearest();
}

QString TqkTable::IndexNameForField(const QString &fieldName, bool caseSensitive)
{
    const QVector<TIndexDef> &indexes = IndexDefs()->items();
    const QString longer = fieldName + QLatin1Char(';');
    for (bool exact : {true, false})
        for (const TIndexDef &index : indexes) {
            const bool fits =
                exact ? sameFields(index.Fields, fieldName) : index.Fields.startsWith(longer, Qt::CaseInsensitive);
            if (fits && index.caseInsensitive() != caseSensitive)
                return index.Name;
        }
    return QStringLiteral("?");
}

QString TqkTable::IndexNameForFields(const QString &fieldList)
{
    return qkIndexNameForFields(*this, fieldList);
}

QString TqkTable::FirstIndexField() const
{
    if (!IndexFieldNames().isEmpty())
        return IndexFieldNames().section(QLatin1Char(';'), 0, 0).trimmed();
    const QVector<TIndexDef> &indexes = const_cast<TqkTable *>(this)->IndexDefs()->items();
    for (const TIndexDef &index : indexes) {
        const bool named =
            sameFields(index.Name, IndexName())
            || (IndexName().isEmpty()
                && ((index.Options & ixPrimary) || sameFields(index.Name, QStringLiteral("PrimaryKey"))));
        if (named)
            return index.fieldList().value(0);
    }
    return {};
}

void TqkTable::ReopenKeepingLayout()
{
    if (!m_syncSqlByRange) {
        CancelRange();
        return;
    }
    QStringList layout;
    qkFillFieldList(this, layout);
    Close();
    Open();
    qkApplyFieldLayout(this, layout);
}

bool TqkTable::LocateLookupValue(const QString &fieldName, const QString &value)
{
    const KeySearch search(m_keySearchDepth);
    return qkLocateRecord(true, this, fieldName, value, lmExact, true);
}

QVariant TqkTable::FilterFieldValue(const QString &fieldName)
{
    return qkFilterFieldValue(this, fieldName, &m_lookupTables);
}

bool qkLookupFind(TDataSet *dataSet, TField *field, QString &keyText, TField *&resultField)
{
    auto *extras = dynamic_cast<TqkDataSetExtras *>(dataSet);
    if (!extras || !field)
        return false;
    resultField = qkLookupFieldValue(dataSet, field, &extras->LookupTables());
    if (!resultField)
        return false;
    const QStringList fieldLines = dataSet->property("LookupFields").toStringList();
    const QStringList linkLines = dataSet->property("LookupLinks").toStringList();
    for (int i = 0; i < fieldLines.size(); ++i) {
        if (!sameFields(fieldLines[i].section(QLatin1Char(';'), 0, 0).trimmed(), field->FieldName()))
            continue;
        const TField *own = dataSet->FindField(linkLines.value(i).section(QLatin1Char(';'), 0, 0).trimmed());
        keyText = own ? own->AsString() : QString();
        return true;
    }
    return false;
}
