#include "Configer.h"
#include "DepartmentSet.h"
#include "EmpFind.h"
#include "EmpLabelOptionU.h"
#include "EmployeeSet.h"
#include "EmployeeWhere.h"
#include "Error.h"
#include "GridExport.h"
#include "HelpBrowser.h"
#include "Login.h"
#include "MainActions.h"
#include "Operator.h"
#include "PostmoveList.h"
#include "Reporter.h"
#include "Sort.h"
#include "TestSupport.h"
#include "UI.h"
#include "VacationList.h"
#include "a.h"
#include "main1.h"
#include "qmDBCtrls.h"
#include "qmProj.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUrlQuery>
#include <QtTest>
#include <memory>

// The main window over a real database on each engine: its tree, list,
// searches, reminders, enabling rules, delete and re-login.
class tst_MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void treeShowsTheGroupsSwitchedOn_data();
    void treeShowsTheGroupsSwitchedOn();
    void groupNodesAreTheDepartmentsAndTheNonBlankLines();
    void optionsDialogSwitchesGroupsAndStoresThem();
    void viewMenuSwitchesGroupsWithoutStoringThem();

    void contractReminder_data();
    void contractReminder();
    void theOtherRemindersCountTheirEmployees();

    void choosingANodeListsItsEmployees_data();
    void choosingANodeListsItsEmployees();
    void quickSearch_data();
    void quickSearch();
    void advancedSearchShowsItsResult();

    void actionsFollowTheCurrentRow();
    void actionsWithoutTheirWindowStayDisabled();
    void printOpensTheRosterTemplates();
    void deleteTakesEverythingAttached_data();
    void deleteTakesEverythingAttached();
    void refreshKeepsTheCurrentEmployee();
    void listOpensOnTheCommonColumnsUntilALayoutIsSaved();
    void gridCommandsServeTheList();

    void listWaitsForTheLoginAndFollowsTheOperator();
    void postMoveAndVacationStartFromTheCurrentEmployee();
    void labelAndListChangesReachTheOpenWindow();
    void dismissedRowsAreColoured_data();
    void dismissedRowsAreColoured();

    void toolsOfferOnlyInstalledPrograms();
    void vendorLinksAppearOnlyWhenConfigured();
    void controlsCarryTheirNames();
    void helpOpensTheWindowsPages();

private:
    struct Person
    {
        int id;
        QString name;
        QString code;
        QString dept;
        QString duty;
        QString diploma;
    };
    static QDateTime day(const QDate &date) { return QDateTime(date, QTime(0, 0)); }
    static QDate today() { return QDate::currentDate(); }
    void exec(const QString &sql, const TDBParameters &params = {});
    int count(const QString &sql);
    void addDepartment(const QString &code, const QString &name);
    void addPerson(const Person &p);
    void dismiss(int id, const QDate &date);
    void addTrial(int id, const QDate &from, const QDate &to, const QVariant &tested = QVariant());
    void addContract(int contractId, int empId, const QDate &end);
    void setBirthday(int id, const QDate &date);
    // Four departments and six people: four on duty, one dismissed yesterday,
    // one dismissed today (still on duty today), one leaving tomorrow.
    void addStaff();
    void setSwitches(const QList<int> &keysOn);
    std::unique_ptr<Tmain1Frm> window(bool loggedIn = true);

    static QTreeWidgetItem *node(Tmain1Frm &w, const QStringList &path);
    static QStringList childCaptions(const QTreeWidgetItem *node);
    static QStringList listed(Tmain1Frm &w);
    static QStringList listedInOrder(Tmain1Frm &w);
    static bool moveTo(Tmain1Frm &w, const QString &name);
    void loginAs(Tmain1Frm &w, const QString &loginId, const QString &password);

    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<QTemporaryDir> m_config;
};

void tst_MainWindow::initTestCase()
{
    PasswordHash::SetIterations(1000);
}

void tst_MainWindow::cleanupTestCase()
{
    PasswordHash::SetIterations(0);
}

void tst_MainWindow::init()
{
    // The login writes the last login name beside the executable unless told otherwise.
    m_config = std::make_unique<QTemporaryDir>();
    TConfiger::SetDefaultFolder(m_config->path());
    QM_INIT_ENGINE(m_fixture);
    CreateProjectObjects();
    LoadStartupData();
    CreateDepartments();
    m_prompter = std::make_unique<ScriptedPrompter>();
    TheOperator->Load(QStringLiteral("sa"));
    TheOperatorRight = ROperatorRight{QStringLiteral("sa"), RDeptRit()};
}

void tst_MainWindow::cleanup()
{
    SetModalRunner(nullptr);
    SetProgramStarter(nullptr);
    SetUrlOpener(nullptr);
    m_prompter.reset();
    FieldLabels = TFieldLabels();
    TheOperator->Clear();
    TheOperatorRight = ROperatorRight();
    FreeDepartments();
    FreeProjectObjects();
    installGlobals(nullptr);
    m_fixture.reset();
    TConfiger::SetDefaultFolder(QString());
    m_config.reset();
}

void tst_MainWindow::exec(const QString &sql, const TDBParameters &params)
{
    TheDatabase->Execute(sql, params);
}

int tst_MainWindow::count(const QString &sql)
{
    TDataSet set;
    TheDatabase->Fill(set, sql);
    return set.Fields(0)->AsInteger();
}

void tst_MainWindow::addDepartment(const QString &code, const QString &name)
{
    exec(QStringLiteral("insert into department(Code, Name) values (:Code, :Name)"),
        {MakeParameter(QStringLiteral("Code"), code), MakeParameter(QStringLiteral("Name"), name)});
}

void tst_MainWindow::addPerson(const Person &p)
{
    exec(QStringLiteral(
             "insert into employee(Id, Name, Sex, Diploma) values (:Id, :Name, '男', :Diploma)"),
        {MakeParameter(QStringLiteral("Id"), p.id), MakeParameter(QStringLiteral("Name"), p.name),
            MakeParameter(QStringLiteral("Diploma"), p.diploma)});
    exec(QStringLiteral("insert into empjoin(EmpId, Code, DutyDeptId, DutyName, JoinDate) "
                        "values (:EmpId, :Code, :Dept, :Duty, :JoinDate)"),
        {MakeParameter(QStringLiteral("EmpId"), p.id),
            MakeParameter(QStringLiteral("Code"), p.code),
            MakeParameter(QStringLiteral("Dept"), p.dept),
            MakeParameter(QStringLiteral("Duty"), p.duty),
            MakeParameter(QStringLiteral("JoinDate"), day(QDate(2015, 3, 1)))});
}

