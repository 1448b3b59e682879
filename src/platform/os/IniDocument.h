#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The lines of an ini file with the Windows profile rules for finding
// sections and keys: names match without regard to case and blanks around
// them; of duplicate sections only the first counts, as of duplicate keys
// within it; lines starting with ";" are comments. Edits touch only the
// lines concerned, so other programs' sections, comments and order survive.
class IniDocument
{
public:
    explicit IniDocument(const QString &text = QString());

    // Text with the line break the file used (CR LF for a new file).
    QString text() const;

    bool hasSection(const QString &section) const;
    // Section names in file order, each once.
    QStringList sections() const;
    // Key names of the section in file order, each once.
    QStringList keys(const QString &section) const;
    // Key names with their values as value() reads them, in file order.
    QList<QPair<QString, QString>> entries(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;
    // The trimmed value, with one pair of enclosing quotes removed.
    QString value(const QString &section, const QString &key, const QString &defaultValue) const;

    // Adds the section at the end when it is missing.
    void addSection(const QString &section);
    void setValue(const QString &section, const QString &key, const QString &value);
    // Removes every section of that name with all its lines.
    void eraseSection(const QString &section);
    void deleteKey(const QString &section, const QString &key);

private:
    int findSection(const QString &section) const;
    int sectionEnd(int header) const;
    int findKey(int header, const QString &key) const;

    QStringList m_lines;
    QString m_lineBreak;
};
