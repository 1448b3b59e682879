#include "app/FormFiles.h"

#include "app/Utils.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/os/Paths.h"
#include "platform/runtime/Exceptions.h"
#include "platform/ui/UiServices.h"

#include <memory>

namespace {

const QString emailTypeSuffix = QStringLiteral("-eMail");

QString fieldText(const TTable &table, const QString &name)
{
    return table.FieldByName(name)->AsString();
}

qsizetype lastSeparator(const QString &fileName)
{
    return std::max(fileName.lastIndexOf(QLatin1Char('\\')), fileName.lastIndexOf(QLatin1Char('/')));
}

bool isRowOfSide(const TTable &table, const TFormFileSide &side)
{
    const QString type = fieldText(table, QStringLiteral("Typ"));
    return type.endsWith(emailTypeSuffix, Qt::CaseInsensitive) == side.emailRows;
}

// The table's key: module, form type, sort key.
QStringList rowKey(const TTable &table)
{
    return {fieldText(table, QStringLiteral("Modul")), fieldText(table, QStringLiteral("Typ")),
            fieldText(table, QStringLiteral("Sortierung"))};
}

QString deleteQuestion(const QString &description)
{
    const QString named = description.isEmpty() ? QString() : QLatin1Char('"') + description + QLatin1Char('"');
    return QStringLiteral("Formular ") + named + QStringLiteral(" wirklich löschen?");
}

}

TFormRowFiles FormRowFiles(const QString &fileName, const TFormFileSide &side)
{
    const qsizetype separator = lastSeparator(fileName);
    const QString name = fileName.mid(separator + 1);
    TFormRowFiles files;
    if (name.startsWith(QLatin1Char('.'))) {
        files.refused = true;
        return files;
    }
    if (name.trimmed().isEmpty() || name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')))
        return files;
    const qsizetype point = name.lastIndexOf(QLatin1Char('.'));
    const QString baseName = point < 0 ? name : name.left(point);
    const QString folder = separator < 0 ? os::includeTrailingSeparator(side.formPath) : fileName.left(separator + 1);
    files.testFile = folder + baseName + side.testExtension;
    files.mask = folder + baseName + side.maskExtension;
    return files;
}

bool IsSharedFormFile(const TTable &view, const TFormFileSide &side)
{
    const QString mask = FormRowFiles(fieldText(view, QStringLiteral("DateiErsteSeite")), side).mask;
    const QStringList key = rowKey(view);
    std::unique_ptr<TTable> all;
    OpenTable(all, view.DatabaseName(), view.TableName());
    for (all->First(); !all->Eof(); all->Next()) {
        if (!isRowOfSide(*all, side) || rowKey(*all) == key)
            continue;
        const QString otherMask = FormRowFiles(fieldText(*all, QStringLiteral("DateiErsteSeite")), side).mask;
        if (otherMask.compare(mask, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void ConfirmFormRowDelete(TTable &view, const TFormFileSide &side)
{
    if (AskYesNoCancel(deleteQuestion(fieldText(view, QStringLiteral("Bezeichnung")))) != ui::IDYES)
        throw EAbort(QStringLiteral("Vorgang abgebrochen"));
    const TFormRowFiles files = FormRowFiles(fieldText(view, QStringLiteral("DateiErsteSeite")), side);
    if (files.refused)
        throw EAbort(QStringLiteral("Vorgang abgebrochen"));
    if (files.testFile.isEmpty() || !os::fileExists(files.testFile) || IsSharedFormFile(view, side))
        return;
    const QString question =
        QStringLiteral("Soll die Formulardatei ") + files.testFile + QStringLiteral(" auch gelöscht werden?");
    if (AskYesNoCancel(question) == ui::IDYES)
        DeleteFiles(files.mask);
}
