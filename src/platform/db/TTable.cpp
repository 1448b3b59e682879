#include "platform/db/TTable.h"

#include "platform/db/BlankKeys.h"
#include "platform/db/ConnectionPool.h"
#include "platform/db/DbErrors.h"
#include "platform/db/EngineFilters.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/KeysetCursor.h"
#include "platform/db/SqliteConnection.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/db/TSession.h"
#include "platform/db/TableSchema.h"
#include "platform/os/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <utility>

namespace db {

// Follows the master data set and restricts the detail table to the
// master's current key.
class MasterLink : public TDataLink
{
public:
    explicit MasterLink(TTable *detail) : m_detail(detail) {}

protected:
    void ActiveChanged() override { m_detail->masterChanged(); }
    void RecordChanged(TField *field) override
    {
        Q_UNUSED(field);
        m_detail->masterChanged();
    }

private:
    TTable *m_detail;
};

}

namespace {

bool isPathLike(const QString &name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':'));
}

void deleteAllRows(db::Connection &connection, const QString &tableName)
{
    db::TransactionGuard transaction(connection);
    connection.exec(QStringLiteral("DELETE FROM ") + db::quoteIdentifier(tableName));
    transaction.commit();
}

}

TTable::TTable(QObject *owner) : TDBDataSet(owner), m_fieldDefs(this)
{}

TTable::~TTable()
{
    closeCursor();
}

void TTable::SetTableName(const QString &name)
{
    if (name == m_tableName)
        return;
    CheckInactive("TableName");
    m_tableName = name;
}

void TTable::SetReadOnly(bool readOnly)
{
    CheckInactive("ReadOnly");
    m_readOnly = readOnly;
}

bool TTable::CanModify() const
{
    return Active() && !m_readOnly;
}

QString TTable::resolveFolder() const
{
    return Session()->ResolveDatabaseFolder(DatabaseName());
}

QString TTable::spelledFilePath(const QString &folder) const
{
    QString name = m_tableName.trimmed();
    if (name.isEmpty())
        db::raiseDataSetError(this, QStringLiteral("Tabellenname fehlt"));
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Spelled out by hand: every opening passes here, and QFileInfo and
    // QDir would build their private data for two string operations.
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < name.lastIndexOf(QLatin1Char('/')) || dot == name.size() - 1)
        name += QStringLiteral(".db");
    if (isPathLike(m_tableName) && QDir::isAbsolutePath(name))
        return name;
    if (folder.isEmpty())
        return QDir(folder).filePath(name);
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString TTable::TableFilePath() const
{
    const QString spelled = spelledFilePath(resolveFolder());
    return QFileInfo::exists(spelled) ? spelled : os::resolvePath(spelled);
}

// ---- creating tables

void TTable::CreateTable()
{
    CheckInactive("Tabelle");
    const QString path = TableFilePath();
    db::createTableFile(path, QFileInfo(path).completeBaseName(), m_fieldDefs, m_indexDefs, m_validityCheckDefs);
}

// An open table has its definitions from its cursor.
void TTable::InitFieldDefs()
{
    if (Active())
        return;
    const auto connection = db::Connection::openExisting(TableFilePath(), true);
    m_fieldDefs.setItems(db::readSchema(*connection).fields);
}

QVector<db::ValidityCheck> TTable::ReadValidityChecks()
{
    if (Active())
        return db::readValidityChecks(*m_connection, m_layout->schema.fields);
    const auto connection = db::Connection::openExisting(TableFilePath(), true);
    return db::readValidityChecks(*connection, db::readSchema(*connection).fields);
}

void TTable::DeleteTable()
{
    CheckInactive("Tabelle");
    const QString path = TableFilePath();
    if (!QFile::exists(path))
        throw EDBEngineError(SQLITE_CANTOPEN, QStringLiteral("Tabelle '%1' nicht gefunden.").arg(m_tableName));
    db::ConnectionPool::forget(path);
    if (!QFile::remove(path))
        throw EDBEngineError(SQLITE_CANTOPEN,
                             QStringLiteral("Tabelle '%1' kann nicht gelöscht werden.").arg(m_tableName));
}

