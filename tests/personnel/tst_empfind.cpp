#include "EmpFind.h"
#include "EmpPick.h"
#include "EmployeeWhere.h"
#include "FieldLabels.h"
#include "Operator.h"
#include "TestSupport.h"
#include "qmDBCtrls.h"
#include "qmDBGrids.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

void addEmployee(int id, const QString &name, const QString &code)
{
    TheDatabase->Execute(S("insert into employee(Id, Name) values (:Id, :Name)"),
        {MakeParameter(S("Id"), id), MakeParameter(S("Name"), name)});
    TheDatabase->Execute(S("insert into empjoin(EmpId, Code) values (:Id, :Code)"),
        {MakeParameter(S("Id"), id), MakeParameter(S("Code"), code)});
}

// Types value into the box the way a user would.
void enter(QWidget *control, const QString &value)
{
    if (auto *date = qobject_cast<TqmDateTimePicker *>(control)) {
        date->SetAsDate(QDateTime(QDate::fromString(value, Qt::ISODate), QTime(0, 0)));
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        if (combo->isEditable())
            combo->setEditText(value);
        else
            combo->setCurrentIndex(combo->findText(value));
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setText(value);
    }
}

QString shown(QWidget *control)
{
    if (auto *date = qobject_cast<TqmDateTimePicker *>(control))
        return date->AsDate().isNull() ? QString()
                                       : date->AsDate().toDateTime().date().toString(Qt::ISODate);
    if (auto *combo = qobject_cast<QComboBox *>(control))
        return combo->currentText();
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return edit->text();
    return QString();
}

QDateTime day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

void processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class tst_EmpFind : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void init();
    void cleanup();

    void findFormCaptionsFollowLabels();
    void findFormFillsCriteria_data();
    void findFormFillsCriteria();
    void onDutySwitch_data();
    void onDutySwitch();
    void handlerDecidesWhetherFormCloses();
    void pickerListsFiltersAndPicks();
    void pickerAdvancedSearchKeepsFormOpenOnNoMatch();
    void closedOpenerIsNeverCalled();
    void profileHooksOutliveThePicker();

private:
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_EmpFind::init()
{
    QM_INIT_ENGINE(m_fixture);
    m_prompter = std::make_unique<ScriptedPrompter>();
    TheOperator->Clear();
    TheOperator->LoginId = S("sa");
    TheOperatorRight = ROperatorRight();
    FieldLabels = TFieldLabels();
    addEmployee(1, S("李华"), S("A-001"));
    addEmployee(2, S("华明"), S("A-002"));
    addEmployee(3, S("张三"), S("B-003"));
}

void tst_EmpFind::cleanup()
{
    SetModalRunner(nullptr);
    TEmpPickFrm::SetProfileOpener(nullptr);
    processDeletes();
    m_prompter.reset();
    m_fixture.reset();
}

void tst_EmpFind::findFormCaptionsFollowLabels()
{
    FieldLabels.Code = S("工号");
    FieldLabels.DutyName = S("职务");
    TEmpFindFrm form;
    QCOMPARE(form.windowTitle(), S("高级查找"));
    QCOMPARE(form.findChild<QLabel *>(S("lblCode1"))->text(), S("工号"));
    QCOMPARE(form.findChild<QLabel *>(S("lblDuty1"))->text(), S("职务"));
    QCOMPARE(form.findChild<QLabel *>(S("lblParty1"))->text(), FieldLabels.Party);
    auto *month = form.findChild<QComboBox *>(S("cmbBirthMonth1"));
    QCOMPARE(month->count(), 13);
    QCOMPARE(form.findChild<QComboBox *>(S("cmbBirthday1"))->count(), 32);
    QVERIFY(!form.findChild<QCheckBox *>(S("cbOnjob1"))->isChecked());
}

