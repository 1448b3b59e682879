#pragma once

#include "mail/formularmodul.h"

#include <QString>

// The message of the template error that the call raises, or a marker text
// when it raises none.
template <class Call>
QString FormularErrorOf(Call &&call)
{
    try {
        call();
    } catch (const EFormularerror &error) {
        return error.Message();
    }
    return QStringLiteral("<kein Fehler>");
}
