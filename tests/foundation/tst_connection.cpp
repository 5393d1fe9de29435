#include "ConnectionString.h"
#include "Database.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_Connection : public QObject
{
    Q_OBJECT
private slots:
    void connectionValues_data();
    void connectionValues();
    void providerChoosesTheDialect_data();
    void providerChoosesTheDialect();
    void failedConnectShowsTheEngineMessage_data();
    void failedConnectShowsTheEngineMessage();
    void missingSqliteFileIsNotCreated();
};

void tst_Connection::connectionValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QStringLiteral("secret");
    QTest::newRow("semicolon") << QStringLiteral("a;b");
    QTest::newRow("quotes") << QStringLiteral("say \"hi\" it's");
    QTest::newRow("blank ends") << QStringLiteral(" x ");
    QTest::newRow("key lookalike") << QStringLiteral("Data Source=evil");
    QTest::newRow("empty") << QString();
}

void tst_Connection::connectionValues()
{
    QFETCH(QString, value);
    ConnectionString cs;
    cs.add(QStringLiteral("Provider"), TDatabase::PostgresProvider);
    cs.add(QStringLiteral("Password"), value);
    cs.add(QStringLiteral("Data Source"), QStringLiteral("/tmp/路径 with space"));
    const QString text = cs.toString();
    QCOMPARE(ConnectionString::value(text, QStringLiteral("Password")), value);
    QCOMPARE(ConnectionString::value(text, QStringLiteral("Data Source")), QStringLiteral("/tmp/路径 with space"));
    QCOMPARE(ConnectionString::value(text, QStringLiteral("Provider")), TDatabase::PostgresProvider);
    QCOMPARE(ConnectionString::value(text, QStringLiteral("provider")), QString());
}

void tst_Connection::providerChoosesTheDialect_data()
{
    QTest::addColumn<QString>("connection");
    QTest::addColumn<bool>("sqlServer");
    QTest::newRow("sqlite") << QStringLiteral("Provider=SQLite;Data Source=x.db") << false;
    QTest::newRow("postgres") << QStringLiteral("Provider=PostgreSQL;Data Source=h") << true;
    QTest::newRow("other letter case") << QStringLiteral("Provider=sqlite;Data Source=x.db") << true;
    QTest::newRow("spaces around the key") << QStringLiteral("Mode = ReadWrite; Provider=SQLite") << false;
}

void tst_Connection::providerChoosesTheDialect()
{
    QFETCH(QString, connection);
    QFETCH(bool, sqlServer);
    ScriptedPrompter prompter;
    TDatabase db;
    db.Connect(connection);
    QCOMPARE(db.IsSqlServer(), sqlServer);
    QCOMPARE(db.Dialect().engine(), sqlServer ? SqlEngine::PostgreSQL : SqlEngine::SQLite);
}

void tst_Connection::failedConnectShowsTheEngineMessage_data()
{
    QTest::addColumn<QString>("connection");
    QTest::newRow("empty") << QString();
    QTest::newRow("unknown provider") << QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x.mdb");
    QTest::newRow("no server") << QStringLiteral("Provider=PostgreSQL;Data Source=/nonexistent-socket-dir;Port=1");
    QTest::newRow("not a database file") << QStringLiteral("Provider=SQLite;Data Source=%1").arg(QStringLiteral(QM_THIS_FILE));
}

void tst_Connection::failedConnectShowsTheEngineMessage()
{
    QFETCH(QString, connection);
    ScriptedPrompter prompter;
    TDatabase db;
    QVERIFY(!db.Connect(connection));
    QVERIFY(!db.Connected());
    QCOMPARE(prompter.shown().size(), 1);
    QVERIFY(prompter.lastText().startsWith(QStringLiteral("\r\n连接时失败,提示如下:\r\n")));
    QVERIFY(!db.LastConnectError().isEmpty());
    QVERIFY(prompter.lastText().contains(db.LastConnectError()));
}

void tst_Connection::missingSqliteFileIsNotCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("没有 #?.db"));
    ScriptedPrompter prompter;
    TDatabase db;
    QVERIFY(!db.Connect(QStringLiteral("Provider=SQLite;Data Source=%1").arg(path)));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);
}

QTEST_GUILESS_MAIN(tst_Connection)
#include "tst_connection.moc"
