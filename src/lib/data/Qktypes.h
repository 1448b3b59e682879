#pragma once

#include <QFlags>

#include <cstdint>
#include <functional>

class TDataSet;
class TField;

// Result of matching a text against a picture mask. The last two values only
// occur inside the matcher; callers of Picture never see them.
enum TqkPicResult : std::uint8_t {
    picComplete,
    picIncomplete,
    picEmpty,
    picError,
    picSyntax,
    picAmbiguous,
    picIncompleteNoFill
};

enum TqkFilterMatchType {
    fdMatchStart = 0,
    fdMatchAny = 1,
    fdMatchExact = 2,
    fdMatchEnd = 3,
    fdMatchRange = 4,
    fdMatchNone = 5
};

// The values are the bits the data sets store in "OnFilterOptions".
enum TqkOnFilterOption { ofoEnabled = 1, ofoShowHourGlass = 2, ofoCancelOnEscape = 4 };
Q_DECLARE_FLAGS(TqkOnFilterOptions, TqkOnFilterOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqkOnFilterOptions)

inline const TqkOnFilterOptions qkDefaultFilterOptions{ofoEnabled, ofoShowHourGlass};

using TqkInvalidValueEvent = std::function<void(TDataSet *dataSet, TField *field)>;

enum TqkCheckBoxInGridStyle { cbStyleAuto, cbStyleCheckmark, cbStyleXmark };

enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)
