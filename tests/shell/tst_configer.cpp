#include "Configer.h"
#include "ConnectionString.h"
#include "Error.h"
#include "IniFile.h"
#include "TestSupport.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {
int fileMode(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 0777);
}
} // namespace

class tst_Configer : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void defaultsWhenFileMissing();
    void unreadableNumbersFallBackToDefaults();
    void everyFieldRoundTrips_data();
    void everyFieldRoundTrips();
    void protectedValuesAreNeverStoredPlain();
    void storedFormOfPlainValues();
    void connStrFollowsProvider_data();
    void connStrFollowsProvider();
    void connectionStringPerProvider_data();
    void connectionStringPerProvider();
    void controlCharactersAreRefusedBeforeWriting();
    void unwritableFolderIsReported();
    void saveKeepsLinesItDoesNotKnow();
    void lastLoginIdKeepsTheConnectionKeys();

private:
    QByteArray rawValue(const char *section, const char *key) const;
    QString path() const { return m_dir->filePath(QStringLiteral("cfg.ini")); }
    void writeFile(const QByteArray &content) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Configer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_Configer::cleanup()
{
    TConfiger::SetDefaultFolder(QString());
    m_dir.reset();
}

QByteArray tst_Configer::rawValue(const char *section, const char *key) const
{
    IniFile ini(path());
    if (!ini.load())
        return QByteArray("<unreadable>");
    return ini.value(section, key, "<absent>");
}

void tst_Configer::writeFile(const QByteArray &content) const
{
    QFile f(path());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

void tst_Configer::defaultsWhenFileMissing()
{
    TConfiger cfg(m_dir->path());
    QCOMPARE(cfg.ProviderIdx, 0);
    QCOMPARE(cfg.DefaultCon, true);
    QCOMPARE(cfg.MssqlPort, 5432);
    for (const QString *text : {&cfg.MssqlServer, &cfg.MssqlDb, &cfg.MssqlUser, &cfg.MssqlPw,
             &cfg.JetFile, &cfg.JetUser, &cfg.JetPw, &cfg.VizUrl, &cfg.VizUser})
        QVERIFY(text->isEmpty());
    // Provider 0 without a saved string: the first attempt must fail so the
    // user gets the dialog.
    QCOMPARE(cfg.GetConnectionString(), QString());
    QCOMPARE(TConfiger::ReadLastLoginId(m_dir->path()), QString());
    QVERIFY(!QFile::exists(path()));
}

void tst_Configer::unreadableNumbersFallBackToDefaults()
{
    writeFile("[db]\r\nproviderIdx=\r\nmssqlPort=54x\r\ndefaultCon=yes\r\nmssqlServer= host \r\n");
    TConfiger cfg(m_dir->path());
    QCOMPARE(cfg.ProviderIdx, 0);
    QCOMPARE(cfg.MssqlPort, 5432);
    QCOMPARE(cfg.DefaultCon, true);
    QCOMPARE(cfg.MssqlServer, QStringLiteral(" host "));

    writeFile("[DB]\r\nPROVIDERIDX=1\r\nmssqlport=6543\r\ndefaultCon=0\r\n");
    TConfiger upper(m_dir->path());
    QCOMPARE(upper.ProviderIdx, 1);
    QCOMPARE(upper.MssqlPort, 6543);
    QCOMPARE(upper.DefaultCon, false);
}

void tst_Configer::everyFieldRoundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("separators") << QStringLiteral("a;b=c;");
    QTest::newRow("blank ends") << QStringLiteral("  padded  ");
    QTest::newRow("quotes") << QStringLiteral("it's \"quoted\"");
    QTest::newRow("chinese") << QStringLiteral("人事档案 密码");
    QTest::newRow("section-like") << QStringLiteral("[Login]");
    QTest::newRow("comment-like") << QStringLiteral(";#=");
    QTest::newRow("empty") << QString();
}

