#include "Error.h"
#include "RecordFixture.h"
#include "TestSupport.h"

#include <QtTest>

using namespace RecordFixture;
using Ids = QList<int>;

namespace {

template <typename R> Ids listedEmployees(const TModuleSet<R> &set)
{
    Ids ids;
    TDataSet *rows = set.Query();
    for (rows->First(); !rows->Eof(); rows->Next())
        ids << rows->FieldByName(QStringLiteral("EmpId"))->AsInteger();
    std::sort(ids.begin(), ids.end());
    return ids;
}

template <typename M> void checkCriteria()
{
    using R = typename M::R;
    const TModuleSpec<R> &spec = M::spec();
    addStaff();
    storeOnePerEmployee<M>();
    TModuleSet<R> set(spec);
    std::unique_ptr<TModuleWhere> where = spec.MakeWhere();
    struct Case
    {
        const char *field;
        QVariant value;
        Ids expected;
    };
    const Case cases[] = {
        {nullptr, {}, {1, 2, 3, 4}},
        {"EmpName", S("张"), {1, 4}},
        {"EmpName", S("'%"), {4}},
        {"EmpName", S("%"), {4}},
        {"EmpName", S("_"), {4}},
        {"EmpName", S("   "), {1, 2, 3, 4}},
        {"EmpName", S("x' or '1'='1"), {}},
        {"EmpCode", S("01"), {1, 2}},
        {"EmpId", 3, {3}},
        {"EmpId", 0, {1, 2, 3, 4}},
        {"Id", 2, {2}},
    };
    for (const Case &c : cases) {
        where->Reset();
        if (c.field)
            where->Criterion(QLatin1String(c.field))->SetValue(c.value);
        set.Load(*where);
        QCOMPARE(listedEmployees(set), c.expected);
    }

    // 重置 forgets the criteria without querying; the next query lists all.
    where->Reset();
    where->EmpNameFld->SetValue(S("张"));
    set.Load(*where);
    where->Reset();
    QCOMPARE(set.Query()->RecordCount(), 2);
    for (int i = 0; i < where->DataSet()->FieldCount(); ++i)
        QVERIFY(!TCustomWhere::IsSet(where->DataSet()->Fields(i)));
    set.Load(*where);
    QCOMPARE(set.Query()->RecordCount(), 4);
}

template <typename M> void checkPostAndSteps()
{
    using R = typename M::R;
    const TModuleSpec<R> &spec = M::spec();
    addStaff();
    TModuleSet<R> set(spec);
    std::unique_ptr<TModuleWhere> where = spec.MakeWhere();
    set.Load(*where);
    QVERIFY(set.Query()->IsEmpty());

    R a = M::sample(1), b = M::sample(2), c = M::sample(3);
    for (R *r : {&a, &b, &c})
        QVERIFY(set.PostRecord(*r));
    QCOMPARE((Ids{a.Id, b.Id, c.Id}), (Ids{1, 2, 3}));
    QCOMPARE(set.Query()->RecordCount(), 3);

    // A changed record is updated in place, in the list and in the table.
    b.Sanctionman = S("王总");
    QVERIFY(set.PostRecord(b));
    QCOMPARE(set.Query()->RecordCount(), 3);
    QVERIFY(set.Query()->Locate(QStringLiteral("Id"), 2));
    QCOMPARE(set.Query()->FieldByName(QStringLiteral("Sanctionman"))->AsString(), S("王总"));
    QCOMPARE(
        set.Query()->FieldByName(QStringLiteral("EmpCode"))->AsString(), QStringLiteral("0101"));

    // Steps go from the record shown, whatever the cursor; the ends stay put.
    set.Query()->First();
    R shown = c;
    QVERIFY(set.PriorRecord(shown));
    QCOMPARE(shown.Id, 2);
    QCOMPARE(shown.Sanctionman, S("王总"));
    R first = a;
    QVERIFY(set.PriorRecord(first));
    QCOMPARE(first.Id, 1);
    R last = c;
    QVERIFY(set.NextRecord(last));
    QCOMPARE(last.Id, 3);

    // A record whose row has gone gets a row again.
    QVERIFY(set.Query()->Locate(QStringLiteral("Id"), 2));
    set.Query()->Delete();
    b.Sanctionman = S("李总");
    QVERIFY(set.PostRecord(b));
    QCOMPARE(set.Query()->RecordCount(), 3);
    QVERIFY(set.Query()->Locate(QStringLiteral("Id"), 2));

    // After a drop the neighbours are those of the dropped row.
    set.Query()->Sort({{set.Query()->FieldByName(QStringLiteral("Id"))->Index()}});
    R dropped = b;
    QVERIFY(set.DropRecord(dropped));
    QCOMPARE(count(QStringLiteral("select count(*) from ") + spec.Writes.table), 2);
    R after = b, before = b;
    QVERIFY(set.NextRecord(after));
    QCOMPARE(after.Id, 3);
    QVERIFY(set.PriorRecord(before));
    QCOMPARE(before.Id, 1);
    QVERIFY(!set.DropRecord(dropped));

    // The class operations walk the table by id.
    R fetched;
    QVERIFY(spec.FetchRecord(1, 1, fetched));
    QCOMPARE(fetched.Id, 3);
    QVERIFY(spec.FetchRecord(3, -1, fetched));
    QCOMPARE(fetched.Id, 1);
    QVERIFY(!spec.FetchRecord(3, 1, fetched));
    QVERIFY(!spec.FetchRecord(2, 0, fetched));
    QVERIFY(!spec.DeleteRecordById(2));

    // Nothing listed, nothing to step to.
    TModuleSet<R> closed(spec);
    QVERIFY(!closed.NextRecord(fetched));
    QVERIFY(!closed.DeleteCurrent());
}

template <typename M> void checkRefusesRecordsWithoutEmployee()
{
    const auto &spec = M::spec();
    addStaff();
    for (int empId : {0, -1}) {
        typename M::R r = M::sample(empId);
        QVERIFY_THROWS_EXCEPTION(QmError, spec.StoreRecord(r));
        QCOMPARE(r.Id, 0);
    }
    QCOMPARE(count(QStringLiteral("select count(*) from ") + spec.Writes.table), 0);
}

} // namespace