void tst_EmpFind::findFormFillsCriteria_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("criterion");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("archive number")
        << S("edtCode1") << S("A'0%") << S("Code") << QVariant(S("A'0%"));
    QTest::newRow("name") << S("edtName1") << S("华") << S("Name") << QVariant(S("华"));
    QTest::newRow("post typed") << S("cmbDuty1") << S("会计") << S("Duty") << QVariant(S("会计"));
    QTest::newRow("sex chosen") << S("edtSex1") << S("女") << S("Sex") << QVariant(S("女"));
    QTest::newRow("age from") << S("edtAge1") << S("30") << S("Age1") << QVariant(30);
    QTest::newRow("age to") << S("edtAge2") << S("45") << S("Age2") << QVariant(45);
    QTest::newRow("work age") << S("edtWorkAge1") << S("3") << S("WorkAge1") << QVariant(3);
    QTest::newRow("joined from") << S("edtJoindate1") << S("2019-04-01") << S("Joindate1")
                                 << QVariant(day(2019, 4, 1));
    QTest::newRow("birth month") << S("cmbBirthMonth1") << S("3") << S("BirthMonth") << QVariant(3);
    QTest::newRow("birth day") << S("cmbBirthday1") << S("31") << S("BirthDay") << QVariant(31);
    QTest::newRow("dismissed to") << S("edtDisDate2") << S("2024-12-31") << S("DisDate2")
                                  << QVariant(day(2024, 12, 31));
    QTest::newRow("dismissal reason")
        << S("edtDistype1") << S("辞职") << S("DisType") << QVariant(S("辞职"));
    QTest::newRow("military") << S("edtMilivice1") << S("退役") << S("Milivice")
                              << QVariant(S("退役"));
    QTest::newRow("stature to") << S("edtStature2") << S("180") << S("Stature2") << QVariant(180);
    QTest::newRow("blood type") << S("edtBloodtype1") << S("AB") << S("Bloodtype")
                                << QVariant(S("AB"));
    QTest::newRow("religion") << S("edtReligion1") << S("天主教 ") << S("Religion")
                              << QVariant(S("天主教 "));
    QTest::newRow("pension account")
        << S("edtYangBaoId1") << S("_7") << S("YangBaoId") << QVariant(S("_7"));
    QTest::newRow("graduated to") << S("edtGraduateDate2") << S("2010-07-01") << S("GraduateDate2")
                                  << QVariant(day(2010, 7, 1));
    QTest::newRow("nationality") << S("edtFolk1") << S("汉族") << S("Folk") << QVariant(S("汉族"));
    QTest::newRow("native place") << S("edtNative1") << S("浙江") << S("Native")
                                  << QVariant(S("浙江"));
}

void tst_EmpFind::findFormFillsCriteria()
{
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, criterion);
    QFETCH(QVariant, expected);
    TEmpFindFrm form;
    QWidget *box = form.findChild<QWidget *>(control);
    QVERIFY2(box, qPrintable(control));
    int calls = 0;
    QVariant received;
    form.OnFind = [&](TEmployeeWhere &w) {
        ++calls;
        received = w.DataSet()->FieldByName(criterion)->Value();
        return true;
    };
    enter(box, typed);
    form.findChild<QPushButton *>(S("Button5"))->click();
    QCOMPARE(calls, 1);
    QCOMPARE(received, expected);
    QCOMPARE(form.result(), int(QDialog::Accepted));

    // Every other criterion stayed unset, and reset empties this one again.
    TDataSet *row = form.Criteria().DataSet();
    for (int f = 0; f < row->FieldCount(); ++f) {
        const TField *field = row->Fields(f);
        if (field->FieldName() != criterion && field->FieldName() != S("Disyes"))
            QVERIFY2(!TCustomWhere::IsSet(field), qPrintable(field->FieldName()));
    }
    form.findChild<QPushButton *>(S("btnReset1"))->click();
    QVERIFY(
        row->FieldByName(criterion)->IsNull() || row->FieldByName(criterion)->AsString().isEmpty());
    QVERIFY(row->FieldByName(S("Disyes"))->IsNull());
    QCOMPARE(shown(box), QString());
}

void tst_EmpFind::onDutySwitch_data()
{
    QTest::addColumn<bool>("includeDismissed");
    QTest::addColumn<QString>("dismissalReason");
    QTest::addColumn<QVariant>("disyes");
    QTest::newRow("on duty only") << false << QString() << QVariant(false);
    QTest::newRow("include dismissed") << true << QString() << QVariant();
    QTest::newRow("dismissal details search the dismissed") << false << S("辞职") << QVariant();
}

void tst_EmpFind::onDutySwitch()
{
    QFETCH(bool, includeDismissed);
    QFETCH(QString, dismissalReason);
    QFETCH(QVariant, disyes);
    TEmpFindFrm form;
    form.cbOnjob1->setChecked(includeDismissed);
    enter(form.edtDistype1, dismissalReason);
    form.Button5Click();
    QCOMPARE(form.Criteria().DisyesFld->Value(), disyes);
}

