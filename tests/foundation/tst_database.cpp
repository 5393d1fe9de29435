#include "ConnectionString.h"
#include "DataSet.h"
#include "Database.h"
#include "Error.h"
#include "TestSupport.h"
#include "WhereBuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The connection, the statements and the dialect against both real engines.
class tst_Database : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void init() { QM_INIT_ENGINE(m_fixture); }
    void cleanup() { m_fixture.reset(); }

    void execReportsAffectedRows();
    void failingStatementCarriesTheSql();
    void parameterNotInTheStatementFails();
    void blobsAndTextsRoundTrip();
    void dateLiteralBoundsAreInclusive();
    void dateFunctionsRun();
    void serverNowIsLocalTime();
    void transactionsNest();
    void batchRunsOneStatementManyTimes();
    void closedConnectionReopensExceptInATransaction();
    void typedCriteriaMatchLiterally_data();
    void typedCriteriaMatchLiterally();

private:
    TDatabase &db() { return m_fixture->db(); }
    QList<int> ids(const QString &sql, const TDBParameters &params = {});
    void addEmployee(int id, const QString &name, const QVariant &birthday = QVariant());
    std::unique_ptr<EngineFixture> m_fixture;
};

QList<int> tst_Database::ids(const QString &sql, const TDBParameters &params)
{
    TDataSet set;
    db().Fill(set, sql, params);
    QList<int> list;
    for (set.First(); !set.Eof(); set.Next())
        list << set.Fields(0)->AsInteger();
    return list;
}

void tst_Database::addEmployee(int id, const QString &name, const QVariant &birthday)
{
    db().ExecSQL(
        QStringLiteral("insert into employee(Id, Name, Birthday) values (:Id, :Name, :Birthday)"),
        {MakeParameter(QStringLiteral("Id"), id), MakeParameter(QStringLiteral("Name"), name),
            MakeParameter(QStringLiteral("Birthday"), birthday)});
}

void tst_Database::execReportsAffectedRows()
{
    addEmployee(1, QStringLiteral("张三"));
    addEmployee(2, QStringLiteral("李四"));
    QCOMPARE(db().ExecSQL(QStringLiteral("update employee set Tel='1' where Id>0")), 2);
    QCOMPARE(db().ExecSQL(QStringLiteral("update employee set Tel='1' where Id=:Id"),
                 {MakeParameter("Id", 99)}),
        0);
    QCOMPARE(
        db().ExecSQL(QStringLiteral("delete from employee where Id=:ID"), {MakeParameter("id", 1)}),
        1);
}

void tst_Database::failingStatementCarriesTheSql()
{
    const QString sql = QStringLiteral("select nosuchcolumn from employee");
    try {
        db().Execute(sql);
        QFAIL("no error raised");
    } catch (const QmError &e) {
        QVERIFY2(e.message().endsWith(QStringLiteral("\r\n") + sql), qPrintable(e.message()));
        QVERIFY(e.message().size() > sql.size() + 2);
    }
}

void tst_Database::parameterNotInTheStatementFails()
{
    QVERIFY_THROWS_EXCEPTION(QmError,
        db().ExecSQL(QStringLiteral("update employee set Tel='1' where Id=:Id"),
            {MakeParameter("Id", 1), MakeParameter("Nope", 2)}));
}

void tst_Database::blobsAndTextsRoundTrip()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(static_cast<char>(i));
    const QString text = QStringLiteral("O'Brien; \"引号\" 50% a_b \\ 汉字");
    db().ExecSQL(QStringLiteral("insert into empimages(Id, EmpId, Subject, Photo) values (1, "
                                ":EmpId, :Subject, :Photo)"),
        {MakeParameter("EmpId", 7), MakeParameter("Subject", text)},
        {TxDBParameter{QStringLiteral("Photo"), bytes}});
    TDataSet set;
    db().Fill(set, QStringLiteral("select * from empimages where EmpId=:EmpId"),
        {MakeParameter("EmpId", 7)});
    QCOMPARE(set.RecordCount(), 1);
    QCOMPARE(set.FieldByName("Photo")->AsBytes(), bytes);
    QCOMPARE(set.FieldByName("subject")->AsString(), text);
}