class tst_RecordSets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { addEngineRows(); }
    void init() { QM_INIT_ENGINE(m_fixture); }
    void cleanup() { m_fixture.reset(); }

    void blankCriteriaListAllAndTypedTextStaysLiteral_data() { addModuleRows(); }
    void blankCriteriaListAllAndTypedTextStaysLiteral();
    void savesAppearInTheListAndStepsStartAtTheShownRecord_data() { addModuleRows(); }
    void savesAppearInTheListAndStepsStartAtTheShownRecord();
    void recordsWithoutEmployeeAreRefused_data() { addModuleRows(); }
    void recordsWithoutEmployeeAreRefused();
    void rowFirstSaveKeepsTheEditsOfAVanishedRow();

    void postMoveWithoutJoiningRowStoresNothing();
    void onlyTheLatestMoveIsThePresentPost();
    void vacationDaysCountTheFirstAndLastDay_data();
    void vacationDaysCountTheFirstAndLastDay();
    void openVacationStoresNullTermination();

private:
    std::unique_ptr<EngineFixture> m_fixture;
};

void tst_RecordSets::blankCriteriaListAllAndTypedTextStaysLiteral()
{
    forModule([](auto m) { checkCriteria<decltype(m)>(); });
}

void tst_RecordSets::savesAppearInTheListAndStepsStartAtTheShownRecord()
{
    forModule([](auto m) { checkPostAndSteps<decltype(m)>(); });
}

void tst_RecordSets::recordsWithoutEmployeeAreRefused()
{
    forModule([](auto m) { checkRefusesRecordsWithoutEmployee<decltype(m)>(); });
}

