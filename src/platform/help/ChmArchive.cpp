#include "platform/help/ChmArchive.h"

#include <QFile>
#include <QFileInfo>

#include <chm_lib.h>

namespace help {

namespace {

// No page or picture of a help file comes near this; a damaged file that
// claims more must not exhaust the memory.
constexpr LONGUINT64 kLargestObject = 64 * 1024 * 1024;

int collectPath(chmFile *, chmUnitInfo *unit, void *context)
{
    static_cast<QStringList *>(context)->append(QString::fromUtf8(unit->path));
    return CHM_ENUMERATOR_CONTINUE;
}

QString normalReference(const QString &reference)
{
    QString path = reference;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Stored paths begin with "/", so a stored path that ends the reference
    // always ends it at a folder boundary.
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return path;
}

} // namespace

std::unique_ptr<ChmArchive> ChmArchive::open(const QString &path)
{
    // Only regular files: reading a pipe or device would wait forever.
    if (!QFileInfo(path).isFile())
        return nullptr;
    chmFile *handle = chm_open(QFile::encodeName(path).constData());
    if (!handle)
        return nullptr;
    return std::unique_ptr<ChmArchive>(new ChmArchive(handle, path));
}

ChmArchive::ChmArchive(chmFile *handle, const QString &fileName)
    : m_handle(handle)
    , m_fileName(fileName)
{
    collectContentPaths();
}

ChmArchive::~ChmArchive()
{
    chm_close(m_handle);
}

void ChmArchive::collectContentPaths()
{
    chm_enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectPath,
                  &m_contentPaths);
    m_contentPaths.sort(Qt::CaseInsensitive);
}

std::optional<QByteArray> ChmArchive::read(const QString &objectPath) const
{
    chmUnitInfo unit;
    if (chm_resolve_object(m_handle, objectPath.toUtf8().constData(), &unit)
            != CHM_RESOLVE_SUCCESS
        || unit.length > kLargestObject)
        return std::nullopt;
    QByteArray data(qsizetype(unit.length), Qt::Uninitialized);
    const LONGINT64 got = chm_retrieve_object(m_handle, &unit,
                                              reinterpret_cast<unsigned char *>(data.data()),
                                              0, LONGINT64(unit.length));
    if (got != LONGINT64(unit.length))
        return std::nullopt;
    return data;
}

QString ChmArchive::resolve(const QString &reference) const
{
    const QString wanted = normalReference(reference);
    QString caseFree;
    QString longestTail;
    for (const QString &path : m_contentPaths) {
        if (path == wanted)
            return path;
        if (path.compare(wanted, Qt::CaseInsensitive) == 0)
            caseFree = path;
        else if (wanted.endsWith(path, Qt::CaseInsensitive) && path.size() > longestTail.size())
            longestTail = path;
    }
    return caseFree.isEmpty() ? longestTail : caseFree;
}

} // namespace help