void tst_Database::dateLiteralBoundsAreInclusive()
{
    // Moves on the 29th, 30th (twice, once with a time of day) and 31st.
    const QList<QDateTime> dates
        = {QDateTime(QDate(2012, 1, 29), QTime()), QDateTime(QDate(2012, 1, 30), QTime()),
            QDateTime(QDate(2012, 1, 30), QTime(10, 0)), QDateTime(QDate(2012, 1, 31), QTime())};
    for (int i = 0; i < dates.size(); ++i)
        db().ExecSQL(
            QStringLiteral("insert into postmove(Id, EmpId, MoveDate) values (:Id, 1, :MoveDate)"),
            {MakeParameter("Id", i + 1), MakeParameter("MoveDate", dates[i])});
    const QDateTime bound(QDate(2012, 1, 30), QTime(15, 20));
    const QString literal = db().DateLiteral(bound);
    QCOMPARE(
        ids(QStringLiteral("select Id from postmove where MoveDate>=%1 order by Id").arg(literal)),
        QList<int>({2, 3, 4}));
    QCOMPARE(
        ids(QStringLiteral("select Id from postmove where MoveDate<=%1 order by Id").arg(literal)),
        QList<int>({1, 2}));
    // A date bound as a parameter compares the same way.
    QCOMPARE(ids(QStringLiteral("select Id from postmove where MoveDate=:d"),
                 {MakeParameter("d", QDate(2012, 1, 30))}),
        QList<int>({2}));
}

void tst_Database::dateFunctionsRun()
{
    const QDate today = QDate::currentDate();
    addEmployee(1, QStringLiteral("甲"), QDateTime(today.addYears(-30), QTime()));
    addEmployee(2, QStringLiteral("乙"), QDateTime(QDate(1990, 3, 15), QTime()));
    TDataSet set;
    db().Fill(set,
        QStringLiteral(
            "select Id, %1 as Age, month(Birthday) as M, day(Birthday) as D, year(Birthday) as Y, "
            "datediff(%2, Birthday, %3) as Days from employee order by Id")
            .arg(db().AgeExpression(QStringLiteral("Birthday")),
                db().DateDiffUnit(QStringLiteral("d")),
                db().DateLiteral(QDateTime(QDate(1990, 3, 25), QTime()))));
    QCOMPARE(set.RecordCount(), 2);
    QCOMPARE(set.FieldByName("Age")->AsInteger(), 30);
    set.Next();
    QCOMPARE(set.FieldByName("M")->AsInteger(), 3);
    QCOMPARE(set.FieldByName("D")->AsInteger(), 15);
    QCOMPARE(set.FieldByName("Y")->AsInteger(), 1990);
    QCOMPARE(set.FieldByName("Days")->AsInteger(), 10);

    // Expiry within N days: "date - now" is a number of days on both engines.
    const auto contract = [&](int id, int inDays) {
        db().ExecSQL(
            QStringLiteral(
                "insert into contracts(ContractId, EmpId, Invalidate) values (:Id, 1, :d)"),
            {MakeParameter("Id", id),
                MakeParameter("d", QDateTime(today.addDays(inDays), QTime()))});
    };
    contract(1, 0);
    contract(2, 1);
    contract(3, 30);
    contract(4, 31);
    const QString now = db().NowFunction();
    QCOMPARE(ids(QStringLiteral("select ContractId from contracts c where c.Invalidate > %1 and "
                                "c.Invalidate - %1 <= %2 "
                                "order by ContractId")
                     .arg(now)
                     .arg(30)),
        QList<int>({2, 3}));
    QCOMPARE(ids(QStringLiteral("select top 1 ContractId from contracts order by ContractId desc")),
        QList<int>({4}));
}

void tst_Database::serverNowIsLocalTime()
{
    const QDateTime now = db().ServerNow();
    QVERIFY(now.isValid());
    QVERIFY2(qAbs(now.secsTo(QDateTime::currentDateTime())) < 120,
        qPrintable(now.toString(Qt::ISODate)));
}

void tst_Database::transactionsNest()
{
    QCOMPARE(db().BeginTrans(), 1);
    addEmployee(1, QStringLiteral("外层"));
    QCOMPARE(db().BeginTrans(), 2);
    addEmployee(2, QStringLiteral("内层"));
    db().RollbackTrans();
    QCOMPARE(db().TransactionLevel(), 1);
    db().CommitTrans();
    QCOMPARE(ids(QStringLiteral("select Id from employee")), QList<int>({1}));

    db().BeginTrans();
    addEmployee(3, QStringLiteral("丢弃"));
    db().RollbackTrans();
    QCOMPARE(ids(QStringLiteral("select Id from employee")), QList<int>({1}));
}

