#pragma once

#include "lib/data/Qktypes.h"
#include "lib/data/qkDialog.h"
#include "platform/db/DbTypes.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TDataSource.h"

#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TDataSet;
class TDataSource;
class TField;
class TqkFilterDialog;
class TqkTable;
class TQuery;
class QWidget;

// One criterion on one field.
struct TqkFieldInfo
{
    QString FieldName;
    QString DisplayName;
    TqkFilterMatchType MatchType = fdMatchStart;
    QString FilterValue;
    QString MinValue;
    QString MaxValue;
    bool CaseSensitive = false;
    bool NonMatching = false;
};

// One field the dialog offers for searching.
struct TqkDBFieldInfo
{
    QString FieldName;
    QString SqlFieldName;
    QString TableName;
    TFieldType FieldType = ftUnknown;
    QString DisplayLabel;
    int Size = 0;
};

enum TqkFilterMethod { fdByFilter = 0, fdByQueryModify = 1 };
enum TqkDefaultFilterBy { fdSmartFilter, fdFilterByRange, fdFilterByValue };
enum TqkFilterDialogSort { fdSortByFieldNo, fdSortByFieldName };
enum TqkFilterDialogOption {
    fdCaseSensitive = 1,
    fdShowCaseSensitive = 2,
    fdShowOKCancel = 4,
    fdShowViewSummary = 8,
    fdShowFieldOrder = 16,
    fdShowValueRangeTab = 32,
    fdShowNonMatching = 64
};
Q_DECLARE_FLAGS(TqkFilterDialogOptions, TqkFilterDialogOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqkFilterDialogOptions)
enum TqkFilterOptimization { fdNone, fdUseAllIndexes, fdUseActiveIndex };
enum TqkQueryFormatDateMode { qfdMonthDayYear, qfdDayMonthYear, qfdYearMonthDay };

// The words inside a search value that join alternatives and stand for an
// empty field.
class TqkFieldOperators
{
public:
    const QString &OrChar() const { return m_words[0]; }
    const QString &AndChar() const { return m_words[1]; }
    const QString &NullChar() const { return m_words[2]; }
    void SetOrChar(const QString &word) { setWord(0, word); }
    void SetAndChar(const QString &word) { setWord(1, word); }
    void SetNullChar(const QString &word) { setWord(2, word); }

private:
    void setWord(int index, const QString &word);
    QString m_words[3] = {QStringLiteral("or"), QStringLiteral("and"), QStringLiteral("null")};
};

// The alternatives of a search value and whether they are joined by the
// or-word (any may match) or by the and-word or nothing (all must match).
struct TqkAlternatives
{
    QStringList items;
    bool any = false;
};
TqkAlternatives qkSplitAlternatives(const QString &value, const TqkFieldOperators &words);

class TqkFilterDataLink : public TDataLink
{
    Q_OBJECT

public:
    explicit TqkFilterDataLink(TqkFilterDialog *dialog);

protected:
    void ActiveChanged() override;

private:
    TqkFilterDialog *m_dialog;
};

// Holds the per-record test the dialog installs on its data set.
class TqkDummyForm : public QObject
{
    Q_OBJECT

public:
    explicit TqkDummyForm(TqkFilterDialog *dialog);
    void RecordTest(TDataSet *dataSet, bool &accept);

private:
    bool criterionTest(TqkFieldInfo &info);
    QString fieldText(TField *field) const;

    TqkFilterDialog *m_dialog;
    TDataSet *m_dataSet = nullptr;
};

// What the search form answers: whether it was closed with OK, whether any
// criterion was added, removed or altered, and the criteria it holds.
struct TqkFilterFormResult
{
    bool accepted = false;
    bool changed = false;
    std::vector<TqkFieldInfo> criteria;
};
// The search form is a window and lives with the window controls, above this
// layer; it hands its runner in here. Without one Execute shows nothing. The
// runner hands the form's answer to ApplyFormResult while the form stands
// and answers what that answers.
using TqkFilterFormRunner = std::function<bool(TqkFilterDialog &dialog)>;
void qkSetFilterFormRunner(TqkFilterFormRunner runner);

