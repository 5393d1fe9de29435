#include "ConnectionString.h"
#include "DBConfig.h"
#include "Database.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class tst_Connect : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void missingConfigurationAsksForOne();
    void brokenThenGoodConnectsAfterOneEdit_data();
    void brokenThenGoodConnectsAfterOneEdit();
    void cancelGivesUp();
    void connectsToRealDatabase_data();
    void connectsToRealDatabase();
    void missingFileIsNeverCreated_data();
    void missingFileIsNeverCreated();
    void defaultEditorIsTheConnectionDialog();

private:
    static QString companyName(TDatabase &db);
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_Connect::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void tst_Connect::cleanup()
{
    TConfiger::SetDefaultFolder(QString());
    m_prompter.reset();
    m_dir.reset();
}

QString tst_Connect::companyName(TDatabase &db)
{
    TDataSet set;
    db.Fill(set, QStringLiteral("select CompanyName from Company where Id = 1"));
    return set.RecordCount() == 1 ? set.FieldByName(QStringLiteral("CompanyName"))->AsString()
                                  : QString();
}

void tst_Connect::missingConfigurationAsksForOne()
{
    TDatabase db;
    TConfiger cfg(m_dir->path());
    int edits = 0;
    const bool connected = ConnectDatabase(db, cfg, [&](TConfiger &) {
        ++edits;
        return false;
    });
    QVERIFY(!connected);
    QVERIFY(!db.Connected());
    QCOMPARE(edits, 1);
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->lastText().startsWith(QStringLiteral("\r\n连接时失败,提示如下:\r\n")));
}

void tst_Connect::brokenThenGoodConnectsAfterOneEdit_data()
{
    QTest::addColumn<int>("provider");
    QTest::addColumn<QString>("target"); // file name in the temporary folder, or server
    QTest::newRow("missing file") << 1 << QStringLiteral("nothere.db");
    QTest::newRow("not a database") << 1 << QStringLiteral("junk.db");
    QTest::newRow("server refuses") << 0 << QStringLiteral("127.0.0.1");
}

void tst_Connect::brokenThenGoodConnectsAfterOneEdit()
{
    QFETCH(int, provider);
    QFETCH(QString, target);
    QString why;
    bool skip = false;
    auto fixture = EngineFixture::create(QStringLiteral("sqlite"), &why, &skip);
    QVERIFY2(fixture, qPrintable(why));

    {
        QFile junk(m_dir->filePath(QStringLiteral("junk.db")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
    }
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        closedPort = probe.serverPort();
    }
    {
        TConfiger broken(m_dir->path());
        broken.ProviderIdx = provider;
        broken.DefaultCon = false;
        broken.JetFile = m_dir->filePath(target);
        broken.MssqlServer = target;
        broken.MssqlPort = closedPort;
        broken.MssqlDb = QStringLiteral("hr");
        broken.MssqlUser = QStringLiteral("postgres");
        broken.Save();
    }

    TDatabase db;
    TConfiger cfg(m_dir->path());
    int edits = 0;
    const bool connected = ConnectDatabase(db, cfg, [&](TConfiger &c) {
        ++edits;
        c.ProviderIdx = TConfiger::SqliteFile;
        c.DefaultCon = false;
        c.JetFile = fixture->filePath();
        c.Save();
        return true;
    });
    QVERIFY(connected);
    QCOMPARE(edits, 1);
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->lastText().startsWith(QStringLiteral("\r\n连接时失败")));
    QCOMPARE(db.DataSource(), fixture->filePath());
    QCOMPARE(companyName(db), QStringLiteral("我的公司"));
    // The next start finds the working configuration at once.
    QCOMPARE(TConfiger(m_dir->path()).GetConnectionString(), cfg.GetConnectionString());
}

void tst_Connect::cancelGivesUp()
{
    TDatabase db;
    TConfiger cfg(m_dir->path());
    cfg.ProviderIdx = TConfiger::SqliteFile;
    cfg.DefaultCon = false;
    cfg.JetFile = m_dir->filePath(QStringLiteral("nothere.db"));
    cfg.Save();
    int edits = 0;
    TConfiger *edited = nullptr;
    QVERIFY(!ConnectDatabase(db, cfg, [&](TConfiger &c) {
        edited = &c;
        return ++edits < 3;
    }));
    // Two saved edits without a fix mean two more attempts, then the user gave up.
    QCOMPARE(edits, 3);
    QCOMPARE(m_prompter->shown().size(), 3);
    QCOMPARE(edited, &cfg);
    QVERIFY(!db.Connected());
}

void tst_Connect::connectsToRealDatabase_data()
{
    addEngineRows();
}

