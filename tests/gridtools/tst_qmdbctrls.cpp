#include "Error.h"
#include "RecordSet.h"
#include "qmDBCtrls.h"

#include <QCheckBox>
#include <QVBoxLayout>
#include <QtTest>

namespace {

const QDateTime day1(QDate(1980, 5, 17), QTime(0, 0));
const QDateTime day3(QDate(1992, 11, 2), QTime(0, 0));

// Three employees in memory; the second has no birthday.
class TPeopleSet : public TQmClientDataSet
{
public:
    TPeopleSet()
    {
        AddField(FieldKind::Integer, QStringLiteral("Id"));
        AddFieldDef(FieldKind::WideString, QStringLiteral("Name"), 30);
        AddFieldDef(FieldKind::WideString, QStringLiteral("Dept"), 30);
        AddField(FieldKind::Float, QStringLiteral("Salary"));
        AddField(FieldKind::DateTime, QStringLiteral("Birthday"));
        AddField(FieldKind::Memo, QStringLiteral("Note"));
        CreateDataSet();
        add(1, QStringLiteral("张三"), QStringLiteral("人事部"), 3500.5, day1,
            QStringLiteral("第一行\n第二行"));
        add(2, QStringLiteral("李四"), QStringLiteral("财务部"), 4200, QVariant(), QString());
        add(3, QStringLiteral("王五"), QStringLiteral("后勤部"), 0, day3, QStringLiteral("备注"));
        m_data->First();
    }

    TDataSet *set() const { return m_data.get(); }

private:
    void add(int id, const QString &name, const QString &dept, double salary,
        const QVariant &birthday, const QString &note)
    {
        m_data->Append();
        m_data->FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
        m_data->FieldByName(QStringLiteral("Name"))->SetAsString(name);
        m_data->FieldByName(QStringLiteral("Dept"))->SetAsString(dept);
        m_data->FieldByName(QStringLiteral("Salary"))->SetAsFloat(salary);
        m_data->FieldByName(QStringLiteral("Birthday"))->SetValue(birthday);
        m_data->FieldByName(QStringLiteral("Note"))->SetAsString(note);
        m_data->Post();
    }
};

class TPeopleWhere : public TCustomWhere
{
public:
    TField *NameFld;
    TField *DeptFld;
    TField *AgeFld;
    TField *Birthday1Fld;
    TField *NoteFld;
    TPeopleWhere()
    {
        NameFld = AddFieldDef(FieldKind::WideString, QStringLiteral("Name"), 30);
        DeptFld = AddFieldDef(FieldKind::WideString, QStringLiteral("Dept"), 30);
        AgeFld = AddFieldDef(FieldKind::Integer, QStringLiteral("Age"), 0);
        Birthday1Fld = AddFieldDef(FieldKind::DateTime, QStringLiteral("Birthday1"), 0);
        NoteFld = AddFieldDef(FieldKind::Memo, QStringLiteral("Note"), 0);
        CreateCriteria();
    }
    TDataSet *set() const { return m_data.get(); }
};

// One bound control of each kind on a shown window.
struct Controls
{
    QWidget window;
    TqmDBEdit *name = new TqmDBEdit;
    TqmDBEdit *salary = new TqmDBEdit;
    TqmDBComboBox *dept = new TqmDBComboBox;
    TqmDBComboBox *deptList = new TqmDBComboBox;
    TqmDBDateTimeEdit *birthday = new TqmDBDateTimeEdit;
    TqmDBMemo *note = new TqmDBMemo;

    Controls()
    {
        dept->setEditable(true);
        dept->addItems({QStringLiteral("人事部"), QStringLiteral("财务部")});
        deptList->addItems(
            {QStringLiteral("人事部"), QStringLiteral("财务部"), QStringLiteral("后勤部")});
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w :
            std::initializer_list<QWidget *>{name, salary, dept, deptList, birthday, note})
            layout->addWidget(w);
        window.show();
    }

    void bind(TDataSet *set, const QString &nameField, const QString &dateField)
    {
        name->Bind(set, nameField);
        salary->Bind(set, QStringLiteral("Salary"));
        dept->Bind(set, QStringLiteral("Dept"));
        deptList->Bind(set, QStringLiteral("Dept"));
        birthday->Bind(set, dateField);
        note->Bind(set, QStringLiteral("Note"));
    }
};

} // namespace