// Every text field gets the same awkward value, so one row checks the plain
// keys, the scrambled keys and the composed strings at once.
void tst_Configer::everyFieldRoundTrips()
{
    QFETCH(QString, text);
    {
        TConfiger cfg(m_dir->path());
        cfg.ProviderIdx = 0;
        cfg.DefaultCon = false;
        cfg.MssqlPort = 6543;
        for (QString *field : {&cfg.MssqlServer, &cfg.MssqlDb, &cfg.MssqlUser, &cfg.MssqlPw,
                 &cfg.JetFile, &cfg.JetUser, &cfg.JetPw, &cfg.VizUrl, &cfg.VizUser})
            *field = text;
        cfg.Save();
    }
    TConfiger cfg(m_dir->path());
    QCOMPARE(cfg.ProviderIdx, 0);
    QCOMPARE(cfg.DefaultCon, false);
    QCOMPARE(cfg.MssqlPort, 6543);
    QCOMPARE(cfg.MssqlServer, text);
    QCOMPARE(cfg.MssqlDb, text);
    QCOMPARE(cfg.MssqlUser, text);
    QCOMPARE(cfg.MssqlPw, text);
    QCOMPARE(cfg.JetFile, text);
    QCOMPARE(cfg.JetUser, text);
    QCOMPARE(cfg.JetPw, text);
    QCOMPARE(cfg.VizUrl, text);
    QCOMPARE(cfg.VizUser, text);

    const QString cs = cfg.GetConnectionString();
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Provider")), TDatabase::PostgresProvider);
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Data Source")), text);
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Port")), QStringLiteral("6543"));
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Initial Catalog")), text);
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("User ID")), text);
    QCOMPARE(ConnectionString::value(cs, QStringLiteral("Password")), text);
}

void tst_Configer::protectedValuesAreNeverStoredPlain()
{
    // At byte 5 the lead byte of 口 scrambles into an overlong (invalid)
    // UTF-8 sequence, which must survive the file unchanged.
    const QString password = QStringLiteral("abcd口令;= x ");
    const QString file = QStringLiteral("/数据/人事 档案.db");
    {
        TConfiger cfg(m_dir->path());
        cfg.ProviderIdx = 1;
        cfg.DefaultCon = false;
        cfg.MssqlPw = password;
        cfg.JetFile = file;
        cfg.JetPw = password;
        cfg.Save();
    }
    const QByteArray storedPw = rawValue("db", "mssqlPw");
    QVERIFY(storedPw != password.toUtf8());
    QCOMPARE(Scramble(storedPw), password.toUtf8());
    QVERIFY2(QString::fromUtf8(storedPw).toUtf8() != storedPw,
        "fixture should produce bytes that are not UTF-8");

    const QByteArray storedFile = rawValue("db", "jetfile");
    QVERIFY(storedFile != file.toUtf8());
    QCOMPARE(Scramble(storedFile), file.toUtf8());
    QCOMPARE(Scramble(rawValue("db", "jetPw")), password.toUtf8());

    const QByteArray storedConn = rawValue("db", "ConnStr");
    QVERIFY(!storedConn.contains("SQLite"));
    QCOMPARE(ConnectionString::value(
                 QString::fromUtf8(Scramble(storedConn)), QStringLiteral("Data Source")),
        file);

    TConfiger reread(m_dir->path());
    QCOMPARE(reread.MssqlPw, password);
    QCOMPARE(reread.JetFile, file);
    QCOMPARE(reread.JetPw, password);
    QCOMPARE(fileMode(path()), 0600);
}

