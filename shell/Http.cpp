#include "Http.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <functional>

namespace {

HttpResult perform(const QUrl &url, int timeoutMs,
    const std::function<QNetworkReply *(QNetworkAccessManager &, const QNetworkRequest &)> &send)
{
    HttpResult result;
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty()) {
        result.error = QStringLiteral("无效的地址: %1").arg(url.toString());
        return result;
    }

    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(url);
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = send(manager, request);

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    timer.stop();

    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    if (timedOut) {
        result.error = QStringLiteral("请求超时");
    } else if (reply->error() != QNetworkReply::NoError) {
        result.error = reply->errorString();
    } else if (result.status < 200 || result.status > 299) {
        result.error = QStringLiteral("服务器返回状态 %1").arg(result.status);
    } else {
        result.ok = true;
    }
    delete reply;
    return result;
}

} // namespace

HttpClient::HttpClient(int timeoutMs)
    : m_timeoutMs(timeoutMs)
{ }

HttpResult HttpClient::Get(const QUrl &url) const
{
    return perform(
        url, m_timeoutMs, [](QNetworkAccessManager &manager, const QNetworkRequest &request) {
            return manager.get(request);
        });
}

HttpResult HttpClient::PostForm(const QUrl &url, const QList<QPair<QString, QString>> &fields) const
{
    const QByteArray body = EncodeForm(fields);
    return perform(
        url, m_timeoutMs, [&body](QNetworkAccessManager &manager, QNetworkRequest request) {
            request.setHeader(QNetworkRequest::ContentTypeHeader,
                QByteArrayLiteral("application/x-www-form-urlencoded"));
            return manager.post(request, body);
        });
}

QByteArray HttpClient::EncodeForm(const QList<QPair<QString, QString>> &fields)
{
    // QUrlQuery leaves '+' and '&' alone inside values, which a form decoder
    // then reads as a blank and a field separator; encode everything instead.
    QByteArray body;
    for (const auto &field : fields) {
        if (!body.isEmpty())
            body += '&';
        body += QUrl::toPercentEncoding(field.first) + '=' + QUrl::toPercentEncoding(field.second);
    }
    return body;
}