class tst_QmDBCtrls : public QObject
{
    Q_OBJECT
private slots:
    void showCurrentRowAndFollowNavigation();
    void writeIntoCriteriaRecord();
    void writeIntoEditedRow();
    void nullDateRoundTrip_data();
    void nullDateRoundTrip();
    void untouchedControlKeepsValueSetInCode();
    void badTextFailsTheUpdate_data();
    void badTextFailsTheUpdate();
    void inputFollowsTheField();
    void refreshAfterReset();
    void focusColours();
};

void tst_QmDBCtrls::showCurrentRowAndFollowNavigation()
{
    TPeopleSet people;
    Controls c;
    c.bind(people.set(), QStringLiteral("Name"), QStringLiteral("Birthday"));

    auto expect = [&](const QString &name, const QString &salary, const QString &dept,
                      int deptIndex, const QVariant &birthday, const QString &note) {
        QCOMPARE(c.name->text(), name);
        QCOMPARE(c.salary->text(), salary);
        QCOMPARE(c.dept->currentText(), dept);
        QCOMPARE(c.deptList->currentIndex(), deptIndex);
        QCOMPARE(c.birthday->AsDate(), birthday);
        QCOMPARE(c.birthday->Checked(), !birthday.isNull());
        QCOMPARE(c.note->toPlainText(), note);
    };
    expect(QStringLiteral("张三"), QStringLiteral("3500.5"), QStringLiteral("人事部"), 0, day1,
        QStringLiteral("第一行\n第二行"));
    people.set()->Next();
    expect(QStringLiteral("李四"), QStringLiteral("4200"), QStringLiteral("财务部"), 1, QVariant(),
        QString());
    people.set()->Last();
    // "后勤部" is not among the editable box's items but shows all the same.
    expect(QStringLiteral("王五"), QStringLiteral("0"), QStringLiteral("后勤部"), 2, day3,
        QStringLiteral("备注"));
    QVERIFY(people.set()->Locate(QStringLiteral("Name"), QStringLiteral("张三")));
    QCOMPARE(c.name->text(), QStringLiteral("张三"));
    people.set()->Delete();
    QCOMPARE(c.name->text(), QStringLiteral("李四"));

    people.set()->Close();
    QCOMPARE(c.name->text(), QString());
    QVERIFY(c.birthday->AsDate().isNull());
}

void tst_QmDBCtrls::writeIntoCriteriaRecord()
{
    TPeopleWhere where;
    Controls c;
    c.bind(where.set(), QStringLiteral("Name"), QStringLiteral("Birthday1"));
    auto *age = new TqmDBEdit(&c.window);
    age->Bind(where.set(), QStringLiteral("Age"));
    age->show();

    where.UpdateRecord();
    for (TField *f :
        {where.NameFld, where.DeptFld, where.AgeFld, where.Birthday1Fld, where.NoteFld})
        QVERIFY2(!TCustomWhere::IsSet(f), qPrintable(f->FieldName()));

    c.name->setText(QStringLiteral("张"));
    c.dept->setEditText(QStringLiteral("人事部"));
    age->setFocus();
    QTest::keyClicks(age, QStringLiteral("35"));
    c.birthday->SetAsDate(day1);
    c.note->setPlainText(QStringLiteral("党员"));
    where.UpdateRecord();
    QCOMPARE(where.NameFld->AsString(), QStringLiteral("张"));
    QCOMPARE(where.DeptFld->AsString(), QStringLiteral("人事部"));
    QCOMPARE(where.AgeFld->AsInteger(), 35);
    QCOMPARE(where.Birthday1Fld->AsDateTime(), day1);
    QCOMPARE(where.NoteFld->AsString(), QStringLiteral("党员"));

    // Taking a criterion away again clears it.
    c.name->clear();
    age->clear();
    c.birthday->SetChecked(false);
    where.UpdateRecord();
    QVERIFY(!TCustomWhere::IsSet(where.NameFld));
    QVERIFY(where.AgeFld->IsNull());
    QVERIFY(where.Birthday1Fld->IsNull());
    QVERIFY(TCustomWhere::IsSet(where.DeptFld));
}

