#pragma once

#include "lib/data/Qktable.h"
#include "platform/db/TQuery.h"

class TqkQuery;
using TqkQueryFilterEvent = std::function<void(TqkQuery *query, bool &accept)>;

// The library's query: the table's per-field settings and record filter over
// SQL text.
class TqkQuery : public TQuery, public TqkDataSetExtras
{
    Q_OBJECT
    Q_PROPERTY(QStringList ControlType READ ControlType WRITE SetControlType)
    Q_PROPERTY(QStringList LookupFields READ LookupFields WRITE SetLookupFields)
    Q_PROPERTY(QStringList LookupLinks READ LookupLinks WRITE SetLookupLinks)
    Q_PROPERTY(QStringList PictureMasks READ PictureMasks WRITE SetPictureMasks)
    Q_PROPERTY(bool ValidateWithMask READ ValidateWithMask WRITE SetValidateWithMask)
    Q_PROPERTY(TqkInvalidValueEvent OnInvalidValue READ OnInvalidValue WRITE SetOnInvalidValue)
    Q_PROPERTY(TqkQueryFilterEvent OnFilter READ OnFilter WRITE SetOnFilter)
    Q_PROPERTY(TDataSetNotifyEvent OnFilterEscape READ OnFilterEscape WRITE SetOnFilterEscape)
    Q_PROPERTY(TqkOnFilterOptions OnFilterOptions READ OnFilterOptions WRITE SetOnFilterOptions)
    Q_PROPERTY(QString AnswerTable READ AnswerTable WRITE SetAnswerTable)

public:
    explicit TqkQuery(QObject *owner = nullptr);
    ~TqkQuery() override;

    TqkQueryFilterEvent OnFilter() const { return m_onFilter; }
    void SetOnFilter(const TqkQueryFilterEvent &handler);
    TqkOnFilterOptions OnFilterOptions() const { return m_qkFilterOptions; }
    void SetOnFilterOptions(TqkOnFilterOptions options) { changeFilterOptions(this, options, bool(m_onFilter)); }
    bool IsSequenced() const override { return !m_onFilter && TQuery::IsSequenced(); }
    QVariant FilterFieldValue(const QString &fieldName);
    // With a name the answer is also written as that table file on opening,
    // as the QBE data set does.
    const QString &AnswerTable() const { return m_answerTable; }
    void SetAnswerTable(const QString &name) { m_answerTable = name; }

protected:
    void openCursor() override;
    void DoAfterOpen() override;
    void DoBeforePost() override;
    void DoOnCalcFields() override;
    void closeCursor() override;

private:
    void installQueryFilter();

    TqkQueryFilterEvent m_onFilter;
    QString m_answerTable;
};
