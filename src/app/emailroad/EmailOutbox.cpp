#include "app/emailroad/EmailOutbox.h"

#include "app/DruckPrg.h"
#include "app/Utils.h"
#include "app/dbmodul.h"
#include "app/emailroad/EmailRun.h"
#include "app/mainmodul.h"
#include "mail/NCTable.h"
#include "mail/formularmodul.h"
#include "platform/db/TDatabase.h"
#include "platform/db/TField.h"
#include "platform/db/TSession.h"
#include "platform/db/TTable.h"
#include "platform/os/Paths.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"
#include "platform/ui/UiServices.h"

#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString counterFolder = QStringLiteral("Neue DS-Nr - Dieser Datensatz darf nicht gelöscht werden!");
const QString emptySendDate = QStringLiteral("30.12.1899 00:00:01");

// Taking a number and writing its record is one step for every copy of the
// program: the lock file beside the outbox serialises them, and the
// record's key refuses what the mail program might take meanwhile.
class OutboxLock
{
public:
    explicit OutboxLock(const QString &folder)
        : m_fd(::open(QFile::encodeName(folder + QStringLiteral("/MailAusgang.lock")).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC, 0666))
    {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~OutboxLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OutboxLock(const OutboxLock &) = delete;
    OutboxLock &operator=(const OutboxLock &) = delete;

private:
    int m_fd;
};

int probe(const QString &folder, const QString &tableName, int number)
{
    std::unique_ptr<TTable> table;
    if (!OpenTable(table, folder, tableName))
        throw EDatabaseError(QStringLiteral("Die Tabelle ") + tableName + QStringLiteral(" lässt sich nicht öffnen."));
    while (table->FindKey({number}))
        ++number;
    table->Close();
    return number;
}

void setText(TTable &record, const QString &fieldName, const QString &value)
{
    TField *field = record.FieldByName(fieldName);
    // A value is never cut to its column: the record is refused instead.
    if (field->DataType() == ftString && value.size() > field->Size())
        throw EDatabaseError(QStringLiteral("Der Wert für das Feld \"") + fieldName
                             + QStringLiteral("\" ist länger als die erlaubten ") + QString::number(field->Size())
                             + QStringLiteral(" Zeichen."));
    field->SetAsString(value);
}

struct OutboxTables
{
    std::unique_ptr<TTable> outbox;
    std::unique_ptr<TTable> texts;

    bool open(const QString &folder)
    {
        try {
            outbox = std::make_unique<TTable>();
            outbox->SetDatabaseName(folder);
            outbox->SetTableName(QStringLiteral("MailAusgang.db"));
            outbox->Open();
            texts = std::make_unique<TTable>();
            texts->SetDatabaseName(folder);
            texts->SetTableName(QStringLiteral("Texte.db"));
            texts->Open();
            return true;
        } catch (const EDatabaseError &error) {
            ShowPlainMessage(QStringLiteral("Datenbankfehler: ") + error.Message());
            return false;
        }
    }
    ~OutboxTables()
    {
        for (TTable *table : {outbox.get(), texts.get()})
            if (table)
                table->Close();
    }
};

// The record's number: the counter's number when there is a counter row
// (which then moves on to the next free number), else the first free one.
int takeMailNumber(TTable &outbox)
{
    if (!outbox.Locate(QStringLiteral("Ordner"), counterFolder, 0))
        return NextMailNumber(1);
    const int start = outbox.FieldByName(QStringLiteral("LfdNr"))->AsInteger();
    const int next = NextMailNumber(start);
    outbox.Edit();
    outbox.FieldByName(QStringLiteral("LfdNr"))->SetAsInteger(next);
    outbox.Post();
    return start;
}

struct OutboxRun
{
    TEmailRun &run;
    TTable &outbox;
    QString storageFolder;
    std::optional<TAttachmentNamer> namer;
};

void fillRecord(OutboxRun &road, int number, const TGeneratedEmail &email)
{
    TTable &record = road.outbox;
    const TEmailState &state = EmailState();
    const TDateTime now = FromQDateTime(ui::services().now());
    record.FieldByName(QStringLiteral("LfdNr"))->SetAsInteger(number);
    setText(record, QStringLiteral("Ordner"), QStringLiteral("Postausgang"));
    setText(record, QStringLiteral("Benutzer"), state.UserNr);
    record.FieldByName(QStringLiteral("GesendetAm"))->SetAsString(emptySendDate);
    if (EmailRequest().IstAuftrag)
        setText(record, QStringLiteral("AdressNr"), state.Partner->FieldByName(QStringLiteral("Nr"))->AsString());
    setText(record, QStringLiteral("An"), email.SendTo);
    setText(record, QStringLiteral("CC"), email.CC);
    setText(record, QStringLiteral("BCC"), email.BCC);
    setText(record, QStringLiteral("Betreff"), email.Betreff);
    for (const auto &[field, value] : {std::pair{"Gelesen", "J"},
                                       {"Prioritaet", "B"},
                                       {"Vertraulichkeit", "A"},
                                       {"Oeffentlich", "1"},
                                       {"Format", "txt"},
                                       {"Bestaetigung", "N"},
                                       {"Fehler", "N"}})
        setText(record, QLatin1String(field), QLatin1String(value));
    setText(record, QStringLiteral("Text"), road.namer ? road.run.AttachmentNote() : JoinedLines(email.Text));
    setText(record, QStringLiteral("AngelegtVon"), state.LastUser);
    setText(record, QStringLiteral("GeaendertVon"), state.LastUser);
    record.FieldByName(QStringLiteral("AngelegtAm"))->SetAsDateTime(now);
    record.FieldByName(QStringLiteral("GeaendertAm"))->SetAsDateTime(now);
    setText(record, QStringLiteral("SpeichInOrdner"), road.storageFolder);
    record.FieldByName(QStringLiteral("MailTyp"))->SetAsInteger(0);
}

bool enterDocument(OutboxRun &road, const TGeneratedEmail &email)
{
    return EnterOutboxRecord(road.outbox,
                             [&](TTable &record, int number) {
                                 fillRecord(road, number, email);
                                 if (!road.namer)
                                     return true;
                                 const QString path = road.namer->NextFreePath();
                                 if (!WriteAttachmentFile(path, email.Text))
                                     return false;
                                 setText(record, QStringLiteral("Anlagen"), path);
                                 return true;
                             })
           > 0;
}
}