void tst_MainWindow::dismiss(int id, const QDate &date)
{
    exec(QStringLiteral("insert into empjout(Id, EmpId, Disdate, Distype) values (:Id, :EmpId, "
                        ":Disdate, '辞职')"),
        {MakeParameter(QStringLiteral("Id"), id), MakeParameter(QStringLiteral("EmpId"), id),
            MakeParameter(QStringLiteral("Disdate"), day(date))});
    exec(QStringLiteral("update employee set JoutId=:Id where Id=:Id"),
        {MakeParameter(QStringLiteral("Id"), id)});
}

void tst_MainWindow::addTrial(int id, const QDate &from, const QDate &to, const QVariant &tested)
{
    exec(QStringLiteral("insert into emptrials(EmpId, TryJob, TryDate1, TryDate2, TestDate) "
                        "values (:EmpId, '文员', :TryDate1, :TryDate2, :TestDate)"),
        {MakeParameter(QStringLiteral("EmpId"), id),
            MakeParameter(QStringLiteral("TryDate1"), day(from)),
            MakeParameter(QStringLiteral("TryDate2"), day(to)),
            MakeParameter(QStringLiteral("TestDate"), tested)});
}

void tst_MainWindow::addContract(int contractId, int empId, const QDate &end)
{
    exec(
        QStringLiteral("insert into contracts(ContractId, EmpId, ContractNo, Validate, Invalidate) "
                       "values (:Id, :EmpId, 'HT', :Validate, :Invalidate)"),
        {MakeParameter(QStringLiteral("Id"), contractId),
            MakeParameter(QStringLiteral("EmpId"), empId),
            MakeParameter(QStringLiteral("Validate"), day(QDate(2020, 1, 1))),
            MakeParameter(QStringLiteral("Invalidate"), day(end))});
}

void tst_MainWindow::setBirthday(int id, const QDate &date)
{
    exec(QStringLiteral("update employee set Birthday=:Birthday where Id=:Id"),
        {MakeParameter(QStringLiteral("Birthday"), day(date)),
            MakeParameter(QStringLiteral("Id"), id)});
}

void tst_MainWindow::addStaff()
{
    addDepartment(QStringLiteral("01"), QStringLiteral("总部"));
    addDepartment(QStringLiteral("0101"), QStringLiteral("销售部"));
    addDepartment(QStringLiteral("0102"), QStringLiteral("财务部"));
    addDepartment(QStringLiteral("02"), QStringLiteral("分厂"));
    addPerson({1, QStringLiteral("张三"), QStringLiteral("A001"), QStringLiteral("0101"),
        QStringLiteral("经理"), QStringLiteral("本科")});
    addPerson({2, QStringLiteral("李四"), QStringLiteral("A002"), QStringLiteral("0102"),
        QStringLiteral("文员"), QStringLiteral("大专")});
    addPerson({3, QStringLiteral("王五"), QStringLiteral("A003"), QStringLiteral("02"),
        QStringLiteral("经理"), QStringLiteral("本科")});
    addPerson({4, QStringLiteral("赵六"), QStringLiteral("A004"), QStringLiteral("0101"),
        QStringLiteral("经理"), QStringLiteral("本科")});
    addPerson({5, QStringLiteral("钱七"), QStringLiteral("A005"), QStringLiteral("02"),
        QStringLiteral("文员"), QStringLiteral("大专")});
    addPerson({6, QStringLiteral("孙八"), QStringLiteral("A006"), QStringLiteral("01"),
        QStringLiteral("文员"), QStringLiteral("大专")});
    dismiss(4, today().addDays(-1));
    dismiss(5, today());
    dismiss(6, today().addDays(1));
    TheDepartments->Load();
}

void tst_MainWindow::setSwitches(const QList<int> &keysOn)
{
    for (int key = 17; key <= 24; ++key)
        TheSettings->SetBool(key, keysOn.contains(key));
}

std::unique_ptr<Tmain1Frm> tst_MainWindow::window(bool loggedIn)
{
    auto w = std::make_unique<Tmain1Frm>();
    if (loggedIn)
        w->OperatorChanged();
    return w;
}

QTreeWidgetItem *tst_MainWindow::node(Tmain1Frm &w, const QStringList &path)
{
    QTreeWidgetItem *found = nullptr;
    for (const QString &caption : path) {
        const int count = found ? found->childCount() : w.TreeView1->topLevelItemCount();
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem *candidate = found ? found->child(i) : w.TreeView1->topLevelItem(i);
            if (candidate->text(0) == caption)
                next = candidate;
        }
        if (!next)
            return nullptr;
        found = next;
    }
    return found;
}

QStringList tst_MainWindow::childCaptions(const QTreeWidgetItem *node)
{
    QStringList captions;
    for (int i = 0; node && i < node->childCount(); ++i)
        captions << node->child(i)->text(0);
    return captions;
}

QStringList tst_MainWindow::listedInOrder(Tmain1Frm &w)
{
    const TDataSet *rows = w.EmployeeSet()->Query();
    QStringList names;
    if (!rows->Active())
        return names;
    const int name = rows->FieldByName(QStringLiteral("Name"))->Index();
    for (int row = 0; row < rows->RecordCount(); ++row)
        names << rows->ValueAt(row, name).toString();
    return names;
}

QStringList tst_MainWindow::listed(Tmain1Frm &w)
{
    QStringList names = listedInOrder(w);
    names.sort();
    return names;
}

bool tst_MainWindow::moveTo(Tmain1Frm &w, const QString &name)
{
    return w.EmployeeSet()->Query()->Locate(QStringLiteral("Name"), name);
}

void tst_MainWindow::loginAs(Tmain1Frm &w, const QString &loginId, const QString &password)
{
    SetModalRunner([loginId, password](QDialog &dialog) {
        auto *login = qobject_cast<TLoginFrm *>(&dialog);
        if (!login)
            return int(QDialog::Rejected);
        login->edtLoginId1->setCurrentText(loginId);
        login->edtPassword1->setText(password);
        login->OkBtn1->click();
        return dialog.result();
    });
    w.ReloginAction1->trigger();
    SetModalRunner(nullptr);
}

// ---------------------------------------------------------------- the tree

