#include "DepartmentSet.h"
#include "Error.h"
#include "TestSupport.h"

#include <QtTest>

namespace {

using Rows = QList<QPair<QString, QString>>;

void insertDepartments(const Rows &rows)
{
    for (const auto &row : rows)
        TheDatabase->Execute(
            QStringLiteral("insert into department(Code, Name) values(:Code, :Name)"),
            {MakeParameter(QStringLiteral("Code"), row.first),
                MakeParameter(QStringLiteral("Name"), row.second)});
}

QStringList storedCodes()
{
    TDataSet set;
    TheDatabase->Fill(set, QStringLiteral("select Code from department order by Code"));
    QStringList codes;
    for (int row = 0; row < set.RecordCount(); ++row)
        codes << set.ValueAt(row, 0).toString();
    return codes;
}

QStringList loadedCodes(const TDepartmentSet &set)
{
    QStringList codes;
    for (const RDepartment &d : set.Rows())
        codes << d.Code;
    return codes;
}

// The departments the reference cases below point into: a branch 01 with a
// child and a grandchild, and a second top-level department that is not part
// of it.
const Rows branchRows = {
    {QStringLiteral("01"), QStringLiteral("人力资源部")},
    {QStringLiteral("0100"), QStringLiteral("招聘组")},
    {QStringLiteral("010001"), QStringLiteral("校园招聘")},
    {QStringLiteral("02"), QStringLiteral("财务部")},
};

} // namespace

class tst_Departments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { addEngineRows(); }
    void init()
    {
        QM_INIT_ENGINE(m_fixture);
        m_prompter = std::make_unique<ScriptedPrompter>();
        CreateDepartments();
    }
    void cleanup()
    {
        FreeDepartments();
        m_prompter.reset();
        m_fixture.reset();
    }

    void addAllocatesTheNextCode_data();
    void addAllocatesTheNextCode();
    void loadPlacesEveryRowUnderItsParent_data();
    void loadPlacesEveryRowUnderItsParent();
    void loadKeepsCodeOrderAndLookups();
    void renameRefreshesThePathsBelow();
    void updateOfAMissingRowFails();
    void deleteIsRefusedWhileReferenced_data();
    void deleteIsRefusedWhileReferenced();
    void deleteRemovesTheWholeBranchOnly();
    void deleteWithoutACodeDeletesNothing();
    void deptIdFieldShowsNameAndPath();

private:
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_Departments::addAllocatesTheNextCode_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("father");
    QTest::addColumn<QString>("expected"); // empty: refused

    QTest::newRow("first top level") << QStringList{} << QString() << QStringLiteral("00");
    QTest::newRow("first child") << QStringList{"01"} << QStringLiteral("01")
                                 << QStringLiteral("0100");
    QTest::newRow("after a gap") << QStringList{"01", "0100", "0101", "0105"}
                                 << QStringLiteral("01") << QStringLiteral("0106");
    QTest::newRow("next top sibling, children ignored")
        << QStringList{"00", "01", "0100", "0199"} << QString() << QStringLiteral("02");
    QTest::newRow("grandchild") << QStringList{"01", "0100"} << QStringLiteral("0100")
                                << QStringLiteral("010000");
    QTest::newRow("grandchildren do not count")
        << QStringList{"01", "0103", "010399"} << QStringLiteral("01") << QStringLiteral("0104");
    QTest::newRow("other parent's children do not count") << QStringList{"01", "0102", "02",
        "0250"} << QStringLiteral("02") << QStringLiteral("0251");
    QTest::newRow("foreign code skipped")
        << QStringList{"01", "0103", "01AB"} << QStringLiteral("01") << QStringLiteral("0104");
    QTest::newRow("child 99 taken")
        << QStringList{"01", "0100", "0199"} << QStringLiteral("01") << QString();
    QTest::newRow("top level 99 taken") << QStringList{"00", "99"} << QString() << QString();
    QTest::newRow("parent missing") << QStringList{"01"} << QStringLiteral("07") << QString();
}

