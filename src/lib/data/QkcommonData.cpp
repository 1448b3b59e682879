#include "lib/data/QkcommonData.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/Qkintl.h"
#include "lib/data/Qkpict.h"
#include "lib/data/Qkprops.h"
#include "lib/data/QkstrDate.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TField.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Exceptions.h"

#include <algorithm>
#include <vector>

namespace {

QString firstPart(const QString &line, QChar separator)
{
    return line.section(separator, 0, 0);
}

bool namesField(const TDataSet *dataSet, const QString &line)
{
    return dataSet->FindField(firstPart(line, QLatin1Char(';'))) != nullptr;
}

struct LayoutEntry
{
    TField *field;
    int width;
    QString label;
    int index;
};

std::vector<LayoutEntry> readLayout(const TDataSet *dataSet, const QStringList &list)
{
    std::vector<LayoutEntry> entries;
    for (int i = 0; i < list.size(); ++i) {
        const QStringList parts = list[i].split(QLatin1Char('\t'));
        TField *field = dataSet->FindField(parts[0]);
        if (!field)
            continue;
        const int width = StrToInt(parts.value(1));
        entries.push_back({field, width, parts.value(2), i});
    }
    return entries;
}

} // namespace

TqkControlsDisabled::TqkControlsDisabled(TDataSet *dataSet) : m_dataSet(dataSet)
{
    m_dataSet->DisableControls();
}

TqkControlsDisabled::~TqkControlsDisabled()
{
    m_dataSet->EnableControls();
}

void qkValidateFieldPicture(TDataSet *dataSet, const TqkInvalidValueEvent &onInvalidValue)
{
    for (TField *field : dataSet->FieldList()) {
        const QString mask = qkGetPictureMask(dataSet, field->FieldName(), true).Mask;
        if (mask.isEmpty() || field->ReadOnly() || qkMaskAccepts(mask, field->AsString()))
            continue;
        field->FocusControl();
        if (onInvalidValue)
            onInvalidValue(dataSet, field);
        throw EDatabaseError(qkIntl().UserMessages->PictureValidateError + field->DisplayName());
    }
}

bool qkIsLibraryDataSet(const QObject *dataSet)
{
    if (!dataSet)
        return false;
    for (const char *name : {"TqkTable", "TqkQuery", "TqkQBE", "TqkStoredProc", "TqkClientDataSet"}) {
        if (qkInheritsFromName(dataSet, QLatin1String(name)))
            return true;
    }
    return qkGetControlTypes(dataSet).has_value();
}

bool qkIsLookupOrCalcField(const TField *field)
{
    return field->FieldKind() == fkCalculated || field->FieldKind() == fkLookup;
}

bool qkIsNonEngineField(const TField *field)
{
    return qkIsLookupOrCalcField(field) || !qkInheritsFromName(field->DataSet(), QStringLiteral("TBDEDataSet"));
}

bool qkIsSearchableFieldType(TFieldType type)
{
    return type != ftBytes && type != ftVarBytes && type != ftBlob && type != ftGraphic;
}

void qkRemoveMissingFieldLines(const TDataSet *dataSet, QStringList *lookupFields, QStringList *lookupLinks,
                               QStringList *controlType)
{
    if (lookupFields) {
        for (int i = lookupFields->size() - 1; i >= 0; --i) {
            if (namesField(dataSet, (*lookupFields)[i]))
                continue;
            lookupFields->removeAt(i);
            if (lookupLinks && i < lookupLinks->size())
                lookupLinks->removeAt(i);
        }
    }
    if (controlType) {
        controlType->erase(std::remove_if(controlType->begin(), controlType->end(),
                                          [&](const QString &line) { return !namesField(dataSet, line); }),
                           controlType->end());
    }
}

void qkFillFieldList(const TDataSet *dataSet, QStringList &list)
{
    list.clear();
    for (const TField *field : dataSet->FieldList()) {
        if (field->Visible())
            list.append(qkFieldLayoutLine(field->FieldName(), field->DisplayWidth(), field->DisplayLabel()));
    }
}

void qkApplyFieldLayout(TDataSet *dataSet, const QStringList &list)
{
    const std::vector<LayoutEntry> entries = readLayout(dataSet, list);
    const TqkControlsDisabled disabled(dataSet);
    for (TField *field : dataSet->FieldList())
        field->SetVisible(false);
    const int lastIndex = dataSet->FieldCount() - 1;
    for (const LayoutEntry &entry : entries) {
        entry.field->SetDisplayWidth(entry.width);
        entry.field->SetDisplayLabel(entry.label);
        entry.field->SetIndex(qMin(entry.index, lastIndex));
        entry.field->SetVisible(true);
    }
}

bool qkFieldNameForDisplayLabel(const TDataSet *dataSet, const QString &label, QString &fieldName)
{
    const QString wanted = QString(label).replace(QLatin1Char('~'), QLatin1Char(' '));
    for (const TField *field : dataSet->FieldList()) {
        if (QString(field->DisplayLabel()).replace(QLatin1Char('~'), QLatin1Char(' ')) == wanted) {
            fieldName = field->FieldName();
            return true;
        }
    }
    return false;
}

int qkCompareBookmarks(TDataSet *dataSet, const TBookmark &first, const TBookmark &second)
{
    return dataSet->CompareBookmarks(first, second);
}

bool qkIsRichTextField(const TField *field, bool readData)
{
    if (!field || !qkInheritsFromName(field, QStringLiteral("TBlobField")))
        return false;
    const QString marker = field->FieldName() + QStringLiteral(";RichEdit");
    for (const QString &line : qkGetControlTypes(field->DataSet()).value_or(QStringList())) {
        if (line.startsWith(marker))
            return true;
    }
    return readData && field->AsBytes().startsWith("{\\rtf");
}

TqkValueKind qkValueKind(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return TqkValueKind::Integer;
    case ftBoolean:
        return TqkValueKind::Boolean;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return TqkValueKind::Float;
    case ftDate:
        return TqkValueKind::Date;
    case ftTime:
        return TqkValueKind::Time;
    case ftDateTime:
        return TqkValueKind::DateTime;
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
        return TqkValueKind::Binary;
    default:
        return TqkValueKind::Text;
    }
}

bool qkIsValidTextForFieldType(TFieldType type, const QString &text)
{
    switch (qkValueKind(type)) {
    case TqkValueKind::Integer:
        return qkIsIntegerText(text);
    case TqkValueKind::Float:
        return qkIsFloatText(text);
    case TqkValueKind::Date:
        return qkIsValidDateText(text);
    case TqkValueKind::Time:
        return qkIsValidTimeText(text);
    case TqkValueKind::DateTime:
        return qkIsValidDateTimeText(text) || qkIsValidDateText(text);
    default:
        return true;
    }
}

bool qkIsValidValueText(const TField *field, const QString &text)
{
    return qkIsValidTextForFieldType(field->DataType(), text);
}
