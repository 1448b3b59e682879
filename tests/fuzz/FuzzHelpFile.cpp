#include "FuzzInput.h"

#include "platform/help/ChmStructures.h"

// The parts of a help file that our own code reads: the system header, the
// context map with its strings, the contents and page titles. The archive
// itself is decoded by the help viewer's own process.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    help::parseSystemInfo(bytes);
    const qsizetype half = bytes.size() / 2;
    help::parseContextMap(bytes.left(half), bytes.mid(half));
    const QString text = help::decodeHelpText(bytes);
    help::parseSitemap(text);
    help::pageTitle(text);
    return 0;
}
