#pragma once

#include <QString>
#include <QStringList>

// The framework's string-list rules on QStringList.

// Items with blanks, control characters, quotes or commas are quoted with
// '"' (inner quotes doubled); an empty item stays empty ("a,,b"), except a
// list of one empty item, which gives "\"\"".
QString CommaText(const QStringList &list);
// The reverse, with the framework's quirks: blanks separate items as
// commas do, "a,,b" gives three items, a comma at the very end gives an
// empty last item ("a," -> "a", ""), but a comma followed by blanks at the
// end does not ("a, " -> "a"). An unclosed quote runs to the end.
QStringList FromCommaText(const QString &text);

// Each line followed by CR LF.
QString Text(const QStringList &list);
// Lines end at CR LF, LF or CR; a final line break adds no empty line.
QStringList FromText(const QString &text);

// "name=value": the text before the first '=', and after it; a line
// without '=' has neither.
QString NameOfLine(const QString &line);
QString ValueOfLine(const QString &line);
// Names match without regard to case.
int IndexOfName(const QStringList &list, const QString &name);
QString Values(const QStringList &list, const QString &name);
// Replaces or appends the line; an empty value removes the line.
void SetValue(QStringList &list, const QString &name, const QString &value);
int IndexOfText(const QStringList &list, const QString &text);
