#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <thread>

// A small SMTP server on 127.0.0.1 for tests: it takes one connection at a
// time, keeps every message it accepts with its envelope, refuses the
// recipients it is told to, and can drop the line in the middle of DATA.
class SmtpTestServer
{
public:
    struct Received
    {
        QString from;
        QStringList recipients;
        QByteArray data; // as sent, dot-stuffing undone, without the final "."

        // The text after the header of a single-part message, its
        // quoted-printable coding undone.
        QString body() const;
    };

    SmtpTestServer();
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer &) = delete;
    SmtpTestServer &operator=(const SmtpTestServer &) = delete;

    int port() const { return m_port; }
    void refuseRecipient(const QString &address);
    // The next DATA transfers break off after their first bytes.
    void closeDuringData(bool close);
    // Asks for AUTH PLAIN with these credentials.
    void requireLogin(const QString &user, const QString &password);
    // From the given command on ("EHLO", "MAIL", "DATA", ...) the server
    // reads on but answers nothing until the client hangs up; empty: it
    // answers again.
    void stopAnsweringAt(const QByteArray &verb);
    // The reply to a complete message instead of accepting it (empty:
    // accept).
    void replyToMessage(const QByteArray &reply);

    QList<Received> messages() const;

private:
    void serve();
    void converse(int connection);

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    QStringList m_refused;
    bool m_closeDuringData = false;
    QByteArray m_expectedLogin;
    QByteArray m_silentFrom;
    QByteArray m_messageReply;
    QList<Received> m_messages;
    std::thread m_thread;
};
