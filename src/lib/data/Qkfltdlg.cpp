#include "lib/data/Qkfltdlg.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/QkcommonData.h"
#include "lib/data/Qkintl.h"
#include "lib/data/Qklocate.h"
#include "lib/data/Qkprops.h"
#include "lib/data/Qkqbe.h"
#include "lib/data/Qkquery.h"
#include "lib/data/QkrichText.h"
#include "lib/data/Qkstr.h"
#include "lib/data/Qktable.h"
#include "platform/db/TDataSource.h"
#include "platform/db/TField.h"
#include "platform/db/TTable.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/DateConversions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QScopeGuard>

#include <cmath>
#include <optional>

namespace {

void showBox(const QString &text, ui::MsgIcon icon)
{
    ui::services().messageBox(text, ui::applicationTitle(), icon, ui::MsgButtons::Ok);
}

bool isBlankChar(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringList valueTokens(const QString &value, const QString &operatorDelimiter)
{
    QStringList tokens;
    int i = 0;
    while (i < value.size()) {
        while (i < value.size() && isBlankChar(value[i]))
            ++i;
        if (i >= value.size())
            break;
        int end = i + 1;
        if (value[i] == QLatin1Char('"')) {
            const int close = value.indexOf(QLatin1Char('"'), i + 1);
            end = close < 0 ? int(value.size()) : close + 1;
        } else if (operatorDelimiter.size() != 1 || value[i] != operatorDelimiter[0]) {
            while (end < value.size() && value[end].unicode() >= 33
                   && !(operatorDelimiter.size() == 1 && value[end] == operatorDelimiter[0]))
                ++end;
        }
        tokens.append(value.mid(i, end - i));
        i = end;
    }
    return tokens;
}

}

TqkAlternatives qkSplitAlternatives(const QString &value, const TqkFieldOperators &words)
{
    QString word;
    for (const QString &candidate : {words.OrChar(), words.AndChar()}) {
        if (!word.isEmpty() || candidate.isEmpty())
            continue;
        const QStringList tokens = valueTokens(value, candidate);
        for (int i = 1; i < tokens.size() && word.isEmpty(); ++i)
            if (tokens[i].compare(candidate, Qt::CaseInsensitive) == 0)
                word = candidate;
    }
    TqkAlternatives result;
    result.any = !word.isEmpty() && word == words.OrChar();
    QStringList current;
    for (const QString &token : valueTokens(value, word)) {
        if (!word.isEmpty() && token.compare(word, Qt::CaseInsensitive) == 0) {
            result.items.append(current.join(QLatin1Char(' ')));
            current.clear();
        } else {
            current.append(token);
        }
    }
    result.items.append(current.join(QLatin1Char(' ')));
    return result;
}

namespace {

bool isMemo(const TField *field)
{
    return field->inherits("TBlobField");
}

bool isTrimmedEmpty(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() > 32)
            return false;
    return true;
}

TDateTime dateTimeOf(TFieldType type, const QString &text)
{
    if (type == ftDate)
        return StrToDate(text);
    if (type == ftTime)
        return StrToTime(text);
    return StrToDateTime(text);
}

bool typedEqual(const QString &alternative, const QString &text, TFieldType type)
{
    if (alternative == text)
        return true;
    if (type == ftString || isTrimmedEmpty(alternative) != isTrimmedEmpty(text))
        return false;
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return StrToInt(alternative) == StrToInt(text);
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return StrToFloat(alternative) == StrToFloat(text);
    case ftDate:
    case ftTime:
    case ftDateTime:
        return dateTimeOf(type, alternative) == dateTimeOf(type, text);
    default:
        return false;
    }
}

template <typename T>
bool withinBounds(const T &value, const std::optional<T> &low, const std::optional<T> &high)
{
    return !(low && value < *low) && !(high && value > *high);
}

}

// ---- operator words

