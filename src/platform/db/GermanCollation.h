#pragma once

#include <QString>

struct sqlite3;

namespace db {

// Names of the collations that indexes and comparisons of text use. Letters
// compare as a German reader expects: umlauts next to their base letter,
// "ß" as "ss", then accents, then (case-sensitive only) lower before upper.
inline constexpr const char *germanCollation = "GERMAN";
inline constexpr const char *germanNoCaseCollation = "GERMAN_NOCASE";

int compareGerman(const QString &left, const QString &right, bool caseSensitive);
// The text as the first sorting level sees it (base letters in lower case,
// "ß" as "ss"): the lowest of all texts that sort with it at that level, in
// either collation.
QString germanPrimaryForm(const QString &text);
int compareGermanUtf8(const char *left, int leftSize, const char *right, int rightSize, bool caseSensitive);
void registerGermanCollations(sqlite3 *handle);
// upper() and lower() for every letter (not only ASCII) and LIKE with the
// case rule of GERMAN_NOCASE, so that SQL text answers as the tables'
// case-free indexes do.
void registerGermanFunctions(sqlite3 *handle);
// A text in the case-free form GERMAN_NOCASE compares equal by (lower case:
// upper-casing would turn "ß" into "SS", which the collation keeps apart).
QString germanCaseFold(const QString &text);

}
