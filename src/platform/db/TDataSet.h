#pragma once

#include "platform/db/DbTypes.h"
#include "platform/db/DbValues.h"
#include "platform/db/RecordBuffers.h"
#include "platform/db/TFieldDefs.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class TField;
class TDataSource;

namespace db {
class EngineFilterList;
class FilterExpression;
struct FilterColumn;
struct SqlCondition;
}

#define TINTLEN_EVENT(Type, Name)                                                                                      \
public:                                                                                                                \
    Type Name() const                                                                                                  \
    {                                                                                                                  \
        return m_##Name;                                                                                               \
    }                                                                                                                  \
    void Set##Name(const Type &handler)                                                                                \
    {                                                                                                                  \
        m_##Name = handler;                                                                                            \
    }                                                                                                                  \
                                                                                                                       \
private:                                                                                                               \
    Type m_##Name;

// The framework's data set: states, fields, navigation, editing, filters,
// bookmarks and the notification of data sources. Storage and cursor are the
// descendant's (TTable).
class TDataSet : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
    Q_PROPERTY(int FilterOptions READ FilterOptions WRITE SetFilterOptions)
    Q_PROPERTY(bool AutoCalcFields READ AutoCalcFields WRITE SetAutoCalcFields)
    Q_PROPERTY(QString Name READ objectName WRITE setObjectName)
    Q_PROPERTY(TDataSetNotifyEvent BeforeOpen READ BeforeOpen WRITE SetBeforeOpen)
    Q_PROPERTY(TDataSetNotifyEvent AfterOpen READ AfterOpen WRITE SetAfterOpen)
    Q_PROPERTY(TDataSetNotifyEvent BeforeClose READ BeforeClose WRITE SetBeforeClose)
    Q_PROPERTY(TDataSetNotifyEvent AfterClose READ AfterClose WRITE SetAfterClose)
    Q_PROPERTY(TDataSetNotifyEvent BeforeInsert READ BeforeInsert WRITE SetBeforeInsert)
    Q_PROPERTY(TDataSetNotifyEvent AfterInsert READ AfterInsert WRITE SetAfterInsert)
    Q_PROPERTY(TDataSetNotifyEvent BeforeEdit READ BeforeEdit WRITE SetBeforeEdit)
    Q_PROPERTY(TDataSetNotifyEvent AfterEdit READ AfterEdit WRITE SetAfterEdit)
    Q_PROPERTY(TDataSetNotifyEvent BeforePost READ BeforePost WRITE SetBeforePost)
    Q_PROPERTY(TDataSetNotifyEvent AfterPost READ AfterPost WRITE SetAfterPost)
    Q_PROPERTY(TDataSetNotifyEvent BeforeCancel READ BeforeCancel WRITE SetBeforeCancel)
    Q_PROPERTY(TDataSetNotifyEvent AfterCancel READ AfterCancel WRITE SetAfterCancel)
    Q_PROPERTY(TDataSetNotifyEvent BeforeDelete READ BeforeDelete WRITE SetBeforeDelete)
    Q_PROPERTY(TDataSetNotifyEvent AfterDelete READ AfterDelete WRITE SetAfterDelete)
    Q_PROPERTY(TDataSetNotifyEvent BeforeScroll READ BeforeScroll WRITE SetBeforeScroll)
    Q_PROPERTY(TDataSetNotifyEvent AfterScroll READ AfterScroll WRITE SetAfterScroll)
    Q_PROPERTY(TDataSetNotifyEvent OnNewRecord READ OnNewRecord WRITE SetOnNewRecord)
    Q_PROPERTY(TDataSetNotifyEvent OnCalcFields READ OnCalcFields WRITE SetOnCalcFields)
    Q_PROPERTY(TFilterRecordEvent OnFilterRecord READ OnFilterRecord WRITE SetOnFilterRecord)

    TINTLEN_EVENT(TDataSetNotifyEvent, BeforeOpen)
    TINTLEN_EVENT(TDataSetNotifyEvent, AfterOpen)
    TINTLEN_EVENT(TDataSetNotifyEvent, BeforeClose)
    TINTLEN_EVENT(TDataSetNotifyEvent, AfterClose)
    TINTLEN_EVENT(TDataSetNotifyEvent, BeforeInsert)
    TINTLEN_EVENT(TDataSetNotifyEvent, AfterInsert)
    TINTLEN_EVENT(TDataSetNotifyEvent, BeforeEdit)
    TINTLEN_EVENT(TDataSetNotifyEvent, AfterEdit)
    TINTLEN_EVENT(TDataSetNotifyEvent, BeforePost)
    TINTLEN_EVENT(TDataSetNotifyEvent, AfterPost)
    TINTLEN_EVENT(TDataSetNotifyEvent, BeforeCancel)
    TINTLEN_EVENT(TDataSetNotifyEvent, AfterCancel)
    TINTLEN_EVENT(TDataSetNotifyEvent, BeforeDelete)
    TINTLEN_EVENT(TDataSetNotifyEvent, AfterDelete)
    TINTLEN_EVENT(TDataSetNotifyEvent, BeforeScroll)
    TINTLEN_EVENT(TDataSetNotifyEvent, AfterScroll)
    TINTLEN_EVENT(TDataSetNotifyEvent, OnNewRecord)
    TINTLEN_EVENT(TDataSetNotifyEvent, OnCalcFields)

