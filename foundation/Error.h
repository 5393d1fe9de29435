#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error type of the program. It carries a finished, user-readable text
// (a failed statement's text is the engine's message, "\r\n" and the SQL), so
// whoever catches it can show message() as it stands.
class QmError : public std::exception
{
public:
    explicit QmError(QString message);
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};

// Ends the current user action without any message: thrown after the user was
// already told why (a missing right, for example). Catch sites swallow it.
class SilentAbort : public std::exception
{
public:
    const char *what() const noexcept override { return "aborted"; }
};
