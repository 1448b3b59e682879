#pragma once

#include <QString>

class TTable;

// The layout or template files that go with a form row, and the before-delete
// road that may delete them with the row.

// Where a side's files lie and how they are named: print rows test for
// ".lst" (".lbl" for labels) and delete every ".l*" file of the base name;
// e-mail rows test for and delete ".frm".
struct TFormFileSide
{
    QString formPath;      // with or without a trailing separator
    QString testExtension; // ".lst", ".lbl" or ".frm"
    QString maskExtension; // ".l*" or ".frm"
    bool emailRows = false;
};

// The files of one row's "DateiErsteSeite".
struct TFormRowFiles
{
    // The name starts with a point: the row is not deleted at all.
    bool refused = false;
    // The file whose presence is asked about; empty when the name names no
    // file that may be deleted (empty, a folder, or holding "*" or "?").
    QString testFile;
    // Every file that goes with it: the base name with the side's mask
    // extension, in the same folder.
    QString mask;
};

// The base name ends at the last point of the file name (never at a point
// of a folder name); a name without a folder lies in the form path, a name
// with one (either separator) is used with its folder.
TFormRowFiles FormRowFiles(const QString &fileName, const TFormFileSide &side);

// True when another row of the same side anywhere in the form table (every
// module and form type) names the same files, which then stay.
bool IsSharedFormFile(const TTable &view, const TFormFileSide &side);

// The before-delete event of a form view: asks whether the row is to be
// deleted and, when its files exist and no other row uses them, whether they
// go too. Raises EAbort to keep the row.
void ConfirmFormRowDelete(TTable &view, const TFormFileSide &side);
