#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

struct HttpResult
{
    // True for an answer with a 2xx status; false for network errors,
    // time-outs and any other status.
    bool ok = false;
    int status = 0;
    QByteArray body;
    QString error;
};

// A blocking HTTP client for the program's two small requests (the directory
// service and the feedback form). Each call runs a local event loop that
// ignores user input until the answer, an error or the time-out; proxies are
// never used. Needs a QCoreApplication.
class HttpClient
{
public:
    explicit HttpClient(int timeoutMs = 30000);

    HttpResult Get(const QUrl &url) const;
    // Sends the fields as application/x-www-form-urlencoded (UTF-8).
    HttpResult PostForm(const QUrl &url, const QList<QPair<QString, QString>> &fields) const;

    static QByteArray EncodeForm(const QList<QPair<QString, QString>> &fields);

private:
    int m_timeoutMs;
};
