#include "EntitySet.h"
#include "Error.h"
#include "RecordSet.h"
#include "RecordSetModel.h"
#include "TestSupport.h"
#include "WhereBuilder.h"

#include <QtTest>

namespace {

// A small module as every event module is written: a row record, its layout,
// its table writes and a set with declared fields.
struct RMove
{
    int Id = 0;
    int EmpId = 0;
    QVariant MoveDate;
    QString Duty2;
    QString MoveNote;
};

const TRecordLayout<RMove> &moveLayout()
{
    static const TRecordLayout<RMove> layout
        = TRecordLayout<RMove>()
              .integer(QStringLiteral("Id"), &RMove::Id)
              .integer(QStringLiteral("EmpId"), &RMove::EmpId)
              .date(QStringLiteral("MoveDate"), &RMove::MoveDate)
              .text(QStringLiteral("Duty2"), &RMove::Duty2)
              .text(QStringLiteral("MoveNote"), &RMove::MoveNote);
    return layout;
}

const TTableWrites moveWrites{QStringLiteral("postmove"), QStringLiteral("Id"),
    {QStringLiteral("EmpId"), QStringLiteral("MoveDate"), QStringLiteral("Duty2"),
        QStringLiteral("MoveNote")},
    QStringLiteral("没有返回postmove的成功标记.")};

const QString moveSelect = QStringLiteral("select p.*, e.Name as EmpName from postmove p, employee "
                                          "e where p.EmpId=e.Id %1 order by p.Id");

class TMoveSet : public TQuerySet
{
public:
    TMoveSet()
    {
        AddField(FieldKind::Integer, QStringLiteral("Id"), -1, false);
        AddField(FieldKind::Integer, QStringLiteral("EmpId"), -1, false);
        AddField(
            FieldKind::WideString, QStringLiteral("EmpName"), 30, true, QStringLiteral("姓名"));
        AddField(
            FieldKind::DateTime, QStringLiteral("MoveDate"), -1, true, QStringLiteral("调动日期"));
        AddField(
            FieldKind::WideString, QStringLiteral("Duty2"), 50, true, QStringLiteral("调后岗位"));
        AddField(FieldKind::Memo, QStringLiteral("MoveNote"), -1, true, QStringLiteral("备注"));
    }
};

class TMoveWhere : public TCustomWhere
{
public:
    TField *EmpNameFld;
    TField *MoveDate1Fld;
    TField *IdFld;
    TMoveWhere()
    {
        IdFld = AddFieldDef(FieldKind::Integer, QStringLiteral("Id"), 0);
        EmpNameFld = AddFieldDef(FieldKind::WideString, QStringLiteral("EmpName"), 30);
        MoveDate1Fld = AddFieldDef(FieldKind::DateTime, QStringLiteral("MoveDate1"), 0);
        CreateCriteria();
    }
};

} // namespace

class tst_RecordSet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void init();
    void cleanup() { m_fixture.reset(); }

    void firstIdIsOneThenMaxPlusOne();
    void saveOfAMissingRowFailsAndChangesNothing();
    void countOtherThanOneRollsBack();
    void nullDatesStayNull();
    void openFailureShowsTheStatement();
    void navigationAtBothEnds();
    void fetchAcrossTheTable_data();
    void fetchAcrossTheTable();
    void mirrorSaveAndReopenKeepTheRow();
    void criteriaRecord();
    void clientSetFieldSizes();
    void sortIsStableAndMultiKey();
    void modelFollowsTheSet();

private:
    void addEmployee(int id, const QString &name);
    int store(RMove &move);
    std::unique_ptr<EngineFixture> m_fixture;
};

void tst_RecordSet::init()
{
    QM_INIT_ENGINE(m_fixture);
    addEmployee(1, QStringLiteral("张三"));
    addEmployee(2, QStringLiteral("李四"));
}

void tst_RecordSet::addEmployee(int id, const QString &name)
{
    TheDatabase->ExecSQL(QStringLiteral("insert into employee(Id, Name) values (:Id, :Name)"),
        {MakeParameter("Id", id), MakeParameter("Name", name)});
}

int tst_RecordSet::store(RMove &move)
{
    move.Id = Conventions::StoreRow(moveWrites, move.Id, moveLayout().parameters(move));
    return move.Id;
}

