#pragma once

#include "platform/db/TDBDataSet.h"
#include "platform/db/TFieldDefs.h"
#include "platform/db/TIndexDefs.h"
#include "platform/db/ValidityChecks.h"
#include "platform/os/FileIdentity.h"
#include "platform/runtime/Exceptions.h"

#include <QPointer>

#include <memory>
#include <optional>

class TDataSource;

namespace db {
class Connection;
class KeysetCursor;
class MasterLink;
struct TableLayout;
}

enum TTableType { ttDefault, ttParadox, ttDBase, ttASCII };

// A table: one SQLite file in the database's folder, read through an
// indexed keyset cursor.
class TTable : public TDBDataSet
{
    Q_OBJECT
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(int TableType READ TableTypeOrdinal WRITE SetTableTypeOrdinal)
    Q_PROPERTY(QString IndexName READ IndexName WRITE SetIndexName)
    Q_PROPERTY(QString IndexFieldNames READ IndexFieldNames WRITE SetIndexFieldNames)
    Q_PROPERTY(TDataSource *MasterSource READ MasterSource WRITE SetMasterSource)
    Q_PROPERTY(QString MasterFields READ MasterFields WRITE SetMasterFields)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool Exclusive READ Exclusive WRITE SetExclusive)
    Q_PROPERTY(bool KeyExclusive READ KeyExclusive WRITE SetKeyExclusive)
    Q_PROPERTY(int KeyFieldCount READ KeyFieldCount WRITE SetKeyFieldCount)
public:
    explicit TTable(QObject *owner = nullptr);
    ~TTable() override;

    const QString &TableName() const { return m_tableName; }
    virtual void SetTableName(const QString &name);
    TTableType TableType() const { return m_tableType; }
    void SetTableType(TTableType type) { m_tableType = type; }
    int TableTypeOrdinal() const { return m_tableType; }
    void SetTableTypeOrdinal(int type) { m_tableType = TTableType(type); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    bool Exclusive() const { return m_exclusive; }
    void SetExclusive(bool exclusive) { m_exclusive = exclusive; }
    bool CanModify() const override;

    TFieldDefs *FieldDefs() { return &m_fieldDefs; }
    TIndexDefs *IndexDefs() { return &m_indexDefs; }
    // The field pictures CreateTable writes into the new file as its
    // validity checks; opening a table does not fill them.
    QVector<db::ValidityCheck> &ValidityCheckDefs() { return m_validityCheckDefs; }
    // Creates (or replaces) the table file from FieldDefs, IndexDefs and
    // ValidityCheckDefs.
    void CreateTable();
    // The validity checks the table's file keeps, from the open table or,
    // while it is closed, from its file; none for a file that keeps none.
    QVector<db::ValidityCheck> ReadValidityChecks();
    void DeleteTable();
    void EmptyTable();
    bool Exists();
    // The file the table name resolves to (case-free, ".db" added).
    QString TableFilePath() const;

    // Indexes.
    const QString &IndexName() const { return m_indexName; }
    void SetIndexName(const QString &name);
    const QString &IndexFieldNames() const { return m_indexFieldNames; }
    void SetIndexFieldNames(const QString &names);
    int IndexFieldCount() const;
    TField *IndexFields(int index) const;
    void GetIndexNames(QStringList &names);

    // Key search.
    void SetKey();
    void EditKey();
    bool GotoKey();
    void GotoNearest();
    bool FindKey(const QVariantList &keyValues);
    void FindNearest(const QVariantList &keyValues);
    bool KeyExclusive() const;
    void SetKeyExclusive(bool exclusive);
    int KeyFieldCount() const;
    void SetKeyFieldCount(int count);

    // Ranges.
    void SetRangeStart();
    void SetRangeEnd();
    void EditRangeStart();
    void EditRangeEnd();
    void ApplyRange();
    void CancelRange();
    void SetRange(const QVariantList &startValues, const QVariantList &endValues);

    // Master/detail.
    TDataSource *MasterSource() const;
    void SetMasterSource(TDataSource *source);
    const QString &MasterFields() const { return m_masterFields; }
    void SetMasterFields(const QString &fields);
    void masterChanged();

protected:
    void openCursor() override;
    void closeCursor() override;
    bool cursorFirst() override;
    bool cursorLast() override;
    bool cursorNext() override;
    bool cursorPrior() override;
    int cursorMoveBy(int distance) override;
    db::Row *cursorRow() override;
    QVector<db::Row> cursorNeighbours(bool forward, int count) override;
    int cursorRecNo() override;
    int cursorRecordCount() override;
    void cursorResync() override;
    void cursorPost(db::Row &row, bool inserting, const db::Row &original) override;
    void cursorDelete() override;
    bool cursorGotoRowId(qint64 rowId) override;
    int cursorCompareRows(const db::Row &left, const db::Row &right) override;
    std::optional<db::Row> cursorReadRow(qint64 rowId) override;
    void applyFilters() override;
    void finishKeyEdit() override;
    void settlePosition() override;
    void newRecordDefaults() override;
    bool cursorFindFirst(const db::SqlCondition &condition, std::optional<db::Row> &found) override;
    void cursorPlace(const db::Row &row) override;
    // Fills FieldDefs with the definitions the table's cursor has or would have.
    virtual void InitFieldDefs();

private:
    friend class TFieldDefs;
    struct KeyBuffer
    {
        db::Row row;
        int fieldCount = 0;
        bool exclusive = false;
        bool assigned = false;
    };
    enum KeyIndex { kiLookup, kiRangeStart, kiRangeEnd };

    QString resolveFolder() const;
    // The path as the names spell it, without asking the file system.
    QString spelledFilePath(const QString &folder) const;
    QStringList currentIndexFields() const;
    bool currentIndexCaseInsensitive() const;
    void applyIndex();
    void changeIndex();
    void switchIndex(const QString &name, const QString &fields);
    void beginKeyEdit(KeyIndex which, bool clear);
    void storeKeyBuffer();
    QVariantList keyValues(const KeyBuffer &buffer) const;
    void setKeyValues(KeyIndex which, const QVariantList &values);
    void applyRangeBounds();
    void joinDatabaseTransaction();
    void guardBlankKeys();
    bool needsAutoIncrement(const db::Row &row) const;
    void insertRow(db::Row &row);
    void updateRow(db::Row &row, const db::Row &original);
    void positionNear(const db::Row &row);
    void showFirst();
    [[noreturn]] void raiseWriteError(const EDBEngineError &error) const;
    QVariantList masterValues() const;

    QString m_tableName;
    TTableType m_tableType = ttDefault;
    bool m_readOnly = false;
    bool m_exclusive = false;
    TFieldDefs m_fieldDefs;
    TIndexDefs m_indexDefs;
    QVector<db::ValidityCheck> m_validityCheckDefs;
    QString m_indexName;
    QString m_indexFieldNames;
    QString m_masterFields;
    std::unique_ptr<db::MasterLink> m_masterLink;
    std::optional<QVariantList> m_lastMasterValues;
    std::unique_ptr<db::Connection> m_connection;
    std::shared_ptr<const db::TableLayout> m_layout;
    os::FileIdentity m_fileIdentity;
    std::unique_ptr<db::KeysetCursor> m_cursor;
    KeyBuffer m_keyBuffers[3];
    KeyIndex m_editingKey = kiLookup;
    bool m_rangeActive = false;
    // Opening and filtering leave the cursor before its first row unread, so
    // that a key search right after opening costs one query.
    bool m_pendingFirst = false;
};