public:
    explicit TDataSet(QObject *owner = nullptr);
    ~TDataSet() override;

    TDataSetState State() const { return m_state; }
    bool Active() const { return m_state != dsInactive; }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }

    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Eof() const
    {
        const_cast<TDataSet *>(this)->settlePosition();
        return m_eof;
    }
    bool Bof() const
    {
        const_cast<TDataSet *>(this)->settlePosition();
        return m_bof;
    }
    bool IsEmpty();
    int RecNo();
    void SetRecNo(int recNo);
    int RecordCount();
    void Refresh();
    void CheckBrowseMode();
    void CheckActive() const;
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return m_disableCount > 0; }

    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    bool Modified() const { return m_modified; }
    virtual bool CanModify() const { return Active(); }
    void UpdateRecord();
    // Whether RecNo and RecordCount describe the records as they are shown
    // (they do here; a descendant filtering on its own may say otherwise).
    virtual bool IsSequenced() const { return true; }

    int FieldCount() const { return int(m_fields.size()); }
    TField *Fields(int index) const { return fieldAt(index); }
    // Makes every field first: callers walk the list or hold on to it.
    const QList<TField *> &FieldList() const;
    TField *FindField(const QString &name) const;
    TField *FieldByName(const QString &name) const;
    QVariant FieldValues(const QString &name) const;
    void SetFieldValues(const QString &name, const QVariant &value);
    // Adds a calculated or lookup field (or a persistent data field) to the set.
    void AddField(TField *field);
    void GetFieldNames(QStringList &names) const;

    // Filters.
    const QString &Filter() const { return m_filterText; }
    void SetFilter(const QString &text);
    bool Filtered() const { return m_filtered; }
    void SetFiltered(bool filtered);
    TFilterOptions FilterOptions() const { return m_filterOptions; }
    void SetFilterOptions(TFilterOptions options);
    TFilterRecordEvent OnFilterRecord() const { return m_OnFilterRecord; }
    void SetOnFilterRecord(const TFilterRecordEvent &handler);
    bool AutoCalcFields() const { return m_autoCalcFields; }
    void SetAutoCalcFields(bool value) { m_autoCalcFields = value; }

    // The engine's filter entry points: an expression (bound to the fields
    // here) or a record test, added under a handle and then switched on.
    // Active ones AND with Filter and OnFilterRecord, stay over Refresh and
    // are dropped when the cursor closes. A record test sees the candidate
    // record as the current one. Needs an open data set.
    int AddEngineFilter(std::unique_ptr<db::FilterExpression> expression);
    int AddEngineFilter(std::function<bool(TDataSet *)> recordTest);
    int AddEngineFilter(const QByteArray &filterTree);
    bool ActivateEngineFilter(int handle, bool active);
    bool DropEngineFilter(int handle);
    // Re-reads the records under the current filters (an engine filter that
    // answers differently now).
    void RefreshFilters() { reapplyFilters(); }

    // Bookmarks.
    TBookmark GetBookmark();
    void GotoBookmark(const TBookmark &bookmark);
    void FreeBookmark(TBookmark &bookmark) { bookmark = TBookmark{}; }
    bool BookmarkValid(const TBookmark &bookmark);
    int CompareBookmarks(const TBookmark &left, const TBookmark &right);

    bool Locate(const QString &keyFields, const QVariant &keyValues, TLocateOptions options);
    QVariant Lookup(const QString &keyFields, const QVariant &keyValues, const QString &resultFields);

    // Data sources and links.
    void attachDataSource(TDataSource *source);
    void detachDataSource(TDataSource *source);
    void DataEvent(TDataEvent event, TField *field = nullptr, int info = 0);
    int linkRecordCount() const { return m_buffers.count(); }
    void setLinkActiveRecord(int index) { m_buffers.select(index); }
    int linkActiveRecord() const { return m_buffers.active(); }
    // The bookmark of the record the fields show now (a link may have selected another buffered one).
    TBookmark activeBookmark() const;
    void updateLinkBuffers();

    // Used by fields.
    void requestFocus(TField *field);
    TField **focusRequest() { return &m_focusRequest; }
    QVariant fieldStorage(const TField *field) const;
    void setFieldStorage(TField *field, const QVariant &stored);

signals:
    void destroying();