// Through the file: the configuration is saved, read back by a new TConfiger
// and connected without any edit. The SQLite file sits in a folder whose name
// needs quoting and percent-encoding on the way.
void tst_Connect::connectsToRealDatabase()
{
    QFETCH(QString, engine);
    QString why;
    bool skip = false;
    auto fixture = EngineFixture::create(engine, &why, &skip);
    if (!fixture) {
        if (skip)
            QSKIP(qPrintable(why));
        QFAIL(qPrintable(why));
    }
    const QString fixtureString = fixture->connectionString();
    {
        TConfiger saved(m_dir->path());
        if (engine == QLatin1String("sqlite")) {
            const QString folder = m_dir->filePath(QStringLiteral("人事 档案;#1"));
            QVERIFY(QDir().mkpath(folder));
            const QString file = QDir(folder).filePath(QStringLiteral("hr?x=1.db"));
            fixture->db().SetConnected(false);
            QVERIFY(QFile::copy(fixture->filePath(), file));
            saved.ProviderIdx = TConfiger::SqliteFile;
            saved.DefaultCon = false;
            saved.JetFile = file;
        } else {
            saved.ProviderIdx = TConfiger::PostgresServer;
            saved.MssqlServer
                = ConnectionString::value(fixtureString, QStringLiteral("Data Source"));
            const QString port = ConnectionString::value(fixtureString, QStringLiteral("Port"));
            saved.MssqlPort = port.isEmpty() ? 5432 : port.toInt();
            saved.MssqlDb
                = ConnectionString::value(fixtureString, QStringLiteral("Initial Catalog"));
            saved.MssqlUser = ConnectionString::value(fixtureString, QStringLiteral("User ID"));
            saved.MssqlPw = ConnectionString::value(fixtureString, QStringLiteral("Password"));
        }
        saved.Save();
    }

    TDatabase db;
    TConfiger cfg(m_dir->path());
    int edits = 0;
    QVERIFY(ConnectDatabase(db, cfg, [&](TConfiger &) {
        ++edits;
        return false;
    }));
    QCOMPARE(edits, 0);
    QCOMPARE(m_prompter->shown().size(), 0);
    QCOMPARE(db.IsSqlServer(), engine == QLatin1String("pgsql"));
    QCOMPARE(companyName(db), QStringLiteral("我的公司"));
    db.SetConnected(false);
}

void tst_Connect::missingFileIsNeverCreated_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << QStringLiteral("nothere.db");
    QTest::newRow("missing folder") << QStringLiteral("sub/nothere.db");
    QTest::newRow("uri-like name") << QStringLiteral("x.db?mode=rwc");
    QTest::newRow("blank name") << QString();
}

void tst_Connect::missingFileIsNeverCreated()
{
    QFETCH(QString, name);
    TConfiger cfg(m_dir->path());
    cfg.ProviderIdx = TConfiger::SqliteFile;
    cfg.DefaultCon = false;
    cfg.JetFile = name.isEmpty() ? QString() : m_dir->filePath(name);
    cfg.Save();

    TDatabase db;
    QVERIFY(!ConnectDatabase(db, cfg, [](TConfiger &) { return false; }));
    QCOMPARE(m_prompter->shown().size(), 1);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{QStringLiteral("cfg.ini")});
}

// The real editor is the connection dialog, filled from the same cfg.ini.
void tst_Connect::defaultEditorIsTheConnectionDialog()
{
    {
        TConfiger saved(m_dir->path());
        saved.ProviderIdx = TConfiger::PostgresServer;
        saved.MssqlServer = QStringLiteral("127.0.0.1");
        saved.MssqlPort = 1; // nothing listens there: refused at once
        saved.Save();
    }
    TConfiger::SetDefaultFolder(m_dir->path());

    QString seenServer;
    int dialogs = 0;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<TDBConfigFrm *>(modal)) {
            ++dialogs;
            seenServer = dialog->findChild<QLineEdit *>(QStringLiteral("mssqlServerEdit1"))->text();
            dialog->findChild<QPushButton *>(QStringLiteral("Button2"))->click();
        } else if (modal && clock.elapsed() > 10000) {
            modal->close();
        }
    });
    poll.start(20);

    TDatabase db;
    QVERIFY(!ConnectDatabase(db));
    poll.stop();
    QCOMPARE(dialogs, 1);
    QCOMPARE(seenServer, QStringLiteral("127.0.0.1"));
    QCOMPARE(m_prompter->shown().size(), 1);
}

QTEST_MAIN(tst_Connect)
#include "tst_connect.moc"
