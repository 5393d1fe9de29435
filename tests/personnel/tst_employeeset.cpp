#include "EmployeeSet.h"
#include "EmployeeWhere.h"
#include "Error.h"
#include "Operator.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

QVariant scalar(const QString &sql, const TDBParameters &params = {})
{
    TDataSet set;
    TheDatabase->Fill(set, sql, params);
    return set.IsEmpty() ? QVariant() : set.Fields(0)->Value();
}

int countOf(const QString &sql, const TDBParameters &params = {})
{
    return scalar(sql, params).toInt();
}

QDateTime day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

REmployee newEmployee(const QString &name)
{
    REmployee e;
    e.Name = name;
    e.Sex = S("女");
    e.Birthday = day(1990, 5, 17);
    e.Code = S("A-") + name;
    e.JoinDate = day(2015, 3, 1);
    e.JoinDeptId = S("0100");
    e.JoinDuty = S("会计");
    e.Joinmarks = S("校招");
    e.EmployType = S("合同工");
    return e;
}

int storeEmployee(const QString &name)
{
    REmployee e = newEmployee(name);
    if (!TEmployeeSet::SaveInTransaction(e))
        return 0;
    return e.Id;
}

// Makes the next insert into table fail inside the engine.
void refuseInserts(const QString &table)
{
    if (TheDatabase->IsSqlServer()) {
        TheDatabase->Execute(S("create function qm_refuse() returns trigger language plpgsql as "
                               "'begin raise exception ''insert refused''; end'"));
        TheDatabase->Execute(S("create trigger qm_refuse before insert on %1 for each row execute "
                               "function qm_refuse()")
                                 .arg(table));
    } else {
        TheDatabase->Execute(S("create trigger qm_refuse before insert on %1 begin select "
                               "raise(abort, 'insert refused'); end")
                                 .arg(table));
    }
}

QByteArray encoded(const char *format)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Every table that holds rows of an employee, with its employee column.
struct Dependent
{
    const char *table;
    const char *insert;
};
// %1 is the employee id, %2 a row id unique per employee.
const Dependent dependents[] = {
    {"certificates", "insert into certificates(Id, EmpId, CertName) values (%2, %1, 'c')"},
    {"empimages", "insert into empimages(Id, EmpId, Subject) values (%2, %1, 's')"},
    {"contracts", "insert into contracts(ContractId, EmpId, ContractNo) values (%2, %1, 'n')"},
    {"postmove", "insert into postmove(Id, EmpId, Duty2) values (%2, %1, 'd')"},
    {"Trains", "insert into Trains(TrnId, TrnEmpid, TrnGrade) values (%2, %1, 'g')"},
    {"tests", "insert into tests(Id, EmpId, TesType) values (%2, %1, 't')"},
    {"vacation", "insert into vacation(Id, EmpId, Typ) values (%2, %1, 'v')"},
    {"rewards", "insert into rewards(Id, EmpId, Title) values (%2, %1, 'r')"},
    {"Zpapply", "insert into Zpapply(EmpId, Faceman) values (%1, 'f')"},
    {"emptrials", "insert into emptrials(EmpId, TryJob) values (%1, 'j')"},
    {"empjout", "insert into empjout(Id, EmpId, Distype) values (%2, %1, 'x')"},
    {"empback", "insert into empback(JoutId, Backman) values (%2, 'b')"},
    {"photo", "insert into photo(EmpId, Ext) values (%1, '.jpg')"},
    {"relationship", "insert into relationship(Id, EmpId, Name) values (%2, %1, 'n')"},
    {"workstory", "insert into workstory(Id, EmpId, Company) values (%2, %1, 'c')"},
    {"education", "insert into education(Id, EmpId, School) values (%2, %1, 's')"},
    {"gz_accountemp", "insert into gz_accountemp(AccountId, EmpId) values (1, %1)"},
    {"gz_monthemp", "insert into gz_monthemp(Id, MonthId, EmpId) values (%2, 1, %1)"},
    {"gz_sheet_a", "insert into gz_sheet_a(Id, MonthempId, f1) values (%2, %2, 1.5)"},
};

