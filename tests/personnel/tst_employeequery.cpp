#include "EmployeeSet.h"
#include "EmployeeWhere.h"
#include "Error.h"
#include "Operator.h"
#include "TestSupport.h"

#include <QtTest>

using Ids = QList<int>;

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

using Values = QVariantMap;

void insertRow(const QString &table, const Values &values)
{
    QStringList columns, placeholders;
    TDBParameters params;
    for (auto it = values.begin(); it != values.end(); ++it) {
        columns << it.key();
        placeholders << QLatin1Char(':') + it.key();
        params << MakeParameter(it.key(), it.value());
    }
    TheDatabase->Execute(
        QStringLiteral("insert into %1(%2) values (%3)")
            .arg(table, columns.join(QLatin1Char(',')), placeholders.join(QLatin1Char(','))),
        params);
}

// One employee with an empjoin row; join and dismissal columns as given.
void addEmployee(int id, Values employee, Values join = {}, const Values &dismissal = {})
{
    employee.insert(S("Id"), id);
    if (!employee.contains(S("Name")))
        employee.insert(S("Name"), S("员工%1").arg(id));
    if (!dismissal.isEmpty()) {
        Values out = dismissal;
        out.insert(S("Id"), id * 10);
        out.insert(S("EmpId"), id);
        insertRow(S("empjout"), out);
        employee.insert(S("JoutId"), id * 10);
    }
    insertRow(S("employee"), employee);
    join.insert(S("EmpId"), id);
    insertRow(S("empjoin"), join);
}

QDateTime at(const QDate &date, int hour = 0)
{
    return QDateTime(date, QTime(hour, 0));
}

QDate serverToday()
{
    return TheDatabase->ServerNow().date();
}

Ids idsOf(TEmployeeWhere &where)
{
    TEmployeeSet set;
    BuildEmployeeQuery(set, where);
    Ids ids;
    TDataSet *q = set.Query();
    for (int row = 0; row < q->RecordCount(); ++row)
        ids << q->ValueAt(row, q->FieldByName(S("Id"))->Index()).toInt();
    return ids;
}

void setSetting(int key, int value)
{
    if (TheDatabase->ExecSQL(S("update keyvalue set Vint=:V where KeyId=:K"),
            {MakeParameter(S("V"), value), MakeParameter(S("K"), key)})
        == 0)
        insertRow(S("keyvalue"), {{S("KeyId"), key}, {S("Vint"), value}});
}

RDeptRit visible(const QStringList &codes)
{
    RDeptRit rights;
    for (const QString &code : codes)
        rights.Depts.append(RShortDept{code});
    return rights;
}

} // namespace

class tst_EmployeeQuery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void init();
    void cleanup();

    void noCriteriaListsEveryoneById();
    void statusFollowsServerToday_data();
    void statusFollowsServerToday();
    void ageAndWorkAgeBounds_data();
    void ageAndWorkAgeBounds();
    void keywordMatchesNamesByTheirEnd_data();
    void keywordMatchesNamesByTheirEnd();
    void departmentRestrictionAndSubtree_data();
    void departmentRestrictionAndSubtree();
    void typedTextMatchesLiterally_data();
    void typedTextMatchesLiterally();
    void choiceTextsIgnoreStrayBlanks();
    void dateBoundsTakeWholeDays();
    void reminders_data();
    void reminders();
    void findEmployeeSkipsHiddenAndNeverWraps();

private:
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_EmployeeQuery::init()
{
    QM_INIT_ENGINE(m_fixture);
    m_prompter = std::make_unique<ScriptedPrompter>();
    TheOperator->Clear();
    TheOperator->LoginId = S("sa");
    TheOperatorRight = ROperatorRight();
}

void tst_EmployeeQuery::cleanup()
{
    TheOperatorRight = ROperatorRight();
    m_prompter.reset();
    m_fixture.reset();
}

void tst_EmployeeQuery::noCriteriaListsEveryoneById()
{
    const QDate today = serverToday();
    addEmployee(5, {});
    addEmployee(2, {}, {}, {{S("Disdate"), at(today.addYears(-1))}});
    addEmployee(9, {});
    // An employee without a joining row is listed too.
    insertRow(S("employee"), {{S("Id"), 3}, {S("Name"), S("无入职")}});
    TEmployeeWhere where;
    const TEmployeeQuery query = BuildEmployeeQuery(where);
    QVERIFY(!query.sql.contains(S(" where ")));
    QVERIFY(query.params.isEmpty());
    QCOMPARE(idsOf(where), (Ids{2, 3, 5, 9}));
}

