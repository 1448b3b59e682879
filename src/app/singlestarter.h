#pragma once

#include <QString>

namespace os {
class SingleInstanceLock;
}

// The name every copy of the print program locks; a second copy finds it taken.
inline const QString SingleInstanceName = QStringLiteral("Kuvertalia Druck");

// Takes the program-wide lock into `lock`. When another copy holds it, tells
// the user so and returns false: this copy must end at once, leaving the
// running one as it is.
bool AcquireSingleInstance(os::SingleInstanceLock &lock);
