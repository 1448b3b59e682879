#include "platform/runtime/Exceptions.h"

Exception::Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8())
{}

void Exception::SetMessage(const QString &message)
{
    m_message = message;
    m_utf8 = message.toUtf8();
}

EDBEngineError::EDBEngineError(int errorCode, QString message)
    : EDatabaseError(std::move(message)), m_errorCode(errorCode)
{}
