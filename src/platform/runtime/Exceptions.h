#pragma once

#include <QString>

#include <exception>

// The exception family the program's code was written against. Every
// exception carries a user-facing message; what() gives it as UTF-8.
class Exception : public std::exception
{
public:
    explicit Exception(QString message);
    const QString &Message() const { return m_message; }
    void SetMessage(const QString &message);
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

class EAbort : public Exception
{
public:
    using Exception::Exception;
};

class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

class EInvalidOperation : public Exception
{
public:
    using Exception::Exception;
};

class EInOutError : public Exception
{
public:
    using Exception::Exception;
};

class EDatabaseError : public Exception
{
public:
    using Exception::Exception;
};

// Carries the database engine's error code next to the message.
class EDBEngineError : public EDatabaseError
{
public:
    EDBEngineError(int errorCode, QString message);
    int ErrorCode() const { return m_errorCode; }

private:
    int m_errorCode;
};
