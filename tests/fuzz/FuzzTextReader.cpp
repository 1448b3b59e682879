#include "FuzzInput.h"

#include "platform/runtime/Cp1252.h"
#include "platform/runtime/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const TextFileContent content = DecodeTextFile(bytes);
    bool lossless = false;
    const QByteArray encoded = cp1252::encode(content.text, &lossless);
    // What the code page decoded, it encodes back byte for byte.
    if (content.encoding == TextEncoding::Windows1252 && !bytes.startsWith("\xEF\xBB\xBF") && lossless
        && encoded != bytes)
        __builtin_trap();
    return 0;
}
