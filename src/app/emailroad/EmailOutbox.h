#pragma once

#include <QString>

#include <functional>

// The first number from `start` on that none of the mail program's four
// mailbox tables uses as "LfdNr".
int NextMailNumber(int start);

// The outbox road over the requested documents: one outbox record each.
void EnterEmailsInOutbox();

class TTable;

// Takes the next running number and appends one outbox record with it,
// filled by `fill`, as one step that no other copy of the program can
// interleave with. Returns the number; false from `fill` drops the record
// (and returns 0).
using TOutboxRecordFiller = std::function<bool(TTable &record, int number)>;
int EnterOutboxRecord(TTable &outbox, const TOutboxRecordFiller &fill);

// The folder a sent mail is kept in: "Gesendet" (with the template's
// sub-folder) or "Papierkorb", with "\" separators, no doubled or trailing one.
QString MailStorageFolder(bool keepInSent, const QString &subFolder);

// Numbers attachment files of one run: the plain name while it is free,
// then base name + number + extension, the number carried on from file to
// file.
class TAttachmentNamer
{
public:
    TAttachmentNamer(const QString &folder, const QString &name);
    QString NextFreePath();

private:
    QString m_folder;
    QString m_base;
    QString m_extension;
    int m_number = 0;
};
