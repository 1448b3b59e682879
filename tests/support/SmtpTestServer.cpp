#include "SmtpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int PollMilliseconds = 50;

class LineReader
{
public:
    LineReader(int connection, const std::atomic<bool> &stop) : m_connection(connection), m_stop(stop) {}

    // One line without its CR LF; false when the peer closed or the server stops.
    bool readLine(QByteArray &line)
    {
        while (true) {
            const qsizetype end = m_buffer.indexOf("\r\n");
            if (end >= 0) {
                line = m_buffer.left(end);
                m_buffer.remove(0, end + 2);
                return true;
            }
            if (!fill())
                return false;
        }
    }

private:
    bool fill()
    {
        pollfd waiting{m_connection, POLLIN, 0};
        while (!m_stop) {
            if (poll(&waiting, 1, PollMilliseconds) <= 0)
                continue;
            char chunk[4096];
            const ssize_t got = recv(m_connection, chunk, sizeof chunk, 0);
            if (got <= 0)
                return false;
            m_buffer.append(chunk, got);
            return true;
        }
        return false;
    }

    int m_connection;
    const std::atomic<bool> &m_stop;
    QByteArray m_buffer;
};

void reply(int connection, const QByteArray &text)
{
    const QByteArray line = text + "\r\n";
    send(connection, line.constData(), size_t(line.size()), MSG_NOSIGNAL);
}

QString pathOf(const QByteArray &argument)
{
    const qsizetype open = argument.indexOf('<');
    const qsizetype close = argument.indexOf('>', open);
    return QString::fromUtf8(argument.mid(open + 1, close - open - 1));
}

}

SmtpTestServer::SmtpTestServer()
{
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    listen(m_listener, 4);
    socklen_t length = sizeof address;
    getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

SmtpTestServer::~SmtpTestServer()
{
    m_stop = true;
    m_thread.join();
    close(m_listener);
}

void SmtpTestServer::refuseRecipient(const QString &address)
{
    const std::lock_guard lock(m_mutex);
    m_refused << address;
}

void SmtpTestServer::closeDuringData(bool closeLine)
{
    const std::lock_guard lock(m_mutex);
    m_closeDuringData = closeLine;
}

void SmtpTestServer::requireLogin(const QString &user, const QString &password)
{
    const std::lock_guard lock(m_mutex);
    m_expectedLogin = (QByteArray(1, '\0') + user.toUtf8() + QByteArray(1, '\0') + password.toUtf8()).toBase64();
}

void SmtpTestServer::stopAnsweringAt(const QByteArray &verb)
{
    const std::lock_guard lock(m_mutex);
    m_silentFrom = verb;
}

void SmtpTestServer::replyToMessage(const QByteArray &reply)
{
    const std::lock_guard lock(m_mutex);
    m_messageReply = reply;
}

QString SmtpTestServer::Received::body() const
{
    const qsizetype start = data.indexOf("\r\n\r\n") + 4;
    return QString::fromUtf8(QByteArray::fromPercentEncoding(data.mid(start).replace("=\r\n", ""), '='));
}

QList<SmtpTestServer::Received> SmtpTestServer::messages() const
{
    const std::lock_guard lock(m_mutex);
    return m_messages;
}

void SmtpTestServer::serve()
{
    pollfd waiting{m_listener, POLLIN, 0};
    while (!m_stop) {
        if (poll(&waiting, 1, PollMilliseconds) <= 0)
            continue;
        const int connection = accept(m_listener, nullptr, nullptr);
        if (connection < 0)
            continue;
        converse(connection);
        close(connection);
    }
}

void SmtpTestServer::converse(int connection)
{
    LineReader reader(connection, m_stop);
    Received current;
    QByteArray expectedLogin;
    {
        const std::lock_guard lock(m_mutex);
        expectedLogin = m_expectedLogin;
    }
    bool loggedIn = expectedLogin.isEmpty();
    reply(connection, "220 127.0.0.1 ESMTP test");
    QByteArray line;
    while (reader.readLine(line)) {
        const QByteArray verb = line.left(4).toUpper();
        const QByteArray argument = line.mid(5);
        QByteArray silentFrom;
        QByteArray messageReply;
        {
            const std::lock_guard lock(m_mutex);
            silentFrom = m_silentFrom;
            messageReply = m_messageReply;
        }
        if (!silentFrom.isEmpty() && verb.startsWith(silentFrom)) {
            while (reader.readLine(line)) {
            }
            return;
        }
        if (verb == "EHLO") {
            reply(connection,
                  expectedLogin.isEmpty() ? "250-127.0.0.1\r\n250 8BITMIME" : "250-127.0.0.1\r\n250 AUTH PLAIN");
        } else if (verb == "HELO" || verb == "NOOP") {
            reply(connection, "250 OK");
        } else if (verb == "AUTH") {
            const QByteArrayList words = line.split(' ');
            QByteArray response = words.value(2);
            if (response.isEmpty()) {
                reply(connection, "334 ");
                reader.readLine(response);
            }
            loggedIn = response == expectedLogin;
            reply(connection, loggedIn ? "235 OK" : "535 5.7.8 Authentication failed");
        } else if (verb == "MAIL") {
            if (!loggedIn) {
                reply(connection, "530 5.7.0 Authentication required");
                continue;
            }
            current = Received{pathOf(argument), {}, {}};
            reply(connection, "250 OK");
        } else if (verb == "RCPT") {
            const QString recipient = pathOf(argument);
            const std::lock_guard lock(m_mutex);
            if (m_refused.contains(recipient)) {
                reply(connection, "550 5.1.1 No such user");
            } else {
                current.recipients << recipient;
                reply(connection, "250 OK");
            }
        } else if (verb == "DATA") {
            reply(connection, "354 Go ahead");
            bool closeLine = false;
            {
                const std::lock_guard lock(m_mutex);
                closeLine = m_closeDuringData;
            }
            QByteArray dataLine;
            while (reader.readLine(dataLine)) {
                if (closeLine)
                    return;
                if (dataLine == ".")
                    break;
                current.data += (dataLine.startsWith('.') ? dataLine.mid(1) : dataLine) + "\r\n";
            }
            if (!messageReply.isEmpty()) {
                reply(connection, messageReply);
                continue;
            }
            const std::lock_guard lock(m_mutex);
            m_messages << current;
            reply(connection, "250 OK queued");
        } else if (verb == "RSET") {
            current = Received{};
            reply(connection, "250 OK");
        } else if (verb == "QUIT") {
            reply(connection, "221 Bye");
            return;
        } else {
            reply(connection, "502 Command not implemented");
        }
    }
}
