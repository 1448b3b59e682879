#pragma once

#include <QString>
#include <QVariantList>

// The diagnostic trace of the help calls (part of the unit HH_Funcs).

// The text of one trace line, without its line end: "-" and "=" alone
// become a rule, texts starting with "!", "-" or "=" lose that character
// and carry no time, any other text follows the time and three blanks.
QString HHTraceLine(const QString &text, const QString &time);

// Formats one line and appends it to the trace file while the trace is on.
// A file that cannot be opened loses the line without a word.
void HHDebugLog(const QString &format, const QVariantList &args = {});

// The header at the start of a trace.
void HHWriteTraceHeader();