void tst_EmployeeQuery::statusFollowsServerToday_data()
{
    QTest::addColumn<QVariant>("disyes");
    QTest::addColumn<Ids>("ids");
    // 1 never dismissed, 2 leaves today, 3 left yesterday, 4 leaves tomorrow,
    // 5 leaves at noon today, 6 is an applicant never taken on.
    QTest::newRow("both") << QVariant() << Ids{1, 2, 3, 4, 5, 6};
    QTest::newRow("on duty") << QVariant(false) << Ids{1, 2, 4, 5};
    QTest::newRow("dismissed") << QVariant(true) << Ids{3};
}

void tst_EmployeeQuery::statusFollowsServerToday()
{
    QFETCH(QVariant, disyes);
    QFETCH(Ids, ids);
    const QDate today = serverToday();
    addEmployee(1, {});
    addEmployee(2, {}, {}, {{S("Disdate"), at(today)}});
    addEmployee(3, {}, {}, {{S("Disdate"), at(today.addDays(-1))}});
    addEmployee(4, {}, {}, {{S("Disdate"), at(today.addDays(1))}});
    addEmployee(5, {}, {}, {{S("Disdate"), at(today, 12)}});
    insertRow(S("employee"), {{S("Id"), 6}, {S("Name"), S("应聘者")}});
    insertRow(S("Zpapply"), {{S("EmpId"), 6}, {S("Faceman"), S("面试官")}});
    TEmployeeWhere where;
    where.DisyesFld->SetValue(disyes);
    QCOMPARE(idsOf(where), ids);
}

void tst_EmployeeQuery::ageAndWorkAgeBounds_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::addColumn<Ids>("ids");
    // Employee n was born 28 + n years ago and joined n years ago (so 1 to 4),
    // 5 has neither date.
    QTest::newRow("age exactly 30") << S("Age") << 30 << 30 << Ids{2};
    QTest::newRow("age from 31") << S("Age") << 31 << 0 << Ids{3, 4};
    QTest::newRow("age up to 30") << S("Age") << 0 << 30 << Ids{1, 2};
    QTest::newRow("age range empty") << S("Age") << 35 << 40 << Ids{};
    QTest::newRow("work age 2 to 3") << S("WorkAge") << 2 << 3 << Ids{2, 3};
    QTest::newRow("work age up to 1") << S("WorkAge") << 0 << 1 << Ids{1};
    QTest::newRow("stature from 170") << S("Stature") << 170 << 0 << Ids{2, 3, 4};
}

void tst_EmployeeQuery::ageAndWorkAgeBounds()
{
    QFETCH(QString, criterion);
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(Ids, ids);
    const QDate today = QDate::currentDate();
    for (int n = 1; n <= 4; ++n) {
        // December births and joins: the bounds count calendar years, not birthdays.
        addEmployee(n,
            {{S("Birthday"), at(QDate(today.year() - 28 - n, 12, 31))},
                {S("Stature"), 150 + 10 * n}},
            {{S("JoinDate"), at(QDate(today.year() - n, 12, 31))}});
    }
    addEmployee(5, {});
    TEmployeeWhere where;
    TDataSet *row = where.DataSet();
    if (low)
        row->FieldByName(criterion + S("1"))->SetValue(low);
    if (high)
        row->FieldByName(criterion + S("2"))->SetValue(high);
    QCOMPARE(idsOf(where), ids);
}

void tst_EmployeeQuery::keywordMatchesNamesByTheirEnd_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<Ids>("ids");
    QTest::newRow("given name") << S("华") << Ids{1, 3};
    QTest::newRow("whole name") << S("李华") << Ids{1};
    QTest::newRow("family name is not enough") << S("李") << Ids{};
    QTest::newRow("archive number anywhere") << S("07-1") << Ids{2};
    QTest::newRow("telephone anywhere") << S("8765") << Ids{3};
    QTest::newRow("surrounding blanks ignored") << S("  华  ") << Ids{1, 3};
}