void tst_MainWindow::treeShowsTheGroupsSwitchedOn_data()
{
    QTest::addColumn<QList<int>>("keysOn");
    QTest::addColumn<QStringList>("groups");
    QTest::newRow("none") << QList<int>{} << QStringList{};
    QTest::newRow("department, post, education")
        << QList<int>{17, 19, 20} << QStringList{"所在部门", "岗位", "学历"};
    QTest::newRow("title and education keep the group order")
        << QList<int>{20, 18} << QStringList{"职称", "学历"};
    QTest::newRow("all eight") << QList<int>{17, 18, 19, 20, 21, 22, 23, 24}
                               << QStringList{"所在部门", "岗位", "职称", "学历", "婚姻", "政貌",
                                      "聘用来源", "用工形式"};
}

void tst_MainWindow::treeShowsTheGroupsSwitchedOn()
{
    QFETCH(QList<int>, keysOn);
    QFETCH(QStringList, groups);
    addStaff();
    setSwitches(keysOn);
    auto w = window();

    QStringList top;
    for (int i = 0; i < w->TreeView1->topLevelItemCount(); ++i)
        top << w->TreeView1->topLevelItem(i)->text(0).section(QLatin1Char(' '), 0, 0);
    QCOMPARE(top,
        (QStringList{"在职人员", "离职人员", "试用人员", "本月离职", "本月试用到期", "本月生日",
            "30日内到期合同", "30日内到期证照"}));
    QCOMPARE(childCaptions(w->StatusNode(0)), groups);
    QVERIFY(childCaptions(w->StatusNode(1)).isEmpty());
    for (const TGroupInfo &info : Groups())
        QCOMPARE(w->GroupActions[static_cast<size_t>(info.Group)]->isChecked(),
            keysOn.contains(info.SettingsKey));

    // Whatever the groups, the list starts with the employees on duty.
    QCOMPARE(w->TreeView1->currentItem(), w->StatusNode(0));
    QCOMPARE(listed(*w), (QStringList{"孙八", "张三", "李四", "王五", "钱七"}));
}

void tst_MainWindow::groupNodesAreTheDepartmentsAndTheNonBlankLines()
{
    addStaff();
    setSwitches({17, 19});
    ThePickLists->SetList(2, QStringLiteral("经理\r\n\r\n  \r\n文员\r\n"), true);
    auto w = window();
    QTreeWidgetItem *posts = node(*w, {"在职人员", "岗位"});
    QVERIFY(posts);
    QCOMPARE(childCaptions(posts), (QStringList{"经理", "文员"}));
    QTreeWidgetItem *depts = node(*w, {"在职人员", "所在部门"});
    QCOMPARE(childCaptions(depts), (QStringList{"总部", "分厂"}));
    QCOMPARE(childCaptions(node(*w, {"在职人员", "所在部门", "总部"})),
        (QStringList{"销售部", "财务部"}));
    QCOMPARE(
        TqmTreeView::NodeValue(node(*w, {"在职人员", "所在部门", "总部", "财务部"})).toString(),
        QStringLiteral("0102"));
}

void tst_MainWindow::optionsDialogSwitchesGroupsAndStoresThem()
{
    addStaff();
    setSwitches({17, 18, 19});
    auto w = window();
    QStringList captions;
    QVector<bool> ticks;
    SetModalRunner([&](QDialog &dialog) {
        auto *frm = qobject_cast<TEmpListOptionFrm *>(&dialog);
        if (!frm)
            return int(QDialog::Rejected);
        for (int i = 0; i < frm->CheckListBox1->count(); ++i)
            captions << frm->CheckListBox1->item(i)->text();
        ticks = frm->Shown();
        frm->SetShown(1, false);
        frm->SetShown(4, true);
        frm->OkBtn1->click();
        return dialog.result();
    });
    w->OptionAction1->trigger();
    QCOMPARE(captions,
        (QStringList{"所在部门", "岗位", "职称", "学历", "婚姻", "政貌", "聘用来源", "用工形式"}));
    QCOMPARE(ticks, (QVector<bool>{true, true, true, false, false, false, false, false}));
    // Exactly the post group went; the title group stayed where it was.
    QCOMPARE(childCaptions(w->StatusNode(0)), (QStringList{"所在部门", "职称", "婚姻"}));
    QVERIFY(!w->TreeView1->currentItem());

    TKeyValue2 stored;
    QCOMPARE(stored.GetBool(17), true);
    QCOMPARE(stored.GetBool(18), true);
    QCOMPARE(stored.GetBool(19), false);
    QCOMPARE(stored.GetBool(21), true);

    // Cancelled, the dialog changes nothing.
    SetModalRunner([](QDialog &dialog) {
        if (auto *frm = qobject_cast<TEmpListOptionFrm *>(&dialog))
            frm->SetShown(0, false);
        return int(QDialog::Rejected);
    });
    w->OptionAction1->trigger();
    QCOMPARE(childCaptions(w->StatusNode(0)), (QStringList{"所在部门", "职称", "婚姻"}));
    QCOMPARE(TKeyValue2().GetBool(17), true);
}

void tst_MainWindow::viewMenuSwitchesGroupsWithoutStoringThem()
{
    addStaff();
    setSwitches({17, 18});
    auto w = window();
    w->GroupActions[static_cast<size_t>(TGroup::Jobtitle)]->trigger();
    w->GroupActions[static_cast<size_t>(TGroup::Diploma)]->trigger();
    QCOMPARE(childCaptions(w->StatusNode(0)), (QStringList{"所在部门", "学历"}));
    TKeyValue2 stored;
    QCOMPARE(stored.GetBool(18), true);
    QCOMPARE(stored.GetBool(20), false);
    QVERIFY(m_prompter->shown().isEmpty());
}

// ---------------------------------------------------------------- reminders

void tst_MainWindow::contractReminder_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<QList<int>>("endsInDays");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("holders");
    // Contracts end at the start of their day, "now" has a time of day: one
    // ending today has already expired.
    QTest::newRow("30 days: today, +1, +30, +31")
        << 30 << QList<int>{0, 1, 30, 31} << QStringLiteral("30日内到期合同 2 份")
        << QStringList{"张三"};
    QTest::newRow("no window") << 0 << QList<int>{0, 1} << QStringLiteral("0日内到期合同 0 份")
                               << QStringList{};
    QTest::newRow("expired ones never count")
        << 10 << QList<int>{-40, -1, 3} << QStringLiteral("10日内到期合同 1 份")
        << QStringList{"张三"};
}

void tst_MainWindow::contractReminder()
{
    QFETCH(int, days);
    QFETCH(QList<int>, endsInDays);
    QFETCH(QString, caption);
    QFETCH(QStringList, holders);
    addStaff();
    TheSettings->SetInt(122, days);
    int id = 0;
    for (int offset : endsInDays)
        addContract(++id, 1, today().addDays(offset));
    auto w = window();
    QTreeWidgetItem *reminder = w->ReminderNode(TReminder::Contract);
    QCOMPARE(reminder->text(0), caption);
    w->TreeView1->ChooseNode(reminder);
    QCOMPARE(listed(*w), holders);
    QCOMPARE(w->lblNode1->text(), caption);
}