void TqkFieldOperators::setWord(int index, const QString &word)
{
    if (word != m_words[index]) {
        QString stripped = word;
        strStripBoth(stripped);
        m_words[index] = stripped;
    }
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 3; ++b)
            if (m_words[a].compare(m_words[b], Qt::CaseInsensitive) == 0) {
                showBox(QStringLiteral("Operators do not have a unique value."), ui::MsgIcon::Warning);
                return;
            }
}

// ---- data link

TqkFilterDataLink::TqkFilterDataLink(TqkFilterDialog *dialog) : m_dialog(dialog)
{}

void TqkFilterDataLink::ActiveChanged()
{
    m_dialog->DataSetActiveChanged(DataSet() && DataSet()->Active());
}

// ---- record test

namespace {

// The library's data sets filter through their own "OnFilter" and read the
// record being filtered, library lookup fields included, through their own
// FilterFieldValue; other data sets through the framework's record filter.
template <typename DataSet>
bool setOwnFilter(TDataSet *dataSet, const TFilterRecordEvent &test)
{
    auto *own = qobject_cast<DataSet *>(dataSet);
    if (!own)
        return false;
    using Event = decltype(own->OnFilter());
    own->SetOnFilter(test ? Event([test](DataSet *self, bool &accept) { test(self, accept); }) : Event());
    return true;
}

bool setLibraryFilter(TDataSet *dataSet, const TFilterRecordEvent &test)
{
    return setOwnFilter<TqkTable>(dataSet, test) || setOwnFilter<TqkQuery>(dataSet, test)
           || setOwnFilter<TqkQBE>(dataSet, test);
}

template <typename DataSet>
std::optional<QVariant> ownFieldValue(TDataSet *dataSet, const QString &fieldName)
{
    if (auto *own = qobject_cast<DataSet *>(dataSet))
        return own->FilterFieldValue(fieldName);
    return std::nullopt;
}

QVariant filterFieldValue(TDataSet *dataSet, TField *field)
{
    for (const auto &read : {ownFieldValue<TqkTable>, ownFieldValue<TqkQuery>, ownFieldValue<TqkQBE>})
        if (const std::optional<QVariant> value = read(dataSet, field->FieldName()))
            return *value;
    return field->Value();
}

}

TqkDummyForm::TqkDummyForm(TqkFilterDialog *dialog) : m_dialog(dialog)
{}

void TqkDummyForm::RecordTest(TDataSet *dataSet, bool &accept)
{
    m_dataSet = dataSet;
    accept = true;
    for (const auto &info : m_dialog->FieldInfo()) {
        if (info->FieldName.isEmpty())
            info->FieldName = m_dialog->FieldNameForLabel(info->DisplayName);
        accept = criterionTest(*info);
        if (info->NonMatching && info->MatchType != fdMatchRange)
            accept = !accept;
        if (!accept)
            return;
    }
}

QString TqkDummyForm::fieldText(TField *field) const
{
    const QVariant value = filterFieldValue(m_dataSet, field);
    if (value.isNull() || !value.isValid())
        return {};
    switch (field->DataType()) {
    case ftDate:
        return DateToStr(field->AsDateTime());
    case ftTime:
        return FormatDateTime(FormatSettings().LongTimeFormat, field->AsDateTime());
    case ftDateTime: {
        const TDateTime stamp = field->AsDateTime();
        const QString date = DateToStr(stamp);
        return stamp == std::trunc(stamp)
                   ? date
                   : date + QLatin1Char(' ') + FormatDateTime(FormatSettings().LongTimeFormat, stamp);
    }
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return FloatToStr(field->AsFloat());
    default:
        return value.toString();
    }
}

