#pragma once

#include "platform/report/Layout.h"

namespace report {

// Reads the text of a layout file; false with a German `error` when the text
// is foreign, of a newer version, truncated or malformed.
bool readLayoutText(const QString &text, Layout &layout, QString &error);

// Reads what can be read of the text of a damaged layout of ours: a missing
// end is taken as the end, a line that cannot be read is left out, and so
// are the lines of a section that cannot be read. False with `error` when
// the text is foreign or of a newer version.
bool salvageLayoutText(const QString &text, Layout &layout, QString &error);

}