void tst_MainWindow::theOtherRemindersCountTheirEmployees()
{
    addStaff();
    const QDate first(today().year(), today().month(), 1);
    // Two birthdays this month, one next month.
    setBirthday(1, QDate(1990, today().month(), 15));
    setBirthday(2, QDate(1985, today().month(), 1));
    setBirthday(3, QDate(1980, 1, 1).addMonths(today().month() % 12));
    // Dismissed this month: 钱七 (today) and, unless today is the 1st, 赵六
    // (yesterday); 孙八 leaves tomorrow, which may be next month.
    int dismissedThisMonth = 0;
    for (const QDate &date : {today().addDays(-1), today(), today().addDays(1)})
        dismissedThisMonth += date.month() == today().month() ? 1 : 0;
    // Probation: 李四's ends this month, 王五's next month.
    addTrial(2, first.addMonths(-2), first.addDays(20 % first.daysInMonth()));
    addTrial(3, first.addMonths(-1), first.addMonths(1));
    // Certificates within 15 days: two of 张三's count once, 李四's is too far.
    TheSettings->SetInt(123, 15);
    auto cert = [this](int id, int empId, int inDays) {
        exec(QStringLiteral("insert into certificates(Id, EmpId, CertName, ValidateTo) values "
                            "(:Id, :EmpId, '电工证', :To)"),
            {MakeParameter(QStringLiteral("Id"), id), MakeParameter(QStringLiteral("EmpId"), empId),
                MakeParameter(QStringLiteral("To"), day(today().addDays(inDays)))});
    };
    cert(1, 1, 3);
    cert(2, 1, 10);
    cert(3, 2, 16);

    auto w = window();
    QCOMPARE(w->ReminderNode(TReminder::DismissedThisMonth)->text(0),
        QStringLiteral("本月离职 %1 人").arg(dismissedThisMonth));
    QCOMPARE(
        w->ReminderNode(TReminder::ProbationEnds)->text(0), QStringLiteral("本月试用到期 1 人"));
    QCOMPARE(w->ReminderNode(TReminder::Birthday)->text(0), QStringLiteral("本月生日 2 人"));
    QCOMPARE(
        w->ReminderNode(TReminder::Certificate)->text(0), QStringLiteral("15日内到期证照 1 人"));

    // Each reminder lists whom it counted.
    w->TreeView1->ChooseNode(w->ReminderNode(TReminder::Birthday));
    QCOMPARE(listed(*w), (QStringList{"张三", "李四"}));
    w->TreeView1->ChooseNode(w->ReminderNode(TReminder::ProbationEnds));
    QCOMPARE(listed(*w), QStringList{"李四"});
    w->TreeView1->ChooseNode(w->ReminderNode(TReminder::Certificate));
    QCOMPARE(listed(*w), QStringList{"张三"});
    w->TreeView1->ChooseNode(w->ReminderNode(TReminder::DismissedThisMonth));
    QCOMPARE(listed(*w).size(), dismissedThisMonth);
}

// ---------------------------------------------------------------- the list

void tst_MainWindow::choosingANodeListsItsEmployees_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("on duty, also those leaving today or later")
        << QStringList{"在职人员"} << QStringList{"孙八", "张三", "李四", "王五", "钱七"};
    QTest::newRow("dismissed") << QStringList{"离职人员"} << QStringList{"赵六"};
    QTest::newRow("on probation, not yet assessed")
        << QStringList{"试用人员"} << QStringList{"李四"};
    QTest::newRow("a department with the ones below")
        << QStringList{"在职人员", "所在部门", "总部"} << QStringList{"孙八", "张三", "李四"};
    QTest::newRow("a department without the dismissed")
        << QStringList{"在职人员", "所在部门", "总部", "销售部"} << QStringList{"张三"};
    QTest::newRow("a post") << QStringList{"在职人员", "岗位", "经理"}
                            << QStringList{"张三", "王五"};
    QTest::newRow("an education level")
        << QStringList{"在职人员", "学历", "大专"} << QStringList{"孙八", "李四", "钱七"};
}

void tst_MainWindow::choosingANodeListsItsEmployees()
{
    QFETCH(QStringList, path);
    QFETCH(QStringList, names);
    addStaff();
    addTrial(2, today().addDays(-30), today().addDays(30));
    addTrial(3, today().addDays(-90), today().addDays(-1), day(today().addDays(-1)));
    setSwitches({17, 19, 20});
    ThePickLists->SetList(2, QStringLiteral("经理\r\n文员"), true);
    auto w = window();
    QTreeWidgetItem *chosen = node(*w, path);
    QVERIFY(chosen);
    w->TreeView1->ChooseNode(chosen);
    QCOMPARE(listed(*w), names);
    QCOMPARE(w->TreeView1->Text(), path.last());
    QCOMPARE(w->lblRec1->text(), QStringLiteral("1 / %1").arg(names.size()));
    QVERIFY(m_prompter->shown().isEmpty());
}

void tst_MainWindow::quickSearch_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("archive number, on duty or not")
        << QStringLiteral("A00") << QStringList{"孙八", "张三", "李四", "王五", "赵六", "钱七"};
    QTest::newRow("one archive number") << QStringLiteral("A004") << QStringList{"赵六"};
    QTest::newRow("a name") << QStringLiteral("李四") << QStringList{"李四"};
    QTest::newRow("no match") << QStringLiteral("B9") << QStringList{};
    QTest::newRow("a quote is only a character") << QStringLiteral("O'Neil") << QStringList{};
}

void tst_MainWindow::quickSearch()
{
    QFETCH(QString, keyword);
    QFETCH(QStringList, names);
    addStaff();
    auto w = window();
    w->Edit1->setText(keyword);
    w->Button1->click();
    QCOMPARE(listed(*w), names);
    QVERIFY(!w->TreeView1->currentItem());
    QCOMPARE(w->lblRec1->text(),
        QStringLiteral("%1 / %2").arg(names.isEmpty() ? 0 : 1).arg(names.size()));
    QVERIFY(m_prompter->shown().isEmpty());

    // Enter in the keyword box searches as the button does.
    w->TreeView1->ChooseNode(w->StatusNode(1));
    QTest::keyClick(w->Edit1, Qt::Key_Return);
    QCOMPARE(listed(*w), names);
}