void TTable::EmptyTable()
{
    if (Active()) {
        CheckBrowseMode();
        joinDatabaseTransaction();
        deleteAllRows(*m_connection, m_layout->schema.tableName);
        Refresh();
        return;
    }
    auto connection = db::Connection::openExisting(TableFilePath(), false);
    deleteAllRows(*connection, db::readSchema(*connection).tableName);
}

bool TTable::Exists()
{
    return QFileInfo::exists(TableFilePath());
}

// ---- opening

// The table's file is looked at once: names spelled as the file is named
// need nothing more; others are resolved ignoring case.
void TTable::openCursor()
{
    QString path = spelledFilePath(Session()->DatabaseFolderAsNamed(DatabaseName()));
    os::FileLook look = os::lookAtFile(path);
    if (!look.identity) {
        path = TableFilePath();
        look = os::lookAtFile(path);
    }
    auto connection = db::ConnectionPool::acquire(path, look.identity, m_readOnly);
    std::shared_ptr<const db::TableLayout> layout = db::cachedLayout(*connection, look);
    m_fieldDefs.setItems(layout->schema.fields);
    m_indexDefs.setItems(layout->schema.indexes);
    m_cursor = std::make_unique<db::KeysetCursor>(*connection, layout->cursorTexts);
    m_connection = std::move(connection);
    m_fileIdentity = look.identity.value_or(os::FileIdentity{});
    m_layout = std::move(layout);
    createDataFields(m_layout->schema.fields);
    for (KeyBuffer &buffer : m_keyBuffers)
        buffer = KeyBuffer{blankRow(), 0, false, false};
    applyIndex();
    m_lastMasterValues.reset();
    applyRangeBounds();
}

// Closing keeps what was written inside a running database transaction.
void TTable::closeCursor()
{
    if (TDatabase *database = Session()->FindDatabase(DatabaseName()))
        database->leave(this, true);
    m_cursor.reset();
    db::ConnectionPool::release(std::move(m_connection), m_fileIdentity);
    m_layout.reset();
    m_rangeActive = false;
}

// ---- cursor operations

void TTable::settlePosition()
{
    if (!m_pendingFirst)
        return;
    m_pendingFirst = false;
    const bool any = m_cursor->first(true);
    setEofBof(!any, true);
}

// Right after opening, the first record is often the only one read (a
// look-up table's setting, the head of a document), so it comes with a small
// window that grows as stepping goes on.
bool TTable::cursorFirst()
{
    const bool justOpened = std::exchange(m_pendingFirst, false);
    return m_cursor->first(justOpened);
}

bool TTable::cursorLast()
{
    m_pendingFirst = false;
    return m_cursor->last();
}

bool TTable::cursorNext()
{
    settlePosition();
    return m_cursor->next();
}

bool TTable::cursorPrior()
{
    settlePosition();
    return m_cursor->prior();
}

int TTable::cursorMoveBy(int distance)
{
    settlePosition();
    if (const std::optional<int> moved = m_cursor->jump(distance))
        return *moved;
    return TDBDataSet::cursorMoveBy(distance);
}

db::Row *TTable::cursorRow()
{
    if (!m_cursor)
        return nullptr;
    settlePosition();
    return m_cursor->current();
}

int TTable::cursorRecNo()
{
    settlePosition();
    return m_cursor->recNo();
}

int TTable::cursorRecordCount()
{
    return m_cursor->recordCount();
}

void TTable::cursorResync()
{
    settlePosition();
    m_cursor->resync();
}

QVector<db::Row> TTable::cursorNeighbours(bool forward, int count)
{
    const db::Row *row = cursorRow();
    return row ? m_cursor->neighbours(*row, forward, count) : QVector<db::Row>{};
}