void tst_QmDBCtrls::writeIntoEditedRow()
{
    TPeopleSet people;
    Controls c;
    c.bind(people.set(), QStringLiteral("Name"), QStringLiteral("Birthday"));
    TDataSet *set = people.set();
    set->Next();

    set->Edit();
    c.name->setText(QStringLiteral("李四光"));
    c.salary->setText(QStringLiteral("5000.25"));
    c.deptList->setCurrentIndex(2);
    c.birthday->SetAsDate(day3);
    c.note->setPlainText(QStringLiteral("调入"));
    set->UpdateRecord();
    set->Post();

    QCOMPARE(set->RecNo(), 2);
    QCOMPARE(set->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("李四光"));
    QCOMPARE(set->FieldByName(QStringLiteral("Salary"))->AsFloat(), 5000.25);
    QCOMPARE(set->FieldByName(QStringLiteral("Dept"))->AsString(), QStringLiteral("后勤部"));
    QCOMPARE(set->FieldByName(QStringLiteral("Birthday"))->AsDateTime(), day3);
    QCOMPARE(set->FieldByName(QStringLiteral("Note"))->AsString(), QStringLiteral("调入"));

    // The other rows kept their values, and the controls follow again.
    set->First();
    QCOMPARE(c.name->text(), QStringLiteral("张三"));
    QCOMPARE(c.birthday->AsDate(), QVariant(day1));
    set->Next();
    QCOMPARE(c.name->text(), QStringLiteral("李四光"));
}

void tst_QmDBCtrls::nullDateRoundTrip_data()
{
    QTest::addColumn<int>("row"); // 1-based
    QTest::addColumn<QString>("action");
    QTest::addColumn<QVariant>("stored");

    QTest::newRow("null, untouched") << 2 << "none" << QVariant();
    QTest::newRow("null, other fields edited") << 2 << "name" << QVariant();
    QTest::newRow("null, ticked and unticked again") << 2 << "tick-untick" << QVariant();
    QTest::newRow("null, ticked by the user")
        << 2 << "tick" << QVariant(QDate::currentDate().startOfDay());
    QTest::newRow("date, unticked") << 1 << "untick" << QVariant();
    QTest::newRow("date, untouched") << 1 << "none" << QVariant(day1);
}

void tst_QmDBCtrls::nullDateRoundTrip()
{
    QFETCH(int, row);
    QFETCH(QString, action);
    QFETCH(QVariant, stored);

    TPeopleSet people;
    Controls c;
    c.bind(people.set(), QStringLiteral("Name"), QStringLiteral("Birthday"));
    TDataSet *set = people.set();
    set->SetCurrentRow(row - 1);
    set->Edit();
    if (action == QLatin1String("name")) {
        c.name->setText(QStringLiteral("改名"));
    } else if (action.startsWith(QLatin1String("tick"))) {
        QTest::mouseClick(c.birthday->CheckBox(), Qt::LeftButton);
        if (action == QLatin1String("tick-untick"))
            QTest::mouseClick(c.birthday->CheckBox(), Qt::LeftButton);
    } else if (action == QLatin1String("untick")) {
        QTest::mouseClick(c.birthday->CheckBox(), Qt::LeftButton);
    }
    set->UpdateRecord();
    set->Post();

    // Ticked by hand, the picker's time of day (now) must not go in.
    const TField *birthday = set->FieldByName(QStringLiteral("Birthday"));
    QCOMPARE(birthday->IsNull(), stored.isNull());
    QCOMPARE(birthday->Value(), stored);
}

// A field the window sets in code while the control was left alone keeps the
// window's value; only what the user (or code, through the control) changed
// is written.
void tst_QmDBCtrls::untouchedControlKeepsValueSetInCode()
{
    TPeopleSet people;
    Controls c;
    c.bind(people.set(), QStringLiteral("Name"), QStringLiteral("Birthday"));
    TDataSet *set = people.set();
    set->Edit();
    set->FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("代码写的"));
    set->FieldByName(QStringLiteral("Birthday"))->Clear();
    c.note->setPlainText(QStringLiteral("用户写的"));
    set->UpdateRecord();
    set->Post();
    QCOMPARE(set->FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("代码写的"));
    QVERIFY(set->FieldByName(QStringLiteral("Birthday"))->IsNull());
    QCOMPARE(set->FieldByName(QStringLiteral("Note"))->AsString(), QStringLiteral("用户写的"));
    // After the post the controls show the stored row.
    QCOMPARE(c.name->text(), QStringLiteral("代码写的"));
    QVERIFY(!c.birthday->Checked());
}

