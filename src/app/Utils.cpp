#include "app/Utils.h"

#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/os/FileCopy.h"
#include "platform/os/FileMask.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/StringLists.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

int attributesOf(const QString &fileName)
{
    const QFileInfo info(os::resolvePath(fileName));
    if (!info.exists())
        return -1;
    int attributes = 0;
    if (info.isDir())
        attributes |= faDirectory;
    if (!info.isWritable())
        attributes |= faReadOnly;
    if (info.isHidden())
        attributes |= faHidden;
    return attributes;
}

}

void ShowError(const QString &caption, const QString &text)
{
    ui::services().messageBox(text, caption, ui::MsgIcon::Stop, ui::MsgButtons::Ok);
}

void ShowErrorMsg(const QString &caption, const QString &text)
{
    ShowError(caption, text);
}

void ShowPlainMessage(const QString &text)
{
    ui::services().messageBox(text, ui::applicationTitle(), ui::MsgIcon::None, ui::MsgButtons::Ok);
}

int AskYesNoCancel(const QString &text)
{
    return ui::services().messageBox(text, QStringLiteral("Bestätigen"), ui::MsgIcon::Question,
                                     ui::MsgButtons::YesNoCancel);
}

int CopyFile(const QString &source, const QString &target)
{
    const os::CopyOutcome outcome = os::copyFile(source, target);
    if (outcome.error == os::CopyError::None)
        return 0;
    ShowError(QStringLiteral("CopyFile()"), outcome.message);
    return static_cast<int>(outcome.error);
}

int CopyFiles(const QString &mask, const QString &folder, const QString &newBaseName)
{
    const QString caption = QStringLiteral("CopyFiles()");
    if (mask.isEmpty() || folder.isEmpty()) {
        ShowError(caption, QStringLiteral("Quelle oder Ziel wurde nicht angegeben!"));
        return -1;
    }
    if (!os::directoryExists(folder)) {
        ShowError(caption, QStringLiteral("Zielpfad nicht vorhanden: ") + folder);
        return -1;
    }
    const QString targetFolder = os::includeTrailingSeparator(os::resolvePath(folder));
    int copied = 0;
    for (const QString &file : os::findFiles(mask)) {
        const QString name = QFileInfo(file).fileName();
        const QString targetName = newBaseName.isEmpty() ? name : newBaseName + os::fileExtension(name);
        if (CopyFile(file, targetFolder + targetName) == 0)
            ++copied;
    }
    return copied;
}

int DeleteFiles(const QString &mask)
{
    if (mask.isEmpty()) {
        ShowError(QStringLiteral("DeleteFiles()"), QStringLiteral("Dateien wurden nicht angegeben!"));
        return -1;
    }
    return os::deleteFiles(mask);
}

bool HasAttr(const QString &fileName, int attributes)
{
    const int present = attributesOf(fileName);
    return present >= 0 && (present & attributes) == attributes;
}

bool DirectoryExists(const QString &path)
{
    return os::directoryExists(path);
}

QString GetTempDir()
{
    return os::tempFolder();
}

// Paths from the suite end in "\", our own in "/": either counts.
QString StripBackslash(const QString &path)
{
    return os::excludeTrailingSeparator(path);
}

QString GetAliasPath(const QString &alias)
{
    QStringList parameters;
    Session()->GetAliasParams(alias, parameters);
    return Values(parameters, QStringLiteral("Path"));
}

bool OpenTable(std::unique_ptr<TTable> &table, const QString &databaseName, const QString &tableName)
{
    auto opened = std::make_unique<TTable>();
    opened->SetDatabaseName(databaseName);
    opened->SetTableName(tableName);
    opened->Open();
    table = std::move(opened);
    return true;
}

bool IsTableEmpty(TDataSet *dataSet)
{
    return dataSet->Bof() && dataSet->Eof();
}

QString GetDefaultMailClient()
{
    TRegistry registry;
    registry.SetRootKey(TRegistry::HKEY_CLASSES_ROOT);
    if (!registry.OpenKeyReadOnly(QStringLiteral("mailto\\shell\\open\\command")))
        return {};
    return registry.ReadString(QString());
}

double RoundDec(int decimals, double value)
{
    return RoundTo(value, decimals);
}

double Round2(double value)
{
    return RoundDec(2, value);
}

QString FormatNumber(int decimals, double value)
{
    return Format(QStringLiteral("%20.%1n").arg(decimals), {value}).trimmed();
}

double StrToFloatDE(const QString &text)
{
    QString plain = text.trimmed();
    plain.remove(QLatin1Char('.'));
    if (plain.isEmpty())
        return 0;
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+,?\\d*|,\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(plain).hasMatch())
        throw EConvertError(QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text));
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    return plain.toDouble();
}

bool IsNumeric(const QString &text)
{
    static const QString allowed = QStringLiteral("1234567890 ");
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!allowed.contains(c))
            return false;
    }
    return true;
}

int Max(int a, int b)
{
    return a > b ? a : b;
}

QString Replicate(const QString &text, int count)
{
    return count > 0 ? text.repeated(count) : QString();
}

QString ReplaceFirst(const QString &text, const QString &oldText, const QString &newText)
{
    const qsizetype at = oldText.isEmpty() ? -1 : text.indexOf(oldText);
    if (at < 0)
        return text;
    QString replaced = text;
    return replaced.replace(at, oldText.size(), newText);
}

QString RightStr(const QString &text, int count)
{
    if (count <= 0 || text.size() < count)
        return {};
    return text.right(count);
}

int IIFInt(bool condition, int whenTrue, int whenFalse)
{
    return condition ? whenTrue : whenFalse;
}

QString IIFStr(bool condition, const QString &whenTrue, const QString &whenFalse)
{
    return condition ? whenTrue : whenFalse;
}

double IIFFloat(bool condition, double whenTrue, double whenFalse)
{
    return condition ? whenTrue : whenFalse;
}

unsigned char IIFByte(bool condition, unsigned char whenTrue, unsigned char whenFalse)
{
    return condition ? whenTrue : whenFalse;
}

bool IsLetter(QChar c)
{
    static const QString germanLetters = QStringLiteral("äöüÄÖÜß");
    const char16_t code = c.unicode();
    return (code >= u'A' && code <= u'Z') || (code >= u'a' && code <= u'z') || germanLetters.contains(c);
}

bool IsDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool IsLetterOrDigit(QChar c)
{
    return IsLetter(c) || IsDigit(c);
}