bool TTable::cursorGotoRowId(qint64 rowId)
{
    if (!m_cursor->gotoRowId(rowId))
        return false;
    m_pendingFirst = false;
    return true;
}

int TTable::cursorCompareRows(const db::Row &left, const db::Row &right)
{
    return m_cursor->compareRows(left, right);
}

std::optional<db::Row> TTable::cursorReadRow(qint64 rowId)
{
    return m_cursor->readRow(rowId);
}

bool TTable::cursorFindFirst(const db::SqlCondition &condition, std::optional<db::Row> &found)
{
    found = m_cursor->findFirst(condition);
    return true;
}

void TTable::cursorPlace(const db::Row &row)
{
    m_pendingFirst = false;
    m_cursor->placeAt(row);
}

void TTable::applyFilters()
{
    m_cursor->setSqlFilter({});
    m_cursor->setAcceptor({});
    db::SqlCondition condition;
    const bool translated = filterActive() && filterExpression() && filterExpression()->toSql(condition);
    const db::SqlCondition sql =
        db::andConditions(translated ? condition : db::SqlCondition{}, engineFilters().sqlCondition());
    if (!sql.isEmpty())
        m_cursor->setSqlFilter(sql);
    if ((filterActive() && ((filterExpression() && !translated) || OnFilterRecord()))
        || engineFilters().needsRowTest()) {
        m_cursor->setAcceptor([this, translated](const db::Row &row) {
            if (filterActive() && !translated && filterExpression() && !filterExpression()->evaluate(row))
                return false;
            return acceptRow(row);
        });
    }
    m_cursor->clear();
    m_pendingFirst = true;
}

// ---- writing

void TTable::joinDatabaseTransaction()
{
    TDatabase *database = Session()->FindDatabase(DatabaseName());
    if (!database || !database->InTransaction() || m_connection->inTransaction())
        return;
    m_connection->begin();
    database->enlist(this, [this](bool commit) {
        if (!m_connection)
            return;
        if (commit) {
            m_connection->commit();
            return;
        }
        m_connection->rollback();
        if (Active() && State() == dsBrowse)
            Refresh();
    });
}

void TTable::raiseWriteError(const EDBEngineError &error) const
{
    const int code = error.ErrorCode();
    if (db::breaksKey(code))
        throw EDBEngineError(db::keyViolation, QStringLiteral("Schlüsselverletzung."));
    if (code == SQLITE_CONSTRAINT_NOTNULL)
        throw EDBEngineError(db::requiredFieldMissing, QStringLiteral("Ein Pflichtfeld hat keinen Wert."));
    throw error;
}

// A table created before its blank keys were guarded gets the guard with
// its first write; inside a database transaction it is asked for again
// until the transaction has kept it.
void TTable::guardBlankKeys()
{
    if (m_layout->blankKeysGuarded)
        return;
    const bool guarded = db::guardBlankKeys(*m_connection, m_layout->schema);
    m_layout->blankKeysGuarded = guarded && !m_connection->inTransaction();
}

bool TTable::needsAutoIncrement(const db::Row &row) const
{
    for (int i = 0; i < m_layout->schema.fields.size(); ++i)
        if (m_layout->schema.fields[i].DataType == ftAutoInc && db::isBlank(row.values[i]))
            return true;
    return false;
}

void TTable::insertRow(db::Row &row)
{
    const QString table = db::quoteIdentifier(m_layout->schema.tableName);
    for (int i = 0; i < m_layout->schema.fields.size(); ++i) {
        if (m_layout->schema.fields[i].DataType != ftAutoInc || !db::isBlank(row.values[i]))
            continue;
        db::Statement next =
            m_connection->prepare(QStringLiteral("SELECT COALESCE(MAX(%1), 0) + 1 FROM %2")
                                      .arg(db::quoteIdentifier(m_layout->schema.fields[i].Name), table));
        next.step();
        row.values[i] = next.columnInt64(0);
    }
    db::Statement insert = m_connection->prepare(m_layout->insertSql);
    insert.bindAll(QVariantList(row.values.begin(), row.values.end()));
    insert.step();
    row.rowId = m_connection->lastInsertRowId();
}

