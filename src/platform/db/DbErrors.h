#pragma once

#include <QString>

class QObject;

namespace db {

// The engine error codes the tables report, as callers know them.
constexpr int recordChangedByOther = 8705;
constexpr int recordDeletedByOther = 8708;
constexpr int keyViolation = 9729;
constexpr int requiredFieldMissing = 9732;

// Raises EDatabaseError with the component's name in front, as the
// framework did ("tblKunden: Feld 'X' nicht gefunden"); an unnamed
// component gives the text alone.
[[noreturn]] void raiseDataSetError(const QObject *component, const QString &text);

// Whether SQLite refused a write for a key that another record holds: by a
// unique index, or by the triggers that guard blank keys.
bool breaksKey(int sqliteCode);

// Raises EDBEngineError recordDeletedByOther: the record being edited or
// deleted is gone from its table.
[[noreturn]] void raiseRecordDeletedByOther();

}
