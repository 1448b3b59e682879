#pragma once

#include <QList>
#include <QStringList>

// The expression parser's stacks: Pop on an empty stack answers an empty
// string or nil.
class TStackStr
{
public:
    int Count() const { return int(m_list.size()); }
    void Push(const QString &text) { m_list.append(text); }
    QString Pop() { return m_list.isEmpty() ? QString() : m_list.takeLast(); }

private:
    QStringList m_list;
};

class TStackPtr
{
public:
    int Count() const { return int(m_list.size()); }
    void Push(void *pointer) { m_list.append(pointer); }
    void *Pop() { return m_list.isEmpty() ? nullptr : m_list.takeLast(); }

private:
    QList<void *> m_list;
};