protected:
    // Cursor operations of the descendant; the defaults describe a data set
    // without records.
    virtual void openCursor() = 0;
    virtual void closeCursor() {}
    virtual bool cursorFirst() { return false; }
    virtual bool cursorLast() { return false; }
    virtual bool cursorNext() { return false; }
    virtual bool cursorPrior() { return false; }
    // Moves up to `distance` records (negative: backwards) and returns how
    // far it got; by default record by record.
    virtual int cursorMoveBy(int distance);
    virtual db::Row *cursorRow() { return nullptr; }
    virtual QVector<db::Row> cursorNeighbours(bool forward, int count);
    virtual int cursorRecNo() { return 0; }
    virtual int cursorRecordCount() { return 0; }
    virtual void cursorResync() {}
    virtual void cursorPost(db::Row &row, bool inserting, const db::Row &original);
    virtual void cursorDelete();
    virtual bool cursorGotoRowId(qint64 rowId);
    virtual int cursorCompareRows(const db::Row &left, const db::Row &right);
    virtual std::optional<db::Row> cursorReadRow(qint64 rowId);
    // The first row in the current order that meets the condition, read
    // without moving; false when the cursor cannot search by SQL.
    virtual bool cursorFindFirst(const db::SqlCondition &condition, std::optional<db::Row> &found);
    // Makes a row found by a search the current one.
    virtual void cursorPlace(const db::Row &row) { cursorGotoRowId(row.rowId); }
    // Filters changed: the descendant re-reads with the new conditions.
    virtual void applyFilters() {}
    // The framework's event points: descendants add their work around the
    // handlers.
    virtual void DoBeforeOpen();
    virtual void DoAfterOpen();
    virtual void DoBeforeClose();
    virtual void DoAfterClose();
    virtual void DoBeforeInsert();
    virtual void DoAfterInsert();
    virtual void DoBeforeEdit();
    virtual void DoAfterEdit();
    virtual void DoBeforePost();
    virtual void DoAfterPost();
    virtual void DoBeforeCancel();
    virtual void DoAfterCancel();
    virtual void DoBeforeDelete();
    virtual void DoAfterDelete();
    virtual void DoBeforeScroll();
    virtual void DoAfterScroll();
    virtual void DoOnNewRecord();
    virtual void DoOnCalcFields();
    // Fills a new record before OnNewRecord (the detail's link fields).
    virtual void newRecordDefaults() {}
    // Reads a position the descendant left pending (see TTable).
    virtual void settlePosition() {}
    // Leaves the key-editing state, keeping the key that was typed in.
    virtual void finishKeyEdit() { setState(dsBrowse); }

    void createDataFields(const QVector<TFieldDef> &defs);
    void destroyDataFields();
    void setEofBof(bool eof, bool bof)
    {
        m_eof = eof;
        m_bof = bof;
    }
    void afterCursorMove();
    // Runs the record filters (text and OnFilterRecord) on a candidate row.
    bool acceptRow(const db::Row &row);
    bool hasRowFilter() const;
    const db::FilterExpression *filterExpression() const { return m_filterExpression.get(); }
    db::EngineFilterList &engineFilters() { return *m_engineFilters; }
    bool filterActive() const { return m_filtered && Active(); }
    void setState(TDataSetState state);
    void resyncAfterWrite();
    void fireEvent(const TDataSetNotifyEvent &event);
    db::Row blankRow() const;
    void clearCalculated();

    db::Row m_keyRow;

private:
    friend class TField;
    TField *fieldAt(int place) const;
    const QString &fieldName(int place) const;
    bool blankRequired(int place) const;
    db::Row *activeRow() const;
    void calculate(db::Row &row);
    void calculateLookups();
    void beginInsert(bool append);
    void doClose();
    void doOpen();
    void compileFilter();
    void changeFilter(const QString &text, TFilterOptions options);
    QVector<db::FilterColumn> filterColumns() const;
    void reapplyFilters();
    void scrolled(int distance);
    int wantedBuffers() const;
    db::RecordBuffers::Fetch neighbourFetch();
    bool matchesLocate(const QList<TField *> &fields, const QVariantList &values, TLocateOptions options);
    std::optional<db::Row> findMatch(const QString &keyFields, const QVariant &keyValues, TLocateOptions options);
    std::optional<db::Row> scanForMatch(const QList<TField *> &fields, const QVariantList &values,
                                        TLocateOptions options);

    TDataSetState m_state = dsInactive;
    // A default field's place stays empty until someone asks for it (a
    // look-up reads one or two columns of many); the definitions say what
    // belongs there.
    mutable QList<TField *> m_fields;
    QVector<TFieldDef> m_fieldDefs;
    QList<TDataSource *> m_dataSources;
    db::Row m_editRow;
    db::Row m_originalRow;
    db::Row *m_overrideRow = nullptr;
    db::RecordBuffers m_buffers;
    bool m_eof = true;
    bool m_bof = true;
    bool m_modified = false;
    // The record being inserted was appended: it stands after the current one, not in its place.
    bool m_appending = false;
    int m_disableCount = 0;
    bool m_changedWhileDisabled = false;
    bool m_autoCalcFields = true;
    QString m_filterText;
    bool m_filtered = false;
    TFilterOptions m_filterOptions = 0;
    std::unique_ptr<db::FilterExpression> m_filterExpression;
    std::unique_ptr<db::EngineFilterList> m_engineFilters;
    TFilterRecordEvent m_OnFilterRecord;
    int m_calculatedCount = 0;
    int m_dataFieldCount = 0;
    TField *m_focusRequest = nullptr;
};

#undef TINTLEN_EVENT
