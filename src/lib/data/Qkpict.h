#pragma once

#include "lib/data/Qktypes.h"

#include <QString>

#include <cstdint>

// Matches typed text against a picture mask (digits, letters, literals,
// optional parts, groups, repetitions and alternatives) and rewrites the text
// on the way: case conversions, the mask's own literals, and with AutoFill the
// literals that must follow.
class TqkPictureValidator
{
public:
    enum : std::uint16_t { voFill = 1 };

    TqkPictureValidator(const QString &mask, bool autoFill);
    virtual ~TqkPictureValidator() = default;

    // While typing: false only for a wrong character. A malformed mask
    // accepts anything.
    virtual bool IsValidInput(QString &text, bool suppressFill);
    // On leaving a field: true for a complete or empty text.
    virtual bool IsValid(const QString &text);
    virtual TqkPicResult Picture(QString &text, bool autoFill);

    // 0 = usable; 1 = the mask failed the syntax check at creation.
    std::uint16_t Status = 0;
    std::uint16_t Options = 0;
    QString Mask;
};

// True for an empty text or a text that the mask finds complete.
bool qkMaskAccepts(const QString &mask, const QString &text);

namespace qk {
// The matcher counted positions in 8 bits; longer masks and texts are
// refused rather than wrapped.
constexpr int maxMaskLength = 254;
constexpr int maxTextLength = 255;
constexpr int maxRepetitionCount = 255;

bool CheckMaskSyntax(const QString &mask);
// Letters as the Windows-1252 code page knows them: ASCII letters and every
// character whose code is above 128.
bool isPictureLetter(QChar c);
}