// Rows of the employee in a dependent table, through the key that ties it to them.
int rowsOf(const Dependent &d, int empId)
{
    const QString table = QLatin1String(d.table);
    QString sql;
    if (table == QLatin1String("Trains"))
        sql = S("select count(*) from Trains where TrnEmpid=%1");
    else if (table == QLatin1String("empback"))
        sql = S("select count(*) from empback where JoutId=%1*10");
    else if (table == QLatin1String("gz_sheet_a"))
        sql = S("select count(*) from gz_sheet_a where MonthempId=%1*10");
    else
        sql = S("select count(*) from ") + table + S(" where EmpId=%1");
    return countOf(sql.arg(empId));
}

void fillDependents(int empId)
{
    if (countOf(S("select count(*) from gz_account where Id=1")) == 0) {
        TheDatabase->Execute(
            S("create table gz_sheet_a (Id integer, MonthempId integer, f1 real)"));
        TheDatabase->Execute(
            S("insert into gz_account(Id, AcountName, Acountable) values (1, 'a', 'gz_sheet_a')"));
    }
    for (const Dependent &d : dependents)
        TheDatabase->Execute(S(d.insert)
                                 .replace(QLatin1String("%1"), QString::number(empId))
                                 .replace(QLatin1String("%2"), QString::number(empId * 10)));
    TheDatabase->Execute(S("update employee set JoutId=%1 where Id=%2").arg(empId * 10).arg(empId));
}

} // namespace

class tst_EmployeeSet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void init();
    void cleanup();

    void firstSaveStartsCurrentPostAsJoining();
    void newIdReachesRecordOnlyAfterCommit_data();
    void newIdReachesRecordOnlyAfterCommit();
    void savingExistingEmployeeAddsMissingJoinRow();
    void listedEmployeeSavesWithoutLosingJoiningData();
    void agesCountCalendarYears();
    void cascadeDeleteLeavesNothingForTheId();
    void cascadeDeleteRollsBackWhenEmployeeIsGone();
    void cascadeDeleteNeedsRight10();
    void deleteAndSyncOnlyForListedEmployee();
    void navigationStaysAtTheEnds();
    void partialSavesMirrorOnlyOnSuccess();
    void joinFullKeepsWhatTheEditorDoesNotShow();
    void photoFormats_data();
    void photoFormats();
    void clearingPhotos();
    void undecodablePhotoKeepsEmployeeReadable();
    void attachmentsComeInOrderWithTheirRealFormat();

private:
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_EmployeeSet::init()
{
    QM_INIT_ENGINE(m_fixture);
    m_prompter = std::make_unique<ScriptedPrompter>();
    TheOperator->Clear();
    TheOperator->LoginId = S("sa");
    TheOperatorRight = ROperatorRight();
}

void tst_EmployeeSet::cleanup()
{
    m_prompter.reset();
    m_fixture.reset();
}

void tst_EmployeeSet::firstSaveStartsCurrentPostAsJoining()
{
    REmployee e = newEmployee(S("李华"));
    e.Religion = S("天主教 ");
    QVERIFY(TEmployeeSet::SaveInTransaction(e));
    QCOMPARE(e.Id, 1);
    QCOMPARE(e.EmpId, 1);
    QCOMPARE(e.Religion, S("天主教"));

    TDataSet join;
    TheDatabase->Fill(
        join, S("select EmpId, DutyDate, DutyDeptId, DutyName, JoinDeptId from empjoin"));
    QCOMPARE(join.RecordCount(), 1);
    QCOMPARE(join.FieldByName(S("EmpId"))->AsInteger(), 1);
    QCOMPARE(join.FieldByName(S("DutyDate"))->AsDateTime(), day(2015, 3, 1));
    QCOMPARE(join.FieldByName(S("DutyDeptId"))->AsString(), S("0100"));
    QCOMPARE(join.FieldByName(S("DutyName"))->AsString(), S("会计"));
    QCOMPARE(scalar(S("select Religion from employee where Id=1")).toString(), S("天主教"));

    QCOMPARE(storeEmployee(S("王芳")), 2);
}

