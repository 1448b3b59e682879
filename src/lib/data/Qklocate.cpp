#include "lib/data/Qklocate.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/QkcommonData.h"
#include "lib/data/QkrichText.h"
#include "platform/db/GermanCollation.h"
#include "platform/db/TDataSet.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Conversions.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QCoreApplication>

namespace {

bool isMemo(const TField *field)
{
    return field->DataType() == ftMemo || field->DataType() == ftFmtMemo;
}

// What the search compares: the value and the rule, fixed once per search.
class FieldMatcher
{
public:
    FieldMatcher(const TField *field, const QString &value, TqkLocateMatch matchType, bool caseSensitive)
        : m_field(field), m_value(caseSensitive ? value : db::germanCaseFold(value)), m_matchType(matchType),
          m_caseSensitive(caseSensitive)
    {
        m_numeric = matchType == lmExact && qkValueKind(field->DataType()) == TqkValueKind::Float
                    && TryStrToFloat(value, m_number);
    }

    bool matches() const
    {
        if (m_numeric)
            return !m_field->IsNull() && m_field->AsFloat() == m_number;
        return matchesText(qkFieldSearchText(m_field));
    }

    bool matchesText(QString text) const
    {
        // The case rule of the tables' case-free indexes, so that a scan and
        // a key search answer alike.
        if (!m_caseSensitive)
            text = db::germanCaseFold(text);
        switch (m_matchType) {
        case lmExact:
            return text == m_value;
        case lmStart:
            return text.startsWith(m_value);
        case lmAnywhere:
            return text.contains(m_value);
        }
        return false;
    }

private:
    const TField *m_field;
    QString m_value;
    TqkLocateMatch m_matchType;
    bool m_caseSensitive;
    bool m_numeric = false;
    double m_number = 0;
};

bool indexIsCaseInsensitive(TTable *table)
{
    TIndexDefs *defs = table->IndexDefs();
    const TIndexDef *index = nullptr;
    if (!table->IndexFieldNames().isEmpty())
        index = defs->FindIndexForFields(table->IndexFieldNames());
    else if (table->IndexName().isEmpty())
        index = defs->Primary();
    else
        index = defs->Find(table->IndexName());
    return index && index->caseInsensitive();
}

// A key search on the current index when it starts with the searched field.
// Answers nothing when the index cannot serve the search.
std::optional<bool> searchByIndex(TDataSet *dataSet, TField *field, const QString &value, const FieldMatcher &matcher,
                                  TqkLocateMatch matchType, bool caseSensitive)
{
    auto *table = qobject_cast<TTable *>(dataSet);
    if (!table || isMemo(field) || table->IndexFieldCount() == 0 || table->IndexFields(0) != field)
        return std::nullopt;
    if (qkInheritsFromName(table, QStringLiteral("TqkTable")) && table->property("Query").isValid()
        && !table->property("Query").toStringList().isEmpty())
        return std::nullopt;
    const bool sameCase = indexIsCaseInsensitive(table) != caseSensitive;
    const bool isString = field->DataType() == ftString;
    if (matchType == lmExact && field->DataType() != ftBoolean && (!isString || sameCase))
        return table->FindKey({value});
    if (matchType == lmStart && isString && sameCase) {
        const TBookmark start = table->GetBookmark();
        table->FindNearest({value});
        if (!table->Eof() && matcher.matches())
            return true;
        table->GotoBookmark(start);
        return false;
    }
    return std::nullopt;
}

bool scanRecords(bool fromFirst, TDataSet *dataSet, const FieldMatcher &matcher)
{
    const TBookmark start = dataSet->GetBookmark();
    const ui::BusyCursor busy;
    const TqkControlsDisabled disabled(dataSet);
    if (fromFirst)
        dataSet->First();
    else
        dataSet->Next();
    while (!dataSet->Eof()) {
        if (matcher.matches())
            return true;
        dataSet->Next();
    }
    dataSet->GotoBookmark(start);
    return false;
}

} // namespace

void qkShowLibraryWarning(const QString &text)
{
    ui::services().messageBox(text, ui::applicationTitle(), ui::MsgIcon::Warning, ui::MsgButtons::Ok);
}

QString qkFieldSearchText(const TField *field)
{
    if (field->IsNull())
        return {};
    switch (qkValueKind(field->DataType())) {
    case TqkValueKind::Integer:
        return IntToStr(field->AsInteger());
    case TqkValueKind::Boolean:
        return field->AsBoolean() ? QStringLiteral("True") : QStringLiteral("False");
    case TqkValueKind::Float:
        return FloatToStr(field->AsFloat());
    case TqkValueKind::Date:
        return DateToStr(field->AsDateTime());
    case TqkValueKind::Time:
        return TimeToStr(field->AsDateTime());
    case TqkValueKind::DateTime:
        return DateTimeToStr(field->AsDateTime());
    default:
        break;
    }
    if (qkIsRichTextField(field, true))
        return qkRichTextToPlainText(field->AsString());
    return field->AsString();
}

bool qkLocateByField(TDataSet *dataSet, const QString &fieldName, const QString &value, TqkLocateMatch matchType,
                     bool caseSensitive)
{
    const TField *field = dataSet->FindField(fieldName);
    if (field && !dataSet->IsEmpty()) {
        const QString text = qkFieldSearchText(field);
        if (text.compare(value, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0)
            return true;
    }
    return qkLocateRecord(true, dataSet, fieldName, value, matchType, caseSensitive);
}

bool qkLocateRecord(bool fromFirst, TDataSet *dataSet, const QString &fieldName, const QString &value,
                    TqkLocateMatch matchType, bool caseSensitive)
{
    dataSet->CheckBrowseMode();
    TField *field = dataSet->FindField(fieldName);
    if (!field) {
        qkShowLibraryWarning(QStringLiteral("Field ") + fieldName + QStringLiteral(" not found."));
        return false;
    }
    const FieldMatcher matcher(field, value, matchType, caseSensitive);
    // The key search always finds the first match, so it serves only a
    // search from the first record.
    if (fromFirst) {
        if (const std::optional<bool> found = searchByIndex(dataSet, field, value, matcher, matchType, caseSensitive))
            return *found;
    }
    return scanRecords(fromFirst, dataSet, matcher);
}
