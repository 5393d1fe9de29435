#include "Error.h"
#include "Operator.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QtTest>

// Operators, rights strings, password storage and department visibility, on
// both engines.
class tst_Operator : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void initTestCase();
    void init();
    void cleanup();

    void rightsStringGrants_data();
    void rightsStringGrants();
    void superUserPassesEveryNumber_data();
    void superUserPassesEveryNumber();
    void catalogueNumbersAreUsable();
    void ticksBuildCatalogueOrder_data();
    void ticksBuildCatalogueOrder();
    void checkRightTellsAndStops();

    void newHashesAreSaltedAndSlow();
    void storedHashesVerify_data();
    void storedHashesVerify();
    void plainPasswordIsUpgradedAtFirstLogin();
    void loadClearsThePreviousOperator();
    void loadIgnoresLetterCase();

    void addStoresOnlyTheHash();
    void addRefusesTakenNames_data();
    void addRefusesTakenNames();
    void updateKeepsPasswordWhenEmpty();
    void writesToMissingRowsFail();

    void deptRestriction_data();
    void deptRestriction();
    void restrictionSelectsSubDepartments_data();
    void restrictionSelectsSubDepartments();
    void visibilityOfEveryOperator();

private:
    static void insertOperator(const QString &loginId, const QString &password,
        const QString &rights = QString(), const QString &xrights = QString());
    static QString column(const QString &loginId, const QString &name);
    static int operatorCount();

    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_Operator::initTestCase()
{
    // Logins below hash many passwords; the full cost is checked on its own.
    PasswordHash::SetIterations(1000);
}

void tst_Operator::init()
{
    // A skipped row leaves the previous prompter in place; it must go before
    // the next one installs itself.
    m_prompter.reset();
    m_prompter = std::make_unique<ScriptedPrompter>();
    QM_INIT_ENGINE(m_fixture);
    TheOperator->Clear();
}

void tst_Operator::cleanup()
{
    TheOperator->Clear();
    m_fixture.reset();
    m_prompter.reset();
}

void tst_Operator::insertOperator(
    const QString &loginId, const QString &password, const QString &rights, const QString &xrights)
{
    TheDatabase->Execute(
        QStringLiteral("insert into operator(LoginId,Password,Name,Contact,Note,Rights,XRights)"
                       "values(:LoginId,:Password,:Name,'','',:Rights,:XRights)"),
        {MakeParameter(QStringLiteral("LoginId"), loginId),
            MakeParameter(QStringLiteral("Password"), password),
            MakeParameter(QStringLiteral("Name"), loginId.toUpper()),
            MakeParameter(QStringLiteral("Rights"), rights),
            MakeParameter(QStringLiteral("XRights"), xrights)});
}

QString tst_Operator::column(const QString &loginId, const QString &name)
{
    TDataSet set;
    TheDatabase->Fill(set,
        QStringLiteral("select %1 from operator where LoginId=:LoginId").arg(name),
        {MakeParameter(QStringLiteral("LoginId"), loginId)});
    return set.IsEmpty() ? QStringLiteral("<no row>") : set.Fields(0)->AsString();
}

int tst_Operator::operatorCount()
{
    TDataSet set;
    TheDatabase->Fill(set, QStringLiteral("select count(*) from operator"));
    return set.Fields(0)->AsInteger();
}

// ---------------------------------------------------------------- rights

void tst_Operator::rightsStringGrants_data()
{
    QTest::addColumn<QString>("rights");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("granted");
    QTest::newRow("first of two") << ",9,,10," << 9 << true;
    QTest::newRow("second of two") << ",9,,10," << 10 << true;
    QTest::newRow("prefix digit is not a right") << ",9,,10," << 1 << false;
    QTest::newRow("digits run together") << ",9,,10," << 90 << false;
    QTest::newRow("zero not granted") << ",9,,10," << 0 << false;
    QTest::newRow("zero granted") << ",0,,6," << 0 << true;
    QTest::newRow("operator list is 100001") << ",100001," << 10001 << false;
    QTest::newRow("and not 10001") << ",10001," << 100001 << false;
    QTest::newRow("empty string") << "" << 9 << false;
}

