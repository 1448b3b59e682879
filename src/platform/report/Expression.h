#pragma once

#include "platform/report/Definitions.h"
#include "platform/report/Value.h"

#include <QList>
#include <QString>

#include <memory>

namespace report {

struct ExpressionNode;

// An expression of a layout: names of variables and fields, number and text
// literals, + - * /, comparisons and the layout functions (If, FStr, Date$,
// Str$, Left$, Right$, Len, Trim, Upper$, Empty). Unknown names evaluate as
// null; a syntax error makes an expression invalid.
class Expression
{
public:
    Expression() = default;
    explicit Expression(const QString &source);

    const QString &source() const { return m_source; }
    bool isValid() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    Value evaluate(const NameScope &scope) const;
    // The variable and field names it refers to, in order of appearance.
    QStringList names() const;

private:
    QString m_source;
    QString m_error;
    std::shared_ptr<const ExpressionNode> m_root;
};

}
