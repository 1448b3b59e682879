#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace mapi {

struct MailAttachment
{
    QString fileName;
    QByteArray content;
};

// One message as it goes on the wire; blind copies never appear in it.
struct OutgoingMail
{
    QString senderAddress;
    QString senderName;
    QStringList to;
    QStringList cc;
    QString subject;
    QString body;
    std::optional<MailAttachment> attachment;
    QDateTime date;
    // Unique per message; gives the Message-ID and the part boundary.
    QString uniqueToken;
};

// An address that may stand in a header and an SMTP command: no control
// characters, line breaks, blanks or angle brackets, one "@" inside it.
bool isSafeAddress(const QString &address);

// The subject or a display name as one header line: line breaks become
// blanks; text beyond ASCII goes into RFC 2047 encoded words.
QByteArray encodedHeaderText(const QString &text);

// UTF-8 text with CR LF line ends, quoted-printable (RFC 2045).
QByteArray quotedPrintable(const QString &text);

// The complete message (RFC 5322, MIME), CR LF line ends.
QByteArray composeMessage(const OutgoingMail &mail);

}
