#pragma once

#include "Database.h"
#include "PostmoveList.h"
#include "VacationList.h"

#include <QtTest>

#include <QDateTime>
#include <QString>
#include <QVariantMap>

// Employees and records of both modules for the record tests. Each helper
// writes straight into the tables, so the code under test is only what a
// test calls.
namespace RecordFixture {

inline QString S(const char *text)
{
    return QString::fromUtf8(text);
}

inline QDateTime day(int year, int month, int dayOfMonth)
{
    return QDateTime(QDate(year, month, dayOfMonth), QTime(0, 0));
}

inline void insertRow(const QString &table, const QVariantMap &values)
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

// An employee with (or, withJoin false, without) a joining row.
inline void addEmployee(int id, const QString &name, const QString &code, bool withJoin = true,
    const QString &dept = QStringLiteral("01"), const QString &duty = QStringLiteral("职员"))
{
    insertRow(
        QStringLiteral("employee"), {{QStringLiteral("Id"), id}, {QStringLiteral("Name"), name}});
    if (withJoin)
        insertRow(QStringLiteral("empjoin"),
            {{QStringLiteral("EmpId"), id}, {QStringLiteral("Code"), code},
                {QStringLiteral("DutyDeptId"), dept}, {QStringLiteral("DutyName"), duty},
                {QStringLiteral("JoinDate"), day(2020, 3, 1)}});
}

// 张三 "01", 李四 "0101", 王五 "02" and 张'%_ "03" (a name made of the
// characters SQL would take as quote and wildcards).
inline void addStaff()
{
    addEmployee(1, S("张三"), QStringLiteral("01"));
    addEmployee(2, S("李四"), QStringLiteral("0101"));
    addEmployee(3, S("王五"), QStringLiteral("02"));
    addEmployee(4, S("张'%_"), QStringLiteral("03"));
}

inline RPostmove move(int empId, const QDateTime &date, const QString &dept2, const QString &duty2)
{
    RPostmove m;
    m.EmpId = empId;
    m.MoveDate = date;
    m.DeptId1 = QStringLiteral("01");
    m.DeptName1 = S("总部");
    m.Duty1 = S("职员");
    m.DeptId2 = dept2;
    m.DeptName2 = S("部门") + dept2;
    m.Duty2 = duty2;
    m.MoveReason = S("工作需要");
    return m;
}

inline RVacation vacation(
    int empId, const QVariant &from, const QVariant &to, const QString &type = S("年假"))
{
    RVacation v;
    v.EmpId = empId;
    v.Appdate = from;
    v.Bgndate = from;
    v.Endate = to;
    v.Typ = type;
    return v;
}

inline int count(const QString &sql, const TDBParameters &params = {})
{
    TDataSet set;
    TheDatabase->Fill(set, sql, params);
    return set.Fields(0)->AsInteger();
}

// DutyDeptId, DutyName and DutyDate of the employee's joining row.
inline QVariantList presentPost(int empId)
{
    TDataSet set;
    TheDatabase->Fill(set,
        QStringLiteral("select DutyDeptId, DutyName, DutyDate from empjoin where EmpId=:EmpId"),
        {MakeParameter(QStringLiteral("EmpId"), empId)});
    if (set.IsEmpty())
        return {};
    return {set.Fields(0)->AsString(), set.Fields(1)->AsString(), set.Fields(2)->AsDateTime()};
}

// What differs between the two modules as the tests see them: a valid
// record of an employee, and the edit window filled with everything it
// requires.
struct Postmove
{
    using R = RPostmove;
    using Edit = TPostmoveEditFrm;
    using List = TPostmoveListFrm;
    using Frame = TEmpPostmoveFra;
    static const TModuleSpec<R> &spec() { return PostmoveModule(); }
    static R sample(int empId)
    {
        return move(empId, day(2025, 4, empId > 0 ? empId : 1), QStringLiteral("02"), S("主管"));
    }
    static void fill(Edit &e)
    {
        e.SetNewDepartment(QStringLiteral("02"), S("分厂"));
        e.cmbDuty21->setEditText(S("主管"));
        e.cmbMoveReason1->setEditText(S("工作需要"));
    }
    static constexpr int SaveRight = 13;
    static constexpr int DeleteRight = 14;
};

struct Vacation
{
    using R = RVacation;
    using Edit = TVacationEditFrm;
    using List = TVacationListFrm;
    using Frame = TEmpVacationFra;
    static const TModuleSpec<R> &spec() { return VacationModule(); }
    static R sample(int empId) { return vacation(empId, day(2025, 4, 1), day(2025, 4, 2)); }
    static void fill(Edit &e) { e.cmbTyp1->setEditText(S("年假")); }
    static constexpr int SaveRight = 25;
    static constexpr int DeleteRight = 26;
};

// The rows "postmove" and "vacation" of a test that checks the pattern
// against both modules.
inline void addModuleRows()
{
    QTest::addColumn<QString>("module");
    QTest::newRow("postmove") << QStringLiteral("postmove");
    QTest::newRow("vacation") << QStringLiteral("vacation");
}

// Calls check with Postmove() or Vacation(), by the current row.
template <typename F> void forModule(F check)
{
    QFETCH(QString, module);
    if (module == QLatin1String("postmove"))
        check(Postmove());
    else
        check(Vacation());
}

// One record of each of the employees 1 to 4, ids 1 to 4.
template <typename M> void storeOnePerEmployee()
{
    for (int emp = 1; emp <= 4; ++emp) {
        typename M::R r = M::sample(emp);
        QVERIFY(M::spec().StoreRecord(r));
        QCOMPARE(r.Id, emp);
    }
}

} // namespace RecordFixture