void tst_EmployeeQuery::keywordMatchesNamesByTheirEnd()
{
    QFETCH(QString, keyword);
    QFETCH(Ids, ids);
    addEmployee(1, {{S("Name"), S("李华")}}, {{S("Code"), S("2020-01")}});
    addEmployee(2, {{S("Name"), S("华明")}}, {{S("Code"), S("2007-15")}});
    addEmployee(
        3, {{S("Name"), S("王五")}, {S("NickName"), S("小华")}, {S("Tel"), S("0571-87654321")}});
    TEmployeeWhere where;
    where.KeywordFld->SetValue(keyword);
    QCOMPARE(idsOf(where), ids);
}

void tst_EmployeeQuery::departmentRestrictionAndSubtree_data()
{
    QTest::addColumn<QStringList>("visibleDepts");
    QTest::addColumn<QString>("deptCriterion");
    QTest::addColumn<QString>("whereStart");
    QTest::addColumn<Ids>("ids");
    // Employees 1..6 work in 01, 0100, 010203, 03, 0302, 030201; 7 has no department.
    QTest::newRow("all departments")
        << QStringList{} << QString() << QString() << Ids{1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("two visible") << QStringList{S("01"), S("0302")} << QString()
                                 << S(" where (DutyDeptId like '01%' or DutyDeptId like '0302%')")
                                 << Ids{1, 2, 3, 5, 6};
    QTest::newRow("subtree criterion") << QStringList{} << S("01") << QString() << Ids{1, 2, 3};
    QTest::newRow("subtree within visible")
        << QStringList{S("0302")} << S("03") << S(" where (DutyDeptId like '0302%')") << Ids{5, 6};
}

void tst_EmployeeQuery::departmentRestrictionAndSubtree()
{
    QFETCH(QStringList, visibleDepts);
    QFETCH(QString, deptCriterion);
    QFETCH(QString, whereStart);
    QFETCH(Ids, ids);
    const QStringList codes{S("01"), S("0100"), S("010203"), S("03"), S("0302"), S("030201")};
    for (int i = 0; i < codes.size(); ++i)
        addEmployee(i + 1, {}, {{S("DutyDeptId"), codes[i]}});
    addEmployee(7, {});
    TheOperatorRight.EmpRight = visible(visibleDepts);

    TEmployeeWhere where;
    if (!deptCriterion.isEmpty())
        where.DeptIdFld->SetValue(deptCriterion);
    const TEmployeeQuery query = BuildEmployeeQuery(where);
    if (!whereStart.isEmpty())
        QVERIFY2(query.sql.contains(whereStart), qPrintable(query.sql));
    QCOMPARE(idsOf(where), ids);
}

void tst_EmployeeQuery::typedTextMatchesLiterally_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    // Employee 1 holds value1, employee 2 value2: a quote that broke the
    // statement, or a "%" or "_" taken as a wildcard, would list employee 2
    // or fail; matching must also ignore letter case.
    QTest::addColumn<QString>("value1");
    QTest::addColumn<QString>("value2");

    struct Row
    {
        const char *criterion, *table, *column;
    };
    const Row contains[] = {{"Code", "empjoin", "Code"}, {"Name", "employee", "Name"},
        {"Tel", "employee", "Tel"}, {"Native", "employee", "Native"},
        {"School", "employee", "School"}, {"IdCode", "employee", "IdCode"},
        {"BankId", "empjoin", "BankId"}, {"YangBaoId", "empjoin", "YangBaoId"},
        {"YiBaoId", "empjoin", "YiBaoId"}, {"Dismarks", "empjout", "Dismarks"}};
    for (const Row &r : contains) {
        QTest::addRow("%s contains quote", r.criterion)
            << S(r.criterion) << S(r.table) << S(r.column) << S("o'b") << S("X O'Brien")
            << S("X OBrien");
        QTest::addRow("%s contains percent", r.criterion)
            << S(r.criterion) << S(r.table) << S(r.column) << S("5%") << S("加5%") << S("加50");
        QTest::addRow("%s contains underscore", r.criterion)
            << S(r.criterion) << S(r.table) << S(r.column) << S("a_b") << S("xa_bx") << S("xaxbx");
    }
    const Row equals[] = {{"Duty", "empjoin", "DutyName"}, {"Diploma", "employee", "Diploma"},
        {"Sex", "employee", "Sex"}, {"Folk", "employee", "Folk"}, {"Marry", "employee", "IsMry"},
        {"ComeFrom", "empjoin", "ComeFrom"}, {"EmployType", "empjoin", "EmployType"},
        {"Party", "employee", "Party"}, {"Degree", "employee", "Degree"},
        {"Milivice", "employee", "Milivice"}, {"Bloodtype", "employee", "Bloodtype"},
        {"Religion", "employee", "Religion"}, {"JobTitle", "employee", "JobTitle"},
        {"DisType", "empjout", "Distype"}, {"Disman", "empjout", "Disman"}};
    for (const Row &r : equals) {
        QTest::addRow("%s equals quote", r.criterion)
            << S(r.criterion) << S(r.table) << S(r.column) << S("it's") << S("IT'S") << S("its");
        QTest::addRow("%s equals wildcard", r.criterion)
            << S(r.criterion) << S(r.table) << S(r.column) << S("A_%") << S("a_%") << S("AB%");
    }
    QTest::newRow("Keyword quote")
        << S("Keyword") << S("employee") << S("School") << S("'") << S("O'Brien") << S("OBrien");
    QTest::newRow("Keyword percent")
        << S("Keyword") << S("employee") << S("Native") << S("100%") << S("100%乡") << S("1000乡");
    QTest::newRow("Keyword name underscore")
        << S("Keyword") << S("employee") << S("Name") << S("_x") << S("a_X") << S("abx");
}