void tst_EmployeeSet::newIdReachesRecordOnlyAfterCommit_data()
{
    QTest::addColumn<bool>("failJoinInsert");
    QTest::addColumn<int>("presetId");
    QTest::addColumn<QString>("message");
    QTest::newRow("join insert fails") << true << 0 << S("insert refused");
    QTest::newRow("employee deleted meanwhile") << false << 7 << S("保存失败, 没有返回有效标志");
}

void tst_EmployeeSet::newIdReachesRecordOnlyAfterCommit()
{
    QFETCH(bool, failJoinInsert);
    QFETCH(int, presetId);
    QFETCH(QString, message);
    if (failJoinInsert)
        refuseInserts(S("empjoin"));
    REmployee e = newEmployee(S("赵敏"));
    e.Id = presetId;
    QVERIFY(!TEmployeeSet::SaveInTransaction(e));
    QCOMPARE(e.Id, presetId);
    QCOMPARE(e.EmpId, 0);
    QCOMPARE(countOf(S("select count(*) from employee")), 0);
    QCOMPARE(countOf(S("select count(*) from empjoin")), 0);
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY2(m_prompter->lastText().contains(message), qPrintable(m_prompter->lastText()));
}

void tst_EmployeeSet::savingExistingEmployeeAddsMissingJoinRow()
{
    TheDatabase->Execute(S("insert into employee(Id, Name) values (5, 'x')"));
    REmployee e = newEmployee(S("周杰"));
    e.Id = 5;
    QVERIFY(TEmployeeSet::SaveInTransaction(e));
    QCOMPARE(e.Id, 5);
    QCOMPARE(scalar(S("select Name from employee where Id=5")).toString(), S("周杰"));
    QCOMPARE(scalar(S("select Code from empjoin where EmpId=5")).toString(), S("A-周杰"));
    QCOMPARE(scalar(S("select DutyName from empjoin where EmpId=5")).toString(), S("会计"));
}

void tst_EmployeeSet::listedEmployeeSavesWithoutLosingJoiningData()
{
    const int id = storeEmployee(S("陈晨"));
    TheDatabase->Execute(S("insert into department(Code, Name) values ('0100', '财务部')"));
    TEmployeeSet set;
    TEmployeeWhere where;
    QCOMPARE(BuildEmployeeQuery(set, where), 1);
    REmployee e = set.ReadEmployee();
    QCOMPARE(e.JoinDeptId, S("0100"));
    QCOMPARE(e.DutyDeptName, S("财务部"));
    e.Name = S("陈晨晨");
    QVERIFY(set.SaveAndSync(e));
    QCOMPARE(
        scalar(S("select JoinDeptId from empjoin where EmpId=%1").arg(id)).toString(), S("0100"));
    QCOMPARE(
        scalar(S("select JoinDuty from empjoin where EmpId=%1").arg(id)).toString(), S("会计"));
    QCOMPARE(
        scalar(S("select Joinmarks from empjoin where EmpId=%1").arg(id)).toString(), S("校招"));
    QCOMPARE(set.Query()->RecordCount(), 1);
    QCOMPARE(set.FieldByName(S("Name"))->AsString(), S("陈晨晨"));

    REmployee added = newEmployee(S("刘洋"));
    QVERIFY(set.SaveAndSync(added));
    QCOMPARE(set.Query()->RecordCount(), 2);
    QCOMPARE(set.FieldByName(S("Id"))->AsInteger(), added.Id);
    QCOMPARE(set.FieldByName(S("DutyDeptId"))->AsString(), S("0100"));
    QCOMPARE(set.FieldByName(S("DutyDeptName"))->AsString(), S("财务部"));
}

void tst_EmployeeSet::agesCountCalendarYears()
{
    const int lastYear = QDate::currentDate().year() - 1;
    REmployee e = newEmployee(S("孙丽"));
    e.Birthday = day(lastYear, 12, 31);
    e.JoinDate = day(lastYear, 12, 31);
    QVERIFY(TEmployeeSet::SaveInTransaction(e));
    REmployee fresh = newEmployee(S("新人"));
    fresh.Birthday = QVariant();
    fresh.JoinDate = QVariant();
    QVERIFY(TEmployeeSet::SaveInTransaction(fresh));

    TEmployeeSet set;
    TEmployeeWhere where;
    QCOMPARE(BuildEmployeeQuery(set, where), 2);
    set.Query()->First();
    QCOMPARE(set.FieldByName(S("Age"))->AsInteger(), 1);
    QCOMPARE(set.FieldByName(S("AgeOfWork"))->AsInteger(), 2);
    set.Query()->Next();
    QVERIFY(set.FieldByName(S("Age"))->IsNull());
    QVERIFY(set.FieldByName(S("AgeOfWork"))->IsNull());
}

