#pragma once

#include "platform/report/Value.h"

#include <QList>
#include <QString>

namespace report {

// An empty text when `name` is a layout function taking `argc` arguments,
// else the German reason why the call is wrong.
QString checkFunction(const QString &name, int argc);

Value callFunction(const QString &name, const QList<Value> &args);

// Formats a date ("dd.mm.yyyy" text or a day number counted from
// 30.12.1899) with d, dd, ddd, dddd, m, mm, mmm, mmmm, yy and yyyy.
QString formatDate(const Value &date, const QString &format);

}