void tst_QmDBCtrls::badTextFailsTheUpdate_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("integer") << "Age"
                             << "3x"
                             << "\"3x\" 不是有效的整数.";
    QTest::newRow("integer, only a sign") << "Age"
                                          << "-"
                                          << "\"-\" 不是有效的整数.";
    QTest::newRow("date") << "Birthday1"
                          << "2024-13-01"
                          << "\"2024-13-01\" 不是有效的日期.";
    QTest::newRow("field the set lacks") << "Nope"
                                         << "x"
                                         << "字段 'Nope' 不存在";
}

// Nothing that cannot be stored may pass for stored: the failure reaches the
// caller of UpdateRecord, and the field keeps its value.
void tst_QmDBCtrls::badTextFailsTheUpdate()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, error);

    TPeopleWhere where;
    QWidget window;
    auto *edit = new TqmDBEdit(&window);
    new QLineEdit(&window);
    edit->Bind(where.set(), field);
    edit->setText(text);
    try {
        where.UpdateRecord();
        QFAIL("the bad text was taken");
    } catch (const QmError &e) {
        QCOMPARE(e.message(), error);
    }
    if (TField *f = where.set()->FindField(field))
        QVERIFY(f->IsNull());
}

void tst_QmDBCtrls::inputFollowsTheField()
{
    TPeopleSet people;
    QWidget window;
    auto *salary = new TqmDBEdit(&window);
    auto *name = new TqmDBEdit(&window);
    auto *id = new TqmDBEdit(&window);
    salary->Bind(people.set(), QStringLiteral("Salary"));
    name->Bind(people.set(), QStringLiteral("Name"));
    id->Bind(people.set(), QStringLiteral("Id"));
    window.show();

    salary->setFocus();
    salary->clear();
    QTest::keyClicks(salary, QStringLiteral("-1.5x"));
    QCOMPARE(salary->text(), QStringLiteral("-1.5"));
    id->setFocus();
    id->clear();
    QTest::keyClicks(id, QStringLiteral("12.5"));
    QCOMPARE(id->text(), QStringLiteral("125"));

    QCOMPARE(name->maxLength(), 30);
    // A longer value already stored shows whole.
    TDataSet *set = people.set();
    set->Edit();
    const QString longName(40, QChar(u'名'));
    set->FieldByName(QStringLiteral("Name"))->SetAsString(longName);
    set->Post();
    QCOMPARE(name->text(), longName);
}

void tst_QmDBCtrls::refreshAfterReset()
{
    TPeopleWhere where;
    Controls c;
    c.bind(where.set(), QStringLiteral("Name"), QStringLiteral("Birthday1"));
    c.name->setText(QStringLiteral("张"));
    c.birthday->SetAsDate(day1);
    where.UpdateRecord();
    where.Reset();
    RefreshDataControls(where.set());
    QCOMPARE(c.name->text(), QString());
    QVERIFY(c.birthday->AsDate().isNull());
    where.UpdateRecord();
    QVERIFY(!TCustomWhere::IsSet(where.NameFld));
}

void tst_QmDBCtrls::focusColours()
{
    TPeopleSet people;
    Controls c;
    c.bind(people.set(), QStringLiteral("Name"), QStringLiteral("Birthday"));
    c.note->setReadOnly(true);
    const QColor readOnlyColour = QmColors::Background(c.note);
    auto *other = new QLineEdit(&c.window);
    other->show();
    c.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&c.window));

    for (QWidget *w : std::initializer_list<QWidget *>{c.name, c.dept, c.deptList, c.birthday}) {
        w->setFocus(Qt::TabFocusReason);
        QVERIFY(w->hasFocus());
        QCOMPARE(QmColors::Background(w), QmColors::Aqua);
        other->setFocus(Qt::TabFocusReason);
        QCOMPARE(QmColors::Background(w), QmColors::Window());
    }
    c.note->setFocus(Qt::TabFocusReason);
    QCOMPARE(QmColors::Background(c.note), readOnlyColour);
    QVERIFY(c.dept->completer() == nullptr);
}

QTEST_MAIN(tst_QmDBCtrls)
#include "tst_qmdbctrls.moc"
