#pragma once

#include "mail/Variant.h"

class TFormatlist;

namespace mail {

// The template language's small evaluator: comparisons bind weakest, then
// "+"/"-", then "*"/"/", evaluated left to right, no parentheses; names
// ("#...") resolve in the vocabulary. Refused operations raise EFormularerror.
Variant EvaluateTemplateExpression(const QString &expression, const TFormatlist &vocabulary);

// Removes leading and trailing blanks and control characters.
QString TrimControl(const QString &text);
QString TrimControlRight(const QString &text);

} // namespace mail