void tst_Configer::storedFormOfPlainValues()
{
    TConfiger cfg(m_dir->path());
    cfg.ProviderIdx = 2;
    cfg.DefaultCon = false;
    cfg.MssqlServer = QStringLiteral("db1");
    cfg.MssqlPort = 6543;
    cfg.MssqlUser = QStringLiteral("hr");
    cfg.VizUrl = QStringLiteral("http://dir.example/viz");
    cfg.VizUser = QStringLiteral("张三");
    cfg.Save();

    QFile f(path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    for (const QByteArray &line :
        {QByteArray("mssqlServer=db1\r\n"), QByteArray("mssqlPort=6543\r\n"),
            QByteArray("mssqlUser=hr\r\n"), QByteArray("providerIdx=2\r\n"),
            QByteArray("defaultCon=0\r\n"), QByteArray("vizUrl=http://dir.example/viz\r\n"),
            QStringLiteral("vizUser=张三\r\n").toUtf8(), QByteArray("mssqlPw=\r\n"),
            QByteArray("ConnStr=\r\n")})
        QVERIFY2(text.contains(line), line.constData());
    QVERIFY(text.startsWith("[db]\r\n"));
}

void tst_Configer::connStrFollowsProvider_data()
{
    QTest::addColumn<int>("provider");
    QTest::addColumn<QString>("provider_key");
    QTest::addColumn<QString>("source");
    QTest::newRow("postgres server") << 0 << TDatabase::PostgresProvider << QStringLiteral("db1");
    QTest::newRow("sqlite file") << 1 << TDatabase::SqliteProvider << QStringLiteral("/data/hr.db");
    QTest::newRow("directory service") << 2 << QString() << QString();
    QTest::newRow("unknown index") << 5 << QString() << QString();
}

void tst_Configer::connStrFollowsProvider()
{
    QFETCH(int, provider);
    QFETCH(QString, provider_key);
    QFETCH(QString, source);
    // A stale string from an earlier save must be replaced, not kept.
    writeFile("[db]\r\nConnStr=" + Scramble("Provider=SQLite;Data Source=/old.db") + "\r\n");

    TConfiger cfg(m_dir->path());
    cfg.ProviderIdx = provider;
    cfg.DefaultCon = true;
    cfg.MssqlServer = QStringLiteral("db1");
    cfg.MssqlPort = 6543;
    cfg.MssqlDb = QStringLiteral("hr");
    cfg.MssqlUser = QStringLiteral("clerk");
    cfg.MssqlPw = QStringLiteral("p;w");
    cfg.JetFile = QStringLiteral("/data/hr.db");
    cfg.Save();

    const QString stored = QString::fromUtf8(Scramble(rawValue("db", "ConnStr")));
    QCOMPARE(ConnectionString::value(stored, QStringLiteral("Provider")), provider_key);
    QCOMPARE(ConnectionString::value(stored, QStringLiteral("Data Source")), source);
    if (provider == 0) {
        QCOMPARE(ConnectionString::value(stored, QStringLiteral("Port")), QStringLiteral("6543"));
        QCOMPARE(ConnectionString::value(stored, QStringLiteral("Initial Catalog")),
            QStringLiteral("hr"));
        QCOMPARE(
            ConnectionString::value(stored, QStringLiteral("User ID")), QStringLiteral("clerk"));
        QCOMPARE(
            ConnectionString::value(stored, QStringLiteral("Password")), QStringLiteral("p;w"));
    }
    if (provider_key.isEmpty())
        QCOMPARE(stored, QString());
}

void tst_Configer::connectionStringPerProvider_data()
{
    const QString saved = QStringLiteral("Provider=PostgreSQL;Data Source=saved");
    const QString defaultFile
        = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vuzoz26.db"));
    QTest::addColumn<int>("provider");
    QTest::addColumn<bool>("defaultCon");
    QTest::addColumn<QString>("expected");
    QTest::newRow("server uses the saved string") << 0 << true << saved;
    QTest::newRow("chosen file uses the saved string") << 1 << false << saved;
    QTest::newRow("default file beside the executable")
        << 1 << true << QStringLiteral("Provider=SQLite;Data Source=") + defaultFile;
    QTest::newRow("unknown index uses the saved string") << 9 << true << saved;
}

// Read from a hand-written file, so the saved string is the only source.
void tst_Configer::connectionStringPerProvider()
{
    QFETCH(int, provider);
    QFETCH(bool, defaultCon);
    QFETCH(QString, expected);
    writeFile("[db]\r\nproviderIdx=" + QByteArray::number(provider)
        + "\r\ndefaultCon=" + (defaultCon ? "1" : "0") + "\r\njetfile=" + Scramble("/elsewhere.db")
        + "\r\nConnStr=" + Scramble("Provider=PostgreSQL;Data Source=saved") + "\r\n");
    TConfiger cfg(m_dir->path());
    QCOMPARE(cfg.GetConnectionString(), expected);
}

void tst_Configer::controlCharactersAreRefusedBeforeWriting()
{
    // A tab in tenth place scrambles into a line feed: the file would be cut
    // apart and the password lost.
    QCOMPARE(Scramble("123456789\t").right(1), QByteArray("\n"));
    writeFile("[db]\r\nmssqlPw=" + Scramble("old") + "\r\n");
    TConfiger cfg(m_dir->path());
    cfg.MssqlPw = QStringLiteral("123456789\tx");
    QVERIFY_THROWS_EXCEPTION(QmError, cfg.Save());
    QCOMPARE(TConfiger(m_dir->path()).MssqlPw, QStringLiteral("old"));

    cfg.MssqlPw = QStringLiteral("new");
    cfg.VizUser = QStringLiteral("line\nbreak");
    QVERIFY_THROWS_EXCEPTION(QmError, cfg.Save());
    QCOMPARE(TConfiger(m_dir->path()).MssqlPw, QStringLiteral("old"));

    QVERIFY(!TConfiger::WriteLastLoginId(QStringLiteral("sa\r\n[db]"), m_dir->path()));
    QCOMPARE(TConfiger::ReadLastLoginId(m_dir->path()), QString());
}

void tst_Configer::unwritableFolderIsReported()
{
    TConfiger cfg(m_dir->filePath(QStringLiteral("missing/folder")));
    cfg.MssqlServer = QStringLiteral("db1");
    try {
        cfg.Save();
        QFAIL("Save into a missing folder reported success");
    } catch (const QmError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("cfg.ini")), qPrintable(e.message()));
    }
    QVERIFY(!TConfiger::WriteLastLoginId(
        QStringLiteral("sa"), m_dir->filePath(QStringLiteral("missing/folder"))));
}

