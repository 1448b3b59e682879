#include "platform/os/Registry.h"

#include "platform/os/Paths.h"

#include "platform/runtime/Exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString rootName(TRegistry::Root root)
{
    switch (root) {
    case TRegistry::HKEY_CLASSES_ROOT:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case TRegistry::HKEY_LOCAL_MACHINE:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case TRegistry::HKEY_CURRENT_USER:
        break;
    }
    return QStringLiteral("HKEY_CURRENT_USER");
}

// Single backslashes, none at either end.
QString normalisedKey(const QString &path)
{
    QString normal = path;
    normal.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return normal.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

QString entryName(const QString &valueName)
{
    return valueName.isEmpty() ? QStringLiteral("@") : valueName;
}

} // namespace

TRegistry::TRegistry() : m_file(storagePath())
{}

QString TRegistry::storagePath()
{
    const QString configured = qEnvironmentVariable("TINTLEN_REGISTRY");
    if (!configured.isEmpty())
        return configured;
    const QString installation = os::installationSettingsFile(QStringLiteral("registry.ini"));
    if (!installation.isEmpty())
        return installation;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/tintlen/registry.ini");
}

void TRegistry::ensureFolder() const
{
    QDir().mkpath(QFileInfo(m_file.FileName()).absolutePath());
}

void TRegistry::SetRootKey(Root root)
{
    m_root = root;
    CloseKey();
}

QString TRegistry::fullPath(const QString &path) const
{
    const QString relative = normalisedKey(path);
    const bool fromRoot =
        path.startsWith(QLatin1Char('\\')) || path.startsWith(QLatin1Char('/')) || m_currentKey.isEmpty();
    return fromRoot ? relative : normalisedKey(m_currentKey + QLatin1Char('\\') + relative);
}

QString TRegistry::currentSection() const
{
    const QString root = rootName(m_root);
    return m_currentKey.isEmpty() ? root : root + QLatin1Char('\\') + m_currentKey;
}

bool TRegistry::KeyExists(const QString &path) const
{
    const QString key = fullPath(path);
    const QString section = key.isEmpty() ? rootName(m_root) : rootName(m_root) + QLatin1Char('\\') + key;
    const IniDocument document = m_file.load().document;
    if (document.hasSection(section))
        return true;
    const QString prefix = section + QLatin1Char('\\');
    for (const QString &existing : document.sections()) {
        if (existing.startsWith(prefix, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool TRegistry::OpenKey(const QString &path, bool create)
{
    const QString key = fullPath(path);
    if (!KeyExists(QLatin1Char('\\') + key)) {
        if (!create)
            return false;
        const QString section = rootName(m_root) + QLatin1Char('\\') + key;
        ensureFolder();
        m_file.modify([&](IniDocument &document) { document.addSection(section); });
    }
    m_currentKey = key;
    m_readOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString &path)
{
    if (!OpenKey(path, false))
        return false;
    m_readOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    m_currentKey.clear();
    m_readOnly = false;
}

QString TRegistry::CurrentPath() const
{
    return m_currentKey;
}

QString TRegistry::ReadString(const QString &name) const
{
    return m_file.ReadString(currentSection(), entryName(name), QString());
}

void TRegistry::WriteString(const QString &name, const QString &value)
{
    if (m_readOnly)
        throw EInvalidOperation(
            QStringLiteral("Fehler beim Setzen der Daten für '%1': Schlüssel nur zum Lesen geöffnet").arg(name));
    ensureFolder();
    m_file.WriteString(currentSection(), entryName(name), value);
}

bool TRegistry::ValueExists(const QString &name) const
{
    return m_file.ValueExists(currentSection(), entryName(name));
}
