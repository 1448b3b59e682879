#include "platform/db/TDataSet.h"

#include "platform/db/DbErrors.h"
#include "platform/db/EngineFilters.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/GermanCollation.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TFieldDefs.h"
#include "platform/runtime/Exceptions.h"

namespace {

// Restores a state the data set passes through (calculation, filtering).
class StateGuard
{
public:
    StateGuard(TDataSetState &state, TDataSetState temporary, db::Row *&override, db::Row *row)
        : m_state(state), m_saved(state), m_override(override), m_savedRow(override)
    {
        m_state = temporary;
        m_override = row;
    }
    ~StateGuard()
    {
        m_state = m_saved;
        m_override = m_savedRow;
    }

private:
    TDataSetState &m_state;
    TDataSetState m_saved;
    db::Row *&m_override;
    db::Row *m_savedRow;
};

[[noreturn]] void notEditing(const TDataSet *dataSet)
{
    db::raiseDataSetError(dataSet, QStringLiteral("Datenmenge ist nicht im Bearbeitungs- oder Einfügemodus"));
}

}

TDataSet::TDataSet(QObject *owner) : QObject(owner), m_engineFilters(std::make_unique<db::EngineFilterList>())
{}

QVector<db::Row> TDataSet::cursorNeighbours(bool, int)
{
    return {};
}

void TDataSet::cursorPost(db::Row &, bool, const db::Row &)
{
    db::raiseDataSetError(this, QStringLiteral("Datenmenge kann nicht verändert werden"));
}

void TDataSet::cursorDelete()
{
    cursorPost(m_editRow, false, m_originalRow);
}

bool TDataSet::cursorGotoRowId(qint64)
{
    return false;
}

int TDataSet::cursorCompareRows(const db::Row &left, const db::Row &right)
{
    return left.rowId < right.rowId ? -1 : (left.rowId > right.rowId ? 1 : 0);
}

std::optional<db::Row> TDataSet::cursorReadRow(qint64)
{
    return std::nullopt;
}

// Data sources and their links learn that the data set is gone, so that no
// control keeps reading it.
TDataSet::~TDataSet()
{
    emit destroying();
    m_state = dsInactive;
    const QList<TDataSource *> sources = m_dataSources;
    for (TDataSource *source : sources)
        source->SetDataSet(nullptr);
    destroyDataFields();
}

void TDataSet::fireEvent(const TDataSetNotifyEvent &event)
{
    if (event)
        event(this);
}

void TDataSet::DoBeforeOpen()
{
    fireEvent(m_BeforeOpen);
}

void TDataSet::DoAfterOpen()
{
    fireEvent(m_AfterOpen);
}

void TDataSet::DoBeforeClose()
{
    fireEvent(m_BeforeClose);
}

void TDataSet::DoAfterClose()
{
    fireEvent(m_AfterClose);
}

void TDataSet::DoBeforeInsert()
{
    fireEvent(m_BeforeInsert);
}

void TDataSet::DoAfterInsert()
{
    fireEvent(m_AfterInsert);
}

void TDataSet::DoBeforeEdit()
{
    fireEvent(m_BeforeEdit);
}

void TDataSet::DoAfterEdit()
{
    fireEvent(m_AfterEdit);
}

void TDataSet::DoBeforePost()
{
    fireEvent(m_BeforePost);
}

void TDataSet::DoAfterPost()
{
    fireEvent(m_AfterPost);
}

void TDataSet::DoBeforeCancel()
{
    fireEvent(m_BeforeCancel);
}

void TDataSet::DoAfterCancel()
{
    fireEvent(m_AfterCancel);
}

void TDataSet::DoBeforeDelete()
{
    fireEvent(m_BeforeDelete);
}

void TDataSet::DoAfterDelete()
{
    fireEvent(m_AfterDelete);
}

void TDataSet::DoBeforeScroll()
{
    fireEvent(m_BeforeScroll);
}

void TDataSet::DoAfterScroll()
{
    fireEvent(m_AfterScroll);
}

void TDataSet::DoOnNewRecord()
{
    fireEvent(m_OnNewRecord);
}