void tst_Database::closedConnectionReopensExceptInATransaction()
{
    db().SetConnected(false);
    QVERIFY(!db().Connected());
    addEmployee(1, QStringLiteral("重连"));
    QVERIFY(db().Connected());

    db().BeginTrans();
    addEmployee(2, QStringLiteral("半个事务"));
    // Simulates the connection going away inside the transaction.
    for (const QString &name : QSqlDatabase::connectionNames())
        QSqlDatabase::database(name, false).close();
    QVERIFY_THROWS_EXCEPTION(QmError, addEmployee(3, QStringLiteral("不应写入")));
    db().RollbackTrans();
    QCOMPARE(ids(QStringLiteral("select Id from employee")), QList<int>({1}));
}

void tst_Database::typedCriteriaMatchLiterally_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("quote") << QStringLiteral("O'B") << QList<int>{1};
    QTest::newRow("percent") << QStringLiteral("%") << QList<int>{2};
    QTest::newRow("underscore") << QStringLiteral("a_b") << QList<int>{3};
    QTest::newRow("backslash") << QStringLiteral("\\") << QList<int>{5};
    QTest::newRow("letter case ignored") << QStringLiteral("o'brien") << QList<int>{1};
    QTest::newRow("injection stays text") << QStringLiteral("' or '1'='1") << QList<int>{};
    QTest::newRow("chinese") << QStringLiteral("张") << QList<int>{6};
}

void tst_Database::typedCriteriaMatchLiterally()
{
    QFETCH(QString, typed);
    QFETCH(QList<int>, expected);
    const QStringList names
        = {QStringLiteral("O'Brien"), QStringLiteral("50%off"), QStringLiteral("a_b"),
            QStringLiteral("axb"), QStringLiteral("back\\slash"), QStringLiteral("张三")};
    for (int i = 0; i < names.size(); ++i)
        addEmployee(i + 1, names[i]);
    TWhereBuilder where(&db());
    where.contains(QStringLiteral("e.Name"), typed);
    QCOMPARE(ids(QStringLiteral("select e.Id from employee e where 1=1 %1 order by e.Id")
                     .arg(where.text()),
                 where.params()),
        expected);

    TWhereBuilder equal(&db());
    equal.textEquals(QStringLiteral("e.Name"), names[0].toUpper());
    QCOMPARE(ids(QStringLiteral("select e.Id from employee e where 1=1 %1").arg(equal.text()),
                 equal.params()),
        QList<int>{1});
}

void tst_Database::batchRunsOneStatementManyTimes()
{
    {
        // The names in other letter cases, used twice and as NULL.
        TDatabase::Batch batch(db(),
            QStringLiteral("insert into employee(Id, Name, NickName) values (:id, :Name, :NAME)"));
        QCOMPARE(batch.exec({MakeParameter(QStringLiteral("ID"), 1),
                     MakeParameter(QStringLiteral("name"), QStringLiteral("张三"))}),
            1);
        QCOMPARE(batch.exec({MakeParameter(QStringLiteral("Id"), 2),
                     MakeParameter(QStringLiteral("Name"), QVariant())}),
            1);
        try {
            batch.exec({MakeParameter(QStringLiteral("Id"), 1)});
            QFAIL("a duplicate key was inserted");
        } catch (const QmError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("insert into employee")),
                qPrintable(e.message()));
        }
        QVERIFY_THROWS_EXCEPTION(QmError, batch.exec({MakeParameter(QStringLiteral("Other"), 3)}));
    }
    QCOMPARE(ids(QStringLiteral("select Id from employee where Name=NickName and Name=:N"),
                 {MakeParameter(QStringLiteral("N"), QStringLiteral("张三"))}),
        QList<int>{1});
    QCOMPARE(ids(QStringLiteral("select Id from employee where Name is null")), QList<int>{2});
    // Batches come and go on one connection.
    TDatabase::Batch again(db(), QStringLiteral("update employee set Name=:Name where Id=:Id"));
    QCOMPARE(again.exec({MakeParameter(QStringLiteral("Id"), 2),
                 MakeParameter(QStringLiteral("Name"), QStringLiteral("李四"))}),
        1);
    QCOMPARE(again.exec({MakeParameter(QStringLiteral("Id"), 9),
                 MakeParameter(QStringLiteral("Name"), QStringLiteral("无"))}),
        0);
}

QTEST_GUILESS_MAIN(tst_Database)
#include "tst_database.moc"
