#include "Error.h"

QmError::QmError(QString message)
    : m_message(std::move(message))
    , m_what(m_message.toUtf8())
{
}