// The record is compared with what was read when editing began, so that a
// change another program made meanwhile is not silently overwritten.
void TTable::updateRow(db::Row &row, const db::Row &original)
{
    const std::optional<db::Row> stored = m_cursor->readRow(original.rowId);
    if (!stored)
        db::raiseRecordDeletedByOther();
    if (stored->values != original.values)
        throw EDBEngineError(db::recordChangedByOther,
                             QStringLiteral("Datensatz wurde von einem anderen Benutzer geändert."));
    QStringList assignments;
    QVariantList values;
    for (int i = 0; i < m_layout->schema.fields.size(); ++i) {
        if (row.values[i] == original.values[i] && row.values[i].typeId() == original.values[i].typeId())
            continue;
        assignments.append(db::quoteIdentifier(m_layout->schema.fields[i].Name) + QStringLiteral(" = ?"));
        values.append(row.values[i]);
    }
    row.rowId = original.rowId;
    if (assignments.isEmpty())
        return;
    values.append(original.rowId);
    db::Statement update = m_connection->prepare(
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
            .arg(db::quoteIdentifier(m_layout->schema.tableName), assignments.join(QStringLiteral(", "))));
    update.bindAll(values);
    update.step();
}

void TTable::cursorPost(db::Row &row, bool inserting, const db::Row &original)
{
    db::Row written = row;
    try {
        joinDatabaseTransaction();
        guardBlankKeys();
        if (inserting && !needsAutoIncrement(written)) {
            // One statement is atomic by itself.
            insertRow(written);
        } else {
            db::TransactionGuard transaction(*m_connection);
            if (inserting)
                insertRow(written);
            else
                updateRow(written, original);
            transaction.commit();
        }
    } catch (const EDBEngineError &error) {
        raiseWriteError(error);
    }
    row.rowId = written.rowId;
    row.values = written.values;
    positionNear(written);
}

// A written record that left the range or filter leaves the cursor next to
// where it would stand.
void TTable::positionNear(const db::Row &row)
{
    m_pendingFirst = false;
    // Writing a record in a loop over a large group of equal leading keys
    // would otherwise start every step with a search from the group's start.
    if (m_cursor->replaceCurrent(row))
        return;
    if (!m_cursor->isRestricted()) {
        m_cursor->placeAt(row);
        return;
    }
    if (m_cursor->gotoRowId(row.rowId))
        return;
    QVariantList keys;
    for (const db::OrderColumn &column : m_cursor->order())
        keys.append(row.values[column.column]);
    if (!m_cursor->seek(keys, true) && !m_cursor->last())
        m_cursor->clear();
}

void TTable::showFirst()
{
    m_pendingFirst = false;
    const bool any = m_cursor->first();
    resyncAfterWrite();
    setEofBof(!any, true);
    DataEvent(deDataSetChange);
}

void TTable::cursorDelete()
{
    const db::Row deleted = *cursorRow();
    {
        joinDatabaseTransaction();
        db::TransactionGuard transaction(*m_connection);
        db::Statement remove = m_connection->prepare(
            QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(db::quoteIdentifier(m_layout->schema.tableName)));
        remove.bind(1, deleted.rowId);
        remove.step();
        if (m_connection->changes() == 0)
            db::raiseRecordDeletedByOther();
        transaction.commit();
    }
    const QVector<db::Row> following = m_cursor->neighbours(deleted, true, 1);
    if (!following.isEmpty())
        m_cursor->gotoRowId(following.first().rowId);
    else if (!m_cursor->last())
        m_cursor->clear();
}

// ---- indexes

QStringList TTable::currentIndexFields() const
{
    if (!m_indexFieldNames.trimmed().isEmpty())
        return splitFieldList(m_indexFieldNames);
    if (!m_indexName.isEmpty()) {
        const TIndexDef *def = m_indexDefs.Find(m_indexName);
        if (!def)
            db::raiseDataSetError(this, QStringLiteral("Index '%1' nicht gefunden").arg(m_indexName));
        return def->fieldList();
    }
    const TIndexDef *primary = m_indexDefs.Primary();
    return primary ? primary->fieldList() : QStringList{};
}

