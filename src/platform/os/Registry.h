#pragma once

#include "platform/os/IniFile.h"

#include <QString>

// Stands in for the Windows registry with the same key paths
// ("HKEY_CLASSES_ROOT\mailto\shell\open\command"). The keys are the
// sections of an ini-format file, the values its entries, the default
// value of a key the entry "@". The file is $TINTLEN_REGISTRY, else
// ~/.config/tintlen/registry.ini. Key paths match without regard to case.
class TRegistry
{
public:
    enum Root { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };

    TRegistry();

    static QString storagePath();

    void SetRootKey(Root root);
    // A path starting with "\" is taken from the root, any other from the
    // open key. create adds a missing key; without it a missing key fails.
    bool OpenKey(const QString &path, bool create);
    bool OpenKeyReadOnly(const QString &path);
    bool KeyExists(const QString &path) const;
    void CloseKey();
    QString CurrentPath() const;

    // "" names the default value; a missing value reads as "".
    QString ReadString(const QString &name) const;
    // Raises EInvalidOperation on a key opened read-only.
    void WriteString(const QString &name, const QString &value);
    bool ValueExists(const QString &name) const;

private:
    QString fullPath(const QString &path) const;
    QString currentSection() const;
    void ensureFolder() const;

    TIniFile m_file;
    Root m_root = HKEY_CURRENT_USER;
    QString m_currentKey;
    bool m_readOnly = false;
};