void tst_MainWindow::advancedSearchShowsItsResult()
{
    addStaff();
    auto w = window();
    int shown = 0;
    QString name = QStringLiteral("李四");
    SetModalRunner([&](QDialog &dialog) {
        auto *find = qobject_cast<TEmpFindFrm *>(&dialog);
        if (!find)
            return int(QDialog::Rejected);
        ++shown;
        find->edtName1->setText(name);
        find->Button5->click();
        // A search that found nothing keeps the form open: the user gives up.
        return find->result() == QDialog::Accepted ? find->result() : int(QDialog::Rejected);
    });
    w->Button2->click();
    QCOMPARE(shown, 1);
    QCOMPARE(listed(*w), QStringList{"李四"});
    QVERIFY(!w->TreeView1->currentItem());
    QVERIFY(m_prompter->shown().isEmpty());

    name = QStringLiteral("无此人");
    w->Button2->click();
    QCOMPARE(m_prompter->texts(), QStringList{"\r\n没有找到相关记录.\t\t"});
    QVERIFY(listed(*w).isEmpty());
}

void tst_MainWindow::actionsFollowTheCurrentRow()
{
    addStaff();
    auto w = window();
    w->SetActionHandler(w->JoutAction1, [] {});
    w->SetActionHandler(w->OpenAction1, [] {});
    const QList<QAction *> rowActions{w->OpenAction1, w->DeleteAction1};

    QVERIFY(moveTo(*w, QStringLiteral("张三")));
    for (QAction *action : rowActions)
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
    QVERIFY(w->JoutAction1->isEnabled());

    // Leaving tomorrow: a dismissal exists, so there is nothing to dismiss.
    QVERIFY(moveTo(*w, QStringLiteral("孙八")));
    QVERIFY(!w->JoutAction1->isEnabled());
    QVERIFY(w->DeleteAction1->isEnabled());
    const int row = w->EmployeeSet()->Query()->RecNo();
    QCOMPARE(w->lblRec1->text(), QStringLiteral("%1 / 5").arg(row));

    w->TreeView1->ChooseNode(w->StatusNode(1));
    QVERIFY(!w->JoutAction1->isEnabled());
    QVERIFY(w->OpenAction1->isEnabled());

    // An empty list leaves nothing to act on.
    w->Edit1->setText(QStringLiteral("nobody"));
    w->Button1->click();
    for (QAction *action : rowActions + QList<QAction *>{w->JoutAction1})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    QCOMPARE(w->lblRec1->text(), QStringLiteral("0 / 0"));

    // Unbinding a handler disables its action again.
    w->TreeView1->ChooseNode(w->StatusNode(0));
    QVERIFY(w->OpenAction1->isEnabled());
    w->SetActionHandler(w->OpenAction1, nullptr);
    QVERIFY(!w->OpenAction1->isEnabled());
}

void tst_MainWindow::actionsWithoutTheirWindowStayDisabled()
{
    addStaff();
    auto w = window();
    QVERIFY(moveTo(*w, QStringLiteral("张三")));
    QStringList waiting;
    for (const TMainActionSpec &spec : MainActionTable()) {
        QAction *action = w.get()->*spec.Member;
        QCOMPARE(action->objectName(), QLatin1String(spec.Name));
        QCOMPARE(action->text(), QString::fromUtf8(spec.Caption));
        if (!spec.Handler) {
            QVERIFY2(!action->isEnabled(), spec.Name);
            QVERIFY2(spec.WaitsFor, spec.Name);
            waiting << QLatin1String(spec.Name);
        }
    }
    QCOMPARE(waiting,
        (QStringList{"NewAction1", "OpenAction1", "LoadAction1", "JoutAction1", "RewardAction1",
            "TestAction1", "TrainAction1", "CountAction1", "OptionEditAction1", "ClearDataAction1",
            "BackupAction1", "UpgradeAction1", "TipsAction1"}));

    // Import tests its right before its handler runs.
    TOperatorSet().AddOperator(
        QStringLiteral("li"), QStringLiteral("pw"), QStringLiteral(",10,"), {}, {}, {});
    TheOperator->Load(QStringLiteral("li"));
    int imported = 0;
    w->SetActionHandler(w->LoadAction1, [&imported] { ++imported; });
    w->LoadAction1->trigger();
    QCOMPARE(imported, 0);
    QCOMPARE(m_prompter->lastText(),
        QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(9).\t"));
}

void tst_MainWindow::deleteTakesEverythingAttached_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("confirmed") << int(MessageButton::Ok) << true;
    QTest::newRow("cancelled") << int(MessageButton::Cancel) << false;
}

void tst_MainWindow::deleteTakesEverythingAttached()
{
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    addStaff();
    // 孙八 (id 6) leaves tomorrow, so a dismissal with its return hangs on him too.
    const QStringList attached{
        "insert into certificates(Id, EmpId, CertName) values (ID, EMP, '证')",
        "insert into empimages(Id, EmpId, Subject) values (ID, EMP, '照片')",
        "insert into contracts(ContractId, EmpId, ContractNo) values (ID, EMP, 'HT')",
        "insert into postmove(Id, EmpId, Duty1) values (ID, EMP, '文员')",
        "insert into Trains(TrnId, TrnEmpid, TrnGrade) values (ID, EMP, '优')",
        "insert into tests(Id, EmpId, TesType) values (ID, EMP, '年度')",
        "insert into vacation(Id, EmpId, Typ) values (ID, EMP, '年假')",
        "insert into rewards(Id, EmpId, Title) values (ID, EMP, '嘉奖')",
        "insert into Zpapply(EmpId, JobId) values (EMP, ID)",
        "insert into emptrials(EmpId, TryJob) values (EMP, '文员')",
        "insert into photo(EmpId, Ext) values (EMP, '.jpg')",
    };
    for (int i = 0; i < attached.size(); ++i) {
        for (int emp : {6, 2}) {
            QString sql = attached[i];
            exec(sql.replace(QStringLiteral("ID"), QString::number(emp * 10 + i))
                     .replace(QStringLiteral("EMP"), QString::number(emp)));
        }
    }
    exec(QStringLiteral("insert into empback(JoutId, Backman) values (6, '王')"));
    const QStringList tables{"certificates", "empimages", "contracts", "postmove", "tests",
        "vacation", "rewards", "Zpapply", "emptrials", "photo", "empjoin", "empjout"};
    auto rowsOf = [this, &tables](int empId) {
        int total
            = count(QStringLiteral("select count(*) from Trains where TrnEmpid=%1").arg(empId));
        for (const QString &table : tables)
            total += count(
                QStringLiteral("select count(*) from %1 where EmpId=%2").arg(table).arg(empId));
        return total
            + count(QStringLiteral("select count(*) from employee where Id=%1").arg(empId));
    };
    const int othersBefore = rowsOf(2);
    const int hisBefore = rowsOf(6);

    auto w = window();
    QVERIFY(moveTo(*w, QStringLiteral("孙八")));
    m_prompter->answer(static_cast<MessageButton>(answer));
    w->DeleteAction1->trigger();

    QCOMPARE(m_prompter->shown().size(), 1);
    const ScriptedPrompter::Shown &question = m_prompter->shown().first();
    QCOMPARE(question.kind, MessageKind::Warning);
    QCOMPARE(question.text, QStringLiteral("\r\n您确定要删除孙八的所有信息吗?"));
    QCOMPARE(question.buttons, MessageButton::Ok | MessageButton::Cancel);
    QCOMPARE(rowsOf(6), deleted ? 0 : hisBefore);
    QCOMPARE(count(QStringLiteral("select count(*) from empback where JoutId=6")), deleted ? 0 : 1);
    QCOMPARE(rowsOf(2), othersBefore);
    QCOMPARE(listed(*w).contains(QStringLiteral("孙八")), !deleted);
    QCOMPARE(w->lblRec1->text().section(QLatin1Char('/'), 1).trimmed(),
        QString::number(deleted ? 4 : 5));
}