void TTable::applyIndex()
{
    const bool byFields = !m_indexFieldNames.trimmed().isEmpty();
    const bool primary = !byFields && m_indexName.isEmpty();
    if (primary && m_layout->primaryOrder) {
        m_cursor->setOrder(m_layout->primaryOrder->columns, m_layout->primaryOrder->descending);
        return;
    }
    const TIndexDef *def = nullptr;
    if (byFields)
        def = m_indexDefs.FindIndexForFields(m_indexFieldNames);
    else if (!m_indexName.isEmpty())
        def = m_indexDefs.Find(m_indexName);
    else
        def = m_indexDefs.Primary();
    QVector<db::OrderColumn> order;
    for (const QString &name : currentIndexFields()) {
        const int column = m_layout->schema.fieldIndex(name);
        if (column < 0)
            db::raiseDataSetError(this, QStringLiteral("Feld '%1' nicht gefunden").arg(name));
        const TFieldType type = m_layout->schema.fields[column].DataType;
        if (type == ftMemo || db::isBlobType(type))
            db::raiseDataSetError(this, QStringLiteral("Nach Feld '%1' kann nicht sortiert werden").arg(name));
        order.append({column, db::isTextType(type), def && def->caseInsensitive()});
    }
    const bool descending = def && (def->Options & ixDescending);
    if (primary)
        m_layout->primaryOrder = db::TableLayout::Order{order, descending};
    m_cursor->setOrder(order, descending);
}

void TTable::changeIndex()
{
    if (!Active())
        return;
    CheckBrowseMode();
    const TBookmark current = GetBookmark();
    applyIndex();
    m_rangeActive = false;
    applyRangeBounds();
    if (!current.valid || !m_cursor->gotoRowId(current.rowId)) {
        showFirst();
        return;
    }
    resyncAfterWrite();
    DataEvent(deDataSetChange);
}

void TTable::switchIndex(const QString &name, const QString &fields)
{
    const QString previousName = m_indexName;
    const QString previousFields = m_indexFieldNames;
    m_indexName = name;
    m_indexFieldNames = fields;
    try {
        changeIndex();
    } catch (...) {
        m_indexName = previousName;
        m_indexFieldNames = previousFields;
        if (Active())
            applyIndex();
        throw;
    }
}

void TTable::SetIndexName(const QString &name)
{
    switchIndex(name, QString());
}

void TTable::SetIndexFieldNames(const QString &names)
{
    switchIndex(QString(), names);
}

int TTable::IndexFieldCount() const
{
    return Active() ? int(m_cursor->order().size()) : 0;
}

TField *TTable::IndexFields(int index) const
{
    const QStringList fields = currentIndexFields();
    return index >= 0 && index < fields.size() ? FindField(fields[index]) : nullptr;
}

void TTable::GetIndexNames(QStringList &names)
{
    names.clear();
    if (!Active()) {
        auto connection = db::Connection::openExisting(TableFilePath(), true);
        const db::TableSchema schema = db::readSchema(*connection);
        for (const TIndexDef &def : schema.indexes)
            if (!def.Name.isEmpty())
                names.append(def.Name);
        return;
    }
    for (const TIndexDef &def : m_indexDefs.items())
        if (!def.Name.isEmpty())
            names.append(def.Name);
}

// ---- key buffers

void TTable::beginKeyEdit(KeyIndex which, bool clear)
{
    CheckBrowseMode();
    KeyBuffer &buffer = m_keyBuffers[which];
    if (clear)
        buffer = KeyBuffer{blankRow(), 0, false, false};
    m_editingKey = which;
    m_keyRow = buffer.row;
    setState(dsSetKey);
}

