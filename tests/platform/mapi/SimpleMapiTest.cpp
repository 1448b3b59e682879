#include "SmtpTestServer.h"

#include "platform/mapi/MimeMessage.h"
#include "platform/mapi/SimpleMapi.h"
#include "platform/mapi/SmtpSettings.h"
#include "platform/os/IniFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Recipient
{
    ULONG recipClass;
    QByteArray address;
};

class SimpleMapiTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    SmtpTestServer server;
    QString iniPath = folder.filePath(QStringLiteral("Tintlen.ini"));

    void SetUp() override { configure(server.port()); }
    void TearDown() override { mapi::setSettingsFile(QString()); }

    void configure(int port, const QString &user = QString(), const QString &password = QString())
    {
        TIniFile ini(iniPath);
        ini.WriteString(mapi::SmtpSection, QStringLiteral("Server"), QStringLiteral("127.0.0.1"));
        ini.WriteInteger(mapi::SmtpSection, QStringLiteral("Port"), port);
        ini.WriteString(mapi::SmtpSection, QStringLiteral("Absender"), QStringLiteral("buero@tintlen.example"));
        ini.WriteString(mapi::SmtpSection, QStringLiteral("AbsenderName"), QStringLiteral("Büro Tintlen"));
        ini.WriteString(mapi::SmtpSection, QStringLiteral("Benutzer"), user);
        ini.WriteString(mapi::SmtpSection, QStringLiteral("Passwort"), password);
        ini.WriteInteger(mapi::SmtpSection, QStringLiteral("VerbindungsTimeout"), 5);
        ini.WriteInteger(mapi::SmtpSection, QStringLiteral("SendeTimeout"), 10);
        mapi::setSettingsFile(iniPath);
    }

    LHANDLE logon(ULONG expected = SUCCESS_SUCCESS)
    {
        LHANDLE session = 0;
        EXPECT_EQ(MAPILogon(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session), expected);
        return session;
    }

    ULONG send(LHANDLE session, const QList<Recipient> &recipients, const QByteArray &subject, const QByteArray &text,
               const QString &attachment = QString())
    {
        std::vector<MapiRecipDesc> records;
        for (const Recipient &recipient : recipients) {
            MapiRecipDesc record;
            record.ulRecipClass = recipient.recipClass;
            record.lpszName = recipient.address.constData();
            record.lpszAddress = recipient.address.constData();
            records.push_back(record);
        }
        const QByteArray path = attachment.toUtf8();
        const QByteArray name = attachment.section(QLatin1Char('/'), -1).toUtf8();
        MapiFileDesc file;
        file.lpszPathName = path.constData();
        file.lpszFileName = name.constData();
        MapiMessage message;
        message.lpszSubject = subject.constData();
        message.lpszNoteText = text.constData();
        message.nRecipCount = ULONG(records.size());
        message.lpRecips = records.data();
        message.nFileCount = attachment.isEmpty() ? 0 : 1;
        message.lpFiles = &file;
        return MAPISendMail(session, 0, &message, 0, 0);
    }
};

// Date, Message-ID and the part boundary differ from run to run; the rest
// must arrive exactly.
std::string withStableParts(const QByteArray &data)
{
    static const QRegularExpression date(QStringLiteral("^Date: [A-Z][a-z]{2}, \\d\\d [A-Z][a-z]{2} \\d{4} "
                                                        "\\d\\d:\\d\\d:\\d\\d \\+0000\\r$"),
                                         QRegularExpression::MultilineOption);
    static const QRegularExpression id(QStringLiteral("<([0-9a-f]{32})@tintlen\\.example>"));
    QString text = QString::fromUtf8(data);
    const QString token = id.match(text).captured(1);
    if (!token.isEmpty())
        text.replace(token, QStringLiteral("TOKEN"));
    text.replace(date, QStringLiteral("Date: DATE\r"));
    return text.toStdString();
}

}