void tst_EmployeeSet::cascadeDeleteLeavesNothingForTheId()
{
    // Names that must never reach a statement, and one that names no table.
    TheDatabase->Execute(
        S("insert into gz_account(Id, AcountName, Acountable) values (2, 'b', 'gone_table')"));
    TheDatabase->Execute(S("insert into gz_account(Id, AcountName, Acountable) values (3, 'c', "
                           "'gz_sheet_a; delete from employee')"));
    const int kept = storeEmployee(S("吴用"));
    const int doomed = storeEmployee(S("钱进"));
    fillDependents(kept);
    fillDependents(doomed);

    REmployee e;
    e.Id = doomed;
    QVERIFY2(TEmployeeSet::DeleteEmployeeCascade(e), qPrintable(m_prompter->lastText()));
    QCOMPARE(countOf(S("select count(*) from employee where Id=%1").arg(doomed)), 0);
    QCOMPARE(countOf(S("select count(*) from empjoin where EmpId=%1").arg(doomed)), 0);
    for (const Dependent &d : dependents) {
        QVERIFY2(rowsOf(d, doomed) == 0, d.table);
        QVERIFY2(rowsOf(d, kept) == 1, d.table);
    }
    QCOMPARE(countOf(S("select count(*) from employee")), 1);

    // Ids are max + 1: the next employee takes the freed id and must find
    // nothing of the one before.
    QCOMPARE(storeEmployee(S("后来者")), doomed);
    for (const Dependent &d : dependents)
        QVERIFY2(rowsOf(d, doomed) == 0, d.table);
}

void tst_EmployeeSet::cascadeDeleteRollsBackWhenEmployeeIsGone()
{
    const int id = storeEmployee(S("郑一"));
    fillDependents(id);
    TheDatabase->Execute(S("delete from employee where Id=%1").arg(id));
    REmployee e;
    e.Id = id;
    QVERIFY(!TEmployeeSet::DeleteEmployeeCascade(e));
    QVERIFY(m_prompter->lastText().contains(S("没有返回成功删除的标志,记录可能已被其他用户删除.")));
    QCOMPARE(countOf(S("select count(*) from empjoin where EmpId=%1").arg(id)), 1);
    QCOMPARE(countOf(S("select count(*) from postmove where EmpId=%1").arg(id)), 1);
    QCOMPARE(countOf(S("select count(*) from gz_monthemp where EmpId=%1").arg(id)), 1);
}

void tst_EmployeeSet::cascadeDeleteNeedsRight10()
{
    const int id = storeEmployee(S("冯二"));
    TheOperator->LoginId = S("clerk");
    TheOperator->Rights = S(",9,");
    REmployee e;
    e.Id = id;
    QVERIFY_THROWS_EXCEPTION(SilentAbort, TEmployeeSet::DeleteEmployeeCascade(e));
    QVERIFY(m_prompter->lastText().contains(S("(10)")));
    QCOMPARE(countOf(S("select count(*) from employee")), 1);
    TheOperator->Rights = S(",9,,10,");
    QVERIFY(TEmployeeSet::DeleteEmployeeCascade(e));
}

void tst_EmployeeSet::deleteAndSyncOnlyForListedEmployee()
{
    const int first = storeEmployee(S("甲"));
    const int second = storeEmployee(S("乙"));
    TEmployeeSet set;
    TEmployeeWhere where;
    where.EmpIdFld->SetValue(first);
    QCOMPARE(BuildEmployeeQuery(set, where), 1);

    REmployee notListed;
    notListed.Id = second;
    QVERIFY(!set.DeleteAndSync(notListed));
    QCOMPARE(countOf(S("select count(*) from employee where Id=%1").arg(second)), 1);

    REmployee listed = set.ReadEmployee();
    QVERIFY(set.DeleteAndSync(listed));
    QVERIFY(set.Query()->IsEmpty());
    QCOMPARE(countOf(S("select count(*) from employee where Id=%1").arg(first)), 0);
}

