#pragma once

namespace rtf {

// The character properties as RTF states them: font and colour as table
// indexes, size in half points. Colour index 0 is the automatic colour.
struct CharacterState
{
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool protect = false;
    int foreground = 0;
    int background = 0;
    bool operator==(const CharacterState &) const = default;
};

} // namespace rtf
