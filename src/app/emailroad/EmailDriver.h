#pragma once

#include "platform/mapi/SimpleMapi.h"

#include <QString>
#include <QStringList>

// The e-mail tab's print button: checks the chosen e-mail form row, loads
// its template, shows the preview when asked to, and sends the requested
// documents over the mail server or into the mail program's outbox.
void SendEmail();

// True when mails go into the mail program's outbox: asked for, or the mail
// program is the configured e-mail client.
bool OutboxRoadChosen();

// The mail-server road over the requested documents.
void SendEmailsByMapi();

// Hands one message over; true when it was accepted, else false after the
// code's message.
bool MapiSendMessage(LHANDLE session, const QStringList &sendTo, const QStringList &cc, const QString &attachmentPath,
                     const QString &noteText, const QString &subject, const QStringList &bcc);

// The message of a logon result (empty for success).
QString MapiLogonMessage(ULONG code);
// The message of a send result (empty for success and for codes without one).
QString MapiSendMessageText(ULONG code);
