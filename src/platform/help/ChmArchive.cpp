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

ChmArchive::ChmArchive(chmFile *handle, const QString &fileName) : m_handle(handle), m_fileName(fileName)
{
    collectContentPaths();
}

ChmArchive::~ChmArchive()
{
    chm_close(m_handle);
}

void ChmArchive::collectContentPaths()
{
    chm_enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectPath, &m_contentPaths);
    m_contentPaths.sort(Qt::CaseInsensitive);
    m_exactPaths = QSet<QString>(m_contentPaths.cbegin(), m_contentPaths.cend());
    for (const QString &path : m_contentPaths) {
        Spellings &spellings = m_byCaseFreePath[path.toCaseFolded()];
        if (spellings.first.isEmpty())
            spellings.first = path;
        spellings.last = path;
    }
}

std::optional<QByteArray> ChmArchive::read(const QString &objectPath) const
{
    chmUnitInfo unit;
    if (chm_resolve_object(m_handle, objectPath.toUtf8().constData(), &unit) != CHM_RESOLVE_SUCCESS
        || unit.length > kLargestObject)
        return std::nullopt;
    QByteArray data(qsizetype(unit.length), Qt::Uninitialized);
    const LONGINT64 got =
        chm_retrieve_object(m_handle, &unit, reinterpret_cast<unsigned char *>(data.data()), 0, LONGINT64(unit.length));
    if (got != LONGINT64(unit.length))
        return std::nullopt;
    return data;
}

QString ChmArchive::resolve(const QString &reference) const
{
    const QString wanted = normalReference(reference);
    const auto same = m_byCaseFreePath.constFind(wanted.toCaseFolded());
    if (same != m_byCaseFreePath.cend())
        return m_exactPaths.contains(wanted) ? wanted : same->last;
    // The longest stored tail begins at the first "/" that starts one.
    for (qsizetype slash = wanted.indexOf(QLatin1Char('/'), 1); slash > 0;
         slash = wanted.indexOf(QLatin1Char('/'), slash + 1)) {
        const auto tail = m_byCaseFreePath.constFind(wanted.mid(slash).toCaseFolded());
        if (tail != m_byCaseFreePath.cend())
            return tail->first;
    }
    return QString();
}

} // namespace help
