#pragma once

#include <QString>

class QObject;

namespace db {

// Raises EDatabaseError with the component's name in front, as the
// framework did ("tblKunden: Feld 'X' nicht gefunden"); an unnamed
// component gives the text alone.
[[noreturn]] void raiseDataSetError(const QObject *component, const QString &text);

}