void tst_Operator::rightsStringGrants()
{
    QFETCH(QString, rights);
    QFETCH(int, number);
    QFETCH(bool, granted);
    TOperator op;
    op.LoginId = QStringLiteral("bob");
    op.Rights = rights;
    QCOMPARE(op.HasRight(number), granted);
}

void tst_Operator::superUserPassesEveryNumber_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("clear data 0") << 0;
    QTest::newRow("employee edit 9") << 9;
    QTest::newRow("salary details 51, not in the catalogue") << 51;
    QTest::newRow("operator list 100001") << 100001;
    QTest::newRow("report designer 10003") << 10003;
}

void tst_Operator::superUserPassesEveryNumber()
{
    QFETCH(int, number);
    TOperator sa;
    sa.LoginId = QStringLiteral("sa");
    QVERIFY(sa.HasRight(number));
    QVERIFY(sa.CheckRight(number));
    TOperator bob;
    bob.LoginId = QStringLiteral("bob");
    bob.Rights = CatalogueRightsText({0, 9, 51, 100001, 10003});
    QCOMPARE(bob.HasRight(number), number != 51);
    QVERIFY(m_prompter->shown().isEmpty());
}

void tst_Operator::catalogueNumbersAreUsable()
{
    QCOMPARE(FunctionRights().size(), 33);
    QCOMPARE(AdminRights().size(), 9);
    QSet<int> numbers;
    for (const TRightEntry &entry : RightsCatalogue()) {
        QVERIFY2(!numbers.contains(entry.Number), qPrintable(QString::number(entry.Number)));
        QVERIFY(!entry.Caption.isEmpty());
        numbers.insert(entry.Number);
    }
    QVERIFY(numbers.contains(100001));
    QVERIFY(!numbers.contains(10001));
    QVERIFY(!numbers.contains(51));
}

void tst_Operator::ticksBuildCatalogueOrder_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("rights");
    QTest::newRow("recruitment deletes") << QStringList{"应聘删除", "招聘项目删除"} << ",35,,38,";
    QTest::newRow("ticked out of order")
        << QStringList{"选项设置", "职员记录增加,修改权限"} << ",9,,6,";
    QTest::newRow("admin rights come last")
        << QStringList{"打印", "清除数据", "操作员及权限管理"} << ",0,,100001,,10002,";
    QTest::newRow("nothing ticked") << QStringList{} << "";
}

void tst_Operator::ticksBuildCatalogueOrder()
{
    QFETCH(QStringList, captions);
    QFETCH(QString, rights);
    QSet<int> ticked;
    for (const QString &caption : captions) {
        const auto catalogue = RightsCatalogue();
        const auto it = std::find_if(catalogue.begin(), catalogue.end(),
            [&](const TRightEntry &e) { return e.Caption == caption; });
        QVERIFY2(it != catalogue.end(), qPrintable(caption));
        ticked.insert(it->Number);
    }
    QCOMPARE(CatalogueRightsText(ticked), rights);
    TOperator op;
    op.LoginId = QStringLiteral("bob");
    op.Rights = rights;
    for (int number : ticked)
        QVERIFY(op.HasRight(number));
}

void tst_Operator::checkRightTellsAndStops()
{
    TOperator bob;
    bob.LoginId = QStringLiteral("bob");
    bob.Rights = QStringLiteral(",9,");
    const QString message = QStringLiteral("对不起,您没有该功能的操作权限,请与管理员联系(10002).");

    QVERIFY_THROWS_EXCEPTION(SilentAbort, bob.CheckRight(10002));
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY2(m_prompter->lastText().contains(message), qPrintable(m_prompter->lastText()));

    m_prompter->clear();
    QVERIFY(!bob.CheckRight(10002, false));
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->lastText().contains(message));

    m_prompter->clear();
    QVERIFY(bob.CheckRight(9));
    QVERIFY(m_prompter->shown().isEmpty());
}

// ---------------------------------------------------------------- passwords

