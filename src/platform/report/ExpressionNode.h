#pragma once

#include "platform/report/Value.h"

#include <QList>
#include <QString>

#include <memory>

namespace report {

struct ExpressionNode
{
    enum class Kind { Literal, Name, Negate, Binary, Call };

    Kind kind = Kind::Literal;
    Value literal;
    QString name; // name, operator or function
    QList<std::shared_ptr<const ExpressionNode>> args;
};

using NodePtr = std::shared_ptr<const ExpressionNode>;

// Parses `source`; on a syntax error returns null and sets `error`.
NodePtr parseExpression(const QString &source, QString &error);

}