TEST_F(SimpleMapiTest, MessagesArriveExactlyWithBlindCopiesOnlyInTheEnvelope)
{
    const QString attachment = folder.filePath(QStringLiteral("Rechnung 4711.txt"));
    QFile file(attachment);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Pos 1\r\nSumme 10,00 \x80\r\n");
    file.close();

    const LHANDLE session = logon();
    const QByteArray longLine = QByteArray("Grüße ").repeated(14);
    EXPECT_EQ(send(session,
                   {{MAPI_TO, "kunde@example.org"}, {MAPI_CC, "chef@example.org"}, {MAPI_BCC, "archiv@example.org"}},
                   "Rechnung Nr. 4711 für Müller\r\nzweite Zeile",
                   "Sehr geehrte Damen und Herren,\r\n.Punkt am Anfang\r\n= Gleich \r\n" + longLine),
              SUCCESS_SUCCESS);
    EXPECT_EQ(send(session, {{MAPI_TO, "kunde@example.org"}}, "Anlage", "", attachment), SUCCESS_SUCCESS);
    EXPECT_EQ(mapi::encodedHeaderText("Äpfel, Birnen und Kirschen für die Filiale Süd"),
              "=?UTF-8?B?w4RwZmVsLCBCaXJuZW4gdW5kIEtpcnNjaGVuIGbDvHIgZGllIEZpbGlhbGUg?=\r\n"
              " =?UTF-8?B?U8O8ZA==?=");
    EXPECT_EQ(MAPILogoff(session, 0, 0, 0), SUCCESS_SUCCESS);

    const QList<SmtpTestServer::Received> received = server.messages();
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[0].from, QStringLiteral("buero@tintlen.example"));
    EXPECT_EQ(received[0].recipients, QStringList({"kunde@example.org", "chef@example.org", "archiv@example.org"}));
    EXPECT_EQ(withStableParts(received[0].data),
              "Date: DATE\r\n"
              "From: =?UTF-8?B?QsO8cm8gVGludGxlbg==?= <buero@tintlen.example>\r\n"
              "To: kunde@example.org\r\n"
              "Cc: chef@example.org\r\n"
              "Subject: =?UTF-8?B?UmVjaG51bmcgTnIuIDQ3MTEgZsO8ciBNw7xsbGVyIHp3ZWl0ZSBaZWlsZQ==?=\r\n"
              "Message-ID: <TOKEN@tintlen.example>\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=UTF-8\r\n"
              "Content-Transfer-Encoding: quoted-printable\r\n"
              "\r\n"
              "Sehr geehrte Damen und Herren,\r\n"
              ".Punkt am Anfang\r\n"
              "=3D Gleich=20\r\n"
              "Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=\r\n"
              "=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=\r\n"
              "=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe Gr=C3=BC=C3=9Fe=\r\n"
              "=20\r\n");
    // The headers above are the same for every message; here what an attachment adds.
    const QString attached = QString::fromStdString(withStableParts(received[1].data));
    for (const char *part :
         {"Subject: Anlage\r\n", "Content-Type: multipart/mixed; boundary=\"=_TOKEN\"\r\n\r\n--=_TOKEN\r\n",
          "Content-Transfer-Encoding: quoted-printable\r\n\r\n\r\n--=_TOKEN\r\n"
          "Content-Type: text/plain; charset=windows-1252\r\nContent-Transfer-Encoding: base64\r\n",
          "Content-Disposition: attachment; filename*=UTF-8''Rechnung%204711.txt\r\n\r\n"
          "UG9zIDENClN1bW1lIDEwLDAwIIANCg==\r\n--=_TOKEN--\r\n"})
        EXPECT_TRUE(attached.contains(QString::fromUtf8(part))) << part;
    EXPECT_TRUE(attached.endsWith("--=_TOKEN--\r\n"));
}