void tst_Departments::addAllocatesTheNextCode()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, father);
    QFETCH(QString, expected);

    Rows rows;
    for (const QString &code : existing)
        rows.append({code, QStringLiteral("部门") + code});
    insertDepartments(rows);

    RDepartment record;
    record.FatherCode = father;
    record.Name = QStringLiteral("新部门");
    record.Manager = QStringLiteral("O'Neil");
    record.Note = QStringLiteral("说明");

    if (expected.isEmpty()) {
        bool refused = false;
        try {
            TheDepartments->AddDepartment(record);
        } catch (const QmError &e) {
            refused = !e.message().isEmpty();
        }
        QVERIFY(refused);
        QVERIFY(record.Code.isEmpty());
        QCOMPARE(storedCodes().size(), existing.size());
        return;
    }

    QVERIFY(TheDepartments->AddDepartment(record));
    QCOMPARE(record.Code, expected);
    RDepartment stored;
    QVERIFY(TheDepartments->Find(expected, &stored));
    QCOMPARE(stored.Name, record.Name);
    QCOMPARE(stored.Manager, record.Manager);
    QCOMPARE(stored.Note, record.Note);
    QCOMPARE(storedCodes().size(), existing.size() + 1);
}

void tst_Departments::loadPlacesEveryRowUnderItsParent_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("fatherCode");
    QTest::addColumn<QString>("path");

    QTest::newRow("top level") << QStringLiteral("01") << QString() << QStringLiteral("总公司");
    QTest::newRow("first child of the first row")
        << QStringLiteral("0100") << QStringLiteral("01") << QStringLiteral("总公司/人力资源部");
    QTest::newRow("grandchild") << QStringLiteral("010000") << QStringLiteral("0100")
                                << QStringLiteral("总公司/人力资源部/招聘组");
    QTest::newRow("child after a grandchild")
        << QStringLiteral("0101") << QStringLiteral("01") << QStringLiteral("总公司/财务部");
    QTest::newRow("parent missing: at the top")
        << QStringLiteral("0301") << QString() << QStringLiteral("孤儿部门");
    QTest::newRow("below a row whose parent is missing")
        << QStringLiteral("030100") << QStringLiteral("0301") << QStringLiteral("孤儿部门/小组");
    QTest::newRow("middle level missing: at the top")
        << QStringLiteral("010203") << QString() << QStringLiteral("断层组");
}

void tst_Departments::loadPlacesEveryRowUnderItsParent()
{
    QFETCH(QString, code);
    QFETCH(QString, fatherCode);
    QFETCH(QString, path);

    // 03 and 0102 do not exist: their rows must not land under 02 or 0101,
    // which sort just before them.
    insertDepartments(
        {{"030100", "小组"}, {"02", "分公司"}, {"0101", "财务部"}, {"0301", "孤儿部门"},
            {"010000", "招聘组"}, {"01", "总公司"}, {"010203", "断层组"}, {"0100", "人力资源部"}});
    TheDepartments->Load();

    const int index = TheDepartments->IndexOf(code);
    QVERIFY(index >= 0);
    const RDepartment &d = TheDepartments->At(index);
    const int fatherIdx = fatherCode.isEmpty() ? 0 : TheDepartments->IndexOf(fatherCode) + 1;
    QCOMPARE(d.FatherIdx, fatherIdx);
    QCOMPARE(d.Path, path);

    // The data set says the same as the rows.
    TDataSet *data = TheDepartments->DataSet();
    QVERIFY(data->Locate(QStringLiteral("Code"), code));
    QCOMPARE(data->FieldByName(QStringLiteral("FatherIdx"))->AsInteger(), fatherIdx);
    QCOMPARE(data->FieldByName(QStringLiteral("Path"))->AsString(), path);
    RDepartment read;
    TheDepartments->ReadRecord(read);
    QCOMPARE(read.Code, code);
    QCOMPARE(read.FatherCode, TDepartmentSet::ParentCode(code));
    QVERIFY(read.FatherPath.isEmpty());
}