bool TqkDummyForm::criterionTest(TqkFieldInfo &info)
{
    TField *field = info.FieldName.isEmpty() ? nullptr : m_dataSet->FindField(info.FieldName);
    if (!field) {
        info.FieldName = m_dialog->FieldNameForLabel(info.DisplayName);
        field = m_dataSet->FieldByName(info.FieldName);
    }
    const TFieldType type = field->DataType() == ftAutoInc ? ftInteger : field->DataType();
    if (info.MatchType == fdMatchRange) {
        const auto bound = [](const QString &text, auto convert) {
            using T = decltype(convert(text));
            return text.isEmpty() ? std::optional<T>() : std::optional<T>(convert(text));
        };
        switch (type) {
        case ftString: {
            QString text = fieldText(field), low = info.MinValue, high = info.MaxValue;
            if (!info.CaseSensitive) {
                text = text.toUpper(), low = low.toUpper(), high = high.toUpper();
            }
            const int pad = m_dialog->UpperRangePadChar();
            if (pad != 0 && !high.isEmpty() && high.size() < field->Size())
                high = high.leftJustified(field->Size(), QChar(pad));
            return withinBounds<QString>(text, bound(low, [](const QString &t) { return t; }),
                                         bound(high, [](const QString &t) { return t; }));
        }
        case ftSmallint:
        case ftInteger:
        case ftWord:
            return withinBounds<int>(field->AsInteger(), bound(info.MinValue, StrToInt),
                                     bound(info.MaxValue, StrToInt));
        case ftFloat:
        case ftCurrency:
        case ftBCD:
            return withinBounds<double>(field->AsFloat(), bound(info.MinValue, StrToFloat),
                                        bound(info.MaxValue, StrToFloat));
        case ftDate:
        case ftTime:
        case ftDateTime: {
            // An empty date is no day at all; read as a value it would be
            // 30.12.1899 and fall into ranges of the nineteenth century.
            if (field->IsNull())
                return info.MinValue.isEmpty() && info.MaxValue.isEmpty();
            const auto convert = [type](const QString &t) { return dateTimeOf(type, t); };
            return withinBounds<double>(field->AsDateTime(), bound(info.MinValue, convert),
                                        bound(info.MaxValue, convert));
        }
        default:
            return true;
        }
    }
    const TqkAlternatives alternatives = qkSplitAlternatives(info.FilterValue, m_dialog->FieldOperators());
    const bool memo = isMemo(field);
    QString text;
    if (memo) {
        text = field->AsString();
        if (qkLooksLikeRichText(text))
            text = qkRichTextToPlainText(text);
        text.truncate(qMax(0, qkFilterMemoSize() - 1));
    } else {
        text = fieldText(field);
    }
    if (!info.CaseSensitive)
        text = text.toUpper();
    bool result = !alternatives.any;
    for (QString alternative : alternatives.items) {
        if (!info.CaseSensitive)
            alternative = alternative.toUpper();
        std::optional<bool> match;
        if (alternative.compare(m_dialog->FieldOperators().NullChar(), Qt::CaseInsensitive) == 0) {
            match = text.isEmpty();
        } else {
            if (memo)
                alternative.truncate(255);
            switch (info.MatchType) {
            case fdMatchStart:
                match = text.startsWith(alternative);
                break;
            case fdMatchAny:
                match = text.contains(alternative);
                break;
            case fdMatchExact:
                match = memo ? text == alternative : typedEqual(alternative, text, type);
                break;
            case fdMatchEnd:
                if (!memo)
                    match = text.size() >= alternative.size() && text.endsWith(alternative);
                break;
            default:
                break;
            }
        }
        if (!match)
            continue;
        if (alternatives.any && *match)
            return true;
        if (!alternatives.any && !*match)
            return false;
    }
    return result;
}

// ---- the dialog

TqkFilterDialog::TqkFilterDialog(QObject *owner)
    : TqkCustomDialog(owner), m_dataLink(std::make_unique<TqkFilterDataLink>(this)),
      m_dummyForm(std::make_unique<TqkDummyForm>(this))
{}

TqkFilterDialog::~TqkFilterDialog()
{
    removeRecordTest();
    m_dataLink->SetDataSource(nullptr);
}

TDataSource *TqkFilterDialog::DataSource() const
{
    return m_dataLink->DataSource();
}