void tst_RecordSet::firstIdIsOneThenMaxPlusOne()
{
    QCOMPARE(Conventions::NextId(QStringLiteral("postmove"), QStringLiteral("Id")), 1);
    RMove a{0, 1, QDateTime(QDate(2024, 1, 2), QTime()), QStringLiteral("主管"), QString()};
    QCOMPARE(store(a), 1);
    TheDatabase->ExecSQL(QStringLiteral("insert into postmove(Id, EmpId) values (7, 2)"));
    RMove b{0, 2, QVariant(), QString(), QString()};
    QCOMPARE(store(b), 8);
    b.Duty2 = QStringLiteral("经理");
    QCOMPARE(store(b), 8);
    TMoveSet set;
    QCOMPARE(set.Open(moveSelect.arg(QString())), 3);
    QVERIFY(set.Query()->Locate(QStringLiteral("Id"), 8));
    QCOMPARE(set.FieldByName("Duty2")->AsString(), QStringLiteral("经理"));
}

void tst_RecordSet::saveOfAMissingRowFailsAndChangesNothing()
{
    RMove ghost{42, 1, QVariant(), QStringLiteral("幽灵"), QString()};
    try {
        store(ghost);
        QFAIL("saved a row that does not exist");
    } catch (const QmError &e) {
        QCOMPARE(e.message(), QStringLiteral("没有返回postmove的成功标记."));
    }
    QCOMPARE(TheDatabase->TransactionLevel(), 0);
    TMoveSet set;
    QCOMPARE(set.Open(moveSelect.arg(QString())), 0);
}

void tst_RecordSet::countOtherThanOneRollsBack()
{
    TheDatabase->ExecSQL(QStringLiteral("insert into backup(TypeId, BackDir) values (1, 'a')"));
    QVERIFY_THROWS_EXCEPTION(QmError,
        Conventions::ExecExpectOne(QStringLiteral("update backup set BackDir=:d"),
            {MakeParameter("d", "changed")}, QStringLiteral("没有返回backup的成功标记.")));
    TRecordSet check;
    check.Open(QStringLiteral("select BackDir from backup order by BackDir"));
    QCOMPARE(
        check.JoinValues(QStringLiteral("BackDir"), QStringLiteral(",")), QStringLiteral(",a"));

    TheDatabase->ExecSQL(QStringLiteral("insert into postmove(Id, EmpId) values (1, 1)"));
    QVERIFY(!Conventions::DeleteRowById(moveWrites, 5));
    QVERIFY(Conventions::DeleteRowById(moveWrites, 1));
}

void tst_RecordSet::nullDatesStayNull()
{
    RMove move{0, 1, QVariant(), QStringLiteral("无日期"), QString()};
    store(move);
    TMoveSet set;
    set.Open(moveSelect.arg(QString()));
    RMove read;
    moveLayout().read(*set.Query(), read);
    QVERIFY(!read.MoveDate.isValid());
    QCOMPARE(read.Duty2, QStringLiteral("无日期"));
    read.MoveNote = QStringLiteral("改了备注");
    store(read);

    TRecordSet check;
    check.Open(
        QStringLiteral("select count(*) from postmove where MoveDate is null and MoveNote=:n"),
        {MakeParameter("n", QStringLiteral("改了备注"))});
    QCOMPARE(check.DataSet()->Fields(0)->AsInteger(), 1);
}

void tst_RecordSet::openFailureShowsTheStatement()
{
    ScriptedPrompter prompter;
    TMoveSet set;
    // A declared field the select does not return fails the open as well.
    const QString missingField = QStringLiteral("select Id, EmpId from postmove");
    QVERIFY_THROWS_EXCEPTION(SilentAbort, set.Open(missingField));
    QVERIFY(!set.Active());
    QVERIFY(prompter.lastText().startsWith(QStringLiteral("\r\nSQL语句错误,原文如下:\r\n")
        + missingField + QStringLiteral("\r\n\r\n错误提示:\r\n")));
    QVERIFY(prompter.lastText().contains(QStringLiteral("EmpName")));

    TRecordSet plain;
    QVERIFY_THROWS_EXCEPTION(SilentAbort, plain.Open(QStringLiteral("select * from nosuchtable")));
    QCOMPARE(prompter.shown().size(), 2);
}

