#pragma once

#include <QString>

#include <memory>

class TDataSet;
class TTable;

// The program's small utilities: message boxes, copying and deleting files by
// mask with German messages, number helpers, string helpers and choices.

// Message boxes; the caption may be empty.
void ShowError(const QString &caption, const QString &text);
void ShowErrorMsg(const QString &caption, const QString &text);
// A message box without icon, captioned with the application's title.
void ShowPlainMessage(const QString &text);
// Yes, No and Cancel; returns the result code (ui::IDYES, ui::IDNO, ui::IDCANCEL).
int AskYesNoCancel(const QString &text);

// File attribute bits as the suite's callers pass them.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faDirectory = 0x10;

// Copies one file; `target` may name an existing folder. 0 on success; on
// failure the reason has been shown and nothing is left at the target.
int CopyFile(const QString &source, const QString &target);
// Copies every file matching `mask` into `folder`, renamed to `newBaseName`
// plus its own extension when that is given. The number copied, or -1.
int CopyFiles(const QString &mask, const QString &folder, const QString &newBaseName);
// Deletes every file matching `mask`; the number deleted, or -1.
int DeleteFiles(const QString &mask);
bool HasAttr(const QString &fileName, int attributes);
bool DirectoryExists(const QString &path);
QString GetTempDir();
QString StripBackslash(const QString &path);
// The folder of a database alias; EDatabaseError when there is no such alias.
QString GetAliasPath(const QString &alias);
// Creates and opens a table into `table`, which the caller then owns; raises
// the data layer's error when the table cannot be opened.
bool OpenTable(std::unique_ptr<TTable> &table, const QString &databaseName, const QString &tableName);
// True when the data set stands at its beginning and at its end.
bool IsTableEmpty(TDataSet *dataSet);
// The command line of the default mail program, empty when none is registered.
QString GetDefaultMailClient();

// Numbers; rounding is decimal, half away from zero.
double RoundDec(int decimals, double value);
double Round2(double value);
QString FormatNumber(int decimals, double value);
// A German number ("1.234,5"); "." separates thousands, "," decimals, whatever
// the program's format settings say. An empty text is 0.
double StrToFloatDE(const QString &text);
bool IsNumeric(const QString &text);
int Max(int a, int b);

// Strings and choices.
QString Replicate(const QString &text, int count);
QString ReplaceFirst(const QString &text, const QString &oldText, const QString &newText);
QString RightStr(const QString &text, int count);
int IIFInt(bool condition, int whenTrue, int whenFalse);
QString IIFStr(bool condition, const QString &whenTrue, const QString &whenFalse);
double IIFFloat(bool condition, double whenTrue, double whenFalse);
unsigned char IIFByte(bool condition, unsigned char whenTrue, unsigned char whenFalse);

// Characters: the German letters count as letters.
bool IsLetter(QChar c);
bool IsDigit(QChar c);
bool IsLetterOrDigit(QChar c);