void tst_RecordSets::rowFirstSaveKeepsTheEditsOfAVanishedRow()
{
    TModuleSpec<RVacation> spec = VacationModule();
    spec.Style = TPostStyle::RowFirst;
    addStaff();
    TModuleSet<RVacation> set(spec);
    std::unique_ptr<TModuleWhere> where = spec.MakeWhere();
    set.Load(*where);
    RVacation v = vacation(1, day(2025, 1, 6), day(2025, 1, 8));
    QVERIFY(set.PostRecord(v));
    QCOMPARE(v.Id, 1);
    QCOMPARE(set.Query()->FieldByName(QStringLiteral("Vadays"))->AsInteger(), 3);

    // The list was queried again without the record: the save still goes through.
    where->EmpIdFld->SetValue(2);
    set.Load(*where);
    QVERIFY(set.Query()->IsEmpty());
    v.Typ = S("病假");
    QVERIFY(set.PostRecord(v));
    QCOMPARE(count(QStringLiteral("select count(*) from vacation where Typ=:Typ"),
                 {MakeParameter(QStringLiteral("Typ"), S("病假"))}),
        1);
    QCOMPARE(set.Query()->RecordCount(), 1);
    QCOMPARE(set.Query()->FieldByName(QStringLiteral("Typ"))->AsString(), S("病假"));

    // A save that changes no row leaves the cached row as it was.
    TheDatabase->Execute(QStringLiteral("delete from vacation"));
    v.Typ = S("事假");
    QVERIFY(!set.PostRecord(v));
    QVERIFY(!set.Query()->IsEditing());
    QCOMPARE(set.Query()->RecordCount(), 1);
    QCOMPARE(set.Query()->FieldByName(QStringLiteral("Typ"))->AsString(), S("病假"));
}

void tst_RecordSets::postMoveWithoutJoiningRowStoresNothing()
{
    addEmployee(1, S("张三"), QStringLiteral("01"));
    addEmployee(2, S("无档"), QString(), false);
    RPostmove orphan = move(2, day(2024, 5, 1), QStringLiteral("02"), S("主管"));
    try {
        TPostmoveSet::StoreRecord(orphan);
        QFAIL("stored a move without empjoin row");
    } catch (const QmError &e) {
        QCOMPARE(e.message(), S("更新empjoin失败, 没有返回成功的标志."));
    }
    QCOMPARE(orphan.Id, 0);
    QCOMPARE(count(QStringLiteral("select count(*) from postmove")), 0);

    RPostmove m = move(1, day(2024, 5, 1), QStringLiteral("0102"), S("主管"));
    QVERIFY(TPostmoveSet::StoreRecord(m));
    QCOMPARE(m.Id, 1);
    QCOMPARE(presentPost(1), (QVariantList{QStringLiteral("0102"), S("主管"), day(2024, 5, 1)}));

    // An update of a move that has gone is an error, and empjoin stays.
    RPostmove gone = m;
    gone.Id = 7;
    gone.DeptId2 = QStringLiteral("09");
    QVERIFY_THROWS_EXCEPTION(QmError, TPostmoveSet::StoreRecord(gone));
    QCOMPARE(presentPost(1).value(0), QVariant(QStringLiteral("0102")));
}

