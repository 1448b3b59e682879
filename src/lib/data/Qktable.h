#pragma once

#include "lib/data/Qklookup.h"
#include "lib/data/QkrecordFilter.h"
#include "lib/data/Qktypes.h"
#include "platform/db/TTable.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

class TqkTable;
using TqkTableFilterEvent = std::function<void(TqkTable *table, bool &accept)>;

// What every library data set carries: its property lists, the record-filter
// state and the lookup tables of its library lookup fields.
class TqkDataSetExtras
{
public:
    virtual ~TqkDataSetExtras() = default;
    TqkLookupTables &LookupTables() { return m_lookupTables; }
    const QStringList &ControlType() const { return m_controlType; }
    void SetControlType(const QStringList &lines) { m_controlType = lines; }
    const QStringList &LookupFields() const { return m_lookupFields; }
    void SetLookupFields(const QStringList &lines) { m_lookupFields = lines; }
    const QStringList &LookupLinks() const { return m_lookupLinks; }
    void SetLookupLinks(const QStringList &lines) { m_lookupLinks = lines; }
    const QStringList &PictureMasks() const { return m_pictureMasks; }
    void SetPictureMasks(const QStringList &lines) { m_pictureMasks = lines; }
    bool ValidateWithMask() const { return m_validateWithMask; }
    void SetValidateWithMask(bool validate) { m_validateWithMask = validate; }
    TqkInvalidValueEvent OnInvalidValue() const { return m_onInvalidValue; }
    void SetOnInvalidValue(const TqkInvalidValueEvent &handler) { m_onInvalidValue = handler; }
    TDataSetNotifyEvent OnFilterEscape() const { return m_onFilterEscape; }
    void SetOnFilterEscape(const TDataSetNotifyEvent &handler) { m_onFilterEscape = handler; }

protected:
    // The life-cycle work every library data set adds.
    void validateBeforePost(TDataSet *dataSet) const;
    void calculateLibraryFields(TDataSet *dataSet);
    // Installs (handler set) or removes the record-filter callback; false
    // when no callback could be installed.
    bool installRecordFilter(TDataSet *dataSet, const std::function<void(bool &)> &handler);
    // The same for a data set's own "OnFilter" event.
    template <typename DataSet, typename Event>
    bool installOnFilter(DataSet *dataSet, const Event &onFilter)
    {
        if (!onFilter)
            return installRecordFilter(dataSet, {});
        return installRecordFilter(dataSet, [dataSet, onFilter](bool &accept) { onFilter(dataSet, accept); });
    }
    // Switching the record filter off shows the records unfiltered again.
    void changeFilterOptions(TDataSet *dataSet, TqkOnFilterOptions options, bool hasHandler);

    QStringList m_controlType;
    QStringList m_lookupFields;
    QStringList m_lookupLinks;
    QStringList m_pictureMasks;
    bool m_validateWithMask = true;
    TqkInvalidValueEvent m_onInvalidValue;
    TDataSetNotifyEvent m_onFilterEscape;
    TqkOnFilterOptions m_qkFilterOptions = qkDefaultFilterOptions;
    int m_callbackHandle = 0;
    TqkRecordFilter m_recordFilter;
    TqkLookupTables m_lookupTables;
};

// The library's table: picture masks, control types and lookups by property,
// an expression filter from "qkFilter" lines, a record-filter event and the
// key searches of the filter dialog and the lookups.
class TqkTable : public TTable, public TqkDataSetExtras
{
    Q_OBJECT
    Q_PROPERTY(QStringList ControlType READ ControlType WRITE SetControlType)
    Q_PROPERTY(QStringList LookupFields READ LookupFields WRITE SetLookupFields)
    Q_PROPERTY(QStringList LookupLinks READ LookupLinks WRITE SetLookupLinks)
    Q_PROPERTY(QStringList PictureMasks READ PictureMasks WRITE SetPictureMasks)
    Q_PROPERTY(bool ValidateWithMask READ ValidateWithMask WRITE SetValidateWithMask)
    Q_PROPERTY(TqkInvalidValueEvent OnInvalidValue READ OnInvalidValue WRITE SetOnInvalidValue)
    Q_PROPERTY(TqkTableFilterEvent OnFilter READ OnFilter WRITE SetOnFilter)
    Q_PROPERTY(TDataSetNotifyEvent OnFilterEscape READ OnFilterEscape WRITE SetOnFilterEscape)
    Q_PROPERTY(TqkOnFilterOptions OnFilterOptions READ OnFilterOptions WRITE SetOnFilterOptions)
    Q_PROPERTY(QStringList qkFilter READ qkFilter WRITE SetqkFilter)
    Q_PROPERTY(QStringList Query READ Query WRITE SetQuery)
    Q_PROPERTY(bool SyncSQLByRange READ SyncSQLByRange WRITE SetSyncSQLByRange)
    Q_PROPERTY(bool NarrowSearch READ NarrowSearch WRITE SetNarrowSearch)
    Q_PROPERTY(int NarrowSearchUpperChar READ NarrowSearchUpperChar WRITE SetNarrowSearchUpperChar)

public:
    explicit TqkTable(QObject *owner = nullptr);
    ~TqkTable() override;

