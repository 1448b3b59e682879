#include "platform/os/IniFile.h"

#include "platform/os/Paths.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Cp1252.h"
#include "platform/runtime/Exceptions.h"

#include <QFileInfo>

namespace {

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

void checkName(const QString &iniPath, const QString &section, const QString &key)
{
    const QString trimmedKey = key.trimmed();
    const bool badSection = hasLineBreak(section) || section.contains(QLatin1Char(']')) || section.trimmed().isEmpty();
    const bool badKey = hasLineBreak(key) || key.contains(QLatin1Char('=')) || trimmedKey.isEmpty()
                        || trimmedKey.startsWith(QLatin1Char('[')) || trimmedKey.startsWith(QLatin1Char(';'));
    if (badSection || badKey)
        throw EInvalidOperation(
            QStringLiteral("Ungültiger Abschnitt oder Schlüssel für %1: [%2] %3").arg(iniPath, section, key));
}

void checkValue(const QString &iniPath, const QString &key, const QString &value)
{
    if (hasLineBreak(value))
        throw EInvalidOperation(
            QStringLiteral("Der Wert für %1 in %2 darf keinen Zeilenumbruch enthalten.").arg(key, iniPath));
}

// What a read gives back is trimmed and loses one pair of enclosing
// quotes; a value that would change so is written in quotes, so that it
// reads back exactly here and in the Windows programs alike.
QString storedForm(const QString &value)
{
    const QString trimmed = value.trimmed();
    const bool quoteWouldStrip = trimmed.size() >= 2
                                 && (trimmed.front() == QLatin1Char('"') || trimmed.front() == QLatin1Char('\''))
                                 && trimmed.back() == trimmed.front();
    if (trimmed != value || quoteWouldStrip)
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

// A file in the suite's code page stays in it while it can hold the text; a
// value it cannot hold (a path with "Ł") turns the file into UTF-8, which
// the reader takes as well, instead of failing the write.
TextEncoding encodingFor(const QString &text, TextEncoding current)
{
    if (current == TextEncoding::Utf8)
        return current;
    bool lossless = true;
    cp1252::encode(text, &lossless);
    return lossless ? current : TextEncoding::Utf8;
}

} // namespace

TIniFile::TIniFile(const QString &path) : m_path(path)
{}

TIniFile::Loaded TIniFile::load() const
{
    const QString path = os::resolvePath(m_path);
    if (!QFileInfo(path).isFile())
        return {IniDocument(), TextEncoding::Windows1252, path};
    TextFileContent content = ReadTextFile(path);
    return {IniDocument(content.text), content.encoding, path};
}

void TIniFile::modify(const std::function<void(IniDocument &)> &edit)
{
    Loaded loaded = load();
    const QString before = loaded.document.text();
    edit(loaded.document);
    const QString after = loaded.document.text();
    if (after != before)
        WriteTextFile(loaded.path, after, encodingFor(after, loaded.encoding));
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return load().document.value(section, key, defaultValue);
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    checkName(m_path, section, key);
    checkValue(m_path, key, value);
    modify([&](IniDocument &document) { document.setValue(section, key, storedForm(value)); });
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    return StrToIntDef(ReadString(section, key, QString()), defaultValue);
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, IntToStr(value));
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TIniFile::ReadFloat(const QString &section, const QString &key, double defaultValue) const
{
    return StrToFloatDef(ReadString(section, key, QString()), defaultValue);
}

void TIniFile::WriteFloat(const QString &section, const QString &key, double value)
{
    WriteString(section, key, FloatToStr(value));
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    return load().document.keys(section);
}

QStringList TIniFile::ReadSections() const
{
    return load().document.sections();
}

QStringList TIniFile::ReadSectionValues(const QString &section) const
{
    QStringList lines;
    for (const auto &entry : load().document.entries(section))
        lines << entry.first + QLatin1Char('=') + entry.second;
    return lines;
}

bool TIniFile::SectionExists(const QString &section) const
{
    return !ReadSection(section).isEmpty();
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    return load().document.hasKey(section, key);
}

void TIniFile::EraseSection(const QString &section)
{
    modify([&](IniDocument &document) { document.eraseSection(section); });
}

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    modify([&](IniDocument &document) { document.deleteKey(section, key); });
}