// The library's search dialog. The program applies stored criteria with it
// without showing it: DataSource, ClearFilter, FieldInfo, ApplyFilter.
class TqkFilterDialog : public TqkCustomDialog
{
    Q_OBJECT
    Q_PROPERTY(TDataSource *DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(int Options READ OptionsOrdinal WRITE SetOptionsOrdinal)
    Q_PROPERTY(int SortBy MEMBER m_sortBy)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int FilterMethod READ FilterMethod WRITE SetFilterMethodOrdinal)
    Q_PROPERTY(int DefaultMatchType MEMBER m_defaultMatchType)
    Q_PROPERTY(int DefaultFilterBy MEMBER m_defaultFilterBy)
    Q_PROPERTY(QString DefaultField MEMBER m_defaultField)
    Q_PROPERTY(QStringList SelectedFields READ SelectedFields WRITE SetSelectedFields)
    Q_PROPERTY(int FilterOptimization READ FilterOptimization WRITE SetFilterOptimizationOrdinal)
    Q_PROPERTY(int UpperRangePadChar READ UpperRangePadChar WRITE SetUpperRangePadChar)
    Q_PROPERTY(int DlgHeight READ DlgHeight WRITE SetDlgHeight)
    Q_PROPERTY(int QueryFormatDateMode READ QueryFormatDateMode WRITE SetQueryFormatDateModeOrdinal)

public:
    explicit TqkFilterDialog(QObject *owner = nullptr);
    ~TqkFilterDialog() override;

    TDataSource *DataSource() const;
    void SetDataSource(TDataSource *source);
    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &caption) { m_caption = caption; }
    TqkFilterMethod FilterMethod() const { return m_filterMethod; }
    void SetFilterMethod(TqkFilterMethod method);
    void SetFilterMethodOrdinal(int method) { SetFilterMethod(TqkFilterMethod(method)); }
    const QStringList &SelectedFields() const { return m_selectedFields; }
    void SetSelectedFields(const QStringList &lines) { m_selectedFields = lines; }
    TqkFilterOptimization FilterOptimization() const { return m_optimization; }
    void SetFilterOptimization(TqkFilterOptimization optimization) { m_optimization = optimization; }
    void SetFilterOptimizationOrdinal(int value) { m_optimization = TqkFilterOptimization(value); }
    int UpperRangePadChar() const { return m_upperRangePadChar; }
    void SetUpperRangePadChar(int character) { m_upperRangePadChar = character; }
    int DlgHeight() const { return m_dlgHeight; }
    void SetDlgHeight(int height);
    TqkQueryFormatDateMode QueryFormatDateMode() const { return m_dateMode; }
    void SetQueryFormatDateModeOrdinal(int mode) { m_dateMode = TqkQueryFormatDateMode(mode); }
    TqkFieldOperators &FieldOperators() { return m_operators; }
    bool QuoteAlways() const { return m_quoteAlways; }
    void SetQuoteAlways(bool quote) { m_quoteAlways = quote; }

    std::vector<std::unique_ptr<TqkFieldInfo>> &FieldInfo() { return m_fieldInfo; }
    const std::vector<TqkDBFieldInfo> &SearchableFields() const { return m_searchable; }
    const TqkDBFieldInfo *FindSearchableField(const QString &name) const;
    const QStringList &SavedSQL() const { return m_savedSql; }

    bool Execute() override;
    TDataSet *GetPrimaryDataSet() override;
    void ClearFilter();
    void ApplyFilter();
    // Takes the shown search form's answer; false for Cancel.
    bool ApplyFormResult(const TqkFilterFormResult &result, QWidget *form);
    void DataSetActiveChanged(bool active);
    void RefreshSearchableFields();

    // The field name for a criterion without one, from its display name.
    QString FieldNameForLabel(const QString &displayName) const;
    // The field a criterion of the form stands for: the one its label names,
    // else the one the form named (a field of a query's table that the query
    // does not return).
    QString CriterionFieldName(const TqkFieldInfo &info) const;
    // The query's SQL with the condition lines inserted before its first
    // clause after WHERE (an existing condition bracketed); `firstInserted`
    // gets the line the first of them stands on.
    static QStringList insertConditions(const QStringList &sqlLines, const QStringList &conditions,
                                        int *firstInserted = nullptr);

    TqkFilterDialogOptions Options() const { return m_options; }
    void SetOptions(TqkFilterDialogOptions options) { m_options = options; }
    int OptionsOrdinal() const { return m_options.toInt(); }
    void SetOptionsOrdinal(int options) { m_options = TqkFilterDialogOptions::fromInt(options); }

    // The dialog form does not exist without a window, so the events that
    // hand it over get none.
    std::function<void(QWidget *dialog)> OnInitDialog;
    std::function<void(QWidget *dialog, TQuery *query)> OnExecuteSQL;
    std::function<void(QObject *sender, const QString &fieldName, QString &pictureMask, QStringList &comboList)>
        OnSelectField;
    void DoInitDialog(QWidget *dialog);
    void DoSelectField(const QString &fieldName, QString &pictureMask, QStringList &comboList);

    // May replace the text a date or time is written into SQL as.
    std::function<void(TDateTime value, TFieldType type, const QString &fieldName, QString &text)> OnEncodeDateTime;