    TqkTableFilterEvent OnFilter() const { return m_onFilter; }
    void SetOnFilter(const TqkTableFilterEvent &handler);
    TqkOnFilterOptions OnFilterOptions() const { return m_qkFilterOptions; }
    void SetOnFilterOptions(TqkOnFilterOptions options);
    const QStringList &qkFilter() const { return m_qkFilter; }
    void SetqkFilter(const QStringList &lines);
    const QStringList &Query() const { return m_query; }
    void SetQuery(const QStringList &lines);
    void SetTableName(const QString &name) override;
    bool SyncSQLByRange() const { return m_syncSqlByRange; }
    void SetSyncSQLByRange(bool sync) { m_syncSqlByRange = sync; }
    bool NarrowSearch() const { return m_narrowSearch; }
    void SetNarrowSearch(bool narrow) { m_narrowSearch = narrow; }
    int NarrowSearchUpperChar() const { return m_narrowSearchUpperChar; }
    void SetNarrowSearchUpperChar(int character) { m_narrowSearchUpperChar = character; }

    // "qkFilter" as one expression: line1 AND (line2) AND (line3).
    QString JoinedFilter() const;
    bool IsSequenced() const override;

    bool FindKeyForIndex(const QStringList &values);
    void SeekKeyValues(const QVariantList &values);
    QString IndexNameForField(const QString &fieldName, bool caseSensitive);
    QString IndexNameForFields(const QString &fieldList);
    QString FirstIndexField() const;
    bool LocateLookupValue(const QString &fieldName, const QString &value);
    // A table kept narrowed to its key (SyncSQLByRange) is opened anew with
    // its field layout; any other just drops its range.
    void ReopenKeepingLayout();
    QVariant FilterFieldValue(const QString &fieldName);
    // The picture the table's own file keeps for the field among its
    // validity checks (the field named exactly as the file names it); empty
    // when it keeps none. Read once per opening, on first use, from the
    // file itself while the table is closed; only the suite's own table
    // type (".db") keeps them.
    Q_INVOKABLE QString GetFieldPicture(const QString &fieldName);
    // Set while the table is searched for a library lookup field.
    bool LookupSearching() const { return m_lookupSearching; }
    void SetLookupSearching(bool searching) { m_lookupSearching = searching; }

protected:
    void openCursor() override;
    void closeCursor() override;
    void DoAfterClose() override;
    void DoBeforePost() override;
    void DoOnCalcFields() override;
    void InitFieldDefs() override;

private:
    void installTableFilter();
    QString querySelect() const;
    void runQueryIntoAnswer();
    bool currentRecordHolds(const QStringList &values);
    bool keepsOwnPictures() const;
    bool findKeyByRange(const QStringList &values);

    TqkTableFilterEvent m_onFilter;
    QStringList m_qkFilter;
    QStringList m_query;
    bool m_syncSqlByRange = false;
    bool m_narrowSearch = false;
    int m_narrowSearchUpperChar = 255;
    int m_expressionHandle = 0;
    int m_keySearchDepth = 0;
    bool m_lookupSearching = false;
    bool m_rangeFromKeySearch = false;
    std::unique_ptr<QTemporaryDir> m_answerFolder;
    // Not yet read while empty.
    std::optional<QVector<db::ValidityCheck>> m_ownPictures;
};

// Finds the lookup record of a library lookup field in the data set's lookup
// tables: the lookup table's result field and the text of the key.
bool qkLookupFind(TDataSet *dataSet, TField *field, QString &keyText, TField *&resultField);