void tst_EmployeeSet::navigationStaysAtTheEnds()
{
    const int a = storeEmployee(S("一"));
    const int b = storeEmployee(S("二"));
    const int c = storeEmployee(S("三"));
    TEmployeeSet set;
    TEmployeeWhere where;
    BuildEmployeeQuery(set, where);
    REmployees r;
    QVERIFY(set.ReadPrior(a, r));
    QCOMPARE(r.Id, a);
    QVERIFY(set.ReadNext(a, r));
    QCOMPARE(r.Id, b);
    QVERIFY(set.ReadNext(c, r));
    QCOMPARE(r.Id, c);
    QVERIFY(set.ReadPrior(c, r));
    QCOMPARE(r.Id, b);

    TEmployeeSet empty;
    where.EmpIdFld->SetValue(0);
    QCOMPARE(BuildEmployeeQuery(empty, where), 0);
    QVERIFY(!empty.ReadNext(a, r));
}

void tst_EmployeeSet::partialSavesMirrorOnlyOnSuccess()
{
    const int id = storeEmployee(S("何平"));
    TEmployeeSet set;
    TEmployeeWhere where;
    BuildEmployeeQuery(set, where);
    REmployee e = set.ReadEmployee();
    e.S3 = S("自定义");
    e.F2 = 12.5;
    e.D1 = day(2020, 2, 29);
    e.OtherNote = S("备注");
    QVERIFY(set.SaveOtherAndSync(e));
    QCOMPARE(set.FieldByName(S("S3"))->AsString(), S("自定义"));
    QCOMPARE(set.FieldByName(S("F2"))->AsFloat(), 12.5);
    QCOMPARE(scalar(S("select S3 from employee where Id=%1").arg(id)).toString(), S("自定义"));
    QVERIFY(scalar(S("select F1 from employee where Id=%1").arg(id)).isNull());

    e.BankId = S("6222");
    e.GangchiBZ = 800.0;
    QVERIFY(set.SaveSalaryAndSync(e));
    QCOMPARE(set.FieldByName(S("BankId"))->AsString(), S("6222"));
    QCOMPARE(scalar(S("select GangchiBZ from empjoin where EmpId=%1").arg(id)).toDouble(), 800.0);

    // A save that changes no row leaves the listed row as it was.
    TheDatabase->Execute(S("delete from employee where Id=%1").arg(id));
    e.S3 = S("不该出现");
    QVERIFY(!set.SaveOtherAndSync(e));
    QCOMPARE(set.FieldByName(S("S3"))->AsString(), S("自定义"));
}

void tst_EmployeeSet::joinFullKeepsWhatTheEditorDoesNotShow()
{
    const int id = storeEmployee(S("马克"));
    TheDatabase->Execute(S("update empjoin set BankId='6222', DutyDeptId='0300', DutyName='经理', "
                           "DutyDate='2021-06-01 00:00:00' where EmpId=%1")
                             .arg(id));
    TEmployeeSet set;
    TEmployeeWhere where;
    BuildEmployeeQuery(set, where);
    REmpjoin join = JoinRecordOf(set.ReadEmployee());
    join.JoinDeptId = S("0200");
    join.JoinDuty = S("出纳");
    join.Jointype = S("入职");
    QVERIFY(set.SaveJoinFullAndSync(join));

    TDataSet row;
    TheDatabase->Fill(row, S("select * from empjoin where EmpId=%1").arg(id));
    QCOMPARE(row.FieldByName(S("JoinDeptId"))->AsString(), S("0200"));
    QCOMPARE(row.FieldByName(S("JoinDuty"))->AsString(), S("出纳"));
    QCOMPARE(row.FieldByName(S("BankId"))->AsString(), S("6222"));
    QCOMPARE(row.FieldByName(S("DutyDeptId"))->AsString(), S("0300"));
    QCOMPARE(row.FieldByName(S("DutyName"))->AsString(), S("经理"));
    QCOMPARE(row.FieldByName(S("DutyDate"))->AsDateTime(), day(2021, 6, 1));
    QCOMPARE(set.FieldByName(S("JoinDuty"))->AsString(), S("出纳"));
}