void tst_Operator::newHashesAreSaltedAndSlow()
{
    PasswordHash::SetIterations(0);
    const QString first = PasswordHash::Make(QStringLiteral("secret"));
    const QString second = PasswordHash::Make(QStringLiteral("secret"));
    PasswordHash::SetIterations(1000);
    static const QRegularExpression shape(
        QStringLiteral("^pbkdf2-sha256\\$120000\\$[A-Za-z0-9+/]{22}==\\$"
                       "[A-Za-z0-9+/]{43}=$"));
    QVERIFY2(shape.match(first).hasMatch(), qPrintable(first));
    QVERIFY(first != second);
    QVERIFY(PasswordHash::Verify(first, QStringLiteral("secret")));
    QVERIFY(PasswordHash::Verify(second, QStringLiteral("secret")));
    QVERIFY(!PasswordHash::Verify(first, QStringLiteral("Secret")));
    QVERIFY(!PasswordHash::Verify(first, QString()));
}

void tst_Operator::storedHashesVerify_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    // PBKDF2-HMAC-SHA256("password", "salt") from the published test vectors.
    const QString one
        = QStringLiteral("pbkdf2-sha256$1$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs=");
    const QString many = QStringLiteral(
        "pbkdf2-sha256$4096$c2FsdA==$xeR41ZKIyEGqUw22hFxMjZYok6ABzk4RpJY4c6qYE0o=");
    QTest::newRow("one iteration") << one << "password" << true;
    QTest::newRow("4096 iterations") << many << "password" << true;
    QTest::newRow("wrong password") << many << "passwort" << false;
    QTest::newRow("count taken from the row")
        << QString(many).replace("4096", "4097") << "password" << false;
    QTest::newRow("truncated hash") << one.left(one.size() - 4) << "password" << false;
    QTest::newRow("zero iterations")
        << "pbkdf2-sha256$0$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="
        << "password" << false;
    QTest::newRow("not a number")
        << "pbkdf2-sha256$x$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="
        << "password" << false;
    QTest::newRow("empty salt and hash") << "pbkdf2-sha256$1$$"
                                         << "" << false;
    QTest::newRow("bad base64")
        << "pbkdf2-sha256$1$c2Fs*A==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="
        << "password" << false;
    QTest::newRow("other scheme")
        << "pbkdf2-sha1$1$c2FsdA==$Eg+2z/z4syxD5yJSVsT4N6hlSMkszDVICAWYfLcL4Xs="
        << "password" << false;
}

void tst_Operator::storedHashesVerify()
{
    QFETCH(QString, stored);
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    QCOMPARE(PasswordHash::Verify(stored, password), accepted);
    if (!PasswordHash::IsHash(stored))
        return;
    // The operator never treats a damaged hash as a plain password.
    insertOperator(QStringLiteral("alice"), stored);
    TOperator op;
    QVERIFY(op.Load(QStringLiteral("alice")));
    QCOMPARE(op.CheckPassword(password), accepted);
    QCOMPARE(column(QStringLiteral("alice"), QStringLiteral("Password")), stored);
}

void tst_Operator::plainPasswordIsUpgradedAtFirstLogin()
{
    insertOperator(QStringLiteral("alice"), QStringLiteral("secret"));
    TOperator op;
    QVERIFY(op.Load(QStringLiteral("alice")));
    QVERIFY(!op.CheckPassword(QStringLiteral("Secret")));
    QCOMPARE(column(QStringLiteral("alice"), QStringLiteral("Password")), QStringLiteral("secret"));

    QVERIFY(op.CheckPassword(QStringLiteral("secret")));
    const QString stored = column(QStringLiteral("alice"), QStringLiteral("Password"));
    QVERIFY2(PasswordHash::IsHash(stored), qPrintable(stored));
    QVERIFY(!stored.contains(QStringLiteral("secret")));
    QCOMPARE(op.Password, stored);

    TOperator again;
    QVERIFY(again.Load(QStringLiteral("alice")));
    QVERIFY(again.CheckPassword(QStringLiteral("secret")));
    QVERIFY(!again.CheckPassword(QStringLiteral("secret ")));
    QCOMPARE(column(QStringLiteral("alice"), QStringLiteral("Password")), stored);

    // The empty password of a new database's sa is a plain value too.
    TOperator sa;
    QVERIFY(sa.Load(QStringLiteral("sa")));
    QVERIFY(!sa.CheckPassword(QStringLiteral("x")));
    QVERIFY(sa.CheckPassword(QString()));
    QVERIFY(PasswordHash::IsHash(column(QStringLiteral("sa"), QStringLiteral("Password"))));
}