// Mail programs show the umlauts of an attached text only when its
// character set is declared.
TEST(MimeAttachment, ATextFileIsDeclaredWithTheCharacterSetItWasWrittenIn)
{
    const struct
    {
        const char *name;
        QByteArray content;
        const char *type;
    } cases[] = {
        {"Rechnung.txt",
         "Gr\xfc\xdf"
         "e \x80",
         "text/plain; charset=windows-1252"},
        {"RECHNUNG.TXT",
         "Gr\xc3\xbc\xc3\x9f"
         "e",
         "text/plain; charset=UTF-8"},
        {"Rechnung.txt", "nur ASCII", "text/plain; charset=windows-1252"},
        {"Rechnung.pdf", "%PDF-1.4 \xc3\xbc", "application/octet-stream"},
        {"Rechnung",
         "Gr\xc3\xbc\xc3\x9f"
         "e",
         "application/octet-stream"},
    };
    for (const auto &c : cases) {
        mapi::OutgoingMail mail;
        mail.senderAddress = QStringLiteral("buero@tintlen.example");
        mail.to = QStringList{QStringLiteral("kunde@example.org")};
        mail.uniqueToken = QStringLiteral("t");
        mail.date = QDateTime(QDate(2026, 12, 7), QTime(6, 0), Qt::UTC);
        mail.attachment = mapi::MailAttachment{QString::fromLatin1(c.name), c.content};
        const QByteArray message = mapi::composeMessage(mail);
        EXPECT_TRUE(message.contains("--=_t\r\nContent-Type: " + QByteArray(c.type) + "\r\n")) << c.name << "\n"
                                                                                               << message.constData();
    }
}

TEST_F(SimpleMapiTest, RefusalsAndBrokenTransfersGiveTheirCodesAndTheSessionGoesOn)
{
    server.refuseRecipient(QStringLiteral("niemand@example.org"));
    const LHANDLE session = logon();
    EXPECT_EQ(send(session, {{MAPI_TO, "kunde@example.org"}, {MAPI_CC, "niemand@example.org"}}, "a", "b"),
              MAPI_E_UNKNOWN_RECIPIENT);
    for (const QByteArray &unsafe : {QByteArray("a@b.de>\r\nBcc: x@y.de"), QByteArray("<a@b.de>"),
                                     QByteArray("a\t@b.de"), QByteArray("ohne-at.de"), QByteArray("")})
        EXPECT_EQ(send(session, {{MAPI_TO, unsafe}}, "a", "b"), MAPI_E_UNKNOWN_RECIPIENT) << unsafe.constData();
    EXPECT_EQ(send(session, {{4, "kunde@example.org"}}, "a", "b"), MAPI_E_BAD_RECIPTYPE);
    EXPECT_EQ(send(session, {{MAPI_TO, "kunde@example.org"}}, "a", "b", folder.filePath("fehlt.txt")),
              MAPI_E_ATTACHMENT_NOT_FOUND);

    server.closeDuringData(true);
    EXPECT_EQ(send(session, {{MAPI_TO, "kunde@example.org"}}, "a", QByteArray("Zeile\r\n").repeated(5000)),
              MAPI_E_FAILURE);
    server.closeDuringData(false);
    EXPECT_EQ(send(session, {{MAPI_TO, "kunde@example.org"}}, "danach", "b"), SUCCESS_SUCCESS);
    EXPECT_EQ(MAPILogoff(session, 0, 0, 0), SUCCESS_SUCCESS);
    EXPECT_EQ(MAPILogoff(session, 0, 0, 0), MAPI_E_FAILURE);

    ASSERT_EQ(server.messages().size(), 1);
    EXPECT_TRUE(server.messages()[0].data.contains("Subject: danach\r\n"));
}

TEST_F(SimpleMapiTest, LogonNeedsCompleteSettingsAServerThatAnswersAndTheRightPassword)
{
    TIniFile(iniPath).WriteString(mapi::SmtpSection, QStringLiteral("Absender"), QString());
    logon(MAPI_NOT_AVAILABLE);
    mapi::setSettingsFile(folder.filePath(QStringLiteral("fehlt.ini")));
    logon(MAPI_NOT_AVAILABLE);

    int unusedPort = 0;
    {
        SmtpTestServer gone;
        unusedPort = gone.port();
    }
    configure(unusedPort);
    logon(MAPI_E_LOGIN_FAILURE);

    server.requireLogin(QStringLiteral("buero"), QStringLiteral("geheim"));
    configure(server.port(), QStringLiteral("buero"), QStringLiteral("falsch"));
    logon(MAPI_E_LOGIN_FAILURE);
    configure(server.port(), QStringLiteral("buero"), QStringLiteral("geheim"));
    const LHANDLE session = logon();
    EXPECT_EQ(send(session, {{MAPI_TO, "kunde@example.org"}}, "a", "b"), SUCCESS_SUCCESS);
    MAPILogoff(session, 0, 0, 0);
    EXPECT_EQ(server.messages().size(), 1);
}