void tst_EmployeeSet::photoFormats_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("ext");
    QTest::newRow("jpeg") << encoded("JPG") << S(".jpg");
    QTest::newRow("png") << encoded("PNG") << S(".png");
    QTest::newRow("bmp") << encoded("BMP") << S(".bmp");
}

void tst_EmployeeSet::photoFormats()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, ext);
    const int id = storeEmployee(S("林"));
    const TPicture picture = TPicture::FromData(bytes);
    QVERIFY(picture.HasImage());
    QVERIFY(TEmployeeSet::SavePhoto(id, picture));
    QCOMPARE(scalar(S("select Ext from photo where EmpId=%1").arg(id)).toString(), ext);
    const TPicture loaded = TEmployeeSet::LoadPhoto(id);
    QCOMPARE(loaded.Data(), bytes);
    QCOMPARE(loaded.Image().size(), QSize(8, 6));

    // Replacing keeps one row and follows the new format.
    QVERIFY(TEmployeeSet::SavePhoto(id, TPicture::FromData(encoded("PNG"))));
    QCOMPARE(countOf(S("select count(*) from photo where EmpId=%1").arg(id)), 1);
    QCOMPARE(scalar(S("select Ext from photo where EmpId=%1").arg(id)).toString(), S(".png"));
}

void tst_EmployeeSet::clearingPhotos()
{
    const int id = storeEmployee(S("清"));
    QVERIFY(TEmployeeSet::SavePhoto(id, TPicture()));
    QVERIFY(TEmployeeSet::SavePhoto(id, TPicture::FromData(encoded("JPG"))));
    QVERIFY(TEmployeeSet::SavePhoto(id, TPicture()));
    QCOMPARE(countOf(S("select count(*) from photo where EmpId=%1").arg(id)), 0);
    QVERIFY(!TEmployeeSet::LoadPhoto(id).HasImage());
}

void tst_EmployeeSet::undecodablePhotoKeepsEmployeeReadable()
{
    const int id = storeEmployee(S("坏图"));
    TheDatabase->Execute(S("insert into photo(EmpId, Ext, Photo) values (:EmpId, '.jpg', :Photo)"),
        {MakeParameter(S("EmpId"), id)},
        {TxDBParameter{S("Photo"), QByteArray("not a picture at all")}});
    TEmployeeSet set;
    TEmployeeWhere where;
    BuildEmployeeQuery(set, where);
    const REmployees all = set.ReadEmployees();
    QCOMPARE(all.Id, id);
    QVERIFY(!all.Photo.HasImage());
    QCOMPARE(all.Photo.Data(), QByteArray("not a picture at all"));
}

void tst_EmployeeSet::attachmentsComeInOrderWithTheirRealFormat()
{
    const int id = storeEmployee(S("附件"));
    const QString insert = S("insert into empimages(Id, EmpId, Subject, Ext, Photo) values (:Id, "
                             ":EmpId, :Subject, '.jpg', :Photo)");
    TheDatabase->Execute(insert,
        {MakeParameter(S("Id"), 9), MakeParameter(S("EmpId"), id),
            MakeParameter(S("Subject"), S("后"))},
        {TxDBParameter{S("Photo"), encoded("JPG")}});
    TheDatabase->Execute(insert,
        {MakeParameter(S("Id"), 4), MakeParameter(S("EmpId"), id),
            MakeParameter(S("Subject"), S("先"))},
        {TxDBParameter{S("Photo"), encoded("PNG")}});
    const REmpimgs images = ReadEmployeeImages(id);
    QCOMPARE(images.size(), 2);
    QCOMPARE(images[0].Subject, S("先"));
    QCOMPARE(images[0].Ext, S(".png"));
    QVERIFY(images[0].Picture.HasImage());
    QCOMPARE(images[1].Ext, S(".jpg"));
    QVERIFY(ReadEmployeeImages(id + 1).isEmpty());
}

QTEST_MAIN(tst_EmployeeSet)
#include "tst_employeeset.moc"
