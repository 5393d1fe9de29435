#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_IniFile : public QObject
{
    Q_OBJECT
private slots:
    void valuesRoundTripByteForByte_data();
    void valuesRoundTripByteForByte();
    void keepsWhatItDoesNotKnow();
    void missingFileIsEmptyAndFirstWriteCreatesIt();
};

void tst_IniFile::valuesRoundTripByteForByte_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("semicolon and equals") << QByteArray("a;b=c;");
    QTest::newRow("blank ends") << QByteArray("  padded  ");
    QTest::newRow("not utf-8") << QByteArray("\xff\xfe\x80 x");
    QTest::newRow("brackets") << QByteArray("[db]");
    QTest::newRow("empty") << QByteArray();
}

void tst_IniFile::valuesRoundTripByteForByte()
{
    QFETCH(QByteArray, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cfg.ini"));
    IniFile ini(path);
    ini.setValue("db", "mssqlPw", value);
    ini.setValue("db", "other", "x");
    QVERIFY(ini.save());

    IniFile reread(path);
    QVERIFY(reread.load());
    QCOMPARE(reread.value("db", "mssqlPw"), value);
    QCOMPARE(reread.value("DB", "MSSQLPW"), value);
    QCOMPARE(reread.value("db", "other"), QByteArray("x"));
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther | QFileDevice::ExeOther;
    QCOMPARE(QFile::permissions(path) & others, QFileDevice::Permissions());
    QVERIFY(QFile::permissions(path) & QFileDevice::WriteOwner);
}

void tst_IniFile::keepsWhatItDoesNotKnow()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cfg.ini"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("; a comment\r\n[db]\r\nproviderIdx=1\r\nunknown=keep me\r\n\r\n[Other]\r\nk=v\r\n");
    }
    IniFile ini(path);
    QVERIFY(ini.load());
    ini.setValue("Login", "LastLoginId", "sa");
    ini.setValue("db", "providerIdx", "0");
    QVERIFY(ini.save());

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(text.startsWith("; a comment\r\n[db]\r\nproviderIdx=0\r\nunknown=keep me\r\n"));
    QVERIFY(text.contains("[Other]\r\nk=v\r\n"));
    QVERIFY(text.contains("[Login]\r\nLastLoginId=sa\r\n"));
}

void tst_IniFile::missingFileIsEmptyAndFirstWriteCreatesIt()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cfg.ini"));
    IniFile ini(path);
    QVERIFY(ini.load());
    QCOMPARE(ini.value("db", "providerIdx", "0"), QByteArray("0"));
    QVERIFY(!QFile::exists(path));
    ini.setValue("db", "providerIdx", "1");
    QVERIFY(ini.save());
    QVERIFY(QFile::exists(path));
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