void TqkFilterDialog::SetDataSource(TDataSource *source)
{
    if (source == DataSource())
        return;
    removeRecordTest();
    if (source && source->DataSet() && source->DataSet()->inherits("TTable"))
        m_filterMethod = fdByFilter;
    m_dataLink->SetDataSource(source);
}

TDataSet *TqkFilterDialog::GetPrimaryDataSet()
{
    return DataSource() ? DataSource()->DataSet() : nullptr;
}

void TqkFilterDialog::SetFilterMethod(TqkFilterMethod method)
{
    TDataSet *dataSet = GetPrimaryDataSet();
    if (dataSet && !dataSet->inherits("TQuery") && !qkFindProperty(dataSet, QStringLiteral("Sql")).isValid()) {
        if (method != fdByFilter)
            showBox(QStringLiteral("Invalid FilterMethod for Dataset. \rOnly fdByFilter is supported for this type "
                                   "of Dataset"),
                    ui::MsgIcon::Warning);
        m_filterMethod = fdByFilter;
        return;
    }
    m_filterMethod = method;
}

void TqkFilterDialog::DoInitDialog(QWidget *dialog)
{
    if (OnInitDialog)
        OnInitDialog(dialog);
}

void TqkFilterDialog::DoSelectField(const QString &fieldName, QString &pictureMask, QStringList &comboList)
{
    if (OnSelectField)
        OnSelectField(this, fieldName, pictureMask, comboList);
}

void TqkFilterDialog::SetDlgHeight(int height)
{
    if (height > 267)
        m_dlgHeight = height;
}

const TqkDBFieldInfo *TqkFilterDialog::FindSearchableField(const QString &name) const
{
    for (const TqkDBFieldInfo &info : m_searchable)
        if (info.FieldName.compare(name, Qt::CaseInsensitive) == 0)
            return &info;
    return nullptr;
}

QString TqkFilterDialog::FieldNameForLabel(const QString &displayName) const
{
    for (const QString &line : m_selectedFields) {
        const QString label = line.section(QLatin1Char(';'), 1, 1);
        if (!label.isEmpty() && label.compare(displayName, Qt::CaseInsensitive) == 0)
            return line.section(QLatin1Char(';'), 0, 0);
    }
    QString fieldName;
    if (TDataSet *dataSet = const_cast<TqkFilterDialog *>(this)->GetPrimaryDataSet())
        qkFieldNameForDisplayLabel(dataSet, displayName, fieldName);
    return fieldName;
}

QString TqkFilterDialog::CriterionFieldName(const TqkFieldInfo &info) const
{
    const QString labelled = FieldNameForLabel(info.DisplayName);
    return labelled.isEmpty() ? info.FieldName : labelled;
}

void TqkFilterDialog::ClearFilter()
{
    m_fieldInfo.clear();
    TDataSet *dataSet = GetPrimaryDataSet();
    if (dataSet && m_filterMethod == fdByQueryModify && !m_savedSql.isEmpty() && qkSetSQL(dataSet, m_savedSql))
        m_savedSql.clear();
}

void TqkFilterDialog::ApplyFilter()
{
    m_showDialog = false;
    try {
        RefreshSearchableFields();
        Execute();
    } catch (...) {
        m_showDialog = true;
        throw;
    }
    m_showDialog = true;
}

namespace {
TqkFilterFormRunner &filterFormRunner()
{
    static TqkFilterFormRunner runner;
    return runner;
}
}

void qkSetFilterFormRunner(TqkFilterFormRunner runner)
{
    filterFormRunner() = std::move(runner);
}

bool TqkFilterDialog::Execute()
{
    TDataSet *dataSet = GetPrimaryDataSet();
    if (!dataSet)
        return false;
    if (!dataSet->Active() && m_filterMethod == fdByFilter) {
        showBox(QStringLiteral("Dataset must be active to perform local filtering (FilterMethod=fdByFilter)."),
                ui::MsgIcon::Stop);
        return false;
    }
    if (m_operators.OrChar() == m_operators.AndChar())
        showBox(QStringLiteral("And and Or Operators have the same value."), ui::MsgIcon::Warning);
    const ui::BusyCursor busy;
    if (m_showDialog)
        return runForm();
    applyCriteria();
    return true;
}