void tst_RecordSet::navigationAtBothEnds()
{
    TMoveSet set;
    QVERIFY(!set.NextRecord());
    for (int i = 0; i < 3; ++i) {
        RMove m{0, 1, QVariant(), QString::number(i), QString()};
        store(m);
    }
    set.Open(moveSelect.arg(QString()));
    QVERIFY(set.PriorRecord());
    QCOMPARE(set.FieldByName("Id")->AsInteger(), 1);
    QVERIFY(set.NextRecord());
    QVERIFY(set.NextRecord());
    QVERIFY(set.NextRecord());
    QCOMPARE(set.FieldByName("Id")->AsInteger(), 3);
    TheDatabase->Execute(QStringLiteral("delete from postmove"));
    set.Open(moveSelect.arg(QString()));
    QVERIFY(!set.PriorRecord());
}

void tst_RecordSet::fetchAcrossTheTable_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("found"); // 0: none
    QTest::newRow("this one") << 5 << 0 << 5;
    QTest::newRow("next higher skips gaps") << 5 << 1 << 9;
    QTest::newRow("next lower") << 5 << -1 << 2;
    QTest::newRow("past the highest") << 9 << 1 << 0;
    QTest::newRow("before the lowest") << 2 << -1 << 0;
}

void tst_RecordSet::fetchAcrossTheTable()
{
    QFETCH(int, from);
    QFETCH(int, direction);
    QFETCH(int, found);
    for (int id : {2, 5, 9})
        TheDatabase->ExecSQL(QStringLiteral("insert into postmove(Id, EmpId) values (:Id, 1)"),
            {MakeParameter("Id", id)});
    TRecordSet set;
    const bool ok = Conventions::FetchRow(set,
        QStringLiteral("select top 1 p.*, e.Name as EmpName from postmove p, employee e where "
                       "p.EmpId=e.Id and %s"),
        QStringLiteral("p.Id"), from, direction);
    QCOMPARE(ok, found > 0);
    if (ok)
        QCOMPARE(set.FieldByName("Id")->AsInteger(), found);
}

void tst_RecordSet::mirrorSaveAndReopenKeepTheRow()
{
    TMoveSet set;
    set.Open(moveSelect.arg(QString()));
    RMove move{0, 1, QDateTime(QDate(2024, 5, 1), QTime()), QStringLiteral("新岗位"), QString()};
    store(move);
    Conventions::MirrorSave(*set.Query(), QStringLiteral("Id"), move.Id, [&](TDataSet &d) {
        moveLayout().write(move, d);
        d.FieldByName("EmpName")->SetValue(QStringLiteral("张三"));
    });
    QCOMPARE(set.Query()->RecordCount(), 1);
    QCOMPARE(set.FieldByName("Duty2")->AsString(), QStringLiteral("新岗位"));
    QCOMPARE(set.FieldByName("MoveDate")->DisplayText(), QStringLiteral("2024-05-01"));

    move.Duty2 = QStringLiteral("改过");
    store(move);
    Conventions::MirrorSave(*set.Query(), QStringLiteral("Id"), move.Id,
        [&](TDataSet &d) { moveLayout().write(move, d); });
    QCOMPARE(set.Query()->RecordCount(), 1);
    QCOMPARE(set.FieldByName("Duty2")->AsString(), QStringLiteral("改过"));

    RMove other{0, 2, QVariant(), QStringLiteral("另一个"), QString()};
    store(other);
    set.Reopen(QStringLiteral("Id"));
    QCOMPARE(set.Query()->RecordCount(), 2);
    QCOMPARE(set.FieldByName("Id")->AsInteger(), move.Id);
}

