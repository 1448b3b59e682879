#pragma once

#include "platform/db/DbValues.h"
#include "platform/db/KeysetCursor.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>
#include <vector>

class TDataSet;

namespace db {

class FilterExpression;
struct FilterColumn;

// The filters a data set's engine cursor holds besides Filter and
// OnFilterRecord: expression trees and record tests, each under a handle,
// switched on and off one by one. Active filters AND together.
class EngineFilterList
{
public:
    using RecordTest = std::function<bool(TDataSet *)>;

    EngineFilterList();
    ~EngineFilterList();

    int add(std::unique_ptr<FilterExpression> expression);
    int add(RecordTest test);
    bool setActive(int handle, bool active);
    bool drop(int handle);
    void clear();

    // The active expressions that SQLite can evaluate, as one condition;
    // those are then left out of the per-record test.
    SqlCondition sqlCondition();
    bool needsRowTest() const;
    bool acceptExpressions(const Row &row) const;
    bool hasRecordTests() const;
    bool acceptRecordTests(TDataSet *dataSet) const;

private:
    struct Entry
    {
        int handle = 0;
        bool active = false;
        bool inSql = false;
        std::unique_ptr<FilterExpression> expression;
        RecordTest test;
    };
    Entry *find(int handle);

    std::vector<Entry> m_entries;
    int m_nextHandle = 1;
};

// Two conditions joined by AND (either may be empty).
SqlCondition andConditions(const SqlCondition &left, const SqlCondition &right);

// Reads the engine's binary filter tree (header, 14-byte node slots, literal
// pool with texts and field names in UTF-8, as the tables keep them) into an
// expression over the given columns. Raises EDatabaseError
// for a tree that is cut short or names an unknown field.
std::unique_ptr<FilterExpression> filterExpressionFromTree(const QByteArray &tree,
                                                           const QVector<FilterColumn> &columns);

}