void tst_MainWindow::refreshKeepsTheCurrentEmployee()
{
    addStaff();
    auto w = window();
    QVERIFY(moveTo(*w, QStringLiteral("王五")));
    addPerson({7, QStringLiteral("周九"), QStringLiteral("A007"), QStringLiteral("02"),
        QStringLiteral("文员"), QStringLiteral("大专")});
    w->RefreshAction1->trigger();
    QCOMPARE(listed(*w).size(), 6);
    QCOMPARE(w->EmployeeSet()->Query()->FieldByName(QStringLiteral("Name"))->AsString(),
        QStringLiteral("王五"));
}

void tst_MainWindow::listOpensOnTheCommonColumnsUntilALayoutIsSaved()
{
    addStaff();
    auto w = window();
    TqmGridcx *grid = w->Grid();
    QStringList shown;
    for (int i = 0; i < grid->ColumnCount(); ++i)
        if (grid->ColumnVisible(i))
            shown << grid->ColumnFieldName(i);
    QCOMPARE(shown,
        (QStringList{"Code", "Name", "Sex", "Birthday", "Age", "Folk", "Diploma", "Party",
            "DutyDeptName", "DutyName", "JobTitle", "Joindate", "AgeOfWork", "EmployType", "Tel",
            "IdCode", "DisDate"}));
    // The others are there for the column chooser.
    QVERIFY(grid->ColumnOf(QStringLiteral("Native")) >= 0);
    QVERIFY(!grid->ColumnVisible(grid->ColumnOf(QStringLiteral("Native"))));

    grid->SetColumnVisible(grid->ColumnOf(QStringLiteral("Native")), true);
    grid->SetColumnVisible(grid->ColumnOf(QStringLiteral("Tel")), false);
    w->Grid()->ActionTableStyleSave->trigger();
    QCOMPARE(m_prompter->lastText(), QStringLiteral("\r\n列样式保存成功.\t"));
    w.reset();

    auto again = window();
    TqmGridcx *reopened = again->Grid();
    QVERIFY(reopened->ColumnVisible(reopened->ColumnOf(QStringLiteral("Native"))));
    QVERIFY(!reopened->ColumnVisible(reopened->ColumnOf(QStringLiteral("Tel"))));
    QCOMPARE(count(QStringLiteral("select count(*) from syscols where F02=13")), 1);
}

void tst_MainWindow::gridCommandsServeTheList()
{
    addStaff();
    auto w = window();
    SetModalRunner([](QDialog &dialog) {
        auto *sort = qobject_cast<TSortFrm *>(&dialog);
        if (!sort)
            return int(QDialog::Rejected);
        sort->SetSortString(QStringLiteral("Name DESC"));
        sort->OkBtn1->click();
        return dialog.result();
    });
    w->SortAction1->trigger();
    QCOMPARE(listedInOrder(*w), (QStringList{"张三", "王五", "孙八", "钱七", "李四"}));

    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("list.html"));
    GridExport::SetSaveFileAsker(
        [&file](QWidget *, const QString &, const QString &) { return file; });
    GridExport::SetFileOpener([](const QString &) { return true; });
    GridExport::SetProgressShown(false);
    m_prompter->answer(MessageButton::No);
    QVERIFY(w->PopupMenu1->actions().contains(w->Grid()->ActionExport2Html));
    w->Grid()->ActionExport2Html->trigger();
    GridExport::SetSaveFileAsker(nullptr);
    GridExport::SetFileOpener(nullptr);
    QFile page(file);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    QVERIFY(html.contains(QStringLiteral("档案号")));
    QVERIFY(html.contains(QStringLiteral("孙八")));
    QVERIFY(!html.contains(QStringLiteral("赵六")));
}

// ---------------------------------------------------------------- operator, labels, colours

void tst_MainWindow::listWaitsForTheLoginAndFollowsTheOperator()
{
    addStaff();
    setBirthday(1, QDate(1990, today().month(), 2));
    setBirthday(3, QDate(1991, today().month(), 3));
    addContract(1, 1, today().addDays(5));
    addContract(2, 3, today().addDays(5));
    TOperatorSet().AddOperator(
        QStringLiteral("li"), QStringLiteral("pw"), QStringLiteral(",10,"), {}, {}, {});
    exec(QStringLiteral("update operator set XRights=:X where LoginId='li'"),
        {MakeParameter(QStringLiteral("X"), QStringLiteral("EmpViewAllDept=0\r\nEmpViewDept=01"))});

    // Made before anyone logged in, the window has listed and counted nobody.
    TheOperator->Clear();
    TheOperatorRight = ROperatorRight();
    auto w = window(false);
    QVERIFY(!w->EmployeeSet()->Active());
    QCOMPARE(w->ReminderNode(TReminder::Birthday)->text(0), QStringLiteral("本月生日"));

    loginAs(*w, QStringLiteral("li"), QStringLiteral("pw"));
    QCOMPARE(TheOperator->LoginId, QStringLiteral("li"));
    QCOMPARE(listed(*w), (QStringList{"孙八", "张三", "李四"}));
    QCOMPARE(w->ReminderNode(TReminder::Birthday)->text(0), QStringLiteral("本月生日 1 人"));
    QCOMPARE(w->ReminderNode(TReminder::Contract)->text(0), QStringLiteral("30日内到期合同 1 份"));
    QCOMPARE(w->TreeView1->currentItem(), w->StatusNode(0));

    // A wrong password changes nothing: the list stays li's.
    loginAs(*w, QStringLiteral("sa"), QStringLiteral("wrong"));
    QCOMPARE(TheOperator->LoginId, QStringLiteral("li"));
    QCOMPARE(listed(*w).size(), 3);

    loginAs(*w, QStringLiteral("sa"), QString());
    QCOMPARE(TheOperator->LoginId, QStringLiteral("sa"));
    QCOMPARE(listed(*w).size(), 5);
    QCOMPARE(w->ReminderNode(TReminder::Birthday)->text(0), QStringLiteral("本月生日 2 人"));
    QCOMPARE(w->ReminderNode(TReminder::Contract)->text(0), QStringLiteral("30日内到期合同 2 份"));
}

