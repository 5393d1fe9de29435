#include "SqlDialect.h"

#include <QtTest>

// The translation of the program's common SQL into each engine's own. That the
// results really run is checked against live engines in tst_database.
class tst_Dialect : public QObject
{
    Q_OBJECT
private slots:
    void fragments();
    void translate_data();
    void translate();
};

void tst_Dialect::fragments()
{
    const auto sqlite = SqlDialect::create(SqlEngine::SQLite);
    const auto pg = SqlDialect::create(SqlEngine::PostgreSQL);
    const QDateTime when(QDate(2012, 1, 30), QTime(15, 20));
    QCOMPARE(sqlite->DateLiteral(when), QStringLiteral("#2012-01-30#"));
    QCOMPARE(pg->DateLiteral(when), QStringLiteral("'2012-01-30'"));
    QCOMPARE(sqlite->AgeExpression(QStringLiteral("Birthday")), QStringLiteral(" datediff('yyyy', Birthday, Date()) "));
    QCOMPARE(pg->AgeExpression(QStringLiteral("Birthday")), QStringLiteral(" datediff(yyyy, Birthday, GetDate()) "));
    QCOMPARE(sqlite->DateDiffUnit(QStringLiteral("d")), QStringLiteral("'d'"));
    QCOMPARE(pg->DateDiffUnit(QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(sqlite->NowFunction(), QStringLiteral("Now"));
    QCOMPARE(pg->NowFunction(), QStringLiteral("GetDate()"));
}

void tst_Dialect::translate_data()
{
    QTest::addColumn<bool>("pg");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");

    QTest::newRow("top becomes limit")
        << false << "select top 1 Id from report order by Id desc" << "select Id from report order by Id desc limit 1";
    QTest::newRow("top in a subquery closes at its parenthesis")
        << true << "select * from a where Id=(select top 1 Id from b order by Id) and x=1"
        << "select * from a where Id=(select Id from b order by Id limit 1) and x=1";
    QTest::newRow("top with distinct") << false << "select distinct top 5 Name from t" << "select distinct Name from t limit 5";
    QTest::newRow("brackets kept on sqlite") << false << "select [Key], [Label] from options" << "select [Key], [Label] from options";
    QTest::newRow("brackets quoted in lower case on pg")
        << true << "update options set List=:List where [Key]=:Key" << "update options set List=:List where \"key\"=:Key";
    QTest::newRow("month on sqlite") << false << "month(Birthday)=3" << "cast(strftime('%m',Birthday) as integer)=3";
    QTest::newRow("year and month on pg")
        << true << "year(d.DisDate)=2024 and month(d.DisDate)=5"
        << "cast(extract(year from d.DisDate) as integer)=2024 and cast(extract(month from d.DisDate) as integer)=5";
    QTest::newRow("strings and comments untouched")
        << true << "select 'top 1 [x] Now like' from t -- month(x) Now\n" << "select 'top 1 [x] Now like' from t -- month(x) Now\n";
    QTest::newRow("now on sqlite") << false << "select now" << "select datetime('now','localtime')";
    QTest::newRow("getdate on pg") << true << "select GetDate()" << "select localtimestamp(0)";
    QTest::newRow("a column named now is not the function") << true << "select t.now from t" << "select t.now from t";
    QTest::newRow("hash date literal on sqlite")
        << false << "p.MoveDate>=#2012-01-30#" << "p.MoveDate>='2012-01-30 00:00:00'";
    QTest::newRow("column minus now gives days on pg")
        << true << "c.Invalidate - GetDate() <= 30"
        << "(extract(epoch from (c.Invalidate)-(localtimestamp(0)))/86400.0) <= 30";
    QTest::newRow("column minus now gives days on sqlite")
        << false << "c.Invalidate - Now <= 30" << "(julianday(c.Invalidate)-julianday(datetime('now','localtime'))) <= 30";
    QTest::newRow("datediff of days on pg")
        << true << "datediff(d, v.Bgndate, v.Endate)" << "(cast(v.Endate as date)-cast(v.Bgndate as date))";
    QTest::newRow("datediff nested in arguments")
        << false << "datediff('yyyy', Birthday, Date())"
        << "(cast(strftime('%Y',datetime('now','localtime','start of day')) as integer)-cast(strftime('%Y',Birthday) as "
           "integer))";
    QTest::newRow("like ignores case on pg") << true << "e.Name like :p" << "e.Name ilike :p";
    QTest::newRow("true and false as numbers") << true << "where Active=True or x=false" << "where Active=1 or x=0";
    QTest::newRow("parameters untouched") << true << "where Id=:Id and Name=:Name" << "where Id=:Id and Name=:Name";
}

void tst_Dialect::translate()
{
    QFETCH(bool, pg);
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(SqlDialect::create(pg ? SqlEngine::PostgreSQL : SqlEngine::SQLite)->translate(sql), expected);
}

QTEST_GUILESS_MAIN(tst_Dialect)
#include "tst_dialect.moc"