private:
    void applyCriteria();
    bool runForm();
    void takeCriteria(const std::vector<TqkFieldInfo> &criteria);
    void installLocalFilter(TDataSet *dataSet);
    void removeRecordTest();
    void optimiseRange(TDataSet *dataSet);
    bool setRangeFor(TqkTable &table, const TqkFieldInfo &info) const;
    bool rewriteSql(TDataSet *dataSet);
    QStringList conditionLines(const TqkFieldInfo &info, const TqkDBFieldInfo &field, bool first) const;
    QStringList conditionOnly(const TqkFieldInfo &info, const TqkDBFieldInfo &field) const;
    QString dateText(const QString &value, TFieldType type, const QString &fieldName) const;
    void refreshFromClause(TDataSet *dataSet);
    void addTableFields(TDataSet *dataSet, const QString &tableName, const QString &alias);

    std::unique_ptr<TqkFilterDataLink> m_dataLink;
    std::unique_ptr<TqkDummyForm> m_dummyForm;
    // The search form while its answer is applied (OnExecuteSQL gets it).
    QWidget *m_shownForm = nullptr;
    TqkFilterDialogOptions m_options{fdShowCaseSensitive, fdShowOKCancel, fdShowViewSummary, fdShowFieldOrder,
                                     fdShowValueRangeTab};
    int m_sortBy = fdSortByFieldNo;
    QString m_caption;
    TqkFilterMethod m_filterMethod = fdByFilter;
    int m_defaultMatchType = fdMatchStart;
    int m_defaultFilterBy = fdSmartFilter;
    QString m_defaultField;
    QStringList m_selectedFields;
    TqkFieldOperators m_operators;
    TqkFilterOptimization m_optimization = fdNone;
    int m_upperRangePadChar = 'z';
    int m_dlgHeight = 267;
    TqkQueryFormatDateMode m_dateMode = qfdMonthDayYear;
    bool m_quoteAlways = false;
    QStringList m_savedSql;
    std::vector<TqkDBFieldInfo> m_searchable;
    bool m_showDialog = true;
    bool m_rangeSet = false;
    std::optional<QString> m_indexBeforeRange;
    std::vector<std::unique_ptr<TqkFieldInfo>> m_fieldInfo;
    // The data set carrying this dialog's record test, so that the test
    // goes when the dialog or its data source does.
    QPointer<TDataSet> m_filteredDataSet;
};
