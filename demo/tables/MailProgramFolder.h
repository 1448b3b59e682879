#pragma once

#include <QString>

namespace demo {

// The mail program's folders as its ini file names them.
struct MailProgramPaths
{
    QString root;     // the program folder with kuvertalia.ini
    QString data;     // [Path] Data: am-Benutzer.db
    QString user;     // [Path] User: frm.ini, MailTrash.db
    QString temp;     // [Path] Temp
    QString forms;    // [Path] Forms
    QString mailbox;  // [QRBPath] Data: MailAusgang.db and its sister tables, Texte.db
    QString download; // [QRBPath] Download
    QString address;  // [QRBPath] Address
};

MailProgramPaths mailProgramPaths(const QString &root);

// Creates the folders and writes kuvertalia.ini and frm.ini (last user);
// with `registerProgram`, also the registry entry that points to `root`.
void writeMailProgramFiles(const MailProgramPaths &paths, bool registerProgram);

}