void tst_RecordSets::onlyTheLatestMoveIsThePresentPost()
{
    addEmployee(1, S("张三"), QStringLiteral("01"));
    auto post = [](const char *dept, const char *duty, const QDateTime &date) {
        return QVariantList{QString::fromUtf8(dept), QString::fromUtf8(duty), date};
    };
    RPostmove a = move(1, day(2024, 1, 1), QStringLiteral("A"), S("甲"));
    RPostmove b = move(1, day(2025, 1, 1), QStringLiteral("B"), S("乙"));
    RPostmove c = move(1, day(2024, 6, 1), QStringLiteral("C"), S("丙"));
    for (RPostmove *m : {&a, &b, &c})
        QVERIFY(TPostmoveSet::StoreRecord(*m));
    QCOMPARE(presentPost(1), post("B", "乙", day(2025, 1, 1)));

    // Correcting an old move leaves the present post alone.
    a.Duty2 = S("甲二");
    QVERIFY(TPostmoveSet::StoreRecord(a));
    QCOMPARE(presentPost(1), post("B", "乙", day(2025, 1, 1)));

    // On the same day the later record wins.
    RPostmove d = move(1, day(2025, 1, 1), QStringLiteral("D"), S("丁"));
    QVERIFY(TPostmoveSet::StoreRecord(d));
    QCOMPARE(presentPost(1), post("D", "丁", day(2025, 1, 1)));

    // Deleting moves back to the one before; deleting an old one changes nothing.
    QVERIFY(TPostmoveSet::DeleteRecordById(d.Id));
    QCOMPARE(presentPost(1), post("B", "乙", day(2025, 1, 1)));
    QVERIFY(TPostmoveSet::DeleteRecordById(a.Id));
    QCOMPARE(presentPost(1), post("B", "乙", day(2025, 1, 1)));
    QVERIFY(TPostmoveSet::DeleteRecordById(b.Id));
    QCOMPARE(presentPost(1), post("C", "丙", day(2024, 6, 1)));
    // The last one gone: the post before it, held since joining.
    QVERIFY(TPostmoveSet::DeleteRecordById(c.Id));
    QCOMPARE(presentPost(1), (QVariantList{QStringLiteral("01"), S("职员"), day(2020, 3, 1)}));
    QVERIFY(!TPostmoveSet::DeleteRecordById(c.Id));
}

void tst_RecordSets::vacationDaysCountTheFirstAndLastDay_data()
{
    QTest::addColumn<QVariant>("from");
    QTest::addColumn<QVariant>("to");
    QTest::addColumn<QVariant>("days");
    QTest::newRow("one day") << QVariant(day(2025, 3, 4)) << QVariant(day(2025, 3, 4))
                             << QVariant(1);
    QTest::newRow("first to third")
        << QVariant(day(2025, 3, 1)) << QVariant(day(2025, 3, 3)) << QVariant(3);
    QTest::newRow("over a month end")
        << QVariant(day(2025, 1, 30)) << QVariant(day(2025, 2, 2)) << QVariant(4);
    QTest::newRow("ends before it begins")
        << QVariant(day(2025, 3, 3)) << QVariant(day(2025, 3, 1)) << QVariant(-1);
    QTest::newRow("no end") << QVariant(day(2025, 3, 3)) << QVariant() << QVariant();
}

void tst_RecordSets::vacationDaysCountTheFirstAndLastDay()
{
    QFETCH(QVariant, from);
    QFETCH(QVariant, to);
    QFETCH(QVariant, days);
    addStaff();
    RVacation v = vacation(1, from, to);
    QVERIFY(TVacationSet::StoreRecord(v));
    TVacationSet set;
    TVacationWhere where;
    set.Load(where);
    QCOMPARE(set.Query()->RecordCount(), 1);
    const TField *vadays = set.Query()->FieldByName(QStringLiteral("Vadays"));
    QCOMPARE(vadays->IsNull(), !days.isValid());
    if (days.isValid())
        QCOMPARE(vadays->AsInteger(), days.toInt());
}

void tst_RecordSets::openVacationStoresNullTermination()
{
    addStaff();
    RVacation open = vacation(2, day(2025, 5, 1), day(2025, 5, 9));
    QVERIFY(TVacationSet::StoreRecord(open));
    QCOMPARE(count(QStringLiteral("select count(*) from vacation where Termdate is null")), 1);
    RVacation read;
    QVERIFY(TVacationSet::FetchRecord(open.Id, 0, read));
    QVERIFY(read.Termdate.isNull() || !read.Termdate.isValid());
    QCOMPARE(read.EmpCode, QStringLiteral("0101"));

    read.Termdate = day(2025, 5, 8);
    QVERIFY(TVacationSet::StoreRecord(read));
    QCOMPARE(count(QStringLiteral("select count(*) from vacation where Termdate is null")), 0);
    // An update of a vacation that has gone reports failure.
    TheDatabase->Execute(QStringLiteral("delete from vacation"));
    QVERIFY(!TVacationSet::StoreRecord(read));
}

QTEST_MAIN(tst_RecordSets)
#include "tst_recordsets.moc"