void TTable::finishKeyEdit()
{
    KeyBuffer &buffer = m_keyBuffers[m_editingKey];
    buffer.row = m_keyRow;
    buffer.assigned = true;
    setState(dsBrowse);
}

void TTable::storeKeyBuffer()
{
    if (State() == dsSetKey)
        finishKeyEdit();
}

QVariantList TTable::keyValues(const KeyBuffer &buffer) const
{
    QVariantList values;
    const auto &order = m_cursor->order();
    int count = buffer.fieldCount > 0 ? std::min<int>(buffer.fieldCount, int(order.size())) : int(order.size());
    for (int i = 0; i < count; ++i)
        values.append(buffer.row.values[order[i].column]);
    if (buffer.fieldCount == 0)
        while (!values.isEmpty() && db::isBlank(values.last()))
            values.removeLast();
    return values;
}

void TTable::setKeyValues(KeyIndex which, const QVariantList &values)
{
    const auto &order = m_cursor->order();
    if (values.size() > order.size())
        db::raiseDataSetError(this, QStringLiteral("Zu viele Schlüsselwerte für den Index"));
    KeyBuffer &buffer = m_keyBuffers[which];
    const bool exclusive = buffer.exclusive;
    buffer = KeyBuffer{blankRow(), int(values.size()), exclusive, true};
    for (int i = 0; i < values.size(); ++i) {
        const int column = order[i].column;
        buffer.row.values[column] = db::toStorage(m_layout->schema.fields[column].DataType, values[i]);
    }
}

void TTable::SetKey()
{
    beginKeyEdit(kiLookup, true);
}
void TTable::EditKey()
{
    beginKeyEdit(kiLookup, false);
}

bool TTable::GotoKey()
{
    storeKeyBuffer();
    CheckBrowseMode();
    const QVariantList values = keyValues(m_keyBuffers[kiLookup]);
    const bool wasPending = m_pendingFirst;
    const TBookmark start = wasPending ? TBookmark{} : GetBookmark();
    if (!m_cursor->seekEqual(values))
        return false;
    m_pendingFirst = false;
    if (m_cursor->compareKey(*m_cursor->current(), values) != 0) {
        if (start.valid)
            m_cursor->gotoRowId(start.rowId);
        m_pendingFirst = wasPending;
        return false;
    }
    setEofBof(false, false);
    resyncAfterWrite();
    DataEvent(deDataSetChange);
    return true;
}

void TTable::GotoNearest()
{
    storeKeyBuffer();
    CheckBrowseMode();
    const KeyBuffer &buffer = m_keyBuffers[kiLookup];
    m_pendingFirst = false;
    const bool found = m_cursor->seek(keyValues(buffer), !buffer.exclusive);
    if (!found)
        m_cursor->last();
    resyncAfterWrite();
    if (!found)
        setEofBof(true, m_cursor->isEmpty());
    DataEvent(deDataSetChange);
}

bool TTable::FindKey(const QVariantList &values)
{
    CheckBrowseMode();
    setKeyValues(kiLookup, values);
    return GotoKey();
}

void TTable::FindNearest(const QVariantList &values)
{
    CheckBrowseMode();
    setKeyValues(kiLookup, values);
    GotoNearest();
}

bool TTable::KeyExclusive() const
{
    const KeyIndex which = State() == dsSetKey ? m_editingKey : kiLookup;
    return m_keyBuffers[which].exclusive;
}

void TTable::SetKeyExclusive(bool exclusive)
{
    const KeyIndex which = State() == dsSetKey ? m_editingKey : kiLookup;
    m_keyBuffers[which].exclusive = exclusive;
}

int TTable::KeyFieldCount() const
{
    const KeyIndex which = State() == dsSetKey ? m_editingKey : kiLookup;
    return m_keyBuffers[which].fieldCount;
}

void TTable::SetKeyFieldCount(int count)
{
    const KeyIndex which = State() == dsSetKey ? m_editingKey : kiLookup;
    m_keyBuffers[which].fieldCount = count;
}

