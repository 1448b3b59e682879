#pragma once

#include "lib/data/Qktable.h"
#include "platform/db/QbeText.h"
#include "platform/db/TQuery.h"

class TqkQBE;
using TqkQBEFilterEvent = std::function<void(TqkQBE *qbe, bool &accept)>;

// The QBE text as SQL, the fields' types read from the tables it names
// (each opened briefly, so a missing one raises the engine's error).
db::QbeQuery qkTranslateQbe(const TDBDataSet &owner, const QString &text, bool blankAsZero);
// The fields the answer of a SELECT over the owner's tables has; the SELECT
// is run for them.
QVector<TFieldDef> qkAnswerFieldDefs(const TDBDataSet &owner, const QString &select);
// Writes the answer of a SELECT over the owner's tables as a new table file.
void qkWriteAnswerTable(const TDBDataSet &owner, const QString &select, const QString &path,
                        const TParams *params = nullptr);
// The same for an answer table named as the data sets name it: ":alias:file"
// in the alias's folder, any other name in the owner's database; an alias
// without a folder and a failure are said in a box.
void qkSaveAnswerTable(const TDBDataSet &owner, const QString &name, const QString &select, const TParams *params);

// The library's query-by-example data set: its QBE lines ("~name" replaced
// by the parameter's value) run as a query over the table files. A text
// that changes tables (Delete, Insert, changeto) runs and leaves the data
// set closed: there is no answer to show. With "AuxiliaryTables" it keeps
// what it changed in the tables Deleted, Inserted, Changed and KeyViol
// beside the answer table; without, each change runs whole or not at all.
class TqkQBE : public TSqlDataSet, public TqkDataSetExtras
{
    Q_OBJECT
    Q_PROPERTY(QStringList ControlType READ ControlType WRITE SetControlType)
    Q_PROPERTY(QStringList LookupFields READ LookupFields WRITE SetLookupFields)
    Q_PROPERTY(QStringList LookupLinks READ LookupLinks WRITE SetLookupLinks)
    Q_PROPERTY(QStringList PictureMasks READ PictureMasks WRITE SetPictureMasks)
    Q_PROPERTY(TqkInvalidValueEvent OnInvalidValue READ OnInvalidValue WRITE SetOnInvalidValue)
    Q_PROPERTY(TqkQBEFilterEvent OnFilter READ OnFilter WRITE SetOnFilter)
    Q_PROPERTY(TDataSetNotifyEvent OnFilterEscape READ OnFilterEscape WRITE SetOnFilterEscape)
    Q_PROPERTY(TqkOnFilterOptions OnFilterOptions READ OnFilterOptions WRITE SetOnFilterOptions)
    Q_PROPERTY(QStringList QBE READ QBE WRITE SetQBE)
    Q_PROPERTY(QString AnswerTable READ AnswerTable WRITE SetAnswerTable)
    Q_PROPERTY(bool AuxiliaryTables MEMBER m_auxiliaryTables)
    Q_PROPERTY(bool BlankAsZero MEMBER m_blankAsZero)
    Q_PROPERTY(TParams *Params READ Params)

public:
    explicit TqkQBE(QObject *owner = nullptr);
    ~TqkQBE() override;

    const QStringList &QBE() const { return m_qbe; }
    // An open data set runs the new text at once.
    void SetQBE(const QStringList &lines);
    const QString &AnswerTable() const { return m_answerTable; }
    void SetAnswerTable(const QString &name) { m_answerTable = name; }
    TqkQBEFilterEvent OnFilter() const { return m_onFilter; }
    void SetOnFilter(const TqkQBEFilterEvent &handler);
    TqkOnFilterOptions OnFilterOptions() const { return m_qkFilterOptions; }
    void SetOnFilterOptions(TqkOnFilterOptions options) { changeFilterOptions(this, options, bool(m_onFilter)); }
    bool IsSequenced() const override { return !m_onFilter && TSqlDataSet::IsSequenced(); }
    QVariant FilterFieldValue(const QString &fieldName);
    // The QBE lines with the parameters put in, as one text.
    QString PreparedQBE() const;

protected:
    QString queryText() const override;
    void openCursor() override;
    void closeCursor() override;
    void DoAfterOpen() override;
    void DoOnCalcFields() override;

private:
    void installQbeFilter();
    void runChanges(const QVector<db::QbeChange> &changes);
    // With "AuxiliaryTables": the changes write the language's auxiliary
    // tables into the folder of the answer table `answer` (without one, the
    // session's own folder), never over a table the user made, and a record
    // that would break a key is set aside there instead of undoing them.
    void runKeepingChanges(const QVector<db::QbeChange> &changes, const QString &answer);

    QStringList m_qbe;
    QString m_answerTable;
    bool m_auxiliaryTables = true;
    bool m_blankAsZero = true;
    TqkQBEFilterEvent m_onFilter;
    // The statement the data set runs: the answer's SELECT, or one change.
    QString m_sql;
};
