#pragma once

#include "platform/db/DbTypes.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace db {

// The engine's code for query-by-example text it cannot read; the message
// names the word or line it did not understand.
constexpr int qbeNotUnderstood = 11777;

[[noreturn]] void refuseQbe(const QString &what);

enum class QbeCheck { None, Check, CheckPlus, CheckDescending };

// What one cell of an example row asks, read but not yet turned into SQL.
struct QbeCell
{
    QbeCheck check = QbeCheck::None;
    // The bare example element of the cell ("_k"): the field's value under
    // that name, joining every other field that carries it bare.
    QString element;
    // Conditions: the alternatives ("or") of comma-joined items ("and").
    QList<QStringList> alternatives;
    QString calc;
    QString calcName;
    QString changeTo;

    bool isEmpty() const;
    // Every example element the cell names, bare or inside an expression.
    QStringList elementsNamed() const;
};

// Raises EDBEngineError qbeNotUnderstood for words outside the language.
QbeCell readQbeCell(const QString &text);
QbeCheck qbeCheckWord(const QString &word);

// Where the example elements of a statement stand.
class QbeElements
{
public:
    virtual ~QbeElements() = default;
    // The column the element stands for; refuses an element never written
    // bare in a field.
    virtual QString columnOf(const QString &element) const = 0;
    virtual TFieldType typeOf(const QString &element) const = 0;
};

struct QbeColumn
{
    QString sql;
    TFieldType type = ftUnknown;
};

struct QbeSettings
{
    bool blankAsZero = true;
    QDate today = QDate::currentDate();
};

// One condition item of a cell ("> 5", "not blank", "Sm..", "_k * 2") as
// SQL on the column.
QString qbeConditionSql(const QbeColumn &column, const QString &item, const QbeElements &elements,
                        const QbeSettings &settings);
// A value: a constant typed by the column it goes into, "today" with days
// added, or arithmetic over example elements and numbers.
QString qbeValueSql(const QString &text, TFieldType targetType, const QbeElements &elements,
                    const QbeSettings &settings);
// What "calc" answers: arithmetic, "today" with days, or a constant in
// double quotes or a number; a bare word is no calculation.
QString qbeCalculationSql(const QString &text, const QbeElements &elements, const QbeSettings &settings);
// A column as numeric conditions and calculations read it.
QString qbeNumericColumn(const QbeColumn &column, const QbeSettings &settings);

}