void tst_Departments::loadKeepsCodeOrderAndLookups()
{
    insertDepartments({{"02", "分公司"}, {"0101", "财务部"}, {"00", "董事会"},
        {"0100", "人力资源部"}, {"01", "总公司"}, {"0201", "销售部"}, {"0301", "孤儿部门"}});
    TheDepartments->Load();

    const QStringList order{"00", "01", "0100", "0101", "02", "0201", "0301"};
    QCOMPARE(loadedCodes(*TheDepartments), order);
    QStringList dataOrder;
    TDataSet *data = TheDepartments->DataSet();
    for (int row = 0; row < data->RecordCount(); ++row)
        dataOrder
            << data->ValueAt(row, data->FieldByName(QStringLiteral("Code"))->Index()).toString();
    QCOMPARE(dataOrder, order);
    QCOMPARE(data->RecNo(), 1);

    auto codesOf = [](const RDepartments &list) {
        QStringList codes;
        for (const RDepartment &d : list)
            codes << d.Code;
        return codes;
    };
    QCOMPARE(codesOf(TheDepartments->Children(QString())), (QStringList{"00", "01", "02", "0301"}));
    QCOMPARE(
        codesOf(TheDepartments->Children(QStringLiteral("01"))), (QStringList{"0100", "0101"}));
    QCOMPARE(codesOf(TheDepartments->Children(QStringLiteral("0100"))), QStringList{});
    QCOMPARE(
        TheDepartments->BranchCodes(QStringLiteral("01")), (QStringList{"01", "0100", "0101"}));
    QCOMPARE(TheDepartments->NameOf(QStringLiteral("0201")), QStringLiteral("销售部"));
    QCOMPARE(TheDepartments->PathOf(QStringLiteral("0201")), QStringLiteral("分公司/销售部"));
    QVERIFY(TheDepartments->NameOf(QStringLiteral("09")).isEmpty());
    QVERIFY(!TheDepartments->Find(QStringLiteral("09"), nullptr));

    // A second load replaces the rows rather than adding to them.
    TheDepartments->Load();
    QCOMPARE(TheDepartments->Count(), order.size());
    QCOMPARE(data->RecordCount(), order.size());
}

void tst_Departments::renameRefreshesThePathsBelow()
{
    insertDepartments(
        {{"01", "总公司"}, {"0100", "人力资源部"}, {"010000", "招聘组"}, {"02", "分公司"}});
    TheDepartments->Load();

    RDepartment record;
    QVERIFY(TheDepartments->Find(QStringLiteral("0100"), &record));
    record.Name = QStringLiteral("人事部");
    record.Tel = QStringLiteral("0571-1");
    QVERIFY(TheDepartments->UpdateDepartment(record));

    QCOMPARE(TheDepartments->PathOf(QStringLiteral("0100")), QStringLiteral("总公司/人事部"));
    QCOMPARE(
        TheDepartments->PathOf(QStringLiteral("010000")), QStringLiteral("总公司/人事部/招聘组"));
    QCOMPARE(TheDepartments->PathOf(QStringLiteral("02")), QStringLiteral("分公司"));
    RDepartment stored;
    QVERIFY(TheDepartments->Find(QStringLiteral("0100"), &stored));
    QCOMPARE(stored.Tel, QStringLiteral("0571-1"));
    QCOMPARE(storedCodes(), (QStringList{"01", "0100", "010000", "02"}));
}

void tst_Departments::updateOfAMissingRowFails()
{
    insertDepartments({{"01", "总公司"}});
    RDepartment record;
    record.Code = QStringLiteral("05");
    record.Name = QStringLiteral("不存在");
    QVERIFY(!TheDepartments->UpdateDepartment(record));
    QCOMPARE(storedCodes(), QStringList{"01"});
}