// ---- ranges

void TTable::SetRangeStart()
{
    beginKeyEdit(kiRangeStart, true);
}
void TTable::SetRangeEnd()
{
    beginKeyEdit(kiRangeEnd, true);
}
void TTable::EditRangeStart()
{
    beginKeyEdit(kiRangeStart, false);
}
void TTable::EditRangeEnd()
{
    beginKeyEdit(kiRangeEnd, false);
}

void TTable::applyRangeBounds()
{
    std::optional<db::KeyBound> start;
    std::optional<db::KeyBound> end;
    if (m_masterLink && m_masterLink->Active() && !m_masterFields.isEmpty()) {
        const QVariantList values = masterValues();
        start = db::KeyBound{values, true};
        end = db::KeyBound{values, true};
    } else if (m_rangeActive) {
        const KeyBuffer &low = m_keyBuffers[kiRangeStart];
        const KeyBuffer &high = m_keyBuffers[kiRangeEnd];
        if (low.assigned)
            start = db::KeyBound{keyValues(low), !low.exclusive};
        if (high.assigned)
            end = db::KeyBound{keyValues(high), !high.exclusive};
    }
    m_cursor->setRange(start, end);
}

void TTable::ApplyRange()
{
    storeKeyBuffer();
    CheckBrowseMode();
    m_rangeActive = true;
    applyRangeBounds();
    showFirst();
}

void TTable::CancelRange()
{
    CheckBrowseMode();
    m_rangeActive = false;
    applyRangeBounds();
    showFirst();
}

void TTable::SetRange(const QVariantList &startValues, const QVariantList &endValues)
{
    CheckBrowseMode();
    setKeyValues(kiRangeStart, startValues);
    setKeyValues(kiRangeEnd, endValues);
    ApplyRange();
}

// ---- master/detail

TDataSource *TTable::MasterSource() const
{
    return m_masterLink ? m_masterLink->DataSource() : nullptr;
}

void TTable::SetMasterSource(TDataSource *source)
{
    if (source && source->DataSet() == this)
        db::raiseDataSetError(this, QStringLiteral("Zirkuläre Datenverknüpfungen sind nicht erlaubt"));
    if (!m_masterLink)
        m_masterLink = std::make_unique<db::MasterLink>(this);
    m_masterLink->SetDataSource(source);
    masterChanged();
}

void TTable::SetMasterFields(const QString &fields)
{
    m_masterFields = fields;
    masterChanged();
}

QVariantList TTable::masterValues() const
{
    QVariantList values;
    TDataSet *master = m_masterLink ? m_masterLink->DataSet() : nullptr;
    const auto &order = m_cursor->order();
    const QStringList names = splitFieldList(m_masterFields);
    for (int i = 0; i < names.size() && i < order.size(); ++i) {
        const TField *field = master ? master->FieldByName(names[i]) : nullptr;
        values.append(field ? db::toStorage(m_layout->schema.fields[order[i].column].DataType, field->Value())
                            : QVariant());
    }
    return values;
}

// A record inserted into a detail table belongs to the master's record.
void TTable::newRecordDefaults()
{
    if (!m_masterLink || !m_masterLink->Active() || m_masterFields.isEmpty())
        return;
    const QVariantList values = masterValues();
    const auto &order = m_cursor->order();
    for (int i = 0; i < values.size() && i < order.size(); ++i) {
        const TFieldDef &def = m_layout->schema.fields[order[i].column];
        FieldByName(def.Name)->SetValue(db::fromStorage(def.DataType, values[i]));
    }
}

void TTable::masterChanged()
{
    if (!Active() || State() != dsBrowse)
        return;
    const bool linked = m_masterLink && m_masterLink->Active() && !m_masterFields.isEmpty();
    const std::optional<QVariantList> values = linked ? std::optional<QVariantList>(masterValues()) : std::nullopt;
    if (values == m_lastMasterValues)
        return;
    m_lastMasterValues = values;
    applyRangeBounds();
    showFirst();
}
