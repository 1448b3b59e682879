#pragma once

#include <QString>

// The plain text of rich text, as the filter dialog matches memo fields:
// destinations (font and colour tables, pictures, objects, field codes) are
// dropped, escapes decoded, paragraphs end in CR LF. Text that is not rich
// text is returned as it is.
QString qkRichTextToPlainText(const QString &richText);
bool qkLooksLikeRichText(const QString &text);