void tst_Departments::deleteIsRefusedWhileReferenced_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("description");

    QTest::newRow("employees in a sub-department")
        << QStringList{"insert into empjoin(EmpId, DutyDeptId, JoinDeptId) values(1, '0100', '02')",
               "insert into empjoin(EmpId, DutyDeptId, JoinDeptId) values(2, '0100', '02')"}
        << QStringLiteral("\r\n部门 招聘组 有 2 名职员");
    QTest::newRow("joining department")
        << QStringList{"insert into empjoin(EmpId, DutyDeptId, JoinDeptId) values(1, '02', '01')"}
        << QStringLiteral("\r\n部门 人力资源部 是 1 名职员的入职部门");
    QTest::newRow("move out of the branch")
        << QStringList{"insert into postmove(Id, EmpId, DeptId1, DeptId2) values(1, 1, '010001', "
                       "'02')"}
        << QStringLiteral("\r\n部门 校园招聘 有 1 条调职记录");
    QTest::newRow("move within the branch")
        << QStringList{"insert into postmove(Id, EmpId, DeptId1, DeptId2) values(1, 1, '01', "
                       "'0100')",
               "insert into postmove(Id, EmpId, DeptId1, DeptId2) values(2, 1, '0100', '0100')"}
        << QStringLiteral("\r\n部门 人力资源部 有 1 条调职记录\r\n部门 招聘组 有 2 条调职记录");
    QTest::newRow("dismissal")
        << QStringList{"insert into empjout(Id, EmpId, OutDeptId) values(1, 1, '01')"}
        << QStringLiteral("\r\n部门 人力资源部 有 1 条离职记录");
    QTest::newRow("return")
        << QStringList{"insert into empback(JoutId, BackDeptId) values(1, '0100')"}
        << QStringLiteral("\r\n部门 招聘组 有 1 条复职记录");
    QTest::newRow("salary month") << QStringList{"insert into gz_monthemp(Id, MonthId, EmpId, "
                                                 "EmpDeptId) values(1, 1, 1, '010001')"}
                                  << QStringLiteral("\r\n部门 校园招聘 有 1 条月工资记录");
    QTest::newRow("salary visibility")
        << QStringList{"insert into gz_operatordepts(LoginId, DeptId) values('wang', '0100')",
               "insert into gz_operatordepts(LoginId, DeptId) values('li', '0100')"}
        << QStringLiteral("\r\n部门 招聘组 是操作员 li、wang 的工资查看部门");
    QTest::newRow("employee visibility") << QStringList{
        "insert into operator(LoginId, XRights) values('li', "
        "'EmpViewAllDept=0\r\nEmpViewDept=02\r\n"
        "EmpViewDept=010001')"} << QStringLiteral("\r\n部门 校园招聘 是操作员 li 的职员查看部门");
    QTest::newRow("code without a department")
        << QStringList{"insert into empjout(Id, EmpId, OutDeptId) values(1, 1, '0107')"}
        << QStringLiteral("\r\n部门 0107 有 1 条离职记录");
}

void tst_Departments::deleteIsRefusedWhileReferenced()
{
    QFETCH(QStringList, statements);
    QFETCH(QString, description);

    insertDepartments(branchRows);
    for (const QString &sql : statements)
        TheDatabase->Execute(sql);
    TheDepartments->Load();

    QCOMPARE(TheDepartments->BranchReferences(QStringLiteral("01")), description);
    QString refusal;
    try {
        TheDepartments->DeleteBranch(QStringLiteral("01"));
    } catch (const QmError &e) {
        refusal = e.message();
    }
    QCOMPARE(refusal, description);
    QCOMPARE(storedCodes(), (QStringList{"01", "0100", "010001", "02"}));
    QCOMPARE(TheDepartments->Count(), 4);
    // The connection is usable after the refusal (no transaction left open).
    QCOMPARE(TheDatabase->TransactionLevel(), 0);
    QCOMPARE(
        TheDatabase->ExecSQL(QStringLiteral("update department set Tel='1' where Code='02'")), 1);
}

