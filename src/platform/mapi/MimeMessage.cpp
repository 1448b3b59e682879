#include "platform/mapi/MimeMessage.h"

#include "platform/runtime/TextFile.h"

#include <QRegularExpression>

namespace mapi {
namespace {

constexpr int QuotedPrintableLineLimit = 76;
// Payload bytes per encoded word, so a word stays within 75 characters.
constexpr int EncodedWordBytes = 45;

const char *const dayNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char *const monthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QByteArray rfc5322Date(const QDateTime &when)
{
    const QDateTime utc = when.toUTC();
    const QDate day = utc.date();
    return QByteArray(dayNames[day.dayOfWeek() - 1]) + ", " + QByteArray::number(day.day()).rightJustified(2, '0') + ' '
           + monthNames[day.month() - 1] + ' ' + QByteArray::number(day.year()) + ' '
           + utc.time().toString(QStringLiteral("HH:mm:ss")).toLatin1() + " +0000";
}

bool isPlainAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return !text.contains(QStringLiteral("=?"));
}

QString oneLine(const QString &text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\\r\\n\\t]+"));
    return QString(text).replace(lineBreaks, QStringLiteral(" "));
}

// Cuts UTF-8 into pieces of at most `limit` bytes without splitting a character.
QList<QByteArray> utf8Pieces(const QByteArray &utf8, int limit)
{
    QList<QByteArray> pieces;
    qsizetype start = 0;
    while (start < utf8.size()) {
        qsizetype end = qMin(start + limit, utf8.size());
        while (end < utf8.size() && (uchar(utf8[end]) & 0xc0) == 0x80)
            --end;
        pieces << utf8.mid(start, end - start);
        start = end;
    }
    return pieces;
}

void appendQuotedPrintableLine(QByteArray &out, const QByteArray &line)
{
    int column = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const uchar c = uchar(line[i]);
        const bool last = i == line.size() - 1;
        const bool plain = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last);
        const QByteArray piece =
            plain ? QByteArray(1, char(c)) : "=" + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        if (column + piece.size() > QuotedPrintableLineLimit - 1) {
            out += "=\r\n";
            column = 0;
        }
        out += piece;
        column += int(piece.size());
    }
}

QByteArray addressHeader(const char *name, const QStringList &addresses)
{
    return QByteArray(name) + ": " + addresses.join(QStringLiteral(", ")).toUtf8() + "\r\n";
}

QByteArray fromHeader(const OutgoingMail &mail)
{
    if (mail.senderName.isEmpty())
        return "From: " + mail.senderAddress.toUtf8() + "\r\n";
    QByteArray name = encodedHeaderText(mail.senderName);
    if (isPlainAscii(mail.senderName))
        name = '"' + name.replace('\\', "\\\\").replace('"', "\\\"") + '"';
    return "From: " + name + " <" + mail.senderAddress.toUtf8() + ">\r\n";
}

QByteArray domainOf(const QString &address)
{
    return address.mid(address.indexOf(QLatin1Char('@')) + 1).toUtf8();
}

QByteArray headers(const OutgoingMail &mail)
{
    QByteArray out = "Date: " + rfc5322Date(mail.date) + "\r\n" + fromHeader(mail);
    if (!mail.to.isEmpty())
        out += addressHeader("To", mail.to);
    if (!mail.cc.isEmpty())
        out += addressHeader("Cc", mail.cc);
    out += "Subject: " + encodedHeaderText(mail.subject) + "\r\n";
    out += "Message-ID: <" + mail.uniqueToken.toUtf8() + '@' + domainOf(mail.senderAddress) + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    return out;
}

QByteArray textPartHeaders()
{
    return "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: quoted-printable\r\n";
}

QByteArray base64Lines(const QByteArray &content)
{
    const QByteArray encoded = content.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); i += QuotedPrintableLineLimit)
        out += encoded.mid(i, QuotedPrintableLineLimit) + "\r\n";
    return out;
}

// A text file goes out as text in the character set it was written in, so
// that mail programs show its umlauts; anything else as bytes.
QByteArray attachmentContentType(const MailAttachment &attachment)
{
    if (!attachment.fileName.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
        return "application/octet-stream";
    const bool utf8 = DecodeTextFile(attachment.content).encoding == TextEncoding::Utf8;
    return QByteArray("text/plain; charset=") + (utf8 ? "UTF-8" : "windows-1252");
}

QByteArray attachmentPart(const MailAttachment &attachment)
{
    const QByteArray name = attachment.fileName.toUtf8().toPercentEncoding();
    return "Content-Type: " + attachmentContentType(attachment)
           + "\r\n"
             "Content-Transfer-Encoding: base64\r\n"
             "Content-Disposition: attachment; filename*=UTF-8''"
           + name + "\r\n\r\n" + base64Lines(attachment.content);
}

}

bool isSafeAddress(const QString &address)
{
    for (const QChar c : address)
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f || c == QLatin1Char('<') || c == QLatin1Char('>'))
            return false;
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    return at > 0 && at < address.size() - 1 && address.indexOf(QLatin1Char('@'), at + 1) < 0;
}

QByteArray encodedHeaderText(const QString &text)
{
    const QString line = oneLine(text);
    if (isPlainAscii(line))
        return line.toLatin1();
    QByteArrayList words;
    for (const QByteArray &piece : utf8Pieces(line.toUtf8(), EncodedWordBytes))
        words << "=?UTF-8?B?" + piece.toBase64() + "?=";
    return words.join("\r\n ");
}

QByteArray quotedPrintable(const QString &text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QByteArrayList lines = normalized.toUtf8().split('\n');
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        appendQuotedPrintableLine(out, lines[i]);
        if (i < lines.size() - 1)
            out += "\r\n";
    }
    return out;
}

QByteArray composeMessage(const OutgoingMail &mail)
{
    QByteArray out = headers(mail);
    const QByteArray body = quotedPrintable(mail.body);
    if (!mail.attachment) {
        out += textPartHeaders() + "\r\n" + body + "\r\n";
        return out;
    }
    const QByteArray boundary = "=_" + mail.uniqueToken.toUtf8();
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\n" + textPartHeaders() + "\r\n" + body + "\r\n";
    out += "--" + boundary + "\r\n" + attachmentPart(*mail.attachment);
    out += "--" + boundary + "--\r\n";
    return out;
}

}
