#include "DataGenerator.h"
#include "DataSet.h"
#include "Database.h"
#include "Error.h"
#include "Schema.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QtTest>

// The generated company on both engines: one seed always gives the same rows,
// the rows agree with each other, and a failure never passes for success.
class tst_DataGen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void init() { QM_INIT_ENGINE(m_fixture); }
    void cleanup() { m_fixture.reset(); }
    void cleanupTestCase() { m_company.reset(); }

    void sameSeedGivesSameRows();
    void leavingATableOutChangesNoOther();
    void rowsAgree_data();
    void rowsAgree();
    void idNumbersMatchTheirOwners();
    void tableSelection_data();
    void tableSelection();
    void appendsToExistingData();
    void failingTableRollsBackItsChunk();

private:
    static DataGenerator::Options options(
        int employees, quint32 seed = 1, const QStringList &tables = {});
    static QVector<DataGenerator::TableCount> generate(
        TDatabase &db, const DataGenerator::Options &options);
    static QByteArray fingerprint(TDatabase &db, const QString &table);
    static int count(TDatabase &db, const QString &sql, const TDBParameters &params = {});
    static QStringList generatedTables();
    TDatabase &company();

    std::unique_ptr<EngineFixture> m_fixture;
    // One generated company per engine, shared by the checks that only read it.
    std::unique_ptr<EngineFixture> m_company;
};

DataGenerator::Options tst_DataGen::options(int employees, quint32 seed, const QStringList &tables)
{
    DataGenerator::Options o;
    o.employees = employees;
    o.seed = seed;
    o.tables = tables;
    o.chunk = 250; // several chunks, so the chunk boundaries are exercised too
    return o;
}

QVector<DataGenerator::TableCount> tst_DataGen::generate(
    TDatabase &db, const DataGenerator::Options &options)
{
    DataGenerator generator(db, options);
    return generator.run();
}

QStringList tst_DataGen::generatedTables()
{
    return QStringList{QStringLiteral("employee"), QStringLiteral("empjoin")}
    + DataGenerator::OptionalTables();
}

