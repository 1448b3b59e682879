#pragma once

#include "platform/db/DbValues.h"

#include <QVector>

#include <functional>

namespace db {

// The records that data-aware controls show at once (a grid's visible rows):
// a window around the current record that moves as the cursor leaves it,
// as the framework's record buffers did.
class RecordBuffers
{
public:
    using Fetch = std::function<QVector<Row>(bool forward, int count)>;

    // After the cursor moved by `moved` records: keeps the window and moves
    // the current index within it where possible; answers how far the window
    // scrolled (positive: down).
    int scroll(const Row *current, int wanted, int moved, const Fetch &fetch);
    // After a change of the data: rebuilds the window, keeping the current
    // record at its place on the screen where the data allows.
    void rebuild(const Row *current, int wanted, const Fetch &fetch);
    // A record being inserted takes a row of its own: at the current
    // record, which moves down, or appended after it. The row becomes the
    // current one; the window keeps at most `wanted` rows.
    void addNew(bool append, int wanted);
    void clear();

    int count() const { return int(m_rows.size()); }
    int current() const { return m_current; }
    int active() const { return m_selected >= 0 ? m_selected : m_current; }
    void select(int index) { m_selected = (index == m_current) ? -1 : index; }
    void clearSelection() { m_selected = -1; }
    // The record a link selected that is not the current one, or null.
    Row *selectedRow();
    QVector<Row> &rows() { return m_rows; }

private:
    void build(const Row &current, int wanted, int position, const Fetch &fetch);
    int indexOf(qint64 rowId) const;
    void dropNew();

    QVector<Row> m_rows;
    int m_current = 0;
    int m_selected = -1;
    int m_new = -1;
};

}