void tst_EmpFind::handlerDecidesWhetherFormCloses()
{
    TEmpFindFrm form;
    form.SetDepartment(S("0102"), S("总公司财务部"));
    QString dept;
    bool close = false;
    form.OnFind = [&](TEmployeeWhere &w) {
        dept = w.DeptIdFld->AsString();
        return close;
    };
    form.Button5Click();
    QCOMPARE(dept, S("0102"));
    QCOMPARE(form.result(), 0);
    close = true;
    form.SetDepartment(QString(), QString());
    form.Button5Click();
    QCOMPARE(dept, QString());
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void tst_EmpFind::pickerListsFiltersAndPicks()
{
    QList<int> picked;
    bool closeAfterPick = false;
    QPointer<TEmpPickFrm> picker = PickEmployee(0, [&](const REmployee &e) {
        picked << e.Id;
        return closeAfterPick;
    });
    QVERIFY(picker);
    QCOMPARE(picker->windowTitle(), S("职员查找"));
    QVERIFY(picker->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(picker->btnOk1->isEnabled());
    QCOMPARE(picker->Set().Query()->RecordCount(), 3);

    picker->Edit1->setText(S("华"));
    picker->Button1->click();
    QCOMPARE(picker->Set().Query()->RecordCount(), 1);
    QCOMPARE(picker->Set().IdField()->AsInteger(), 1);

    picker->btnOk1->click();
    QCOMPARE(picked, QList<int>{1});
    processDeletes();
    QVERIFY(picker);

    picker->Edit1->clear();
    picker->Button1->click();
    picker->Set().Query()->Last();
    closeAfterPick = true;
    emit picker->DBGrid1->OnDblClick();
    QCOMPARE(picked, (QList<int>{1, 3}));
    processDeletes();
    QVERIFY(!picker);

    QPointer<TEmpPickFrm> viewer = PickEmployee(0, {});
    QVERIFY(!viewer->btnOk1->isEnabled());
    viewer->close();
    processDeletes();
    QVERIFY(!viewer);
}

void tst_EmpFind::pickerAdvancedSearchKeepsFormOpenOnNoMatch()
{
    QPointer<TEmpPickFrm> picker = PickEmployee(0, [](const REmployee &) { return true; });
    QList<int> results;
    SetModalRunner([&](QDialog &dialog) {
        auto &form = dynamic_cast<TEmpFindFrm &>(dialog);
        form.edtName1->setText(S("没有这个人"));
        form.Button5->click();
        results << form.result();
        form.edtName1->setText(S("张"));
        form.Button5->click();
        results << form.result();
        return form.result();
    });
    picker->Button6->click();
    QCOMPARE(results, (QList<int>{0, int(QDialog::Accepted)}));
    QCOMPARE(m_prompter->texts(), QStringList{S("\r\n没有找到相关记录.\t\t")});
    QCOMPARE(picker->Set().Query()->RecordCount(), 1);
    QCOMPARE(picker->Set().IdField()->AsInteger(), 3);
    picker->close();
}

void tst_EmpFind::closedOpenerIsNeverCalled()
{
    int calls = 0;
    auto *opener = new QObject;
    QPointer<TEmpPickFrm> picker = PickEmployee(
        0,
        [&](const REmployee &) {
            ++calls;
            return false;
        },
        opener);
    picker->PickClick();
    QCOMPARE(calls, 1);

    delete opener;
    // Between the opener's end and the picker's own, a pick must not reach it.
    if (picker)
        picker->PickClick();
    processDeletes();
    QVERIFY(!picker);
    QCOMPARE(calls, 1);
}

void tst_EmpFind::profileHooksOutliveThePicker()
{
    TEmployeeHooks hooks;
    TEmpPickFrm::SetProfileOpener([&](const TEmployeeHooks &given) { hooks = given; });
    QPointer<TEmpPickFrm> picker = PickEmployee(0, [](const REmployee &) { return true; });
    QVERIFY(picker->Button3->isEnabled());
    picker->Button3->click();
    QVERIFY(
        hooks.OnSaveEmployee && hooks.OnReadNext && hooks.OnReadPrior && hooks.OnDeleteEmployee);

    // While the picker is open the hooks keep its list in step.
    REmployee added;
    added.Name = S("新员工");
    QVERIFY(hooks.OnSaveEmployee(added));
    QCOMPARE(added.Id, 4);
    QCOMPARE(picker->Set().Query()->RecordCount(), 4);

    picker->close();
    processDeletes();
    QVERIFY(!picker);

    // Afterwards they work on the database alone.
    REmployee later;
    later.Name = S("后来的");
    QVERIFY(hooks.OnSaveEmployee(later));
    QCOMPARE(later.Id, 5);
    REmployees next;
    QVERIFY(hooks.OnReadNext(3, next));
    QCOMPARE(next.Id, 4);
    QVERIFY(hooks.OnReadPrior(4, next));
    QCOMPARE(next.Id, 3);
    QVERIFY(hooks.OnDeleteEmployee(later));
    QVERIFY(!hooks.OnReadNext(4, next));
}

QTEST_MAIN(tst_EmpFind)
#include "tst_empfind.moc"
