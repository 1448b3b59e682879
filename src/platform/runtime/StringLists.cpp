#include "platform/runtime/StringLists.h"

namespace {

constexpr QChar Quote(u'"');
constexpr QChar Comma(u',');

bool needsQuotes(const QString &item)
{
    for (QChar c : item) {
        if (c.unicode() <= ' ' || c == Quote || c == Comma)
            return true;
    }
    return false;
}

QString quotedItem(const QString &item)
{
    QString inner = item;
    inner.replace(Quote, QStringLiteral("\"\""));
    return Quote + inner + Quote;
}

bool isBlankOrControl(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= ' ';
}

// Reads a quoted item starting at pos (on the quote); leaves pos after the
// closing quote, or at the end when there is none.
QString readQuoted(const QString &text, int &pos)
{
    QString item;
    ++pos;
    while (pos < text.size()) {
        if (text[pos] != Quote) {
            item += text[pos++];
        } else if (pos + 1 < text.size() && text[pos + 1] == Quote) {
            item += Quote;
            pos += 2;
        } else {
            ++pos;
            break;
        }
    }
    return item;
}

QString readPlain(const QString &text, int &pos)
{
    const int start = pos;
    while (pos < text.size() && text[pos].unicode() > ' ' && text[pos] != Comma)
        ++pos;
    return text.mid(start, pos - start);
}

void skipBlanks(const QString &text, int &pos)
{
    while (pos < text.size() && isBlankOrControl(text[pos]))
        ++pos;
}

} // namespace

QString CommaText(const QStringList &list)
{
    if (list.size() == 1 && list.first().isEmpty())
        return QStringLiteral("\"\"");
    QStringList items;
    for (const QString &item : list)
        items << (needsQuotes(item) ? quotedItem(item) : item);
    return items.join(Comma);
}

QStringList FromCommaText(const QString &text)
{
    QStringList list;
    int pos = 0;
    skipBlanks(text, pos);
    while (pos < text.size()) {
        list << (text[pos] == Quote ? readQuoted(text, pos) : readPlain(text, pos));
        skipBlanks(text, pos);
        if (pos < text.size() && text[pos] == Comma) {
            if (pos + 1 == text.size())
                list << QString();
            ++pos;
            skipBlanks(text, pos);
        }
    }
    return list;
}

QString Text(const QStringList &list)
{
    QString text;
    for (const QString &line : list)
        text += line + QStringLiteral("\r\n");
    return text;
}

QStringList FromText(const QString &text)
{
    QStringList list;
    int pos = 0;
    while (pos < text.size()) {
        const int start = pos;
        while (pos < text.size() && text[pos] != u'\r' && text[pos] != u'\n')
            ++pos;
        list << text.mid(start, pos - start);
        if (pos < text.size() && text[pos] == u'\r')
            ++pos;
        if (pos < text.size() && text[pos] == u'\n')
            ++pos;
    }
    return list;
}

QString NameOfLine(const QString &line)
{
    const int eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.left(eq);
}

QString ValueOfLine(const QString &line)
{
    const int eq = line.indexOf(u'=');
    return eq < 0 ? QString() : line.mid(eq + 1);
}

int IndexOfName(const QStringList &list, const QString &name)
{
    for (int i = 0; i < list.size(); ++i) {
        const int eq = list[i].indexOf(u'=');
        if (eq >= 0 && QStringView(list[i]).left(eq).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Values(const QStringList &list, const QString &name)
{
    const int index = IndexOfName(list, name);
    return index < 0 ? QString() : ValueOfLine(list[index]);
}

void SetValue(QStringList &list, const QString &name, const QString &value)
{
    const int index = IndexOfName(list, name);
    if (value.isEmpty()) {
        if (index >= 0)
            list.removeAt(index);
    } else if (index >= 0) {
        list[index] = name + u'=' + value;
    } else {
        list << name + u'=' + value;
    }
}

int IndexOfText(const QStringList &list, const QString &text)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