void tst_EmployeeQuery::typedTextMatchesLiterally()
{
    QFETCH(QString, criterion);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(QString, value1);
    QFETCH(QString, value2);
    const QString values[] = {value1, value2};
    for (int id = 1; id <= 2; ++id) {
        const Values v{{column, values[id - 1]}};
        if (table == S("employee"))
            addEmployee(id, v);
        else if (table == S("empjoin"))
            addEmployee(id, {}, v);
        else
            addEmployee(id, {}, {}, v);
    }
    TEmployeeWhere where;
    where.DataSet()->FieldByName(criterion)->SetValue(typed);
    const TEmployeeQuery query = BuildEmployeeQuery(where);
    if (typed.size() > 1)
        QVERIFY2(!query.sql.contains(typed), qPrintable(query.sql));
    QCOMPARE(idsOf(where), Ids{1});
    QVERIFY(m_prompter->shown().isEmpty());
}

void tst_EmployeeQuery::choiceTextsIgnoreStrayBlanks()
{
    addEmployee(1, {{S("Religion"), S("天主教 ")}});
    REmployee saved;
    saved.Name = S("新");
    saved.Religion = S("天主教 ");
    QVERIFY(TEmployeeSet::SaveInTransaction(saved));
    addEmployee(3, {{S("Religion"), S("东正教")}});
    TEmployeeWhere where;
    where.ReligionFld->SetValue(S("天主教 "));
    QCOMPARE(idsOf(where), (Ids{1, 2}));
    where.ReligionFld->SetValue(S("天主教"));
    QCOMPARE(idsOf(where), (Ids{1, 2}));
}

void tst_EmployeeQuery::dateBoundsTakeWholeDays()
{
    addEmployee(1, {{S("GraduateDate"), at(QDate(2010, 7, 1))}},
        {{S("JoinDate"), at(QDate(2020, 3, 31), 18)}});
    addEmployee(2, {{S("GraduateDate"), at(QDate(2010, 6, 30), 9)}},
        {{S("JoinDate"), at(QDate(2020, 4, 1))}});
    TEmployeeWhere where;
    where.Joindate2Fld->SetValue(at(QDate(2020, 3, 31)));
    QCOMPARE(idsOf(where), Ids{1});
    where.Reset();
    where.Joindate1Fld->SetValue(at(QDate(2020, 4, 1)));
    QCOMPARE(idsOf(where), Ids{2});
    where.Reset();
    where.GraduateDate1Fld->SetValue(at(QDate(2010, 6, 30)));
    where.GraduateDate2Fld->SetValue(at(QDate(2010, 6, 30)));
    QCOMPARE(idsOf(where), Ids{2});
}

