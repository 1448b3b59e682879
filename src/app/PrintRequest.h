#pragma once

#include <QString>

// The print side's copy of the request the order-processing product wrote
// into the ini file; filled at each activation and read by the print road.
struct TPrintRequest
{
    QString Modul;            // "ToPrint": names the request section
    QString FormFilterTyp;    // the form rows' "Typ", such as "Rechnung"
    QString FormTyp;          // "L" list or form, "E" label
    QString Datenbereich;     // "E" one record, "A" all, "M" the marked ones
    QString Datensatz;        // key of the record, or first key of a range
    QString Datensatz1;       // second key, end of a range
    QString Datenfilter;      // record filter, without the stored criteria
    QString FilterDefinition; // stored filter criteria behind "|qkFilter="
    QString Datenindex;       // index to use for the records
};

// The program paths of section "Init" as the activation leaves them: form,
// data and user path end with a separator, the others are kept as read.
struct TProgramPaths
{
    QString FormularPfad;
    QString DatenPfad;
    QString UserPfad;
    QString TempPfad;
    QString DatenpfadQRB;
};

// The one print-side request and the program paths of the running program.
TPrintRequest &PrintRequest();
TProgramPaths &ProgramPaths();
