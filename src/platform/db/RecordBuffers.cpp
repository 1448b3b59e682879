#include "platform/db/RecordBuffers.h"

#include <algorithm>

namespace db {

int RecordBuffers::indexOf(qint64 rowId) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].rowId == rowId)
            return i;
    return -1;
}

Row *RecordBuffers::selectedRow()
{
    if (m_selected < 0 || m_selected >= m_rows.size())
        return nullptr;
    return &m_rows[m_selected];
}

void RecordBuffers::clear()
{
    m_rows.clear();
    m_current = 0;
    m_selected = -1;
    m_new = -1;
}

void RecordBuffers::addNew(bool append, int wanted)
{
    dropNew();
    m_new = m_rows.isEmpty() ? 0 : std::clamp(m_current + (append ? 1 : 0), 0, int(m_rows.size()));
    m_rows.insert(m_new, Row{});
    if (m_rows.size() > std::max(1, wanted)) {
        const bool atBottom = m_new == m_rows.size() - 1;
        m_rows.remove(atBottom ? 0 : int(m_rows.size()) - 1);
        m_new -= atBottom ? 1 : 0;
    }
    m_current = m_new;
    m_selected = -1;
}

// The record taken back out: the window is as before it was added.
void RecordBuffers::dropNew()
{
    if (m_new < 0 || m_new >= m_rows.size())
        return;
    m_rows.remove(m_new);
    m_new = -1;
}

void RecordBuffers::build(const Row &current, int wanted, int position, const Fetch &fetch)
{
    QVector<Row> before = position > 0 ? fetch(false, position) : QVector<Row>{};
    QVector<Row> after = fetch(true, wanted - 1 - int(before.size()));
    if (int(before.size() + after.size()) < wanted - 1 && int(before.size()) == position)
        before = fetch(false, wanted - 1 - int(after.size()));
    std::reverse(before.begin(), before.end());
    m_rows = before;
    m_rows.append(current);
    m_rows += after;
    m_current = int(before.size());
    m_selected = -1;
}

void RecordBuffers::rebuild(const Row *current, int wanted, const Fetch &fetch)
{
    dropNew();
    if (!current) {
        clear();
        return;
    }
    if (wanted <= 1) {
        m_rows = {*current};
        m_current = 0;
        m_selected = -1;
        return;
    }
    const int kept = indexOf(current->rowId);
    build(*current, wanted, std::clamp(kept >= 0 ? kept : m_current, 0, wanted - 1), fetch);
}

int RecordBuffers::scroll(const Row *current, int wanted, int moved, const Fetch &fetch)
{
    if (!current || wanted <= 1 || m_rows.isEmpty()) {
        rebuild(current, wanted, fetch);
        return moved;
    }
    m_selected = -1;
    const int inWindow = indexOf(current->rowId);
    if (inWindow >= 0) {
        m_rows[inWindow] = *current;
        m_current = inWindow;
        return 0;
    }
    QVector<qint64> oldIds;
    for (const Row &row : std::as_const(m_rows))
        oldIds.append(row.rowId);
    build(*current, wanted, moved > 0 ? wanted - 1 : 0, fetch);
    const int newFirstBefore = int(oldIds.indexOf(m_rows.first().rowId));
    if (newFirstBefore > 0)
        return newFirstBefore;
    const int oldFirstNow = indexOf(oldIds.first());
    if (oldFirstNow > 0)
        return -oldFirstNow;
    return moved > 0 ? std::max(moved, wanted) : std::min(moved, -wanted);
}

}