int EnterOutboxRecord(TTable &outbox, const TOutboxRecordFiller &fill)
{
    const OutboxLock lock(EmailState().Kuvertalia.MailboxData);
    outbox.Refresh();
    const int number = takeMailNumber(outbox);
    outbox.Append();
    try {
        if (!fill(outbox, number)) {
            outbox.Cancel();
            return 0;
        }
        outbox.Post();
    } catch (...) {
        outbox.Cancel();
        throw;
    }
    return number;
}

int NextMailNumber(int start)
{
    const TKuvertaliaPaths &paths = EmailState().Kuvertalia;
    int number = start;
    while (true) {
        const int roundStart = number;
        number = probe(paths.MailboxData, QStringLiteral("MailAusgang.db"), number);
        number = probe(paths.MailboxData, QStringLiteral("MailEingang.db"), number);
        number = probe(paths.User, QStringLiteral("MailTrash.db"), number);
        number = probe(paths.MailboxData, QStringLiteral("MailGesendet.db"), number);
        if (number == roundStart)
            return number;
    }
}

namespace {

// Names made of dots and blanks only are what the mail program's file
// system reads as "here" or "one up".
bool isDotName(const QString &name)
{
    return std::all_of(name.cbegin(), name.cend(),
                       [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(' '); });
}

// A template's sub-folder stays below the mailbox folder: "." names are
// dropped and ".." climbs no higher than the mailbox folder itself.
QString keptBelow(const QString &mailbox, const QString &subFolder)
{
    QStringList names{mailbox};
    for (const QString &name : subFolder.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        if (!isDotName(name))
            names << name;
        else if (name.count(QLatin1Char('.')) >= 2 && names.size() > 1)
            names.removeLast();
    }
    return names.join(QLatin1Char('\\'));
}

}

QString MailStorageFolder(bool keepInSent, const QString &subFolder)
{
    const QString mailbox = keepInSent ? QStringLiteral("Gesendet") : QStringLiteral("Papierkorb");
    if (!keepInSent || subFolder.isEmpty())
        return mailbox;
    QString below = subFolder;
    below.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return keptBelow(mailbox, below);
}

TAttachmentNamer::TAttachmentNamer(const QString &folder, const QString &name) : m_folder(folder)
{
    const qsizetype firstDot = name.indexOf(QLatin1Char('.'));
    m_base = firstDot < 0 ? name : name.left(firstDot);
    const qsizetype lastDot = name.lastIndexOf(QLatin1Char('.'));
    m_extension = lastDot < 0 ? QString() : name.mid(lastDot);
}

QString TAttachmentNamer::NextFreePath()
{
    const QString folder = os::excludeTrailingSeparator(m_folder) + QLatin1Char('/');
    QString path = folder + m_base + m_extension;
    if (m_number == 0 && !os::fileExists(path))
        return path;
    do {
        ++m_number;
        path = folder + m_base + QString::number(m_number) + m_extension;
    } while (os::fileExists(path));
    return path;
}

void EnterEmailsInOutbox()
{
    TEmailRun run;
    const TFormular &formular = *EmailState().Formular;
    OutboxTables tables;
    if (!tables.open(EmailState().Kuvertalia.MailboxData))
        return;
    OutboxRun road{run, *tables.outbox, MailStorageFolder(formular.SpeichernInGesendet, formular.NachrichtSpeichernIn),
                   std::nullopt};
    if (run.AttachmentMode())
        road.namer.emplace(EmailState().Anlagenpfad, run.AttachmentName());
    if (!run.FindFirstDocument())
        return;
    int count = 0;
    {
        ui::BusyCursor busy;
        const auto report = qScopeGuard(
            [&] { ShowPlainMessage(QString::number(count) + QStringLiteral(" Mails wurden erfolgreich versendet.")); });
        do {
            TGeneratedEmail email;
            if (run.Generate(email, false, true) && enterDocument(road, email))
                ++count;
        } while (run.NextDocument());
    }
}
