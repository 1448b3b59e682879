#include "SmtpTestServer.h"

#include "platform/mapi/SimpleMapi.h"
#include "platform/mapi/SmtpSettings.h"
#include "platform/os/IniFile.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// A mail server that stops answering must not freeze the program: the
// transfer runs beside the window, which keeps painting and shows a box
// with the message number and "Abbrechen"; the calls keep their codes, and
// the reason names the server.
namespace {

class SendProgressTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    SmtpTestServer server;
    QString iniPath = folder.filePath(QStringLiteral("Tintlen.ini"));
    QString serverName = QStringLiteral("127.0.0.1:%1").arg(server.port());
    // What the user saw meanwhile: the box texts, and how often the
    // program's own timer got its turn.
    QStringList boxTexts;
    int ticks = 0;
    QTimer watcher;

    void SetUp() override
    {
        configure(2, 2);
        watcher.setInterval(20);
        QObject::connect(&watcher, &QTimer::timeout, [this] {
            ++ticks;
            if (QLabel *text = sendBox() ? sendBox()->findChild<QLabel *>(QStringLiteral("lblSendeText")) : nullptr)
                if (!boxTexts.contains(text->text()))
                    boxTexts << text->text();
        });
        watcher.start();
    }
    void TearDown() override { mapi::setSettingsFile(QString()); }

    void configure(int connectTimeout, int sendTimeout)
    {
        TIniFile ini(iniPath);
        ini.WriteString(mapi::SmtpSection, QStringLiteral("Server"), QStringLiteral("127.0.0.1"));
        ini.WriteInteger(mapi::SmtpSection, QStringLiteral("Port"), server.port());
        ini.WriteString(mapi::SmtpSection, QStringLiteral("Absender"), QStringLiteral("buero@tintlen.example"));
        ini.WriteInteger(mapi::SmtpSection, QStringLiteral("VerbindungsTimeout"), connectTimeout);
        ini.WriteInteger(mapi::SmtpSection, QStringLiteral("SendeTimeout"), sendTimeout);
        mapi::setSettingsFile(iniPath);
    }

    static QWidget *sendBox() { return QApplication::activeModalWidget(); }

    // Presses "Abbrechen" as soon as the box of the given message is up.
    void abortWhenShown(const QString &text)
    {
        QObject::connect(&watcher, &QTimer::timeout, [text] {
            QWidget *box = sendBox();
            auto *label = box ? box->findChild<QLabel *>(QStringLiteral("lblSendeText")) : nullptr;
            auto *abort = box ? box->findChild<QPushButton *>(QStringLiteral("btnAbbrechen")) : nullptr;
            if (label && abort && label->text().startsWith(text) && abort->isEnabled())
                QTest::mouseClick(abort, Qt::LeftButton);
        });
    }

    LHANDLE logon(ULONG expected = SUCCESS_SUCCESS)
    {
        LHANDLE session = 0;
        EXPECT_EQ(MAPILogon(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session), expected);
        return session;
    }

    static ULONG send(LHANDLE session, const QByteArray &subject)
    {
        const QByteArray address("kunde@example.org");
        MapiRecipDesc recipient;
        recipient.lpszName = address.constData();
        recipient.lpszAddress = address.constData();
        MapiMessage message;
        message.lpszSubject = subject.constData();
        message.lpszNoteText = "Guten Tag";
        message.nRecipCount = 1;
        message.lpRecips = &recipient;
        return MAPISendMail(session, 0, &message, 0, 0);
    }
};

}

TEST_F(SendProgressTest, AServerThatStopsAnsweringIsGivenUpAndNamedWhileTheWindowGoesOn)
{
    const struct
    {
        const char *silentFrom;
        ULONG logonCode;
        ULONG sendCode;
    } cases[] = {
        {"EHLO", MAPI_E_LOGIN_FAILURE, SUCCESS_SUCCESS},
        {"MAIL", SUCCESS_SUCCESS, MAPI_E_FAILURE},
        {"DATA", SUCCESS_SUCCESS, MAPI_E_FAILURE},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.silentFrom);
        server.stopAnsweringAt(c.silentFrom);
        boxTexts.clear();
        ticks = 0;
        const LHANDLE session = logon(c.logonCode);
        if (c.logonCode == SUCCESS_SUCCESS) {
            EXPECT_EQ(send(session, "Rechnung"), c.sendCode);
            MAPILogoff(session, 0, 0, 0);
        }
        EXPECT_EQ(mapi::lastFailureReason(),
                  QStringLiteral("Der Mail-Server %1 antwortet nicht mehr.").arg(serverName));
        EXPECT_GT(ticks, 10);
        ASSERT_FALSE(boxTexts.isEmpty());
        EXPECT_EQ(boxTexts.last(),
                  c.logonCode == SUCCESS_SUCCESS
                      ? QStringLiteral("E-Mail 1 wird an den Mail-Server %1 übergeben …").arg(serverName)
                      : QStringLiteral("Verbindung zum Mail-Server %1 wird aufgebaut …").arg(serverName));
        EXPECT_EQ(sendBox(), nullptr);
    }
    EXPECT_TRUE(server.messages().isEmpty());
}

TEST_F(SendProgressTest, AbbrechenEndsTheTransferAndTheSessionGoesOn)
{
    configure(60, 60);
    const LHANDLE session = logon();
    EXPECT_EQ(send(session, "erste"), SUCCESS_SUCCESS);
    server.stopAnsweringAt("DATA");
    abortWhenShown(QStringLiteral("E-Mail 2 "));
    EXPECT_EQ(send(session, "zweite"), MAPI_USER_ABORT);
    EXPECT_TRUE(boxTexts.contains(QStringLiteral("E-Mail 2 wird an den Mail-Server %1 übergeben …").arg(serverName)));
    EXPECT_EQ(mapi::lastFailureReason(),
              QStringLiteral("Das Senden an den Mail-Server %1 wurde abgebrochen.").arg(serverName));
    server.stopAnsweringAt({});
    EXPECT_EQ(send(session, "dritte"), SUCCESS_SUCCESS);
    EXPECT_TRUE(mapi::lastFailureReason().isEmpty());
    MAPILogoff(session, 0, 0, 0);
    ASSERT_EQ(server.messages().size(), 2);
    EXPECT_TRUE(server.messages()[1].data.contains("Subject: dritte\r\n"));

    server.stopAnsweringAt("EHLO");
    abortWhenShown(QStringLiteral("Verbindung"));
    logon(MAPI_USER_ABORT);
}

TEST_F(SendProgressTest, AServersRefusalIsShownAsTheServerWroteIt)
{
    const LHANDLE session = logon();
    server.replyToMessage("552 5.2.2 Mailbox full");
    EXPECT_EQ(send(session, "voll"), MAPI_E_TEXT_TOO_LARGE);
    EXPECT_EQ(mapi::lastFailureReason(),
              QStringLiteral("Der Mail-Server %1 hat abgelehnt: 552 5.2.2 Mailbox full").arg(serverName));
    MAPILogoff(session, 0, 0, 0);
}