bool TqkFilterDialog::runForm()
{
    return filterFormRunner() && filterFormRunner()(*this);
}

// Cancel leaves the criteria and the data set exactly as they were.
bool TqkFilterDialog::ApplyFormResult(const TqkFilterFormResult &result, QWidget *form)
{
    if (!result.accepted)
        return false;
    if (!result.changed && (qkGetFilterOptions(GetPrimaryDataSet()) & ofoEnabled))
        return true;
    takeCriteria(result.criteria);
    m_shownForm = form;
    const auto formGone = qScopeGuard([this] { m_shownForm = nullptr; });
    applyCriteria();
    return true;
}

void TqkFilterDialog::takeCriteria(const std::vector<TqkFieldInfo> &criteria)
{
    m_fieldInfo.clear();
    for (const TqkFieldInfo &source : criteria) {
        auto info = std::make_unique<TqkFieldInfo>(source);
        if (info->DisplayName.isEmpty())
            info->DisplayName = info->FieldName;
        info->FieldName = CriterionFieldName(*info);
        m_fieldInfo.push_back(std::move(info));
    }
}

void TqkFilterDialog::applyCriteria()
{
    TDataSet *dataSet = GetPrimaryDataSet();
    qkSetFilterEnabled(dataSet, true);
    const bool sqlText = dataSet->inherits("TqkQuery") || qkFindProperty(dataSet, QStringLiteral("Sql")).isValid();
    if (!sqlText || m_filterMethod == fdByFilter)
        installLocalFilter(dataSet);
    else
        rewriteSql(dataSet);
}

void TqkFilterDialog::installLocalFilter(TDataSet *dataSet)
{
    if (!dataSet->Active())
        dataSet->Open();
    auto *table = qobject_cast<TqkTable *>(dataSet);
    const bool library = setLibraryFilter(dataSet, {});
    if (table && !table->MasterSource())
        optimiseRange(table);
    const bool any = !m_fieldInfo.empty();
    TqkDummyForm *form = m_dummyForm.get();
    const TFilterRecordEvent test =
        any ? TFilterRecordEvent([form](TDataSet *self, bool &accept) { form->RecordTest(self, accept); })
            : TFilterRecordEvent();
    if (library) {
        setLibraryFilter(dataSet, test);
    } else {
        dataSet->SetOnFilterRecord(test);
        dataSet->SetFiltered(true);
        dataSet->CheckBrowseMode();
        dataSet->First();
    }
    m_filteredDataSet = any ? dataSet : nullptr;
}

void TqkFilterDialog::removeRecordTest()
{
    TDataSet *dataSet = m_filteredDataSet;
    m_filteredDataSet = nullptr;
    if (!dataSet)
        return;
    if (!setLibraryFilter(dataSet, {}))
        dataSet->SetOnFilterRecord({});
}

void TqkFilterDialog::DataSetActiveChanged(bool active)
{
    if (active)
        return;
    TDataSet *dataSet = GetPrimaryDataSet();
    if (!m_fieldInfo.empty() && dataSet && dataSet->inherits("TBDEDataSet") && m_filterMethod == fdByFilter)
        qkSetFilterEnabled(dataSet, false);
    if (m_filterMethod == fdByFilter)
        ClearFilter();
}

void TqkFilterDialog::RefreshSearchableFields()
{
    m_searchable.clear();
    TDataSet *dataSet = GetPrimaryDataSet();
    if (!dataSet)
        return;
    if (m_filterMethod == fdByQueryModify) {
        refreshFromClause(dataSet);
        return;
    }
    for (TField *field : dataSet->FieldList())
        m_searchable.push_back({field->FieldName(), field->FieldName(), QString(), field->DataType(),
                                field->DisplayLabel(), field->Size()});
}
