#pragma once

#include "platform/report/Layout.h"

namespace report {

// Reads the text of a layout file; false with a German `error` when the text
// is foreign, of a newer version, truncated or malformed.
bool readLayoutText(const QString &text, Layout &layout, QString &error);

}
