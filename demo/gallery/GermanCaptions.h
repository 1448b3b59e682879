#pragma once

namespace gallery {

// Sets every caption, hint and message of the captions object that the
// gallery's windows show (filter dialog, memo dialog, month calendar, rich
// text window and its dialogs) to German. The library's own defaults stay
// as they are; only this program changes them.
void useGermanCaptions();

}