void tst_Operator::loadClearsThePreviousOperator()
{
    insertOperator(
        QStringLiteral("alice"), PasswordHash::Make(QStringLiteral("pw-a")), QStringLiteral(",9,"));
    TOperator op;
    QVERIFY(op.Load(QStringLiteral("alice")));
    QVERIFY(op.CheckPassword(QStringLiteral("pw-a")));

    QVERIFY(!op.Load(QStringLiteral("nobody")));
    QVERIFY(op.LoginId.isEmpty());
    QVERIFY(op.Password.isEmpty());
    QVERIFY(op.Name.isEmpty());
    QVERIFY(op.Rights.isEmpty());
    QVERIFY(!op.CheckPassword(QStringLiteral("pw-a")));
    QVERIFY(!op.HasRight(9));
}

void tst_Operator::loadIgnoresLetterCase()
{
    insertOperator(QStringLiteral("Alice"), PasswordHash::Make(QStringLiteral("pw")));
    for (const QString &typed :
        {QStringLiteral("alice"), QStringLiteral("ALICE"), QStringLiteral("Alice")}) {
        TOperator op;
        QVERIFY2(op.Load(typed), qPrintable(typed));
        QCOMPARE(op.LoginId, QStringLiteral("Alice"));
        QCOMPARE(op.Name, QStringLiteral("ALICE"));
    }
    TOperator sa;
    QVERIFY(sa.Load(QStringLiteral("SA")));
    QCOMPARE(sa.LoginId, QStringLiteral("sa"));
    QVERIFY(sa.HasRight(51));
}

// ---------------------------------------------------------------- operator set

void tst_Operator::addStoresOnlyTheHash()
{
    TOperatorSet set;
    set.AddOperator(QStringLiteral("bob"), QStringLiteral("pw-b"), QStringLiteral(",9,"),
        QStringLiteral("note"), QStringLiteral("555"), QStringLiteral("Bob"));
    const QString stored = column(QStringLiteral("bob"), QStringLiteral("Password"));
    QVERIFY(PasswordHash::IsHash(stored));
    QVERIFY(PasswordHash::Verify(stored, QStringLiteral("pw-b")));
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("Name")), QStringLiteral("Bob"));
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("Contact")), QStringLiteral("555"));
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("Note")), QStringLiteral("note"));
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("Rights")), QStringLiteral(",9,"));

    QVERIFY(set.LocateOperator(QStringLiteral("bob")));
    QCOMPARE(set.NameField->AsString(), QStringLiteral("Bob"));
    TOperatorSet reread;
    QCOMPARE(
        reread.JoinValues(QStringLiteral("LoginId"), QStringLiteral(",")), QStringLiteral("bob"));

    TOperator bob;
    QVERIFY(bob.Load(QStringLiteral("bob")));
    QVERIFY(bob.CheckPassword(QStringLiteral("pw-b")));
}

void tst_Operator::addRefusesTakenNames_data()
{
    QTest::addColumn<QString>("loginId");
    QTest::newRow("same name") << "alice";
    QTest::newRow("other letter case") << "ALICE";
    QTest::newRow("superuser") << "sa";
    QTest::newRow("superuser upper case") << "SA";
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
}

void tst_Operator::addRefusesTakenNames()
{
    QFETCH(QString, loginId);
    insertOperator(QStringLiteral("alice"), PasswordHash::Make(QStringLiteral("pw-a")));
    const int before = operatorCount();
    TOperatorSet set;
    QVERIFY_THROWS_EXCEPTION(QmError,
        set.AddOperator(loginId, QStringLiteral("x"), QString(), QString(), QString(),
            QStringLiteral("intruder")));
    QCOMPARE(operatorCount(), before);
    QCOMPARE(column(QStringLiteral("alice"), QStringLiteral("Name")), QStringLiteral("ALICE"));
    QCOMPARE(set.DataSet()->RecordCount(), 1);
}

