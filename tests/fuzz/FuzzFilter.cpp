#include "FuzzInput.h"

#include "platform/db/FilterExpression.h"
#include "platform/runtime/Exceptions.h"

namespace {

const QVector<db::FilterColumn> columns{{QStringLiteral("Nr"), ftInteger},    {QStringLiteral("Name"), ftString},
                                        {QStringLiteral("Umsatz"), ftFloat},  {QStringLiteral("Seit"), ftDate},
                                        {QStringLiteral("Aktiv"), ftBoolean}, {QStringLiteral("Notiz"), ftMemo}};

db::Row sampleRow()
{
    db::Row row;
    row.values = {QVariant(qint64(7)), QVariant(QStringLiteral("Müller")),
                  QVariant(12.5),      QVariant(QStringLiteral("2024-02-29")),
                  QVariant(qint64(1)), QVariant()};
    return row;
}

}

// A record filter as a request gives it: parsed, bound to the columns of a
// table, evaluated on a record and translated to SQL. Only the database
// error may leave.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (TFilterOptions options : {0, int(foCaseInsensitive)}) {
        try {
            auto expression = db::FilterExpression::parse(fuzzText(data, size), options);
            expression->bind(columns);
            expression->evaluate(sampleRow());
            db::SqlCondition sql;
            expression->toSql(sql);
        } catch (const EDatabaseError &) {
        } catch (const EConvertError &) {
        }
    }
    return 0;
}
