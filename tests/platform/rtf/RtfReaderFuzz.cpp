// The reader's fuzz target. Built alone with clang's -fsanitize=fuzzer it
// explores; inside the test executable the checked-in corpus is replayed
// through the same entry point.

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfTokenizer.h"
#include "platform/rtf/RtfWriter.h"

#include <QByteArrayView>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

#ifdef RTF_FUZZ_STANDALONE
#include <QGuiApplication>

// Laying out text loads fonts through fontconfig, whose caches live until
// the process ends; they are not the reader's.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}
#endif

// Whatever the reader accepts, the writer must turn into rich text the
// reader takes back without complaint.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    rtf::cutAfterFirstParagraph(input);
    rtf::normaliseLineEnds(input);
    QTextDocument document;
    if (!rtf::readRtf(input, document).isRichText)
        return 0;
    QTextDocument again;
    if (!rtf::readRtf(rtf::writeRtf(document), again).problems.isEmpty())
        __builtin_trap();
    return 0;
}