void tst_Operator::updateKeepsPasswordWhenEmpty()
{
    TOperatorSet set;
    set.AddOperator(
        QStringLiteral("bob"), QStringLiteral("old"), QString(), QString(), QString(), QString());
    const QString original = column(QStringLiteral("bob"), QStringLiteral("Password"));

    set.UpdateOperator(QStringLiteral("bob"), QString(), QStringLiteral(",10,"),
        QStringLiteral("n"), QStringLiteral("c"), QStringLiteral("Robert"));
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("Password")), original);
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("Name")), QStringLiteral("Robert"));
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("Rights")), QStringLiteral(",10,"));
    QVERIFY(set.LocateOperator(QStringLiteral("bob")));
    QCOMPARE(set.NameField->AsString(), QStringLiteral("Robert"));

    set.UpdateOperator(QStringLiteral("BOB"), QStringLiteral("new"), QString(), QString(),
        QString(), QStringLiteral("Robert"));
    TOperator bob;
    QVERIFY(bob.Load(QStringLiteral("bob")));
    QVERIFY(!bob.CheckPassword(QStringLiteral("old")));
    QVERIFY(bob.CheckPassword(QStringLiteral("new")));
}

void tst_Operator::writesToMissingRowsFail()
{
    TOperatorSet set;
    set.AddOperator(
        QStringLiteral("bob"), QStringLiteral("pw"), QString(), QString(), QString(), QString());
    // Another workstation removes bob meanwhile.
    TheDatabase->Execute(QStringLiteral("delete from operator where LoginId='bob'"));

    QVERIFY_THROWS_EXCEPTION(QmError,
        set.UpdateOperator(QStringLiteral("bob"), QString(), QString(), QString(), QString(),
            QStringLiteral("x")));
    QVERIFY_THROWS_EXCEPTION(QmError, set.DeleteOperator(QStringLiteral("bob")));

    TOperator ghost;
    ghost.LoginId = QStringLiteral("bob");
    QVERIFY_THROWS_EXCEPTION(QmError, ghost.SetPassword(QStringLiteral("pw2")));

    const int before = operatorCount();
    QVERIFY_THROWS_EXCEPTION(QmError, set.DeleteOperator(QStringLiteral("SA")));
    QCOMPARE(operatorCount(), before);

    set.AddOperator(
        QStringLiteral("carl"), QStringLiteral("pw"), QString(), QString(), QString(), QString());
    set.DeleteOperator(QStringLiteral("carl"));
    QCOMPARE(column(QStringLiteral("carl"), QStringLiteral("LoginId")), QStringLiteral("<no row>"));
    QVERIFY(!set.LocateOperator(QStringLiteral("carl")));
}

// ---------------------------------------------------------------- departments

void tst_Operator::deptRestriction_data()
{
    QTest::addColumn<QString>("xrights");
    QTest::addColumn<QString>("restriction");
    QTest::newRow("no lines") << ""
                              << "";
    QTest::newRow("all departments off, no codes") << "EmpViewAllDept=0"
                                                   << "";
    QTest::newRow("all departments on wins") << "EmpViewAllDept=1\r\nEmpViewDept=01"
                                             << "";
    QTest::newRow("two codes") << "EmpViewAllDept=0\r\nEmpViewDept=01\r\nEmpViewDept=0203"
                               << " and (DutyDeptId like '01%' or DutyDeptId like '0203%')";
    QTest::newRow("word true in any case") << "EmpViewAllDept=tRUE\r\nEmpViewDept=01"
                                           << "";
    QTest::newRow("negative number is true") << "EmpViewAllDept=-1\r\nEmpViewDept=01"
                                             << "";
    QTest::newRow("word false") << "EmpViewAllDept=False\r\nEmpViewDept=01"
                                << " and (DutyDeptId like '01%')";
    QTest::newRow("malformed boolean counts as false") << "EmpViewAllDept=yes\r\nEmpViewDept=01"
                                                       << " and (DutyDeptId like '01%')";
    QTest::newRow("salary lines ignored") << "GzViewAllDept=1\r\nGzViewDept=05\r\nEmpViewDept=02"
                                          << " and (DutyDeptId like '02%')";
    QTest::newRow("bare line feeds") << "EmpViewDept=01\nEmpViewDept=02"
                                     << " and (DutyDeptId like '01%' or DutyDeptId like '02%')";
    QTest::newRow("empty code skipped") << "EmpViewDept=\r\nEmpViewDept=03"
                                        << " and (DutyDeptId like '03%')";
    QTest::newRow("quote doubled") << "EmpViewDept=0'1"
                                   << " and (DutyDeptId like '0''1%')";
}