QByteArray tst_DataGen::fingerprint(TDatabase &db, const QString &table)
{
    QString key;
    for (const Schema::Table &t : Schema::Tables())
        if (table.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            key = QLatin1String(t.key);
    TDataSet set;
    db.Fill(set, QStringLiteral("select * from %1 order by %2").arg(table, key));
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (set.First(); !set.Eof(); set.Next()) {
        for (int f = 0; f < set.FieldCount(); ++f) {
            const TField *field = set.Fields(f);
            hash.addData(field->IsNull() ? QByteArray("\x01") : field->DisplayText().toUtf8());
            hash.addData(QByteArray("\x1f"));
        }
        hash.addData(QByteArray("\x1e"));
    }
    return hash.result().toHex() + ':' + QByteArray::number(set.RecordCount());
}

int tst_DataGen::count(TDatabase &db, const QString &sql, const TDBParameters &params)
{
    TDataSet set;
    db.Fill(set, sql, params);
    return set.Fields(0)->AsInteger();
}

TDatabase &tst_DataGen::company()
{
    if (!m_company || m_company->engine() != m_fixture->engine()) {
        QString why;
        bool skip = false;
        m_company = EngineFixture::create(m_fixture->engine(), &why, &skip);
        if (!m_company)
            qFatal("%s", qPrintable(why));
        generate(m_company->db(), options(1500, 11));
    }
    return m_company->db();
}

void tst_DataGen::sameSeedGivesSameRows()
{
    const QVector<DataGenerator::TableCount> written = generate(m_fixture->db(), options(400, 5));
    for (const auto &c : written)
        QVERIFY2(count(m_fixture->db(), QStringLiteral("select count(*) from %1").arg(c.first))
                == c.second,
            qPrintable(c.first));

    // The same seed on a fresh SQLite database, so the pgsql row also shows
    // that the engines get identical data; other chunks change nothing.
    QString why;
    bool skip = false;
    auto again = EngineFixture::create(QStringLiteral("sqlite"), &why, &skip);
    QVERIFY2(again, qPrintable(why));
    DataGenerator::Options otherChunks = options(400, 5);
    otherChunks.chunk = 97;
    generate(again->db(), otherChunks);
    auto other = EngineFixture::create(QStringLiteral("sqlite"), &why, &skip);
    QVERIFY2(other, qPrintable(why));
    generate(other->db(), options(400, 6));

    for (const QString &table : generatedTables())
        QVERIFY2(fingerprint(m_fixture->db(), table) == fingerprint(again->db(), table),
            qPrintable(table));
    QVERIFY(fingerprint(m_fixture->db(), QStringLiteral("employee"))
        != fingerprint(other->db(), QStringLiteral("employee")));
}

void tst_DataGen::leavingATableOutChangesNoOther()
{
    generate(m_fixture->db(), options(400, 3));
    QString why;
    bool skip = false;
    auto without = EngineFixture::create(m_fixture->engine(), &why, &skip);
    QVERIFY2(without, qPrintable(why));
    QStringList tables = DataGenerator::OptionalTables();
    tables.removeAll(QStringLiteral("vacation"));
    generate(without->db(), options(400, 3, tables));

    QCOMPARE(count(without->db(), QStringLiteral("select count(*) from vacation")), 0);
    for (const QString &table : generatedTables())
        if (table != QLatin1String("vacation"))
            QVERIFY2(fingerprint(m_fixture->db(), table) == fingerprint(without->db(), table),
                qPrintable(table));
}

void tst_DataGen::rowsAgree_data()
{
    // Each statement counts the rows that break one rule; all must count 0.
    QTest::addColumn<QString>("violations");
    QTest::newRow("a dismissed employee points at a dismissal of his own")
        << "select count(*) from employee e left join empjout o on o.Id=e.JoutId "
           "where e.JoutId is not null and (o.Id is null or o.EmpId<>e.Id)";
    QTest::newRow("the current post is where the last move led")
        << "select count(*) from empjoin j join postmove m on m.EmpId=j.EmpId "
           "where m.MoveDate=(select max(MoveDate) from postmove p where p.EmpId=j.EmpId) "
           "and (m.DeptId2<>j.DutyDeptId or m.Duty2<>j.DutyName or m.MoveDate<>j.DutyDate)";
    QTest::newRow("each move starts where the one before ended")
        << "select count(*) from postmove a join postmove b on b.EmpId=a.EmpId "
           "and b.MoveDate=(select min(MoveDate) from postmove c where c.EmpId=a.EmpId and "
           "c.MoveDate>a.MoveDate) "
           "where b.DeptId1<>a.DeptId2 or b.Duty1<>a.Duty2";
    QTest::newRow("no move after leaving") << "select count(*) from employee e join empjout o on "
                                              "o.Id=e.JoutId join postmove m on m.EmpId=e.Id "
                                              "where m.MoveDate>o.Disdate";
    QTest::newRow("no leave after leaving") << "select count(*) from employee e join empjout o on "
                                               "o.Id=e.JoutId join vacation v on v.EmpId=e.Id "
                                               "where v.Bgndate>o.Disdate";
    QTest::newRow("no contract starts after leaving")
        << "select count(*) from employee e join empjout o on o.Id=e.JoutId join contracts c on "
           "c.EmpId=e.Id "
           "where c.Validate>o.Disdate";
    QTest::newRow("no training after leaving")
        << "select count(*) from employee e join empjout o on o.Id=e.JoutId join Trains t on "
           "t.TrnEmpid=e.Id "
           "join TrainCourses c on c.CourseId=t.TrnCourseId where c.BeginDate>o.Disdate";
    QTest::newRow("nothing before joining")
        << "select (select count(*) from empjoin j join vacation v on v.EmpId=j.EmpId where "
           "v.Bgndate<j.JoinDate)"
           " + (select count(*) from empjoin j join postmove m on m.EmpId=j.EmpId where "
           "m.MoveDate<=j.JoinDate)"
           " + (select count(*) from empjoin j join contracts c on c.EmpId=j.EmpId where "
           "c.Validate<j.JoinDate)";
    QTest::newRow("contracts of one person do not overlap")
        << "select count(*) from contracts a join contracts b on b.EmpId=a.EmpId and "
           "b.ContractId<>a.ContractId "
           "where b.Validate>=a.Validate and b.Validate<=a.Invalidate";
    QTest::newRow("a return comes after its dismissal and ends it")
        << "select count(*) from empback b join empjout o on o.Id=b.JoutId join employee e on "
           "e.Id=o.EmpId "
           "where b.Backdate<=o.Disdate or e.JoutId=b.JoutId";
    QTest::newRow("every code has its parent")
        << "select count(*) from department d where length(d.Code)>2 and not exists "
           "(select 1 from department p where p.Code=substr(d.Code, 1, length(d.Code)-2))";
    QTest::newRow("codes grow two characters per level")
        << "select count(*) from department where length(Code)%2<>0 or length(Code)=0";
    QTest::newRow("posts are in departments that exist")
        << "select count(*) from empjoin where DutyDeptId not in (select Code from department) "
           "or JoinDeptId not in (select Code from department)";
    QTest::newRow("archive numbers are unique")
        << "select count(*) from (select Code from empjoin group by Code having count(*)>1) x";
    QTest::newRow("ID numbers are unique")
        << "select count(*) from (select IdCode from employee group by IdCode having count(*)>1) x";
    QTest::newRow("applicants have no joining row")
        << "select count(*) from Zpapply a join empjoin j on j.EmpId=a.EmpId";
    QTest::newRow("everybody else has one")
        << "select count(*) from employee e where not exists (select 1 from empjoin j where "
           "j.EmpId=e.Id) "
           "and not exists (select 1 from Zpapply a where a.EmpId=e.Id)";
    QTest::newRow("trainings are of courses that exist")
        << "select count(*) from Trains t left join TrainCourses c on c.CourseId=t.TrnCourseId "
           "where c.CourseId is null";
    QTest::newRow("courses are given by organisations that exist")
        << "select count(*) from TrainCourses c left join TrainOrgans o on o.OrganId=c.OrganId "
           "where o.OrganId is null";
    QTest::newRow("applications are for jobs that exist")
        << "select count(*) from Zpapply a left join Zpjobs j on j.Id=a.JobId where j.Id is null";
    QTest::newRow("an open probation of someone still here has not ended yet")
        << "select count(*) from emptrials t join employee e on e.Id=t.EmpId "
           "where t.TestDate is null and e.JoutId is null and t.TryDate2<:Today";
    QTest::newRow("a probation is confirmed or ended by leaving")
        << "select count(*) from emptrials t join employee e on e.Id=t.EmpId "
           "where t.TryDate2<:Today and t.TestDate is null and t.TryResult is null";
    QTest::newRow("nothing happens after today")
        << "select (select count(*) from empjoin where JoinDate>:Today or DutyDate>:Today)"
           " + (select count(*) from empjout where Disdate>:Today)"
           " + (select count(*) from vacation where Termdate>:Today)"
           " + (select count(*) from tests where Testday>:Today)"
           " + (select count(*) from Trains where TrnLogdate>:Today)";
}

void tst_DataGen::rowsAgree()
{
    QFETCH(QString, violations);
    const TDBParameters params = violations.contains(QLatin1String(":Today"))
        ? TDBParameters{MakeParameter(
            QStringLiteral("Today"), QDateTime(DataGenerator::Options().today, QTime(0, 0)))}
        : TDBParameters{};
    QCOMPARE(count(company(), violations, params), 0);
}

void tst_DataGen::idNumbersMatchTheirOwners()
{
    TDataSet set;
    company().Fill(set, QStringLiteral("select Id, Sex, Birthday, IdCode from employee"));
    QVERIFY(set.RecordCount() > 1500);
    const QDate today = DataGenerator::Options().today;
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    for (set.First(); !set.Eof(); set.Next()) {
        const QString id = set.FieldByName(QStringLiteral("IdCode"))->AsString();
        const QDate birthday = set.FieldByName(QStringLiteral("Birthday"))->AsDateTime().date();
        const QString who
            = set.FieldByName(QStringLiteral("Id"))->AsString() + QLatin1Char(' ') + id;
        QVERIFY2(id.size() == 18, qPrintable(who));
        int sum = 0;
        for (int i = 0; i < 17; ++i)
            sum += id[i].digitValue() * weights[i];
        QVERIFY2(id[17] == QLatin1Char("10X98765432"[sum % 11]), qPrintable(who));
        QVERIFY2(id.mid(6, 8) == birthday.toString(QStringLiteral("yyyyMMdd")), qPrintable(who));
        const bool odd = id[16].digitValue() % 2 == 1;
        QVERIFY2(
            odd == (set.FieldByName(QStringLiteral("Sex"))->AsString() == QStringLiteral("男")),
            qPrintable(who));
        QVERIFY2(
            birthday > today.addYears(-66) && birthday <= today.addYears(-18), qPrintable(who));
    }
}

void tst_DataGen::tableSelection_data()
{
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<QStringList>("filled");
    QTest::addColumn<QStringList>("empty");
    QTest::addColumn<bool>("refused");
    const QString d = QStringLiteral("department");
    QTest::newRow("the core alone")
        << QStringList{d} << QStringList{"employee", "empjoin", d}
        << QStringList{"empjout", "postmove", "vacation", "Trains", "Zpapply"} << false;
    QTest::newRow("trainings bring their courses and organisations")
        << QStringList{d, "Trains"} << QStringList{"Trains", "TrainCourses", "TrainOrgans"}
        << QStringList{"contracts", "Zpjobs"} << false;
    QTest::newRow("returns bring their dismissals")
        << QStringList{d, "empback"} << QStringList{"empjout", "empback"}
        << QStringList{"emptrials"} << false;
    QTest::newRow("names ignore letter case")
        << QStringList{"DEPARTMENT", "PostMove"} << QStringList{"postmove"} << QStringList{"tests"}
        << false;
    QTest::newRow("an unknown table is refused")
        << QStringList{d, "salaries"} << QStringList{} << QStringList{"employee", d} << true;
    QTest::newRow("no tree to put people in")
        << QStringList{"postmove"} << QStringList{} << QStringList{"employee", "postmove"} << true;
}

void tst_DataGen::tableSelection()
{
    QFETCH(QStringList, tables);
    QFETCH(QStringList, filled);
    QFETCH(QStringList, empty);
    QFETCH(bool, refused);
    TDatabase &db = m_fixture->db();
    bool raised = false;
    try {
        generate(db, options(1500, 2, tables));
    } catch (const QmError &) {
        raised = true;
    }
    QCOMPARE(raised, refused);
    QCOMPARE(db.TransactionLevel(), 0);
    for (const QString &table : filled)
        QVERIFY2(
            count(db, QStringLiteral("select count(*) from %1").arg(table)) > 0, qPrintable(table));
    for (const QString &table : empty)
        QVERIFY2(count(db, QStringLiteral("select count(*) from %1").arg(table)) == 0,
            qPrintable(table));
    // Nobody counts as dismissed without a dismissal row to point at.
    if (!tables.contains(QStringLiteral("empjout")) && !tables.contains(QStringLiteral("empback")))
        QCOMPARE(
            count(db, QStringLiteral("select count(*) from employee where JoutId is not null")), 0);
}

void tst_DataGen::appendsToExistingData()
{
    TDatabase &db = m_fixture->db();
    generate(db, options(300, 1));
    const int departments = count(db, QStringLiteral("select count(*) from department"));
    const int people = count(db, QStringLiteral("select count(*) from employee"));
    const QVector<DataGenerator::TableCount> second = generate(db, options(300, 2));

    // The existing tree is used, not doubled; every new row got a new id.
    QCOMPARE(count(db, QStringLiteral("select count(*) from department")), departments);
    qint64 added = 0;
    for (const auto &c : second)
        if (c.first == QLatin1String("employee"))
            added = c.second;
    QVERIFY(added > 300);
    QCOMPARE(count(db, QStringLiteral("select count(*) from employee")), people + added);
    QCOMPARE(count(db,
                 QStringLiteral("select count(*) from empjoin where DutyDeptId not in (select Code "
                                "from department)")),
        0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from empjoin where EmpId>:Last"),
                 {MakeParameter(QStringLiteral("Last"), people)}),
        300);
}

void tst_DataGen::failingTableRollsBackItsChunk()
{
    TDatabase &db = m_fixture->db();
    db.Execute(QStringLiteral("drop table vacation"));
    QString message;
    try {
        generate(db, options(600, 1));
    } catch (const QmError &e) {
        message = e.message();
    }
    QVERIFY2(message.contains(QLatin1String("vacation")), qPrintable(message));
    QCOMPARE(db.TransactionLevel(), 0);
    // The tree was committed before the first people; their chunk went back whole.
    QVERIFY(count(db, QStringLiteral("select count(*) from department")) > 0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from employee")), 0);
    QCOMPARE(count(db, QStringLiteral("select count(*) from relationship")), 0);
}

QTEST_GUILESS_MAIN(tst_DataGen)
#include "tst_datagen.moc"