void tst_Departments::deleteRemovesTheWholeBranchOnly()
{
    insertDepartments(branchRows);
    insertDepartments({{"0101", "培训组"}, {"0105xx", "旧编码"}, {"0301", "孤儿部门"}});
    // References outside the branch (the sibling 02, another top-level code
    // that merely shares the first character) do not hold it back.
    TheDatabase->Execute(
        QStringLiteral("insert into empjoin(EmpId, DutyDeptId, JoinDeptId) values(1, '02', '0')"));
    TheDatabase->Execute(
        QStringLiteral("insert into operator(LoginId, XRights) values('li', 'EmpViewDept=0')"));
    TheDatabase->Execute(
        QStringLiteral("insert into gz_operatordepts(LoginId, DeptId) values('li', '03')"));
    TheDepartments->Load();

    QVERIFY(TheDepartments->BranchReferences(QStringLiteral("01")).isEmpty());
    TheDepartments->DeleteBranch(QStringLiteral("01"));
    QCOMPARE(storedCodes(), (QStringList{"02", "0301"}));
    QCOMPARE(loadedCodes(*TheDepartments), (QStringList{"02", "0301"}));

    TheDepartments->DeleteBranch(QStringLiteral("0301"));
    QCOMPARE(storedCodes(), QStringList{"02"});
}

void tst_Departments::deleteWithoutACodeDeletesNothing()
{
    insertDepartments(branchRows);
    QVERIFY_THROWS_EXCEPTION(QmError, TheDepartments->DeleteBranch(QString()));
    QCOMPARE(storedCodes().size(), branchRows.size());
}

void tst_Departments::deptIdFieldShowsNameAndPath()
{
    insertDepartments(branchRows);
    TheDepartments->Load();
    TheDatabase->Execute(
        QStringLiteral("insert into empjoin(EmpId, DutyDeptId) values(1, '0100')"));
    TheDatabase->Execute(QStringLiteral("insert into empjoin(EmpId, DutyDeptId) values(2, '09')"));

    TDataSet set;
    set.AddField(FieldKind::Integer, QStringLiteral("EmpId"));
    auto *dept = new TDeptIdField(&set, QStringLiteral("DutyDeptId"),
        QStringLiteral("DutyDeptName"), QStringLiteral("DutyDeptPath"));
    QCOMPARE(dept->CodeField()->DisplayLabel(), QStringLiteral("部门编码"));
    QCOMPARE(dept->NameField()->DisplayLabel(), QStringLiteral("部门名称"));
    QCOMPARE(dept->PathField()->DisplayLabel(), QStringLiteral("所在部门"));

    TheDatabase->Fill(set,
        QStringLiteral("select EmpId, DutyDeptId%1 from empjoin order by EmpId")
            .arg(dept->SelectColumns()));
    auto shown = [&](int row) {
        return QStringList{set.DisplayTextAt(row, dept->NameField()->Index()),
            set.DisplayTextAt(row, dept->PathField()->Index())};
    };
    QCOMPARE(shown(0), (QStringList{"招聘组", "人力资源部/招聘组"}));
    QCOMPARE(shown(1), (QStringList{"", ""}));
    QCOMPARE(set.RecNo(), 1);

    // A changed code and a new row show their department at once.
    set.SetCurrentRow(1);
    set.Edit();
    dept->CodeField()->SetAsString(QStringLiteral("02"));
    set.Post();
    QCOMPARE(shown(1), (QStringList{"财务部", "财务部"}));
    set.Append();
    set.FieldByName(QStringLiteral("EmpId"))->SetAsInteger(3);
    dept->CodeField()->SetAsString(QStringLiteral("010001"));
    set.Post();
    QCOMPARE(shown(2), (QStringList{"校园招聘", "人力资源部/招聘组/校园招聘"}));
    QCOMPARE(dept->Name(), QStringLiteral("校园招聘"));

    // A rename reaches the rows when the tree reloads.
    RDepartment record;
    QVERIFY(TheDepartments->Find(QStringLiteral("01"), &record));
    record.Name = QStringLiteral("人事部");
    QVERIFY(TheDepartments->UpdateDepartment(record));
    QCOMPARE(shown(0), (QStringList{"招聘组", "人事部/招聘组"}));
    QCOMPARE(shown(2), (QStringList{"校园招聘", "人事部/招聘组/校园招聘"}));
    QCOMPARE(set.RecNo(), 3);
}

QTEST_GUILESS_MAIN(tst_Departments)
#include "tst_departments.moc"
