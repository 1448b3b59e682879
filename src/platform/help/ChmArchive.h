#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct chmFile;

namespace help {

// Read access to the objects stored in a compiled help file. Object paths
// are absolute inside the file ("/a.htm", "/bilder/logo.png").
class ChmArchive
{
public:
    // nullptr when the file is missing or is no compiled help file.
    static std::unique_ptr<ChmArchive> open(const QString &path);
    ~ChmArchive();
    ChmArchive(const ChmArchive &) = delete;
    ChmArchive &operator=(const ChmArchive &) = delete;

    QString fileName() const { return m_fileName; }
    // The stored files, without the file's internal bookkeeping objects.
    const QStringList &contentPaths() const { return m_contentPaths; }
    std::optional<QByteArray> read(const QString &objectPath) const;

    // The stored object a reference from inside the file names: the exact
    // path, else the same path without regard to case, else the longest
    // stored path that ends the reference at a folder boundary (compilers
    // differ in how much of the source folder they keep). "\" reads as "/".
    // Empty when nothing matches.
    QString resolve(const QString &reference) const;

private:
    ChmArchive(chmFile *handle, const QString &fileName);
    void collectContentPaths();

    // The first and the last stored path of each case-free spelling, in
    // the order of contentPaths(), so that resolving stays a lookup.
    struct Spellings
    {
        QString first;
        QString last;
    };

    chmFile *m_handle;
    QString m_fileName;
    QStringList m_contentPaths;
    QHash<QString, Spellings> m_byCaseFreePath;
    QSet<QString> m_exactPaths;
};

} // namespace help
