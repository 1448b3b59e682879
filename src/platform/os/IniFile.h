#pragma once

#include "platform/os/IniDocument.h"
#include "platform/runtime/TextFile.h"

#include <QString>
#include <QStringList>

#include <functional>

// The framework's ini-file object with the Windows profile semantics the
// suite's programs share a file under: every call reads the file afresh
// and every write goes to disk at once, through a temporary file and a
// rename, so the other programs never see half a file. Sections and keys
// match without regard to case, values are trimmed, and other programs'
// sections, comments and line order survive a write. The file is read as
// UTF-8 or Windows-1252 and written back in the same encoding (a new file
// in Windows-1252 with CR LF). The path may use "\" and any case.
//
// Reading a missing file gives the defaults; a file that exists but cannot
// be read, or a failed write, raises EInOutError. Names or values that
// would break the line structure (line breaks, "=" in a key, "]" in a
// section) raise EInvalidOperation and leave the file unchanged.
class TIniFile
{
public:
    explicit TIniFile(const QString &path);

    QString FileName() const { return m_path; }

    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    void WriteString(const QString &section, const QString &key, const QString &value);
    // "0x"/"$" hexadecimal is accepted; anything not an integer gives the default.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    void WriteInteger(const QString &section, const QString &key, int value);
    // True for a non-zero integer; text that is no integer gives the default.
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;
    // Writes "1" or "0".
    void WriteBool(const QString &section, const QString &key, bool value);
    double ReadFloat(const QString &section, const QString &key, double defaultValue) const;
    void WriteFloat(const QString &section, const QString &key, double value);

    // Key names of the section.
    QStringList ReadSection(const QString &section) const;
    QStringList ReadSections() const;
    // "key=value" lines of the section.
    QStringList ReadSectionValues(const QString &section) const;
    // As in the framework, a section counts as existing when it has a key.
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    void EraseSection(const QString &section);
    void DeleteKey(const QString &section, const QString &key);

private:
    friend class TRegistry;

    struct Loaded
    {
        IniDocument document;
        TextEncoding encoding;
        QString path;
    };
    Loaded load() const;
    // Writes only when the edit changed something.
    void modify(const std::function<void(IniDocument &)> &edit);

    QString m_path;
};
