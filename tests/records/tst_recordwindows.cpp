#include "DepartmentSet.h"
#include "EmployeeSet.h"
#include "FieldLabels.h"
#include "Operator.h"
#include "PickListSet.h"
#include "PostmoveList.h"
#include "RecordFixture.h"
#include "Reporter.h"
#include "TestSupport.h"
#include "VacationList.h"
#include "a.h"
#include "qmDBCtrls.h"
#include "qmDBGrids.h"
#include "qmProj.h"
#include "qmRep.h"

#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

using namespace RecordFixture;

namespace {

REmployee employee(int id, const QString &name, const QString &code)
{
    REmployee e;
    e.Id = id;
    e.EmpId = id;
    e.Name = name;
    e.Code = code;
    e.DutyDeptId = QStringLiteral("01");
    e.DutyName = S("职员");
    return e;
}

template <typename W> W *child(QObject *parent)
{
    const QList<W *> found = parent->findChildren<W *>();
    return found.isEmpty() ? nullptr : found.last();
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int rows(TRecordListFrm &list)
{
    return list.Grid1->RowCount();
}

} // namespace

class tst_RecordWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { addEngineRows(); }
    void init();
    void cleanup();

    void listFindsResetsAndFiltersByCode_data() { addModuleRows(); }
    void listFindsResetsAndFiltersByCode();
    void listDeleteAsksAndSaysWhenItFailed_data() { addModuleRows(); }
    void listDeleteAsksAndSaysWhenItFailed();
    void editWindowFromTheListSavesIntoItAndSteps_data() { addModuleRows(); }
    void editWindowFromTheListSavesIntoItAndSteps();
    void editWindowWithoutLiveHooksUsesTheClassOperations_data() { addModuleRows(); }
    void editWindowWithoutLiveHooksUsesTheClassOperations();
    void rightsGuardSavesAndDeletes_data() { addModuleRows(); }
    void rightsGuardSavesAndDeletes();
    void frameShowsOneEmployeeAndNeverStoresForNone_data() { addModuleRows(); }
    void frameShowsOneEmployeeAndNeverStoresForNone();
    void printingUsesTheModulesReportGroups_data() { addModuleRows(); }
    void printingUsesTheModulesReportGroups();
    void postMoveValidatesInOrderAndDeleteShowsTheNext();
    void vacationDeleteClosesAndClosingAsksAboutEdits();

private:
    void loginWithRights(const QString &rights)
    {
        TheOperator->Clear();
        TheOperator->LoginId = QStringLiteral("clerk");
        TheOperator->Rights = rights;
    }

    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_RecordWindows::init()
{
    QM_INIT_ENGINE(m_fixture);
    CreateProjectObjects();
    LoadStartupData();
    CreateDepartments();
    m_prompter = std::make_unique<ScriptedPrompter>();
    TheOperator->Load(QStringLiteral("sa"));
    addStaff();
}

void tst_RecordWindows::cleanup()
{
    flushDeletes();
    m_prompter.reset();
    TheOperator->Clear();
    FreeDepartments();
    FreeProjectObjects();
    installGlobals(nullptr);
    m_fixture.reset();
}

void tst_RecordWindows::listFindsResetsAndFiltersByCode()
{
    forModule([this](auto m) {
        using M = decltype(m);
        storeOnePerEmployee<M>();
        typename M::List list;
        QCOMPARE(list.objectName(), M::spec().Name + QStringLiteral("ListFrm"));
        QCOMPARE(list.windowTitle(), M::spec().ListCaption);
        QCOMPARE(rows(list), 4);

        auto *name = qobject_cast<TqmDBEdit *>(list.FindControl(QStringLiteral("EmpName")));
        QVERIFY(name);
        QCOMPARE(name->objectName(), QStringLiteral("edtEmpName1"));
        name->setText(S("张"));
        list.Button1->click();
        QCOMPARE(rows(list), 2);
        list.btnClear1->click();
        QVERIFY(name->text().isEmpty());
        QCOMPARE(rows(list), 2);
        list.Button1->click();
        QCOMPARE(rows(list), 4);

        list.FilterByCode(QStringLiteral("01"));
        QCOMPARE(rows(list), 2);
        QStringList codes;
        for (int row = 0; row < 2; ++row)
            codes << list.Grid1->DataSet()->DisplayTextAt(
                row, list.Grid1->DataSet()->FieldByName(QStringLiteral("EmpCode"))->Index());
        codes.sort();
        QCOMPARE(codes, (QStringList{QStringLiteral("01"), QStringLiteral("0101")}));

        // The grid's menu begins with the list's own commands.
        const QList<QAction *> items = list.Grid1->PopupMenuQm()->actions();
        QCOMPARE(items.at(0)->text(), S("添加"));
        QCOMPARE(items.at(1)->text(), S("修改"));
        QCOMPARE(items.at(2)->text(), S("删除..."));
        QVERIFY(items.at(3)->isSeparator());
    });
}

void tst_RecordWindows::listDeleteAsksAndSaysWhenItFailed()
{
    forModule([this](auto m) {
        using M = decltype(m);
        typename M::List list;
        list.DeleteAction1->trigger();
        QVERIFY(m_prompter->shown().isEmpty());

        storeOnePerEmployee<M>();
        list.RefreshAction1->trigger();
        QCOMPARE(rows(list), 4);
        m_prompter->answer(MessageButton::Ok);
        list.DeleteAction1->trigger();
        QCOMPARE(m_prompter->lastText(), S("\r您确定要删除  吗?\t"));
        QCOMPARE(rows(list), 3);
        QCOMPARE(count(QStringLiteral("select count(*) from ") + M::spec().Writes.table), 3);

        // Gone from the table behind the list's back: the row stays and the user is told.
        TheDatabase->Execute(QStringLiteral("delete from ") + M::spec().Writes.table);
        m_prompter->clear();
        m_prompter->answer(MessageButton::Ok);
        list.DeleteAction1->trigger();
        QCOMPARE(rows(list), 3);
        QCOMPARE(m_prompter->lastText(),
            QStringLiteral("\r\n") + M::spec().DeleteFailed + QStringLiteral("\t"));
    });
}

void tst_RecordWindows::editWindowFromTheListSavesIntoItAndSteps()
{
    forModule([this](auto m) {
        using M = decltype(m);
        typename M::List list;
        QCOMPARE(rows(list), 0);
        auto *editor = list.CreateEditor();
        editor->NewFor(employee(1, S("张三"), QStringLiteral("01")));
        QVERIFY(!editor->Viewing());
        M::fill(*editor);
        editor->OkBtn1->click();
        // The first record gets id 1 and is listed without a new query.
        QCOMPARE(editor->Record().Id, 1);
        QCOMPARE(rows(list), 1);
        QVERIFY(editor->Viewing());
        QCOMPARE(count(QStringLiteral("select count(*) from ") + M::spec().Writes.table), 1);

        editor->NewFor(employee(2, S("李四"), QStringLiteral("0101")));
        M::fill(*editor);
        editor->OkBtn1->click();
        QCOMPARE(editor->Record().Id, 2);
        QCOMPARE(rows(list), 2);

        // Previous and next stay put at the ends.
        editor->PriorAction1->trigger();
        QCOMPARE(editor->Record().Id, 1);
        editor->PriorAction1->trigger();
        QCOMPARE(editor->Record().Id, 1);
        editor->NextAction1->trigger();
        editor->NextAction1->trigger();
        QCOMPARE(editor->Record().Id, 2);

        // 取消 on a new record closes, even with ViewVisible.
        QPointer<QWidget> guard(editor);
        editor->NewFor(employee(3, S("王五"), QStringLiteral("02")));
        editor->CancelBtn1->click();
        flushDeletes();
        QVERIFY(!guard);
        QCOMPARE(rows(list), 2);
    });
}

void tst_RecordWindows::editWindowWithoutLiveHooksUsesTheClassOperations()
{
    forModule([this](auto m) {
        using M = decltype(m);
        auto editor = std::make_unique<typename M::Edit>();
        editor->ViewVisible = true;
        editor->NewFor(employee(1, S("张三"), QStringLiteral("01")));
        M::fill(*editor);
        editor->OkBtn1->click();
        QCOMPARE(editor->Record().Id, 1);
        QCOMPARE(count(QStringLiteral("select count(*) from ") + M::spec().Writes.table), 1);

        typename M::R second = M::sample(2);
        QVERIFY(M::spec().StoreRecord(second));
        editor->NextAction1->trigger();
        QCOMPARE(editor->Record().Id, 2);
        QCOMPARE(editor->Record().EmpCode, QStringLiteral("0101"));
        editor->PriorAction1->trigger();
        QCOMPARE(editor->Record().Id, 1);

        // Hooks whose owner has gone are never called.
        bool called = false;
        TRecordHooks<typename M::R> hooks;
        hooks.OnPost = [&called](typename M::R &) {
            return called = true;
        };
        hooks.OnNext = [&called](typename M::R &) {
            return called = true;
        };
        auto owner = std::make_unique<QObject>();
        editor->SetHooks(hooks, owner.get());
        owner.reset();
        editor->NextAction1->trigger();
        QCOMPARE(editor->Record().Id, 2);
        editor->EditAction1->trigger();
        editor->OkBtn1->click();
        QVERIFY(!called);
        QVERIFY(editor->Viewing());
    });
}

void tst_RecordWindows::rightsGuardSavesAndDeletes()
{
    forModule([this](auto m) {
        using M = decltype(m);
        storeOnePerEmployee<M>();
        loginWithRights(QString());
        typename M::List list;
        list.DeleteAction1->trigger();
        QCOMPARE(m_prompter->lastText(),
            QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(%1).\t")
                .arg(M::DeleteRight));
        QCOMPARE(rows(list), 4);

        auto *editor = list.CreateEditor();
        editor->NewFor(employee(1, S("张三"), QStringLiteral("01")));
        M::fill(*editor);
        editor->OkBtn1->click();
        QVERIFY(m_prompter->lastText().contains(QStringLiteral("(%1)").arg(M::SaveRight)));
        QCOMPARE(count(QStringLiteral("select count(*) from ") + M::spec().Writes.table), 4);
        QVERIFY(!editor->Viewing());

        loginWithRights(QStringLiteral(",%1,").arg(M::SaveRight));
        editor->OkBtn1->click();
        QCOMPARE(count(QStringLiteral("select count(*) from ") + M::spec().Writes.table), 5);
    });
}

void tst_RecordWindows::frameShowsOneEmployeeAndNeverStoresForNone()
{
    forModule([this](auto m) {
        using M = decltype(m);
        storeOnePerEmployee<M>();
        typename M::Frame frame;
        QCOMPARE(
            frame.objectName(), QStringLiteral("Emp") + M::spec().Name + QStringLiteral("Fra"));

        // No employee: nothing listed, nothing to add to or edit.
        frame.ShowEmployee(REmployees());
        frame.Button1->click();
        frame.Button2->click();
        QVERIFY(!child<typename M::Edit>(&frame));

        REmployees zhang;
        zhang.Employee = employee(1, S("张三"), QStringLiteral("01"));
        frame.ShowEmployee(zhang);
        QCOMPARE(frame.Grid1->RowCount(), 1);
        // The same employee again is not queried again.
        typename M::R more = M::sample(1);
        QVERIFY(M::spec().StoreRecord(more));
        frame.ShowEmployee(zhang);
        QCOMPARE(frame.Grid1->RowCount(), 1);

        frame.Button1->click();
        auto *editor = child<typename M::Edit>(&frame);
        QVERIFY(editor);
        QVERIFY(!editor->ViewVisible);
        M::fill(*editor);
        QPointer<QWidget> guard(editor);
        editor->OkBtn1->click();
        flushDeletes();
        QVERIFY(!guard);
        QCOMPARE(frame.Grid1->RowCount(), 2);

        m_prompter->answer(MessageButton::Ok);
        frame.Button3->click();
        QCOMPARE(m_prompter->lastText(), S("\r您确定要删除 当前记录 吗?\t\t"));
        QCOMPARE(frame.Grid1->RowCount(), 1);
    });
}

void tst_RecordWindows::printingUsesTheModulesReportGroups()
{
    forModule([](auto m) {
        using M = decltype(m);
        storeOnePerEmployee<M>();
        struct Printed
        {
            int group = 0;
            QStringList titles;
            int rows = -1;
            // The criteria as the report sees them: rows and the typed code.
            int criteriaRows = -1;
            QString code;
        } printed;
        SetModalRunner([&printed](QDialog &dialog) {
            if (auto *frm = qobject_cast<TReporterFrm *>(&dialog)) {
                printed.group = frm->GroupId();
                for (int i = 0; i < frm->ListBox1->count(); ++i)
                    printed.titles << frm->ListBox1->item(i)->text();
                const ReportData &data = frm->Reper()->Data();
                printed.rows = data.dataSet(QStringLiteral("d0"))->RecordCount();
                if (TDataSet *criteria = data.dataSet(QStringLiteral("d1"))) {
                    printed.criteriaRows = criteria->RecordCount();
                    criteria->First();
                    printed.code = criteria->FieldByName(QStringLiteral("EmpCode"))->AsString();
                }
            }
            return int(QDialog::Rejected);
        });

        // The list prints its rows with the criteria row.
        typename M::List list;
        list.FilterByCode(QStringLiteral("01"));
        list.PrintAction1->trigger();
        QCOMPARE(printed.group, M::spec().ListReportGroup);
        QVERIFY(!printed.titles.isEmpty());
        QCOMPARE(printed.rows, 2);
        QCOMPARE(printed.criteriaRows, 1);
        QCOMPARE(printed.code, QStringLiteral("01"));
        QVERIFY(list.Criteria().DataSet()->IsEditing());

        // The edit window prints its one record.
        printed = Printed();
        auto *editor = list.CreateEditor();
        typename M::R third;
        QVERIFY(M::spec().FetchRecord(3, 0, third));
        editor->ShowView(third);
        editor->PrintAction1->trigger();
        SetModalRunner(nullptr);
        QCOMPARE(printed.group, M::spec().RecordReportGroup);
        QVERIFY(!printed.titles.isEmpty());
        QCOMPARE(printed.rows, 1);
        QCOMPARE(printed.criteriaRows, -1);
    });
}

void tst_RecordWindows::postMoveValidatesInOrderAndDeleteShowsTheNext()
{
    TPostmoveListFrm list;
    auto *editor = list.CreateEditor();
    editor->NewFor(employee(1, S("张三"), QStringLiteral("01")));
    const QString duty = FieldLabels.DutyName;
    const QStringList expected{
        S("\r调动原因必须填写\t"), S("\r调后部门必须填写\t"), S("\r调后") + duty + S("必须填写\t")};
    editor->OkBtn1->click();
    QCOMPARE(m_prompter->lastText(), expected.at(0));
    editor->cmbMoveReason1->setEditText(S("工作需要"));
    editor->OkBtn1->click();
    QCOMPARE(m_prompter->lastText(), expected.at(1));
    editor->SetNewDepartment(QStringLiteral("02"), S("分厂"));
    editor->OkBtn1->click();
    QCOMPARE(m_prompter->lastText(), expected.at(2));
    QCOMPARE(count(QStringLiteral("select count(*) from postmove")), 0);
    // A duty typed freely, not from the list, is taken.
    editor->cmbDuty21->setEditText(S("临时岗"));
    editor->OkBtn1->click();
    QCOMPARE(count(QStringLiteral("select count(*) from postmove")), 1);
    QCOMPARE(presentPost(1).value(1), QVariant(S("临时岗")));

    for (int emp : {2, 3}) {
        RPostmove m = Postmove::sample(emp);
        QVERIFY(list.ModuleSet().PostRecord(m));
    }
    list.ModuleSet().Query()->First();
    RPostmove first;
    list.ModuleSet().ReadRecord(first);
    editor->ShowView(first);
    m_prompter->clear();
    m_prompter->answer(MessageButton::Ok);
    editor->DeleteAction1->trigger();
    QCOMPARE(m_prompter->shown().first().text, S("\r确定要删除记录吗?\t"));
    QCOMPARE(editor->Record().Id, 2);
    QVERIFY(editor->Viewing());
    QCOMPARE(rows(list), 2);
}

void tst_RecordWindows::vacationDeleteClosesAndClosingAsksAboutEdits()
{
    TVacationListFrm list;
    auto *editor = list.CreateEditor();
    editor->NewFor(employee(1, S("张三"), QStringLiteral("01")));
    editor->OkBtn1->click();
    QCOMPARE(m_prompter->lastText(), S("\r休假类别必须填写\t"));
    // Saved pick lists reach the open windows; what was typed stays.
    editor->cmbTyp1->setEditText(S("年假"));
    ThePickLists->SetList(15, S("年假\n病假\n探亲假"), true);
    emit LabelNotifier::instance().pickListsChanged();
    QCOMPARE(editor->cmbTyp1->count(), 3);
    QCOMPARE(editor->cmbTyp1->currentText(), S("年假"));
    QCOMPARE(qobject_cast<QComboBox *>(list.FindControl(QStringLiteral("Typ")))->count(), 3);
    QVERIFY(!editor->edtTermdate1->Checked());
    editor->OkBtn1->click();
    QCOMPARE(count(QStringLiteral("select count(*) from vacation where Termdate is null")), 1);

    // Closing with edits asks; Cancel keeps the window, No drops the edits.
    editor->EditAction1->trigger();
    editor->cmbTyp1->setEditText(S("病假"));
    m_prompter->clear();
    m_prompter->answer(MessageButton::Cancel);
    QVERIFY(!editor->close());
    QCOMPARE(m_prompter->lastText(), S("\r休假信息已修改, 是否保存?\t\t"));
    m_prompter->answer(MessageButton::No);
    QPointer<QWidget> guard(editor);
    QVERIFY(editor->close());
    flushDeletes();
    QVERIFY(!guard);
    QCOMPARE(count(QStringLiteral("select count(*) from vacation where Typ=:T"),
                 {MakeParameter(QStringLiteral("T"), S("年假"))}),
        1);

    // Deleting asks its own question and closes.
    list.ModuleSet().Query()->First();
    list.EditAction1->trigger();
    editor = child<TVacationEditFrm>(&list);
    QVERIFY(editor && editor->Viewing());
    guard = editor;
    m_prompter->clear();
    m_prompter->answer(MessageButton::Ok);
    editor->DeleteAction1->trigger();
    QCOMPARE(m_prompter->lastText(), S("确定要撤消该休假记录吗?"));
    flushDeletes();
    QVERIFY(!guard);
    QCOMPARE(rows(list), 0);
}

QTEST_MAIN(tst_RecordWindows)
#include "tst_recordwindows.moc"