void tst_MainWindow::labelAndListChangesReachTheOpenWindow()
{
    addStaff();
    setSwitches({17, 19});
    ThePickLists->SetList(2, QStringLiteral("经理\r\n文员"), true);
    auto w = window();

    FieldLabels.DutyName = QStringLiteral("职务");
    FieldLabels.S[0] = QStringLiteral("工号");
    emit LabelNotifier::instance().labelsChanged();
    QVERIFY(node(*w, {"在职人员", "职务"}));
    TqmGridcx *grid = w->Grid();
    const int dutyColumn = grid->ColumnOf(QStringLiteral("DutyName"));
    QVERIFY(dutyColumn >= 0);
    QCOMPARE(grid->ColumnCaption(dutyColumn), QStringLiteral("职务"));
    QCOMPARE(grid->ColumnCaption(grid->ColumnOf(QStringLiteral("S1"))), QStringLiteral("工号"));

    ThePickLists->SetList(2, QStringLiteral("经理\r\n主管\r\n文员"), true);
    emit LabelNotifier::instance().pickListsChanged();
    QCOMPARE(childCaptions(node(*w, {"在职人员", "职务"})), (QStringList{"经理", "主管", "文员"}));

    addDepartment(QStringLiteral("03"), QStringLiteral("研发中心"));
    TheDepartments->Load();
    QCOMPARE(childCaptions(node(*w, {"在职人员", "所在部门"})),
        (QStringList{"总部", "分厂", "研发中心"}));
    QCOMPARE(childCaptions(w->StatusNode(0)), (QStringList{"所在部门", "职务"}));
}

void tst_MainWindow::dismissedRowsAreColoured_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("text");
    QTest::newRow("leaving tomorrow: red") << QStringLiteral("孙八") << QColor(Qt::red);
    QTest::newRow("left today: blue") << QStringLiteral("钱七") << QColor(Qt::blue);
    QTest::newRow("no dismissal: as the grid draws it") << QStringLiteral("张三") << QColor();
}

void tst_MainWindow::dismissedRowsAreColoured()
{
    QFETCH(QString, name);
    QFETCH(QColor, text);
    addStaff();
    auto w = window();
    QVERIFY(moveTo(*w, name));
    QStyleOptionViewItem option;
    option.palette = QPalette(Qt::white);
    const QPalette plain = option.palette;
    w->Grid()->StyleCell(w->EmployeeSet()->Query()->CurrentRow(), option);
    if (!text.isValid()) {
        QCOMPARE(option.palette, plain);
        return;
    }
    QCOMPARE(option.palette.color(QPalette::Text), text);
    QCOMPARE(option.palette.color(QPalette::HighlightedText), text);
    QCOMPARE(option.palette.color(QPalette::Highlight), QColor(192, 220, 192));
}

// ---------------------------------------------------------------- tools, links, names

void tst_MainWindow::toolsOfferOnlyInstalledPrograms()
{
    QTemporaryDir bin;
    QFile editor(QDir(bin.path()).filePath(QStringLiteral("mousepad")));
    QVERIFY(editor.open(QIODevice::WriteOnly));
    editor.write("#!/bin/sh\n");
    editor.close();
    editor.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    auto w = window();
    qputenv("PATH", path);

    QVERIFY(w->NotepadAction1->isEnabled());
    QVERIFY(!w->CalcAction1->isEnabled());
    QStringList started;
    SetProgramStarter([&started](const QString &program, const QStringList &) {
        started << program;
        return true;
    });
    w->NotepadAction1->trigger();
    w->CalcAction1->trigger();
    QCOMPARE(started, QStringList{editor.fileName()});
}

void tst_MainWindow::vendorLinksAppearOnlyWhenConfigured()
{
    {
        auto w = window();
        QVERIFY(!w->WebSiteAction1->isVisible());
        QVERIFY(!w->MailAction1->isVisible());
    }
    QFile cfg(QDir(m_config->path()).filePath(QStringLiteral("cfg.ini")));
    QVERIFY(cfg.open(QIODevice::WriteOnly));
    cfg.write("[Links]\r\nWebSite=www.example.com\r\nSalesMail=sales@example.com\r\n");
    cfg.close();
    auto w = window();
    QVERIFY(w->WebSiteAction1->isVisible());
    QVERIFY(w->MailAction1->isVisible());
    QList<QUrl> opened;
    SetUrlOpener([&opened](const QUrl &url) {
        opened << url;
        return true;
    });
    w->WebSiteAction1->trigger();
    w->MailAction1->trigger();
    w->ReadmeAction1->trigger();
    QCOMPARE(opened.size(), 3);
    QCOMPARE(opened[0], QUrl(QStringLiteral("http://www.example.com")));
    QCOMPARE(opened[1].scheme(), QStringLiteral("mailto"));
    QCOMPARE(opened[1].path(), QStringLiteral("sales@example.com"));
    QCOMPARE(QUrlQuery(opened[1]).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
        QStringLiteral("澄岚人事档案管理系统 购买咨询"));
    QCOMPARE(opened[2],
        QUrl::fromLocalFile(QDir(QCoreApplication::applicationDirPath()).filePath("readme.txt")));
}

