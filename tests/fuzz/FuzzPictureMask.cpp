#include "FuzzInput.h"

#include "lib/data/Qkpict.h"

// First line: the mask; the rest: the text typed.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto [mask, typed] = fuzzPair(data, size);
    for (bool autoFill : {false, true}) {
        TqkPictureValidator validator(mask, autoFill);
        QString text = typed;
        const TqkPicResult result = validator.Picture(text, autoFill);
        if (result > picSyntax)
            __builtin_trap();
        validator.IsValid(typed);
    }
    qkMaskAccepts(mask, typed);
    return 0;
}