void tst_RecordSet::criteriaRecord()
{
    for (const QString &note : {QStringLiteral("a"), QStringLiteral("b")}) {
        RMove m{0, note == QLatin1String("a") ? 1 : 2,
            QDateTime(QDate(2024, 1, note == QLatin1String("a") ? 10 : 20), QTime()), note,
            QString()};
        store(m);
    }
    TMoveWhere where;
    auto query = [&] {
        where.UpdateRecord();
        TWhereBuilder clauses;
        if (TCustomWhere::IsSet(where.IdFld))
            clauses.integerEquals(QStringLiteral("p.Id"), where.IdFld->AsInteger());
        if (TCustomWhere::IsSet(where.EmpNameFld))
            clauses.contains(QStringLiteral("e.Name"), where.EmpNameFld->AsString());
        if (TCustomWhere::IsSet(where.MoveDate1Fld))
            clauses.dateFrom(QStringLiteral("p.MoveDate"), where.MoveDate1Fld->AsDateTime());
        TMoveSet set;
        return set.Open(moveSelect.arg(clauses.text()), clauses.params());
    };
    QCOMPARE(query(), 2);
    where.EmpNameFld->SetAsString(QStringLiteral("张"));
    QCOMPARE(query(), 1);
    where.EmpNameFld->SetAsString(QStringLiteral("张' or 1=1 --"));
    QCOMPARE(query(), 0);
    where.Reset();
    QVERIFY(!TCustomWhere::IsSet(where.EmpNameFld));
    where.MoveDate1Fld->SetAsDateTime(QDateTime(QDate(2024, 1, 20), QTime(12, 0)));
    QCOMPARE(query(), 1);
    where.Reset();
    where.IdFld->SetAsInteger(1);
    QCOMPARE(query(), 1);
}

void tst_RecordSet::clientSetFieldSizes()
{
    TQmClientDataSet set;
    QCOMPARE(set.AddFieldDef(FieldKind::WideString, QStringLiteral("Long"), 250)->Size(), 140);
    QCOMPARE(set.AddFieldDef(FieldKind::WideString, QStringLiteral("Short"), 12)->Size(), 20);
    QCOMPARE(set.AddFieldDef(FieldKind::WideString, QStringLiteral("Mid"), 60)->Size(), 60);
}

void tst_RecordSet::sortIsStableAndMultiKey()
{
    TQmClientDataSet client;
    TDataSet &set = *client.DataSet();
    client.AddField(FieldKind::Integer, QStringLiteral("Id"));
    client.AddField(FieldKind::WideString, QStringLiteral("Dept"));
    client.AddField(FieldKind::DateTime, QStringLiteral("Day"));
    client.CreateDataSet();
    const QList<std::tuple<int, QString, QDate>> rows = {
        {1, QStringLiteral("王"), QDate(2024, 1, 3)}, {2, QStringLiteral("李"), QDate(2024, 1, 1)},
        {3, QStringLiteral("王"), QDate(2024, 1, 1)}, {4, QStringLiteral("阿"), QDate(2024, 1, 2)},
        {5, QStringLiteral("李"), QDate(2024, 1, 1)}, {6, QString(), QDate()}};
    for (const auto &[id, dept, day] : rows) {
        set.Append();
        set.FieldByName("Id")->SetValue(id);
        if (!dept.isEmpty())
            set.FieldByName("Dept")->SetValue(dept);
        set.FieldByName("Day")->SetValue(day.isValid() ? QVariant(day.startOfDay()) : QVariant());
        set.Post();
    }
    auto order = [&] {
        QList<int> ids;
        for (int r = 0; r < set.RecordCount(); ++r)
            ids << set.ValueAt(r, 0).toInt();
        return ids;
    };
    // Pinyin order: 阿 (a) < 李 (li) < 王 (wang); NULL first; equal keys keep their order.
    set.Sort({{1, false}});
    QCOMPARE(order(), QList<int>({6, 4, 2, 5, 1, 3}));
    set.Sort({{1, true}, {2, false}});
    QCOMPARE(order(), QList<int>({3, 1, 2, 5, 4, 6}));
    // No keys: back to the order of loading, on the same row.
    set.SetCurrentRow(0);
    set.Sort({});
    QCOMPARE(order(), QList<int>({1, 2, 3, 4, 5, 6}));
    QCOMPARE(set.FieldByName("Id")->AsInteger(), 3);
}

void tst_RecordSet::modelFollowsTheSet()
{
    TMoveSet set;
    TRecordSetModel model(set.Query());
    set.Open(moveSelect.arg(QString()));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("姓名"));
    RMove move{
        0, 1, QDateTime(QDate(2024, 5, 1), QTime(8, 30)), QStringLiteral("新岗位"), QString()};
    store(move);
    Conventions::MirrorSave(*set.Query(), QStringLiteral("Id"), move.Id,
        [&](TDataSet &d) { moveLayout().write(move, d); });
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("2024-05-01 08:30:00"));
    QCOMPARE(model.headerData(0, Qt::Vertical).toInt(), 1);
    set.Query()->Delete();
    QCOMPARE(model.rowCount(), 0);
}

QTEST_GUILESS_MAIN(tst_RecordSet)
#include "tst_recordset.moc"