void tst_EmployeeQuery::reminders_data()
{
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<Ids>("ids");
    const int month = QDate::currentDate().month();
    // 1: dismissed this month, probation ends this month, born this month, a
    //    contract and a certificate ending in 10 days;
    // 2: the same month a year earlier, probation assessed, born next month,
    //    contract and certificate ending in 40 days;
    // 3: contract and certificate already expired, probation without a start.
    QTest::newRow("dismissed this month") << S("DisMonth") << QVariant(month) << Ids{1};
    QTest::newRow("probation ends this month") << S("TryMonth") << QVariant(month) << Ids{1};
    QTest::newRow("on probation") << S("Trying") << QVariant(true) << Ids{1};
    QTest::newRow("probation switch off") << S("Trying") << QVariant(false) << Ids{1, 2, 3};
    QTest::newRow("birthday this month") << S("BirthMonth") << QVariant(month) << Ids{1};
    QTest::newRow("contract within 30 days") << S("ContractHint") << QVariant(true) << Ids{1};
    QTest::newRow("certificate within 30 days") << S("CertHint") << QVariant(true) << Ids{1};
}

void tst_EmployeeQuery::reminders()
{
    QFETCH(QString, criterion);
    QFETCH(QVariant, value);
    QFETCH(Ids, ids);
    setSetting(122, 30);
    setSetting(123, 30);
    const QDate today = serverToday();
    const QDate thisMonth(today.year(), today.month(), 1);
    addEmployee(1, {{S("Birthday"), at(QDate(1990, today.month(), 1))}}, {},
        {{S("Disdate"), at(thisMonth)}});
    addEmployee(2, {{S("Birthday"), at(QDate(1990, today.month(), 1).addMonths(1))}}, {},
        {{S("Disdate"), at(thisMonth.addYears(-1))}});
    addEmployee(3, {});
    insertRow(S("emptrials"),
        {{S("EmpId"), 1}, {S("TryDate1"), at(thisMonth.addMonths(-2))},
            {S("TryDate2"), at(thisMonth)}});
    insertRow(S("emptrials"),
        {{S("EmpId"), 2}, {S("TryDate1"), at(thisMonth.addMonths(-2))},
            {S("TryDate2"), at(thisMonth.addYears(-1))}, {S("TestDate"), at(thisMonth)}});
    insertRow(S("emptrials"), {{S("EmpId"), 3}, {S("TryDate2"), at(thisMonth.addYears(1))}});
    const int ends[] = {10, 40, -5};
    for (int id = 1; id <= 3; ++id) {
        const QDateTime end = at(today.addDays(ends[id - 1]));
        insertRow(
            S("contracts"), {{S("ContractId"), id}, {S("EmpId"), id}, {S("Invalidate"), end}});
        insertRow(S("certificates"), {{S("Id"), id}, {S("EmpId"), id}, {S("ValidateTo"), end}});
    }
    TEmployeeWhere where;
    where.DataSet()->FieldByName(criterion)->SetValue(value);
    QCOMPARE(idsOf(where), ids);
}

void tst_EmployeeQuery::findEmployeeSkipsHiddenAndNeverWraps()
{
    addEmployee(1, {}, {{S("DutyDeptId"), S("01")}});
    addEmployee(2, {}, {{S("DutyDeptId"), S("02")}});
    addEmployee(3, {}, {{S("DutyDeptId"), S("0101")}});
    REmployees found;
    QVERIFY(FindEmployee(2, 0, found));
    QCOMPARE(found.Id, 2);
    QVERIFY(!FindEmployee(3, 1, found));
    QVERIFY(!FindEmployee(1, -1, found));
    QVERIFY(!FindEmployee(4, 0, found));

    TheOperatorRight.EmpRight = visible({S("01")});
    QVERIFY(FindEmployee(1, 1, found));
    QCOMPARE(found.Id, 3);
    QVERIFY(FindEmployee(3, -1, found));
    QCOMPARE(found.Id, 1);
    QVERIFY(!FindEmployee(2, 0, found));
}

QTEST_MAIN(tst_EmployeeQuery)
#include "tst_employeequery.moc"