void tst_Configer::saveKeepsLinesItDoesNotKnow()
{
    writeFile(
        "; written by hand\r\n[db]\r\nproviderIdx=0\r\nfutureKey=keep me\r\n\r\n[Other]\r\nk=v\r\n"
        "[Login]\r\nLastLoginId=clerk\r\n");
    TConfiger cfg(m_dir->path());
    cfg.ProviderIdx = 1;
    cfg.Save();

    QFile f(path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(text.startsWith("; written by hand\r\n[db]\r\nproviderIdx=1\r\nfutureKey=keep me\r\n"));
    QVERIFY(text.contains("[Other]\r\nk=v\r\n"));
    QCOMPARE(TConfiger::ReadLastLoginId(m_dir->path()), QStringLiteral("clerk"));
}

void tst_Configer::lastLoginIdKeepsTheConnectionKeys()
{
    {
        TConfiger cfg(m_dir->path());
        cfg.ProviderIdx = 1;
        cfg.DefaultCon = false;
        cfg.JetFile = QStringLiteral("/data/hr.db");
        cfg.MssqlPw = QStringLiteral("secret");
        cfg.Save();
    }
    // The login window writes without a folder: the redirected default.
    TConfiger::SetDefaultFolder(m_dir->path());
    QVERIFY(TConfiger::WriteLastLoginId(QStringLiteral("王五")));
    QCOMPARE(TConfiger::ReadLastLoginId(), QStringLiteral("王五"));
    QCOMPARE(rawValue("Login", "LastLoginId"), QStringLiteral("王五").toUtf8());
    QVERIFY(TConfiger::WriteLastLoginId(QStringLiteral("sa")));
    QCOMPARE(TConfiger::ReadLastLoginId(), QStringLiteral("sa"));

    TConfiger cfg;
    QCOMPARE(cfg.iniPath(), path());
    QCOMPARE(cfg.ProviderIdx, 1);
    QCOMPARE(cfg.JetFile, QStringLiteral("/data/hr.db"));
    QCOMPARE(cfg.MssqlPw, QStringLiteral("secret"));
    QCOMPARE(cfg.GetConnectionString(), QStringLiteral("Provider=SQLite;Data Source=/data/hr.db"));
    QCOMPARE(fileMode(path()), 0600);

    // A login before any configuration was saved creates the file alone.
    QTemporaryDir fresh;
    QVERIFY(TConfiger::WriteLastLoginId(QStringLiteral("sa"), fresh.path()));
    QCOMPARE(TConfiger::ReadLastLoginId(fresh.path()), QStringLiteral("sa"));
    QCOMPARE(fileMode(fresh.filePath(QStringLiteral("cfg.ini"))), 0600);
}

QTEST_GUILESS_MAIN(tst_Configer)
#include "tst_configer.moc"
