#pragma once

#include "platform/runtime/Exceptions.h"

#include <QString>

// The framework's pattern of a Try... routine and its raising twin: the
// message quotes the text, as in "'abc' ist kein gültiger Integerwert".
template <typename T>
T ConvertOrRaise(const QString &text, bool (*tryConvert)(const QString &, T &), const char *complaint)
{
    T value{};
    if (!tryConvert(text, value))
        throw EConvertError(QLatin1Char('\'') + text + QStringLiteral("' ") + QString::fromUtf8(complaint));
    return value;
}

template <typename T>
T ConvertOrDefault(const QString &text, bool (*tryConvert)(const QString &, T &), T defaultValue)
{
    T value{};
    return tryConvert(text, value) ? value : defaultValue;
}
