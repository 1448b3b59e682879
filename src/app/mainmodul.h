#pragma once

#include "app/PrintRequest.h"

#include <QString>

class TIniFile;

// The program's settings and the print request, both in the ini file beside
// the executable. Every reader opens the file afresh: the calling product
// rewrites it between activations.

// The ini file beside the executable ("Tintlen.ini"; the file system
// stand-in finds it in any case of its name).
QString ProgramIniPath();

// The e-mail side's copy of the request, filled by ReadPrintRequest.
struct TEmailRequest
{
    QString Modul;
    QString FormFilterTyp;
    QString FormTyp;
    QString Datensatz;
    QString Datenbereich;
    QString Datenfilter;
    bool IstAuftrag = false; // sales module ("Auftrag")
    bool Einzeln = false;    // one record (data range "E")
};
TEmailRequest &EmailRequest();

// The e-mail side's data and form path, without a trailing separator.
struct TEmailPaths
{
    QString DatenPfad;
    QString FormularPfad;
};
TEmailPaths &EmailPaths();

// The application's help file and whether it is a compiled HTML help file.
struct THelpSetting
{
    QString HelpFile;
    bool HtmlHelp = false;
};
THelpSetting &HelpSetting();

void ReadPrintRequest();
void ReadDataPaths();
void ReadHelpFile();

// The print side's rule for a record key: one apostrophe goes from its
// start, then one from its end ("''7''" keeps the inner pair).
QString StripOneApostrophe(const QString &key);
// The e-mail side's rule: every apostrophe at the start, then at the end.
QString StripAllApostrophes(const QString &key);

// A record filter with the stored filter-dialog criteria cut off behind
// "|qkFilter=".
struct TSplitFilter
{
    QString RecordFilter;
    QString FilterDefinition;
};
TSplitFilter SplitStoredFilter(const QString &filter);

// Section "Init"'s paths as written there.
TProgramPaths ReadProgramPaths(const TIniFile &ini);
// The message of the first path check that fails, or an empty text.
QString CheckProgramPaths(const TProgramPaths &paths);
// Form, data and user path end with a separator afterwards.
void AddPathSeparators(TProgramPaths &paths);

// The request's module ("ToPrint") and its section as written there.
TPrintRequest ReadRequestSection(const TIniFile &ini);
// The message of the first request check that fails, or an empty text.
QString CheckPrintRequest(const TPrintRequest &request);
// Keys without their enclosing apostrophes (the ini reader has trimmed the
// values already; blanks inside the apostrophes belong to the key), stored
// criteria split off.
void NormalizePrintRequest(TPrintRequest &request);
