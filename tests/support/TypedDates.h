#pragma once

// What users type into a date or time picker and what is kept, run for every
// control that hosts one. The clock stands at 2026-12-05; the typing starts
// with the whole text selected after `lastField` was used.
namespace typed {

struct DateTyping
{
    const char *what;
    bool time;           // a time of day instead of a date
    const char *holding; // the value before, as shown; empty: none
    int lastField;
    const char *keys;
    const char *kept; // the value stored afterwards, as shown; empty: none
    int beeps;
    const char *refusal; // the message at the end of the typing, quoting the text kept for correcting
};

inline constexpr DateTyping dateTypings[] = {
    {"typing over the whole text starts at the day", false, "15.06.2000", 3, "03.04.2028", "03.04.2028", 0, ""},
    {"a day the month cannot hold waits for the month", false, "15.06.2000", 1, "31.12.2024", "31.12.2024", 0, ""},
    {"29 February waits for its leap year", false, "13.05.1887", 1, "29.02.2024", "29.02.2024", 0, ""},
    {"an empty control takes the typed month and year", false, "", 1, "29.02.2024", "29.02.2024", 0, ""},
    {"a refused digit leaves the typing to be refused whole", false, "", 1, "0113", "", 1,
     "„01.13.2026“ ist kein gültiges Datum."},
    {"30.12.1899, the day values count from, is a date", false, "15.06.2000", 1, "30121899", "30.12.1899", 0, ""},
    {"a separator ends a single digit", false, "31.05.2000", 1, "1.3.2024", "01.03.2024", 0, ""},
    {"a date still invalid at the end is refused", false, "15.06.2000", 1, "31.06.2000", "15.06.2000", 0,
     "„31.06.2000“ ist kein gültiges Datum."},
    {"typing over a time starts at the hour", true, "07:12", 2, "23:58", "23:58", 0, ""},
    {"midnight typed over a time is kept", true, "08:30", 1, "0000", "00:00", 0, ""},
    {"an hour beyond the day is refused whole", true, "08:30", 1, "2530", "08:30", 1,
     "„25:30“ ist keine gültige Uhrzeit."},
};

}
