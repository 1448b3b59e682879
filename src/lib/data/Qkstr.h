#pragma once

#include <QString>
#include <QStringList>

// Character sets are given as the string of their characters.
inline const QString qkBlankSet = QStringLiteral("\t ");

// Positions are 1-based. A token routine moves Pos past the token and sets it
// to -1 when nothing is left.

// A one-character separator is searched as it is; a longer one as a word with
// a blank on each side, without regard to case ("AND").
void strGetToken(const QString &text, const QString &separator, int &pos, QString &token);
// Every piece between separators, empty pieces included.
void strBreakApart(const QString &text, QChar separator, QStringList &list);
void strStripBoth(QString &text);
QString strStripLeading(const QString &text, const QString &set);
QString strStripTrailing(const QString &text, const QString &set);
QString strFilterChars(const QString &text, QChar ch);
QString strReplaceChar(const QString &text, QChar oldChar, QChar newChar);
QString strReplaceCharWithStr(const QString &text, QChar ch, const QString &str);
// Equal after upper-casing a to z only.
bool qkEqualStr(const QString &a, const QString &b);
int strCountChar(const QString &text, QChar ch);
QString strTextAfterChar(const QString &text, QChar ch);
// The lines separated by one blank or by CR LF, none after the last.
QString qkJoinQueryLines(const QStringList &lines, bool blankSeparated);

enum TqkTokenOption { tokSkipBlanks = 1, tokQuoted = 2, tokStripQuotes = 4, tokBlanksInToken = 8 };
void strGetTokenBySet(const QString &text, int &pos, int options, QString &token, const QString &set);
