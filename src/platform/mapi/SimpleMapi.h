#pragma once

#include <cstdint>

class QString;

// The mail hand-over calls in the shapes the e-mail road was written
// against. Delivery goes over SMTP; the server comes from the program's
// settings (see SmtpSettings.h). Strings are UTF-8.

using ULONG = std::uint32_t;
using LHANDLE = std::uintptr_t;

constexpr ULONG SUCCESS_SUCCESS = 0;
constexpr ULONG MAPI_USER_ABORT = 1;
constexpr ULONG MAPI_E_FAILURE = 2;
constexpr ULONG MAPI_E_LOGIN_FAILURE = 3;
constexpr ULONG MAPI_E_INSUFFICIENT_MEMORY = 5;
constexpr ULONG MAPI_E_TOO_MANY_SESSIONS = 8;
constexpr ULONG MAPI_E_TOO_MANY_FILES = 9;
constexpr ULONG MAPI_E_TOO_MANY_RECIPIENTS = 10;
constexpr ULONG MAPI_E_ATTACHMENT_NOT_FOUND = 11;
constexpr ULONG MAPI_E_ATTACHMENT_OPEN_FAILURE = 12;
constexpr ULONG MAPI_E_UNKNOWN_RECIPIENT = 14;
constexpr ULONG MAPI_E_BAD_RECIPTYPE = 15;
constexpr ULONG MAPI_E_TEXT_TOO_LARGE = 18;
constexpr ULONG MAPI_E_AMBIGUOUS_RECIPIENT = 21;
// Returned by the logon when no usable mail configuration exists: the
// calling code's "no mail library" case.
constexpr ULONG MAPI_NOT_AVAILABLE = 50;

constexpr ULONG MAPI_ORIG = 0;
constexpr ULONG MAPI_TO = 1;
constexpr ULONG MAPI_CC = 2;
constexpr ULONG MAPI_BCC = 3;

constexpr ULONG MAPI_LOGON_UI = 0x1;
constexpr ULONG MAPI_NEW_SESSION = 0x2;

struct MapiRecipDesc
{
    ULONG ulReserved = 0;
    ULONG ulRecipClass = MAPI_TO;
    const char *lpszName = nullptr;
    const char *lpszAddress = nullptr;
    ULONG ulEIDSize = 0;
    void *lpEntryID = nullptr;
};

struct MapiFileDesc
{
    ULONG ulReserved = 0;
    ULONG flFlags = 0;
    ULONG nPosition = ULONG(-1);
    const char *lpszPathName = nullptr;
    const char *lpszFileName = nullptr;
    void *lpFileType = nullptr;
};

struct MapiMessage
{
    ULONG ulReserved = 0;
    const char *lpszSubject = nullptr;
    const char *lpszNoteText = nullptr;
    const char *lpszMessageType = nullptr;
    const char *lpszDateReceived = nullptr;
    const char *lpszConversationID = nullptr;
    ULONG flFlags = 0;
    MapiRecipDesc *lpOriginator = nullptr;
    ULONG nRecipCount = 0;
    MapiRecipDesc *lpRecips = nullptr;
    ULONG nFileCount = 0;
    MapiFileDesc *lpFiles = nullptr;
};

// Reads the mail settings and, when they are complete, connects and logs
// on to the server once to prove it is there.
ULONG MAPILogon(LHANDLE uiParam, const char *profileName, const char *password, ULONG flags, ULONG reserved,
                LHANDLE *session);
// Sends one message; "sent" means the server accepted it for every recipient.
ULONG MAPISendMail(LHANDLE session, LHANDLE uiParam, const MapiMessage *message, ULONG flags, ULONG reserved);
ULONG MAPILogoff(LHANDLE session, LHANDLE uiParam, ULONG flags, ULONG reserved);

namespace mapi {

// The ini file whose mail section the next logon reads.
void setSettingsFile(const QString &iniPath);

// Why the last logon or sending failed at the mail server, naming the
// server and the reason in one German line; empty when it did not fail
// there.
QString lastFailureReason();

}