void TDataSet::DoOnCalcFields()
{
    fireEvent(m_OnCalcFields);
}

void TDataSet::CheckActive() const
{
    if (!Active())
        db::raiseDataSetError(this, QStringLiteral("Operation bei geschlossener Datenmenge nicht möglich"));
}

void TDataSet::setState(TDataSetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    m_modified = false;
    DataEvent(deUpdateState);
}

// ---- opening and closing

void TDataSet::SetActive(bool active)
{
    if (active == Active())
        return;
    if (active)
        doOpen();
    else
        doClose();
}

void TDataSet::doOpen()
{
    DoBeforeOpen();
    try {
        openCursor();
        m_state = dsBrowse;
        compileFilter();
        applyFilters();
        afterCursorMove();
    } catch (...) {
        closeCursor();
        destroyDataFields();
        m_state = dsInactive;
        throw;
    }
    DataEvent(deUpdateState);
    DoAfterOpen();
    // Asking for the current row reads it; an opening followed by a key
    // search reads only the row it finds unless someone listens.
    if (m_AfterScroll && cursorRow())
        DoAfterScroll();
}

void TDataSet::doClose()
{
    DoBeforeClose();
    if (m_state == dsEdit || m_state == dsInsert || m_state == dsSetKey)
        m_state = dsBrowse;
    closeCursor();
    m_engineFilters->clear();
    destroyDataFields();
    m_state = dsInactive;
    m_eof = m_bof = true;
    m_modified = false;
    m_buffers.clear();
    DataEvent(deUpdateState);
    DoAfterClose();
}

