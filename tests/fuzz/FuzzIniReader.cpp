#include "FuzzInput.h"

#include "platform/os/IniDocument.h"
#include "platform/runtime/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    IniDocument document(DecodeTextFile(fuzzBytes(data, size)).text);
    for (const QString &section : document.sections()) {
        for (const auto &entry : document.entries(section))
            document.value(section, entry.first, QString());
    }
    document.setValue(QStringLiteral("Init"), QStringLiteral("Datenfilter"), QStringLiteral("Nr = 1"));
    document.deleteKey(QStringLiteral("Init"), QStringLiteral("ToPrint"));
    document.eraseSection(QStringLiteral("Auftrag"));
    IniDocument(document.text()).sections();
    return 0;
}
