#include "platform/os/IniDocument.h"

#include "platform/runtime/StringLists.h"

#include <QSet>

namespace {

bool isComment(const QString &line)
{
    return line.trimmed().startsWith(QLatin1Char(';'));
}

bool isHeader(const QString &line)
{
    return line.trimmed().startsWith(QLatin1Char('['));
}

QString headerName(const QString &line)
{
    const QString trimmed = line.trimmed();
    const int close = trimmed.lastIndexOf(QLatin1Char(']'));
    return trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

bool isKeyLine(const QString &line)
{
    return !isComment(line) && !isHeader(line) && line.contains(QLatin1Char('='));
}

QString keyName(const QString &line)
{
    return NameOfLine(line).trimmed();
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// Names count once whatever their case; a set keeps this linear for sections
// and keys by the ten thousand.
bool firstOfItsName(QSet<QString> &seen, const QString &name)
{
    const qsizetype before = seen.size();
    seen.insert(name.toCaseFolded());
    return seen.size() > before;
}

} // namespace

IniDocument::IniDocument(const QString &text)
    : m_lines(FromText(text)),
      m_lineBreak(text.contains(QLatin1Char('\n')) && !text.contains(QLatin1String("\r\n")) ? QStringLiteral("\n")
                                                                                            : QStringLiteral("\r\n"))
{}

QString IniDocument::text() const
{
    QString result;
    for (const QString &line : m_lines)
        result += line + m_lineBreak;
    return result;
}

int IniDocument::findSection(const QString &section) const
{
    const QString wanted = section.trimmed();
    for (int i = 0; i < m_lines.size(); ++i) {
        if (isHeader(m_lines[i]) && sameName(headerName(m_lines[i]), wanted))
            return i;
    }
    return -1;
}

int IniDocument::sectionEnd(int header) const
{
    int i = header + 1;
    while (i < m_lines.size() && !isHeader(m_lines[i]))
        ++i;
    return i;
}

int IniDocument::findKey(int header, const QString &key) const
{
    if (header < 0)
        return -1;
    const QString wanted = key.trimmed();
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (isKeyLine(m_lines[i]) && sameName(keyName(m_lines[i]), wanted))
            return i;
    }
    return -1;
}

bool IniDocument::hasSection(const QString &section) const
{
    return findSection(section) >= 0;
}

QStringList IniDocument::sections() const
{
    QStringList names;
    QSet<QString> seen;
    for (const QString &line : m_lines) {
        if (isHeader(line) && firstOfItsName(seen, headerName(line)))
            names << headerName(line);
    }
    return names;
}

QList<QPair<QString, QString>> IniDocument::entries(const QString &section) const
{
    QList<QPair<QString, QString>> found;
    const int header = findSection(section);
    if (header < 0)
        return found;
    QSet<QString> seen;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (isKeyLine(m_lines[i]) && firstOfItsName(seen, keyName(m_lines[i])))
            found.append({keyName(m_lines[i]), unquoted(ValueOfLine(m_lines[i]).trimmed())});
    }
    return found;
}

QStringList IniDocument::keys(const QString &section) const
{
    QStringList names;
    for (const auto &entry : entries(section))
        names << entry.first;
    return names;
}

bool IniDocument::hasKey(const QString &section, const QString &key) const
{
    return findKey(findSection(section), key) >= 0;
}

QString IniDocument::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return defaultValue;
    return unquoted(ValueOfLine(m_lines[line]).trimmed());
}

void IniDocument::addSection(const QString &section)
{
    if (hasSection(section))
        return;
    m_lines << QLatin1Char('[') + section.trimmed() + QLatin1Char(']');
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    addSection(section);
    const int header = findSection(section);
    const int existing = findKey(header, key);
    if (existing >= 0) {
        m_lines[existing] = keyName(m_lines[existing]) + QLatin1Char('=') + value;
        return;
    }
    // After the section's last non-blank line, so blank lines that separate
    // it from the next section stay in place.
    int insertAt = sectionEnd(header);
    while (insertAt > header + 1 && m_lines[insertAt - 1].trimmed().isEmpty())
        --insertAt;
    m_lines.insert(insertAt, key.trimmed() + QLatin1Char('=') + value);
}

void IniDocument::eraseSection(const QString &section)
{
    for (int header = findSection(section); header >= 0; header = findSection(section))
        m_lines.erase(m_lines.begin() + header, m_lines.begin() + sectionEnd(header));
}

void IniDocument::deleteKey(const QString &section, const QString &key)
{
    const int header = findSection(section);
    for (int line = findKey(header, key); line >= 0; line = findKey(header, key))
        m_lines.removeAt(line);
}