void TDataSet::createDataFields(const QVector<TFieldDef> &defs)
{
    auto definedAt = [&defs](const TField *field) {
        for (int i = 0; i < defs.size(); ++i)
            if (field->FieldName().compare(defs[i].Name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    // Closed: only persistent fields are left, every place holds one.
    for (TField *field : std::as_const(m_fields))
        if (field->FieldKind() == fkData && definedAt(field) < 0)
            db::raiseDataSetError(this, QStringLiteral("Feld '%1' nicht gefunden").arg(field->FieldName()));
    QList<TField *> persistent = m_fields;
    m_fieldDefs = defs;
    m_fields.clear();
    m_fields.reserve(defs.size() + persistent.size());
    for (int i = 0; i < defs.size(); ++i) {
        TField *field = nullptr;
        for (TField *candidate : std::as_const(persistent))
            if (candidate->FieldKind() == fkData && definedAt(candidate) == i)
                field = candidate;
        if (field) {
            persistent.removeOne(field);
            field->setSlot(i);
            field->SetRequired(defs[i].Required);
        }
        m_fields.append(field);
    }
    m_dataFieldCount = int(defs.size());
    m_calculatedCount = 0;
    for (TField *field : std::as_const(persistent)) {
        field->setSlot(m_calculatedCount++);
        m_fields.append(field);
    }
}

// The one way a default field comes into being. It lives until the data set
// closes, which deletes it itself: a QObject parent would cost an event for
// every field made.
TField *TDataSet::fieldAt(int place) const
{
    // Read without detaching: a caller may be walking the list just now.
    if (TField *made = m_fields.at(place))
        return made;
    const TFieldDef &def = m_fieldDefs.at(place);
    TField *field = CreateField(nullptr, def.Name, def.DataType, def.Size);
    field->m_dataSet = const_cast<TDataSet *>(this);
    field->m_defaultField = true;
    field->setSlot(place);
    field->SetRequired(def.Required);
    m_fields[place] = field;
    return field;
}

const QString &TDataSet::fieldName(int place) const
{
    const TField *field = m_fields.at(place);
    return field ? field->FieldName() : m_fieldDefs.at(place).Name;
}

// A field no one asked for yet is a plain data field with its column's Required.
bool TDataSet::blankRequired(int place) const
{
    const TField *field = m_fields.at(place);
    if (field && field->FieldKind() != fkData)
        return false;
    const bool required = field ? field->Required() : m_fieldDefs.at(place).Required;
    const TFieldType type = field ? field->DataType() : m_fieldDefs.at(place).DataType;
    return required && type != ftAutoInc && db::isBlank(m_editRow.values[field ? field->slot() : place]);
}

const QList<TField *> &TDataSet::FieldList() const
{
    for (int place = 0; place < m_fields.size(); ++place)
        fieldAt(place);
    return m_fields;
}

void TDataSet::destroyDataFields()
{
    QList<TField *> kept;
    for (TField *field : std::as_const(m_fields)) {
        if (!field)
            continue;
        if (field->m_defaultField)
            delete field;
        else
            kept.append(field);
    }
    m_fields = kept;
    m_fieldDefs.clear();
}

void TDataSet::AddField(TField *field)
{
    if (Active())
        db::raiseDataSetError(this,
                              QStringLiteral("Felder können nur bei geschlossener Datenmenge hinzugefügt werden"));
    field->setParent(this);
    field->m_defaultField = false;
    m_fields.append(field);
}

// ---- fields

TField *TDataSet::FindField(const QString &name) const
{
    for (int place = 0; place < m_fields.size(); ++place)
        if (fieldName(place).compare(name, Qt::CaseInsensitive) == 0)
            return fieldAt(place);
    return nullptr;
}

TField *TDataSet::FieldByName(const QString &name) const
{
    TField *field = FindField(name);
    if (!field)
        db::raiseDataSetError(this, QStringLiteral("Feld '%1' nicht gefunden").arg(name));
    return field;
}

QVariant TDataSet::FieldValues(const QString &name) const
{
    return FieldByName(name)->Value();
}

void TDataSet::SetFieldValues(const QString &name, const QVariant &value)
{
    FieldByName(name)->SetValue(value);
}

void TDataSet::GetFieldNames(QStringList &names) const
{
    names.clear();
    for (int place = 0; place < m_fields.size(); ++place)
        names.append(fieldName(place));
}

db::Row TDataSet::blankRow() const
{
    db::Row row;
    row.values.resize(m_dataFieldCount);
    row.calculated.resize(m_calculatedCount);
    return row;
}

db::Row *TDataSet::activeRow() const
{
    if (m_overrideRow)
        return m_overrideRow;
    auto *self = const_cast<TDataSet *>(this);
    // A link that paints another of its records reads that one, also while
    // the current record is being edited.
    db::Row *selected = self->m_buffers.selectedRow();
    switch (m_state) {
    case dsEdit:
    case dsInsert:
        return selected ? selected : &self->m_editRow;
    case dsSetKey:
        return &self->m_keyRow;
    case dsInactive:
        return nullptr;
    default:
        return selected ? selected : self->cursorRow();
    }
}

QVariant TDataSet::fieldStorage(const TField *field) const
{
    const db::Row *row = activeRow();
    if (!row || field->slot() < 0)
        return QVariant();
    if (field->FieldKind() == fkData)
        return row->values.value(field->slot());
    if (!row->calculatedValid && m_state != dsCalcFields)
        const_cast<TDataSet *>(this)->calculate(*const_cast<db::Row *>(row));
    return row->calculated.value(field->slot());
}

void TDataSet::setFieldStorage(TField *field, const QVariant &stored)
{
    const bool calculatedField = field->FieldKind() != fkData;
    if (m_state == dsCalcFields && calculatedField) {
        activeRow()->calculated[field->slot()] = stored;
        return;
    }
    if (m_state == dsFilter)
        db::raiseDataSetError(this, QStringLiteral("Im Filter dürfen keine Werte geändert werden"));
    if (m_state != dsEdit && m_state != dsInsert && m_state != dsSetKey)
        notEditing(this);
    if (field->ReadOnly() && m_state != dsSetKey)
        throw EDatabaseError(QStringLiteral("Feld '%1' kann nicht verändert werden").arg(field->DisplayName()));
    db::Row *row = activeRow();
    if (calculatedField) {
        row->calculated[field->slot()] = stored;
    } else {
        if (field->OnValidate() && m_state != dsSetKey) {
            const QVariant previous = row->values[field->slot()];
            row->values[field->slot()] = stored;
            try {
                field->OnValidate()(field);
            } catch (...) {
                row->values[field->slot()] = previous;
                throw;
            }
        }
        row->values[field->slot()] = stored;
    }
    if (m_state == dsSetKey)
        return;
    m_modified = true;
    row->calculatedValid = false;
    if (field->OnChange())
        field->OnChange()(field);
    DataEvent(deFieldChange, field);
}

void TDataSet::requestFocus(TField *field)
{
    m_focusRequest = field;
    DataEvent(deFocusControl, field);
    m_focusRequest = nullptr;
}

void TDataSet::clearCalculated()
{
    if (db::Row *row = cursorRow())
        row->calculatedValid = false;
}

void TDataSet::calculate(db::Row &row)
{
    if (m_calculatedCount == 0) {
        row.calculatedValid = true;
        return;
    }
    row.calculated.fill(QVariant(), m_calculatedCount);
    row.calculatedValid = true;
    StateGuard guard(m_state, dsCalcFields, m_overrideRow, &row);
    calculateLookups();
    DoOnCalcFields();
}

void TDataSet::calculateLookups()
{
    for (int place = 0; place < m_fields.size(); ++place) {
        // An empty place is a column no one asked for, never a lookup.
        TField *field = m_fields.at(place);
        if (!field || field->FieldKind() != fkLookup || !field->LookupDataSet())
            continue;
        QVariantList keys;
        for (const QString &name : field->KeyFields().split(QLatin1Char(';'), Qt::SkipEmptyParts))
            keys.append(FieldByName(name.trimmed())->Value());
        const QVariant keyValues = keys.size() == 1 ? keys.first() : QVariant(keys);
        const QVariant result =
            field->LookupDataSet()->Lookup(field->LookupKeyFields(), keyValues, field->LookupResultField());
        if (!result.isNull())
            activeRow()->calculated[field->slot()] = db::toStorage(field->DataType(), result);
    }
}

// ---- navigation

void TDataSet::afterCursorMove()
{
    if (m_calculatedCount > 0)
        if (db::Row *row = cursorRow(); row && !row->calculatedValid)
            calculate(*row);
    m_buffers.clearSelection();
}

void TDataSet::First()
{
    CheckBrowseMode();
    DoBeforeScroll();
    const bool any = cursorFirst();
    setEofBof(!any, true);
    afterCursorMove();
    DataEvent(deDataSetChange);
    DoAfterScroll();
}

void TDataSet::Last()
{
    CheckBrowseMode();
    DoBeforeScroll();
    const bool any = cursorLast();
    setEofBof(true, !any);
    afterCursorMove();
    DataEvent(deDataSetChange);
    DoAfterScroll();
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

int TDataSet::cursorMoveBy(int distance)
{
    int moved = 0;
    while (moved < distance && cursorNext())
        ++moved;
    while (moved > distance && cursorPrior())
        --moved;
    return moved;
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    int moved = 0;
    DoBeforeScroll();
    if ((distance > 0 && !Eof()) || (distance < 0 && !Bof())) {
        moved = cursorMoveBy(distance);
        if (distance > 0) {
            m_bof = m_bof && moved == 0;
            m_eof = moved < distance;
        } else {
            m_eof = m_eof && moved == 0;
            m_bof = moved > distance;
        }
        afterCursorMove();
        scrolled(moved);
    }
    DoAfterScroll();
    return moved;
}

bool TDataSet::IsEmpty()
{
    if (!Active())
        return true;
    return m_state == dsInsert ? false : cursorRow() == nullptr;
}

int TDataSet::RecNo()
{
    if (!Active() || m_state == dsInsert)
        return -1;
    return cursorRow() ? cursorRecNo() : 0;
}

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    const int current = RecNo();
    if (recNo > 0 && recNo != current)
        MoveBy(recNo - current);
}

int TDataSet::RecordCount()
{
    CheckActive();
    return cursorRecordCount();
}

void TDataSet::Refresh()
{
    // A record filter asking for a refresh runs in the middle of a reading
    // of the set, which is as fresh as any: another reading started inside
    // it would leave the cursor on rows the filter never judged.
    if (m_state == dsFilter)
        return;
    CheckBrowseMode();
    cursorResync();
    resyncAfterWrite();
    DataEvent(deDataSetChange);
}

void TDataSet::resyncAfterWrite()
{
    if (!cursorRow())
        setEofBof(true, true);
    else
        setEofBof(false, false);
    clearCalculated();
    afterCursorMove();
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (m_state == dsEdit || m_state == dsInsert) {
        UpdateRecord();
        if (m_modified)
            Post();
        else
            Cancel();
    } else if (m_state == dsSetKey) {
        Post();
    }
}

void TDataSet::DisableControls()
{
    ++m_disableCount;
}

void TDataSet::EnableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_changedWhileDisabled) {
        m_changedWhileDisabled = false;
        DataEvent(deDataSetChange);
    }
}

// ---- editing

void TDataSet::Edit()
{
    if (m_state == dsEdit || m_state == dsInsert)
        return;
    CheckActive();
    if (!cursorRow()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    if (!CanModify())
        db::raiseDataSetError(this, QStringLiteral("Datenmenge kann nicht verändert werden"));
    DoBeforeEdit();
    const std::optional<db::Row> fresh = cursorReadRow(cursorRow()->rowId);
    if (!fresh)
        db::raiseRecordDeletedByOther();
    m_originalRow = *fresh;
    m_editRow = *fresh;
    m_editRow.calculated.resize(m_calculatedCount);
    calculate(m_editRow);
    setState(dsEdit);
    DataEvent(deRecordChange);
    DoAfterEdit();
}

void TDataSet::beginInsert(bool append)
{
    CheckBrowseMode();
    if (!CanModify())
        db::raiseDataSetError(this, QStringLiteral("Datenmenge kann nicht verändert werden"));
    DoBeforeInsert();
    DoBeforeScroll();
    m_editRow = blankRow();
    m_originalRow = m_editRow;
    m_appending = append;
    setState(dsInsert);
    try {
        newRecordDefaults();
        DoOnNewRecord();
    } catch (...) {
        setState(dsBrowse);
        throw;
    }
    m_modified = false;
    calculate(m_editRow);
    DataEvent(deDataSetChange);
    DoAfterInsert();
    DoAfterScroll();
}

void TDataSet::Insert()
{
    beginInsert(false);
}

void TDataSet::Append()
{
    beginInsert(true);
}

void TDataSet::UpdateRecord()
{
    if (m_state != dsEdit && m_state != dsInsert && m_state != dsSetKey)
        notEditing(this);
    DataEvent(deUpdateRecord);
}

void TDataSet::Post()
{
    if (m_state == dsSetKey) {
        finishKeyEdit();
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        notEditing(this);
    UpdateRecord();
    DoBeforePost();
    for (int place = 0; place < m_fields.size(); ++place)
        if (blankRequired(place))
            throw EDatabaseError(QStringLiteral("Feld '%1' muss einen Wert haben").arg(fieldAt(place)->DisplayName()));
    cursorPost(m_editRow, m_state == dsInsert, m_originalRow);
    m_state = dsBrowse;
    m_modified = false;
    resyncAfterWrite();
    DataEvent(deUpdateState);
    DataEvent(deDataSetChange);
    DoAfterPost();
}

void TDataSet::Cancel()
{
    if (m_state == dsSetKey) {
        setState(dsBrowse);
        return;
    }
    if (m_state != dsEdit && m_state != dsInsert)
        return;
    DoBeforeCancel();
    const bool wasInsert = m_state == dsInsert;
    m_state = dsBrowse;
    m_modified = false;
    if (wasInsert)
        DoBeforeScroll();
    DataEvent(deUpdateState);
    DataEvent(deDataSetChange);
    DoAfterCancel();
    if (wasInsert)
        DoAfterScroll();
}

void TDataSet::Delete()
{
    CheckActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (!cursorRow())
        db::raiseDataSetError(this, QStringLiteral("Operation in leerer Datenmenge nicht möglich"));
    CheckBrowseMode();
    if (!CanModify())
        db::raiseDataSetError(this, QStringLiteral("Datenmenge kann nicht verändert werden"));
    DoBeforeDelete();
    DoBeforeScroll();
    cursorDelete();
    resyncAfterWrite();
    DataEvent(deDataSetChange);
    DoAfterDelete();
    DoAfterScroll();
}

// ---- filters

QVector<db::FilterColumn> TDataSet::filterColumns() const
{
    QVector<db::FilterColumn> columns;
    for (int place = 0; place < m_fields.size(); ++place) {
        if (const TField *field = m_fields.at(place); !field)
            columns.append({m_fieldDefs[place].Name, m_fieldDefs[place].DataType});
        else if (field->FieldKind() == fkData)
            columns.append({field->FieldName(), field->DataType()});
    }
    return columns;
}

void TDataSet::compileFilter()
{
    if (m_filterText.trimmed().isEmpty()) {
        m_filterExpression.reset();
        return;
    }
    auto expression = db::FilterExpression::parse(m_filterText, m_filterOptions);
    // Field names are checked once the data set knows its fields.
    if (Active())
        expression->bind(filterColumns());
    m_filterExpression = std::move(expression);
}

void TDataSet::reapplyFilters()
{
    if (!Active())
        return;
    CheckBrowseMode();
    applyFilters();
    afterCursorMove();
    DataEvent(deDataSetChange);
}

// A filter text or option that does not compile leaves the previous ones.
void TDataSet::changeFilter(const QString &text, TFilterOptions options)
{
    if (text == m_filterText && options == m_filterOptions)
        return;
    const QString previousText = m_filterText;
    const TFilterOptions previousOptions = m_filterOptions;
    m_filterText = text;
    m_filterOptions = options;
    try {
        compileFilter();
    } catch (...) {
        m_filterText = previousText;
        m_filterOptions = previousOptions;
        throw;
    }
    if (m_filtered)
        reapplyFilters();
}

void TDataSet::SetFilter(const QString &text)
{
    changeFilter(text, m_filterOptions);
}

void TDataSet::SetFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    m_filtered = filtered;
    reapplyFilters();
}

void TDataSet::SetFilterOptions(TFilterOptions options)
{
    changeFilter(m_filterText, options);
}

void TDataSet::SetOnFilterRecord(const TFilterRecordEvent &handler)
{
    m_OnFilterRecord = handler;
    if (m_filtered)
        reapplyFilters();
}

bool TDataSet::hasRowFilter() const
{
    return m_filtered && m_OnFilterRecord;
}

bool TDataSet::acceptRow(const db::Row &row)
{
    if (!m_engineFilters->acceptExpressions(row))
        return false;
    if (m_filtered && m_filterExpression && !m_filterExpression->evaluate(row))
        return false;
    const bool recordEvent = m_filtered && m_OnFilterRecord;
    if (!recordEvent && !m_engineFilters->hasRecordTests())
        return true;
    db::Row candidate = row;
    candidate.calculated.resize(m_calculatedCount);
    if (m_calculatedCount > 0)
        calculate(candidate);
    StateGuard guard(m_state, dsFilter, m_overrideRow, &candidate);
    if (!m_engineFilters->acceptRecordTests(this))
        return false;
    bool accept = true;
    if (recordEvent)
        m_OnFilterRecord(this, accept);
    return accept;
}

int TDataSet::AddEngineFilter(std::unique_ptr<db::FilterExpression> expression)
{
    // Fields exist from the moment the cursor opens.
    if (m_fields.isEmpty())
        CheckActive();
    expression->bind(filterColumns());
    return m_engineFilters->add(std::move(expression));
}

int TDataSet::AddEngineFilter(std::function<bool(TDataSet *)> recordTest)
{
    // Fields exist from the moment the cursor opens.
    if (m_fields.isEmpty())
        CheckActive();
    return m_engineFilters->add(std::move(recordTest));
}

int TDataSet::AddEngineFilter(const QByteArray &filterTree)
{
    // Fields exist from the moment the cursor opens.
    if (m_fields.isEmpty())
        CheckActive();
    return m_engineFilters->add(db::filterExpressionFromTree(filterTree, filterColumns()));
}

bool TDataSet::ActivateEngineFilter(int handle, bool active)
{
    if (!m_engineFilters->setActive(handle, active))
        return false;
    reapplyFilters();
    return true;
}

bool TDataSet::DropEngineFilter(int handle)
{
    if (!m_engineFilters->drop(handle))
        return false;
    reapplyFilters();
    return true;
}

// ---- bookmarks, locate

TBookmark TDataSet::activeBookmark() const
{
    const db::Row *row = Active() ? activeRow() : nullptr;
    return row && row->rowId != 0 ? TBookmark{row->rowId, true} : TBookmark{};
}

TBookmark TDataSet::GetBookmark()
{
    CheckActive();
    const db::Row *row = cursorRow();
    if (!row)
        return TBookmark{};
    return TBookmark{row->rowId, true};
}

void TDataSet::GotoBookmark(const TBookmark &bookmark)
{
    CheckBrowseMode();
    if (!bookmark.valid)
        return;
    DoBeforeScroll();
    if (!cursorGotoRowId(bookmark.rowId))
        db::raiseDataSetError(this, QStringLiteral("Datensatz nicht gefunden"));
    setEofBof(false, false);
    afterCursorMove();
    DataEvent(deDataSetChange);
    DoAfterScroll();
}

bool TDataSet::BookmarkValid(const TBookmark &bookmark)
{
    if (!bookmark.valid || !Active())
        return false;
    const std::optional<db::Row> row = cursorReadRow(bookmark.rowId);
    return row.has_value();
}

int TDataSet::CompareBookmarks(const TBookmark &left, const TBookmark &right)
{
    if (!left.valid || !right.valid)
        return left.valid == right.valid ? 0 : (left.valid ? 1 : -1);
    if (left.rowId == right.rowId)
        return 2;
    const std::optional<db::Row> a = cursorReadRow(left.rowId);
    const std::optional<db::Row> b = cursorReadRow(right.rowId);
    if (!a || !b)
        return left.rowId < right.rowId ? -1 : 1;
    const int order = cursorCompareRows(*a, *b);
    return order < 0 ? -1 : 1;
}

bool TDataSet::matchesLocate(const QList<TField *> &fields, const QVariantList &values, TLocateOptions options)
{
    for (int i = 0; i < fields.size(); ++i) {
        TField *field = fields[i];
        const QVariant wanted = values.value(i);
        if (db::isBlank(wanted)) {
            if (!field->IsNull() && !field->AsString().isEmpty())
                return false;
            continue;
        }
        if (field->IsNull())
            return false;
        const TFieldType type = field->DataType();
        if (type == ftString || type == ftMemo) {
            QString text = field->AsString();
            const QString target = wanted.toString();
            if (options & loPartialKey)
                text = text.left(target.size());
            if (db::compareGerman(text, target, !(options & loCaseInsensitive)) != 0)
                return false;
        } else {
            const QVariant stored = db::toStorage(type, wanted);
            if (QVariant::compare(field->storedValue(), stored) != QPartialOrdering::Equivalent)
                return false;
        }
    }
    return true;
}

bool TDataSet::cursorFindFirst(const db::SqlCondition &, std::optional<db::Row> &)
{
    return false;
}

std::optional<db::Row> TDataSet::scanForMatch(const QList<TField *> &fields, const QVariantList &values,
                                              TLocateOptions options)
{
    const TBookmark start = GetBookmark();
    const bool wasEof = Eof();
    const bool wasBof = Bof();
    std::optional<db::Row> found;
    auto restore = [&] {
        if (!start.valid || !cursorGotoRowId(start.rowId))
            cursorFirst();
        setEofBof(wasEof, wasBof);
        afterCursorMove();
    };
    try {
        for (bool any = cursorFirst(); any; any = cursorNext()) {
            afterCursorMove();
            if (matchesLocate(fields, values, options)) {
                found = *cursorRow();
                break;
            }
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return found;
}

// Searches by SQL where every key field is stored, else record by record.
std::optional<db::Row> TDataSet::findMatch(const QString &keyFields, const QVariant &keyValues, TLocateOptions options)
{
    CheckBrowseMode();
    QList<TField *> fields;
    QStringList names;
    bool allStored = true;
    for (const QString &name : keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        fields.append(FieldByName(name.trimmed()));
        names.append(fields.last()->FieldName());
        allStored = allStored && fields.last()->FieldKind() == fkData;
    }
    const QVariantList values =
        keyValues.typeId() == QMetaType::QVariantList ? keyValues.toList() : QVariantList{keyValues};
    if (allStored) {
        auto expression =
            db::FilterExpression::equalities(names, values, options & loCaseInsensitive, options & loPartialKey);
        expression->bind(filterColumns());
        db::SqlCondition condition;
        std::optional<db::Row> found;
        if (expression->toSql(condition) && cursorFindFirst(condition, found))
            return found;
    }
    return scanForMatch(fields, values, options);
}

bool TDataSet::Locate(const QString &keyFields, const QVariant &keyValues, TLocateOptions options)
{
    const std::optional<db::Row> found = findMatch(keyFields, keyValues, options);
    if (!found)
        return false;
    DoBeforeScroll();
    cursorPlace(*found);
    setEofBof(false, false);
    afterCursorMove();
    DataEvent(deDataSetChange);
    DoAfterScroll();
    return true;
}

QVariant TDataSet::Lookup(const QString &keyFields, const QVariant &keyValues, const QString &resultFields)
{
    std::optional<db::Row> found = findMatch(keyFields, keyValues, 0);
    if (!found)
        return QVariant();
    found->calculated.resize(m_calculatedCount);
    found->calculatedValid = false;
    StateGuard guard(m_state, m_state, m_overrideRow, &*found);
    QVariantList results;
    for (const QString &name : resultFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        results.append(FieldByName(name.trimmed())->Value());
    return results.size() == 1 ? results.first() : QVariant(results);
}

// ---- data sources

void TDataSet::attachDataSource(TDataSource *source)
{
    if (!m_dataSources.contains(source))
        m_dataSources.append(source);
}

void TDataSet::detachDataSource(TDataSource *source)
{
    m_dataSources.removeAll(source);
}

int TDataSet::wantedBuffers() const
{
    int wanted = 1;
    for (TDataSource *source : m_dataSources)
        wanted = std::max(wanted, source->maxBufferCount());
    return wanted;
}

db::RecordBuffers::Fetch TDataSet::neighbourFetch()
{
    return [this](bool forward, int count) {
        QVector<db::Row> rows = cursorNeighbours(forward, count);
        for (db::Row &row : rows) {
            row.calculated.resize(m_calculatedCount);
            if (m_calculatedCount > 0)
                calculate(row);
        }
        return rows;
    };
}

// The links hear how far their visible window scrolled, not how far the
// cursor moved.
void TDataSet::scrolled(int distance)
{
    if (m_dataSources.isEmpty() || m_disableCount > 0) {
        DataEvent(deDataSetScroll, nullptr, distance);
        return;
    }
    const db::Row *current = m_state == dsBrowse ? cursorRow() : nullptr;
    const int shift = m_buffers.scroll(current, wantedBuffers(), distance, neighbourFetch());
    const QList<TDataSource *> sources = m_dataSources;
    for (TDataSource *source : sources)
        source->DataEvent(deDataSetScroll, nullptr, shift);
}

void TDataSet::DataEvent(TDataEvent event, TField *field, int info)
{
    if (m_disableCount > 0 && event != deUpdateState && event != deUpdateRecord && event != deCheckBrowseMode
        && event != deFocusControl) {
        m_changedWhileDisabled = true;
        return;
    }
    if (m_dataSources.isEmpty())
        return;
    if (event == deDataSetChange || event == deUpdateState)
        updateLinkBuffers();
    const QList<TDataSource *> sources = m_dataSources;
    for (TDataSource *source : sources)
        source->DataEvent(event, field, info);
}

void TDataSet::updateLinkBuffers()
{
    const db::Row *current = Active() ? cursorRow() : nullptr;
    m_buffers.rebuild(current, wantedBuffers(), neighbourFetch());
    if (m_state == dsInsert)
        m_buffers.addNew(m_appending, wantedBuffers());
}