void tst_MainWindow::controlsCarryTheirNames()
{
    addStaff();
    auto w = window();
    QCOMPARE(w->windowTitle(), QStringLiteral("澄岚人事档案管理系统 - 单机版 2.6.120130"));
    QVERIFY(w->windowState() & Qt::WindowMaximized);
    for (const char *name :
        {"TreeView1", "Edit1", "Button1", "Button2", "lblRec1", "SearchBar1", "ToolBar1"})
        QVERIFY2(w->findChild<QWidget *>(QLatin1String(name)), name);
    for (const char *name : {"PopupMenu1", "PopupMenu2", "PopupMenu3", "PopupMenu4"})
        QVERIFY2(w->findChild<QMenu *>(QLatin1String(name)), name);
    QCOMPARE(w->Button1->text(), QStringLiteral("查找"));
    QCOMPARE(w->Button2->text(), QStringLiteral("高级"));

    // The grid's menu: 打开 and 刷新 on top, the HR events, the grid's own
    // commands, and 删除 last.
    QStringList items;
    for (QAction *action : w->Grid()->PopupMenuQm()->actions())
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items.mid(0, 5), (QStringList{"打开", "刷新", "-", "人事", "-"}));
    QCOMPARE(items.mid(items.size() - 2), (QStringList{"-", "删除"}));
    QStringList switches;
    for (QAction *action : w->PopupMenu4->actions())
        switches << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(switches,
        (QStringList{"所在部门", "职务", "职称", "学历", "婚姻", "政貌", "聘用来源", "聘用方式",
            "-", "排序", "刷新"}));

    // The view menu hides and shows the bars.
    w->show();
    w->SearchBarAction1->trigger();
    QVERIFY(!w->SearchBar1->isVisible());
    w->SearchBarAction1->trigger();
    QVERIFY(w->SearchBar1->isVisible());
    w->ToolBarAction1->trigger();
    QVERIFY(!w->ToolBar1->isVisible());
}

void tst_MainWindow::helpOpensTheWindowsPages()
{
    QStringList topics;
    SetHelpObserver([&topics](const QString &topic) { topics << topic; });
    auto w = window();
    QTest::keyClick(w.get(), Qt::Key_F1);
    SetModalRunner([](QDialog &dialog) {
        if (qobject_cast<TEmpListOptionFrm *>(&dialog))
            QTest::keyClick(&dialog, Qt::Key_F1);
        return int(QDialog::Rejected);
    });
    w->OptionAction1->trigger();
    w->HelpFileAction1->trigger();
    SetHelpObserver(nullptr);
    THelpBrowser::Release();
    QCOMPARE(topics, (QStringList{"main1", "EmpListOption", "index"}));
    for (const QString &topic : topics) {
        const QString page = THelpBrowser::PagePath(topic);
        QVERIFY2(
            page.endsWith(QLatin1Char('/') + topic + QStringLiteral(".html")), qPrintable(page));
        QVERIFY2(QFileInfo::exists(page), qPrintable(page));
    }
}

void tst_MainWindow::postMoveAndVacationStartFromTheCurrentEmployee()
{
    addStaff();
    auto w = window();
    QVERIFY(moveTo(*w, QStringLiteral("张三")));
    const int row = w->EmployeeSet()->Query()->CurrentRow();
    QVERIFY(w->PostmoveAction1->isEnabled());
    w->PostmoveAction1->trigger();
    auto *move = w->findChild<TPostmoveEditFrm *>();
    QVERIFY(move);
    QVERIFY(!move->Viewing());
    QCOMPARE(move->Record().EmpCode, QStringLiteral("A001"));
    QCOMPARE(move->Record().DeptName1, QStringLiteral("销售部"));
    QCOMPARE(move->Record().Duty1, QStringLiteral("经理"));
    move->SetNewDepartment(QStringLiteral("02"), QStringLiteral("分厂"));
    move->cmbDuty21->setEditText(QStringLiteral("厂长"));
    move->cmbMoveReason1->setEditText(QStringLiteral("工作需要"));
    QPointer<QWidget> guard(move);
    move->OkBtn1->click();
    QCOMPARE(m_prompter->lastText(), QStringLiteral("\r\n数据已成功保存.\t\t"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
    // The list's row shows the new post, and the cursor stayed where it was.
    TDataSet *rows = w->EmployeeSet()->Query();
    QCOMPARE(rows->CurrentRow(), row);
    QCOMPARE(rows->FieldByName(QStringLiteral("DutyDeptId"))->AsString(), QStringLiteral("02"));
    QCOMPARE(rows->FieldByName(QStringLiteral("DutyName"))->AsString(), QStringLiteral("厂长"));
    QCOMPARE(
        count(QStringLiteral("select count(*) from empjoin where DutyDeptId='02' and EmpId=1")), 1);

    w->VocationAction1->trigger();
    auto *leave = w->findChild<TVacationEditFrm *>();
    QVERIFY(leave);
    QCOMPARE(leave->Record().EmpId, 1);
    leave->cmbTyp1->setEditText(QStringLiteral("年假"));
    m_prompter->clear();
    leave->OkBtn1->click();
    QCOMPARE(m_prompter->lastText(), QStringLiteral("\r\n数据已成功保存.\t\t"));
    QCOMPARE(count(QStringLiteral("select count(*) from vacation where EmpId=1")), 1);

    // The lists open for the current employee's code.
    exec(QStringLiteral("insert into postmove(Id, EmpId, MoveDate) values (2, 2, :D)"),
        {MakeParameter(QStringLiteral("D"), day(today()))});
    QVERIFY(w->PostmoveListAction1->isEnabled());
    w->PostmoveListAction1->trigger();
    auto *moves = w->findChild<TPostmoveListFrm *>();
    QVERIFY(moves);
    QCOMPARE(moves->Grid1->RowCount(), 1);
    w->VocationListAction1->trigger();
    auto *leaves = w->findChild<TVacationListFrm *>();
    QVERIFY(leaves);
    QCOMPARE(leaves->Grid1->RowCount(), 1);
}

QTEST_MAIN(tst_MainWindow)
void tst_MainWindow::printOpensTheRosterTemplates()
{
    addStaff();
    auto w = window();
    QStringList titles;
    SetModalRunner([&titles](QDialog &dialog) {
        if (auto *frm = qobject_cast<TReporterFrm *>(&dialog)) {
            for (int i = 0; i < frm->ListBox1->count(); ++i)
                titles << frm->ListBox1->item(i)->text();
        }
        return int(QDialog::Rejected);
    });
    QVERIFY(w->PrintAction1->isEnabled());
    w->PrintAction1->trigger();
    SetModalRunner(nullptr);
    QVERIFY2(
        titles.contains(QStringLiteral("职员花名册")), qPrintable(titles.join(QLatin1Char(','))));
}

#include "tst_mainwindow.moc"
