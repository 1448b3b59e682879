#include "lib/data/Qkstr.h"

namespace {

QChar upperAsciiOnly(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? QChar(c.unicode() - 32) : c;
}

void finishToken(const QString &text, int &pos)
{
    if (pos > text.size())
        pos = -1;
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

QString stripEnclosingQuotes(const QString &token)
{
    if (token.size() >= 2 && isQuote(token.front()) && token.back() == token.front())
        return token.mid(1, token.size() - 2);
    return token;
}

bool endsPlainToken(QChar c, int options, const QString &set)
{
    if (set.contains(c))
        return true;
    return (options & tokBlanksInToken) ? c.unicode() < 32 : c.unicode() <= 32;
}

int endOfQuotedToken(const QString &text, int start)
{
    const int close = text.indexOf(QLatin1Char('"'), start + 1);
    return close < 0 ? text.size() : close + 1;
}

} // namespace

void strGetToken(const QString &text, const QString &separator, int &pos, QString &token)
{
    token.clear();
    if (pos < 1 || pos > text.size() || separator.isEmpty()) {
        pos = -1;
        return;
    }
    const int from = pos - 1;
    int found = -1;
    int skip = separator.size();
    if (separator.size() == 1) {
        found = text.indexOf(separator, from);
    } else {
        const QString word = QLatin1Char(' ') + separator + QLatin1Char(' ');
        found = text.indexOf(word, from, Qt::CaseInsensitive);
        skip = word.size();
    }
    if (found < 0) {
        token = text.mid(from);
        pos = -1;
        return;
    }
    token = text.mid(from, found - from);
    pos = found + skip + 1;
}

void strBreakApart(const QString &text, QChar separator, QStringList &list)
{
    list = text.split(separator);
}

void strStripBoth(QString &text)
{
    text = strStripTrailing(strStripLeading(text, qkBlankSet), qkBlankSet);
}

QString strStripLeading(const QString &text, const QString &set)
{
    int first = 0;
    while (first < text.size() && set.contains(text[first]))
        ++first;
    return text.mid(first);
}

QString strStripTrailing(const QString &text, const QString &set)
{
    int end = text.size();
    while (end > 0 && set.contains(text[end - 1]))
        --end;
    return text.left(end);
}

QString strFilterChars(const QString &text, QChar ch)
{
    QString result = text;
    result.remove(ch);
    return result;
}

QString strReplaceChar(const QString &text, QChar oldChar, QChar newChar)
{
    QString result = text;
    result.replace(oldChar, newChar);
    return result;
}

QString strReplaceCharWithStr(const QString &text, QChar ch, const QString &str)
{
    QString result = text;
    result.replace(ch, str);
    return result;
}

bool qkEqualStr(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (upperAsciiOnly(a[i]) != upperAsciiOnly(b[i]))
            return false;
    }
    return true;
}

int strCountChar(const QString &text, QChar ch)
{
    return text.count(ch);
}

QString strTextAfterChar(const QString &text, QChar ch)
{
    const int at = text.indexOf(ch);
    return at < 0 ? QString() : text.mid(at + 1);
}

QString qkJoinQueryLines(const QStringList &lines, bool blankSeparated)
{
    return lines.join(blankSeparated ? QStringLiteral(" ") : QStringLiteral("\r\n"));
}

void strGetTokenBySet(const QString &text, int &pos, int options, QString &token, const QString &set)
{
    token.clear();
    if (pos < 1 || pos > text.size()) {
        pos = -1;
        return;
    }
    int i = pos - 1;
    if (options & tokSkipBlanks) {
        while (i < text.size() && qkBlankSet.contains(text[i]))
            ++i;
    }
    int end = i;
    if ((options & tokQuoted) && i < text.size() && text[i] == QLatin1Char('"')) {
        end = endOfQuotedToken(text, i);
    } else {
        while (end < text.size() && !endsPlainToken(text[end], options, set))
            ++end;
    }
    token = text.mid(i, end - i);
    if (options & tokStripQuotes)
        token = stripEnclosingQuotes(token);
    // An empty token still moves on, so that a caller's loop ends.
    pos = (end == i ? end + 1 : end) + 1;
    finishToken(text, pos);
}