void tst_Operator::deptRestriction()
{
    QFETCH(QString, xrights);
    QFETCH(QString, restriction);
    insertOperator(
        QStringLiteral("carol"), PasswordHash::Make(QStringLiteral("pw")), QString(), xrights);
    const ROperatorRights rights = LoadOperatorRight(QStringLiteral("Carol"));
    QCOMPARE(rights.size(), 1);
    QCOMPARE(rights.first().LoginId, QStringLiteral("carol"));
    QCOMPARE(DeptRestriction(rights.first().EmpRight), restriction);

    TheOperatorRight = rights.first();
    QCOMPARE(DeptRestriction(), restriction);
    TheOperatorRight = ROperatorRight();
}

void tst_Operator::restrictionSelectsSubDepartments_data()
{
    QTest::addColumn<QString>("xrights");
    QTest::addColumn<QList<int>>("visible");
    QTest::newRow("a department and its sub-departments")
        << "EmpViewDept=01\r\nEmpViewDept=0203" << QList<int>{1, 2, 4, 5};
    QTest::newRow("no restriction") << "EmpViewAllDept=0" << QList<int>{1, 2, 3, 4, 5, 6};
    QTest::newRow("quote cannot widen it") << "EmpViewDept=0' or '1'='1" << QList<int>{};
}

void tst_Operator::restrictionSelectsSubDepartments()
{
    QFETCH(QString, xrights);
    QFETCH(QList<int>, visible);
    const QStringList depts{"01", "0102", "02", "0203", "020301", "03"};
    for (int i = 0; i < depts.size(); ++i)
        TheDatabase->Execute(
            QStringLiteral("insert into empjoin(EmpId,DutyDeptId)values(:EmpId,:DutyDeptId)"),
            {MakeParameter(QStringLiteral("EmpId"), i + 1),
                MakeParameter(QStringLiteral("DutyDeptId"), depts[i])});
    const RDeptRit rights = ParseDeptRights(xrights);
    TDataSet rows;
    TheDatabase->Fill(rows,
        QStringLiteral("select EmpId from empjoin where 1=1") + DeptRestriction(rights)
            + QStringLiteral(" order by EmpId"));
    QList<int> ids;
    for (rows.First(); !rows.Eof(); rows.Next())
        ids << rows.Fields(0)->AsInteger();
    QCOMPARE(ids, visible);
}

void tst_Operator::visibilityOfEveryOperator()
{
    insertOperator(QStringLiteral("alice"), QString(), QString(), QStringLiteral("EmpViewDept=01"));
    insertOperator(
        QStringLiteral("bob"), QString(), QString(), QStringLiteral("EmpViewAllDept=True"));
    QMap<QString, QString> restrictions;
    for (const ROperatorRight &right : LoadOperatorRight())
        restrictions.insert(right.LoginId, DeptRestriction(right.EmpRight));
    QCOMPARE(restrictions.keys(), (QStringList{"alice", "bob", "sa"}));
    QCOMPARE(restrictions.value("alice"), QStringLiteral(" and (DutyDeptId like '01%')"));
    QCOMPARE(restrictions.value("bob"), QString());
    QCOMPARE(restrictions.value("sa"), QString());
}

QTEST_GUILESS_MAIN(tst_Operator)
#include "tst_operator.moc"
