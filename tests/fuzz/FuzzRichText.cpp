#include "FuzzInput.h"

#include "lib/data/QkrichText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    qkLooksLikeRichText(text);
    qkRichTextToPlainText(text);
    qkRichTextToPlainText(QStringLiteral("{\\rtf1 ") + text);
    return 0;
}
