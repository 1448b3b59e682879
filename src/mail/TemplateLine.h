#pragma once

#include <QString>
#include <QStringList>

class TFormatlist;

namespace mail {

// Turns one template text line (not a command or comment line) into its output
// lines: the line with every placeholder replaced and every bracket group
// resolved, then the continuation lines of wrapped values. An empty result
// means the line was dropped (a line group whose values were all empty).
// Raises EFormularerror for unknown names, bad formats, nested brackets and
// lines with too many placeholders.
QStringList renderTemplateLine(const QString &line, const TFormatlist &vocabulary, const QString &defaultDecimals);

} // namespace mail
