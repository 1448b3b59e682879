#pragma once

#include <QMap>
#include <QString>
#include <QTemporaryDir>

// Builds a small compiled help file with the system's help compiler from
// pages and a project the test writes, so no binary file is checked in.
class ChmFixture
{
public:
    ChmFixture();

    // A file of the project, relative to its folder ("sub/b.htm").
    void addFile(const QString &name, const QByteArray &content);
    // Project lines added to the [OPTIONS] section.
    void addOption(const QString &line);
    // An alias with its context number: [ALIAS] name=page, [MAP] number.
    void mapContext(const QString &alias, int context, const QString &page);

    // Compiles the project; returns the file's path, empty on failure.
    QString build(const QString &chmName = QStringLiteral("hilfe.chm"));
    QString folder() const { return m_dir.path(); }

    // The standard test help: a start page linking a second page with an
    // image and an anchor, nested contents, and contexts 2000 and 2001.
    static QString buildStandard(ChmFixture &fixture);

private:
    QString projectText(const QString &chmName) const;

    QTemporaryDir m_dir;
    QStringList m_files;
    QStringList m_options;
    QStringList m_aliases;
    QStringList m_map;
};
