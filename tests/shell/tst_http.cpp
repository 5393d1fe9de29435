#include "Configer.h"
#include "ConnectionString.h"
#include "Http.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

// A one-answer-per-request HTTP server on 127.0.0.1 that records what it was
// sent. With silent set it accepts and never answers (for time-outs).
class TinyHttpServer : public QObject
{
public:
    int status = 200;
    QByteArray body;
    bool silent = false;
    QByteArray requestLine;
    QByteArray requestHead;
    QByteArray requestBody;
    int requests = 0;

    bool start() { return m_server.listen(QHostAddress::LocalHost); }
    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
    }

    TinyHttpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onData(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

private:
    void onData(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const int headEnd = buffer.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        const QByteArray head = buffer.left(headEnd);
        int length = 0;
        for (const QByteArray &line : head.split('\n'))
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toInt();
        if (buffer.size() < headEnd + 4 + length)
            return;
        ++requests;
        requestHead = head;
        requestLine = head.left(head.indexOf("\r\n"));
        requestBody = buffer.mid(headEnd + 4, length);
        m_buffers.remove(socket);
        if (silent)
            return;
        socket->write("HTTP/1.1 " + QByteArray::number(status)
            + " X\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

class tst_Http : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void directoryReply_data();
    void directoryReply();
    void userIsPercentEncodedInTheRequest();
    void failedRequestIsReported_data();
    void failedRequestIsReported();
    void directoryServiceNeverUsesTheSavedString();
    void postFormEncodesEveryField();
    void silentServerTimesOut();

private:
    TConfiger configer(const QString &user = QStringLiteral("hr")) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TinyHttpServer> m_server;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_Http::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<TinyHttpServer>();
    QVERIFY(m_server->start());
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void tst_Http::cleanup()
{
    m_prompter.reset();
    m_server.reset();
    m_dir.reset();
}

TConfiger tst_Http::configer(const QString &user) const
{
    TConfiger cfg(m_dir->path());
    cfg.ProviderIdx = TConfiger::DirectoryService;
    cfg.VizUrl = m_server->url(QStringLiteral("/viz"));
    cfg.VizUser = user;
    return cfg;
}

void tst_Http::directoryReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>(
        "expected"); // server, port, user, password, database; empty: no connection
    const QStringList values{QStringLiteral("10.0.0.5"), QStringLiteral("6543"),
        QStringLiteral("hr_user"), QStringLiteral("p;w\"d"), QStringLiteral("人事")};
    QTest::newRow("five lines") << QByteArray("10.0.0.5\n6543\nhr_user\np;w\"d\n人事") << values;
    QTest::newRow("crlf and a trailing line end")
        << QByteArray("10.0.0.5\r\n6543\r\nhr_user\r\np;w\"d\r\n人事\r\n") << values;
    QTest::newRow("empty port keeps the driver default")
        << QByteArray("10.0.0.5\n\nhr_user\np;w\"d\n人事\n")
        << QStringList{QStringLiteral("10.0.0.5"), QString(), QStringLiteral("hr_user"),
               QStringLiteral("p;w\"d"), QStringLiteral("人事")};
    QTest::newRow("four lines") << QByteArray("10.0.0.5\n6543\nhr_user\npw\n") << QStringList();
    QTest::newRow("six lines") << QByteArray("10.0.0.5\n6543\nhr_user\npw\nhr\nextra\n")
                               << QStringList();
    QTest::newRow("two trailing line ends")
        << QByteArray("10.0.0.5\n6543\nhr_user\npw\nhr\n\n") << QStringList();
    QTest::newRow("port not a number")
        << QByteArray("10.0.0.5\nabc\nhr_user\npw\nhr\n") << QStringList();
    QTest::newRow("empty body") << QByteArray() << QStringList();
}

void tst_Http::directoryReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, expected);
    m_server->body = reply;
    TConfiger cfg = configer();

    const QString cs = cfg.FetchVizConnection();
    QCOMPARE(m_server->requests, 1);
    QCOMPARE(m_prompter->shown().size(), 0);
    if (expected.isEmpty()) {
        QCOMPARE(cs, QString());
        return;
    }
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Provider")), QStringLiteral("PostgreSQL"));
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Data Source")), expected[0]);
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Port")), expected[1]);
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("User ID")), expected[2]);
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Password")), expected[3]);
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Initial Catalog")), expected[4]);
}

void tst_Http::userIsPercentEncodedInTheRequest()
{
    m_server->body = "s\n1\nu\np\nd\n";
    TConfiger cfg = configer(QStringLiteral("张 三&x=1"));
    QVERIFY(!cfg.FetchVizConnection().isEmpty());
    QCOMPARE(
        m_server->requestLine, QByteArray("GET /viz?user=%E5%BC%A0%20%E4%B8%89%26x%3D1 HTTP/1.1"));
}

void tst_Http::failedRequestIsReported_data()
{
    QTest::addColumn<bool>("unreachable");
    QTest::addColumn<int>("status");
    QTest::newRow("nobody listening") << true << 200;
    QTest::newRow("server error") << false << 500;
    QTest::newRow("not found") << false << 404;
}

void tst_Http::failedRequestIsReported()
{
    QFETCH(bool, unreachable);
    QFETCH(int, status);
    m_server->status = status;
    m_server->body = "10.0.0.5\n6543\nhr_user\npw\nhr\n";
    TConfiger cfg = configer();
    if (unreachable)
        m_server.reset(new TinyHttpServer); // never listening: its old port is free again

    QCOMPARE(cfg.FetchVizConnection(), QString());
    QCOMPARE(m_prompter->texts(),
        QStringList{QStringLiteral("\r\n无法获得VIZ连接信息,请检查网络是否畅通.\t")});
}

void tst_Http::directoryServiceNeverUsesTheSavedString()
{
    m_server->body = "dirhost\n6543\nu\np\nd\n";
    {
        TConfiger cfg = configer();
        cfg.ProviderIdx = TConfiger::PostgresServer;
        cfg.MssqlServer = QStringLiteral("savedhost");
        cfg.Save();
        cfg.ProviderIdx = TConfiger::DirectoryService;
        cfg.Save();
    }
    TConfiger cfg(m_dir->path());
    QCOMPARE(ConnectionString::value(cfg.GetConnectionString(), QStringLiteral("Data Source")),
        QStringLiteral("dirhost"));
    QCOMPARE(m_server->requests, 1);
}

void tst_Http::postFormEncodesEveryField()
{
    m_server->body = "ok";
    const HttpResult result
        = HttpClient().PostForm(QUrl(m_server->url(QStringLiteral("/back.asp"))),
            {{QStringLiteral("Data"), QStringLiteral("a+b&c=d 公司\r\n")},
                {QStringLiteral("x"), QString()}});
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.status, 200);
    QCOMPARE(result.body, QByteArray("ok"));
    QCOMPARE(m_server->requestLine, QByteArray("POST /back.asp HTTP/1.1"));
    QVERIFY(m_server->requestHead.toLower().contains(
        "content-type: application/x-www-form-urlencoded"));
    QCOMPARE(m_server->requestBody, QByteArray("Data=a%2Bb%26c%3Dd%20%E5%85%AC%E5%8F%B8%0D%0A&x="));
}

void tst_Http::silentServerTimesOut()
{
    m_server->silent = true;
    QElapsedTimer clock;
    clock.start();
    const HttpResult result
        = HttpClient(300).Get(QUrl(m_server->url(QStringLiteral("/viz?user=x"))));
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY2(clock.elapsed() < 5000, "the time-out did not end the request");
}

QTEST_GUILESS_MAIN(tst_Http)
#include "tst_http.moc"
