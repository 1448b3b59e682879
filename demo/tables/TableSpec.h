#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace demo {

// The folders an installation spreads its tables over; the writer maps each
// to a real path from the options.
enum class TableFolder {
    Data,     // the suite's data path
    User,     // the workstation's user path (setupLoc.db)
    Alias,    // the folder behind the alias zvuser (mabkun.db)
    MailData, // the mail program's own data folder (am-Benutzer.db)
    MailUser, // the mail program's user folder (MailTrash.db)
    Mailbox,  // the mail program's mailbox data folder (MailAusgang.db, ...)
};

// One field as Paradox describes it: a type letter (A N S I $ + D T @ L M G)
// and, for alpha fields, the size.
struct FieldSpec
{
    QString name;
    QChar type;
    int size = 0;
};

struct IndexSpec
{
    QString name;
    QStringList fields;
    bool caseInsensitive = true;
};

// A picture the table file keeps for one of its fields (a validity check
// of the suite's engine): edits bound to the field filter by it and a
// library table refuses to post a value that breaks it.
struct PictureSpec
{
    QString field;
    QString picture;
};

struct TableSpec
{
    QString fileName;
    TableFolder folder = TableFolder::Data;
    QList<FieldSpec> fields;
    int keyFieldCount = 0;
    QList<IndexSpec> indexes;
    QList<PictureSpec> pictures;

    int fieldIndex(const QString &name) const; // case-free, -1 when missing
    QStringList keyFields() const;
};

// Reads a field list written as "Name A30, Menge N, Datum D": one entry per
// comma, name and type letter with the alpha size directly after it.
QList<FieldSpec> parseFields(const QString &text);

// Builds an index from "NAME: feld1; feld2".
IndexSpec parseIndex(const QString &text, bool caseInsensitive = true);

}
