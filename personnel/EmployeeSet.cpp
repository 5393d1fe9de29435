#include "EmployeeSet.h"

#include "EmployeeWhere.h"
#include "EntitySet.h"
#include "Error.h"
#include "FieldLabels.h"
#include "Operator.h"
#include "SqlDialect.h"
#include "Utils.h"

#include <QObject>
#include <QPointer>
#include <QRegularExpression>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

// Every member of REmployee that maps one to one onto a field of the set,
// except JoutId (read only) and the free numbers (variants holding numbers,
// which the layout would read as dates).
const TRecordLayout<REmployee> &employeeLayout()
{
    static const TRecordLayout<REmployee> layout = [] {
        TRecordLayout<REmployee> l;
        l.integer(S("Id"), &REmployee::Id)
            .text(S("Name"), &REmployee::Name)
            .text(S("NickName"), &REmployee::NickName)
            .text(S("Sex"), &REmployee::Sex)
            .text(S("IsMry"), &REmployee::IsMry)
            .text(S("Folk"), &REmployee::Folk)
            .text(S("Diploma"), &REmployee::Diploma)
            .text(S("Degree"), &REmployee::Degree)
            .text(S("Party"), &REmployee::Party)
            .text(S("JobTitle"), &REmployee::JobTitle)
            .text(S("Native"), &REmployee::Native)
            .text(S("BirthPlace"), &REmployee::BirthPlace)
            .text(S("Hukou"), &REmployee::Hukou)
            .text(S("Bloodtype"), &REmployee::Bloodtype)
            .text(S("Religion"), &REmployee::Religion)
            .text(S("Milivice"), &REmployee::Milivice)
            .text(S("IdCode"), &REmployee::IdCode)
            .date(S("Birthday"), &REmployee::Birthday)
            .date(S("GraduateDate"), &REmployee::GraduateDate)
            .integer(S("Stature"), &REmployee::Stature)
            .text(S("Tel"), &REmployee::Tel)
            .text(S("Address"), &REmployee::Address)
            .text(S("School"), &REmployee::School)
            .text(S("Specialty"), &REmployee::Specialty)
            .text(S("Biography"), &REmployee::Biography)
            .text(S("SocialRelation"), &REmployee::SocialRelation)
            .text(S("Rewards"), &REmployee::Rewards)
            .text(S("Techtitles"), &REmployee::Techtitles)
            .text(S("Training"), &REmployee::Training)
            .text(S("OtherNote"), &REmployee::OtherNote)
            .text(S("S1"), &REmployee::S1)
            .text(S("S2"), &REmployee::S2)
            .text(S("S3"), &REmployee::S3)
            .text(S("S4"), &REmployee::S4)
            .text(S("S5"), &REmployee::S5)
            .text(S("S6"), &REmployee::S6)
            .text(S("S7"), &REmployee::S7)
            .text(S("S8"), &REmployee::S8)
            .text(S("S9"), &REmployee::S9)
            .text(S("S10"), &REmployee::S10)
            .text(S("S11"), &REmployee::S11)
            .text(S("S12"), &REmployee::S12)
            .date(S("D1"), &REmployee::D1)
            .date(S("D2"), &REmployee::D2)
            .date(S("D3"), &REmployee::D3)
            .text(S("Code"), &REmployee::Code)
            .text(S("BankId"), &REmployee::BankId)
            .text(S("YangBaoId"), &REmployee::YangBaoId)
            .text(S("YiBaoId"), &REmployee::YiBaoId)
            .date(S("JoinDate"), &REmployee::JoinDate)
            .text(S("EmployType"), &REmployee::EmployType)
            .text(S("ComeFrom"), &REmployee::ComeFrom)
            .text(S("DutyDeptId"), &REmployee::DutyDeptId)
            .text(S("DutyDeptName"), &REmployee::DutyDeptName)
            .text(S("DutyName"), &REmployee::DutyName)
            .text(S("JoinDeptId"), &REmployee::JoinDeptId)
            .text(S("JoinDuty"), &REmployee::JoinDuty)
            .text(S("Joinmarks"), &REmployee::Joinmarks)
            .text(S("Gangchi"), &REmployee::Gangchi)
            .text(S("Jineng"), &REmployee::Jineng);
        return l;
    }();
    return layout;
}

struct NumberMember
{
    const char *name;
    QVariant REmployee::*member;
};
const NumberMember numberMembers[]
    = {{"F1", &REmployee::F1}, {"F2", &REmployee::F2}, {"F3", &REmployee::F3},
        {"GangchiBZ", &REmployee::GangchiBZ}, {"JinengBZ", &REmployee::JinengBZ}};

QVariant numberOf(const TField *field)
{
    return field->IsNull() ? QVariant() : QVariant(field->AsFloat());
}

QVariant dateOf(const TField *field)
{
    return field->IsNull() ? QVariant() : QVariant(field->AsDateTime());
}

QVariant nullIfEmpty(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// The choice fields come from fixed lists and pick lists; a stray blank in a
// list entry ("天主教 ") would otherwise make the value unequal to itself
// typed by hand.
void trimChoices(REmployee &e)
{
    for (QString *text :
        {&e.Sex, &e.IsMry, &e.Folk, &e.Diploma, &e.Degree, &e.Party, &e.JobTitle, &e.Bloodtype,
            &e.Religion, &e.Milivice, &e.EmployType, &e.ComeFrom, &e.DutyName, &e.JoinDuty})
        *text = text->trimmed();
}

TDBParameters employeeParameters(const REmployee &e, const QString &sql)
{
    const QStringList names = SqlDialect::placeholders(sql);
    TDBParameters params = employeeLayout().parameters(e, names);
    for (const NumberMember &n : numberMembers)
        if (names.contains(QLatin1String(n.name), Qt::CaseInsensitive))
            params.append(MakeParameter(QLatin1String(n.name), e.*n.member));
    return params;
}

TDatabase &db()
{
    if (!TheDatabase)
        throw QmError(S("没有数据库连接"));
    return *TheDatabase;
}

bool joinRowExists(int empId)
{
    TDataSet probe;
    db().Fill(probe, S("select EmpId from empjoin where EmpId=:EmpId"),
        {MakeParameter(S("EmpId"), empId)});
    return !probe.IsEmpty();
}

QString departmentName(const QString &code)
{
    if (code.isEmpty())
        return QString();
    TDataSet set;
    db().Fill(
        set, S("select Name from department where Code=:Code"), {MakeParameter(S("Code"), code)});
    return set.IsEmpty() ? QString() : set.Fields(0)->AsString();
}

bool tableExists(const QString &name)
{
    TDataSet set;
    const QString sql = db().IsSqlServer()
        ? S("select table_name from information_schema.tables where table_schema=current_schema() "
            "and lower(table_name)=lower(:Name)")
        : S("select name from sqlite_master where type='table' and lower(name)=lower(:Name)");
    db().Fill(set, sql, {MakeParameter(S("Name"), name)});
    return !set.IsEmpty();
}

// The sheet tables of the salary account sets. Their names come from the
// database, so only plain identifiers naming a table that exists are used:
// anything else could neither be deleted from nor be trusted inside a statement.
QStringList salarySheetTables()
{
    static const QRegularExpression identifier(S("^[A-Za-z_][A-Za-z0-9_]*$"));
    TDataSet set;
    db().Fill(set, S("select distinct Acountable from gz_account"));
    QStringList tables;
    for (int row = 0; row < set.RecordCount(); ++row) {
        const QString name = set.DisplayTextAt(row, 0).trimmed();
        if (identifier.match(name).hasMatch() && !tables.contains(name, Qt::CaseInsensitive)
            && tableExists(name))
            tables << name;
    }
    return tables;
}

void rollbackQuietly()
{
    try {
        db().RollbackTrans();
    } catch (...) {
        // The failure that led here says more than a failed rollback would.
    }
}

} // namespace

// ---------------------------------------------------------------- images

REmpimgs ReadEmployeeImages(int empId)
{
    TDataSet set;
    db().Fill(set,
        S("select Id, EmpId, Subject, Ext, Photo from empimages where EmpId=:EmpId order by Id"),
        {MakeParameter(S("EmpId"), empId)});
    REmpimgs images;
    for (int row = 0; row < set.RecordCount(); ++row) {
        set.SetCurrentRow(row);
        REmpimg img;
        img.Id = set.FieldByName(S("Id"))->AsInteger();
        img.EmpId = set.FieldByName(S("EmpId"))->AsInteger();
        img.Subject = set.FieldByName(S("Subject"))->AsString();
        img.Picture = TPicture::FromData(set.FieldByName(S("Photo"))->AsBytes());
        const QString ext = img.Picture.Ext();
        img.Ext = ext.isEmpty() ? set.FieldByName(S("Ext"))->AsString() : ext;
        images.append(img);
    }
    return images;
}

// ---------------------------------------------------------------- the set

TEmployeeSet::TEmployeeSet()
{
    const TFieldLabels &L = FieldLabels;
    auto add = [this](FieldKind kind, const char *name, int size, const QString &label,
                   bool visible = true) {
        AddField(kind, QLatin1String(name), size, visible, label);
    };
    const FieldKind W = FieldKind::WideString;
    add(FieldKind::Integer, "Id", -1, S("Id"));
    add(FieldKind::Integer, "JoutId", -1, QString());
    add(W, "Name", 30, L.Name);
    add(W, "NickName", 30, L.NickName);
    add(W, "Sex", 4, S("性别"));
    add(W, "BirthPlace", 50, S("出生地"));
    add(FieldKind::DateTime, "Birthday", -1, S("出生日期"));
    add(W, "Native", 40, S("籍贯"));
    add(W, "Hukou", 50, S("户口地址"));
    add(W, "Address", 50, S("居住地址"));
    add(W, "Milivice", 20, S("兵役状况"));
    add(W, "IsMry", 4, S("婚否"));
    add(FieldKind::Integer, "Stature", -1, S("身高"));
    add(W, "Bloodtype", 10, S("血型"));
    add(W, "Religion", 20, S("宗教信仰"));
    add(W, "Folk", 20, S("民族"));
    add(W, "Diploma", 10, S("学历"));
    add(W, "Degree", 10, S("学位"));
    add(W, "Party", 20, L.Party);
    add(W, "JobTitle", 20, S("职称"));
    add(W, "IdCode", 50, L.IdCode);
    add(FieldKind::Integer, "Age", -1, S("年龄"));
    add(FieldKind::Integer, "AgeOfWork", -1, L.WorkAge);
    add(W, "Tel", 50, L.Tel);
    add(W, "School", 50, S("毕业学校"));
    add(FieldKind::DateTime, "GraduateDate", -1, S("毕业日期"));
    add(W, "Specialty", 50, L.Specialty);
    add(FieldKind::Memo, "Biography", -1, S("个人简历"), false);
    add(FieldKind::Memo, "SocialRelation", -1, S("社会关系"), false);
    add(FieldKind::Memo, "Rewards", -1, S("奖惩记录"), false);
    add(FieldKind::Memo, "Techtitles", -1, S("职称评定"), false);
    add(FieldKind::Memo, "Training", -1, S("培训记录"), false);
    add(FieldKind::Memo, "OtherNote", -1, S("备注"), false);
    for (int i = 0; i < 12; ++i)
        AddField(W, QStringLiteral("S%1").arg(i + 1), 50, true, L.S[i]);
    for (int i = 0; i < 3; ++i)
        AddField(FieldKind::Float, QStringLiteral("F%1").arg(i + 1), -1, true, L.F[i]);
    for (int i = 0; i < 3; ++i)
        AddField(FieldKind::DateTime, QStringLiteral("D%1").arg(i + 1), -1, true, L.D[i]);
    add(W, "Code", 20, L.Code);
    add(W, "BankId", 50, L.BankId);
    add(W, "YangBaoId", 50, L.YangBaoId);
    add(W, "YiBaoId", 50, L.YiBaoId);
    add(FieldKind::DateTime, "Joindate", -1, S("入职日期"));
    add(W, "EmployType", 20, L.EmployType);
    add(W, "ComeFrom", 50, S("聘用来源"));
    add(FieldKind::String, "DutyDeptId", 50, QString(), false);
    add(W, "DutyDeptName", 50, S("部门"));
    add(W, "DutyName", 50, L.DutyName);
    add(W, "Gangchi", 50, S("岗次"));
    add(FieldKind::Float, "GangchiBZ", -1, S("岗次标准"));
    add(W, "Jineng", 50, S("技能"));
    add(FieldKind::Float, "JinengBZ", -1, S("技能标准"));
    add(FieldKind::DateTime, "DisDate", -1, S("离职日期"));
    add(W, "DisType", 20, S("离职原因"));
    add(FieldKind::Memo, "Dismarks", -1, S("离职描述"));
    add(W, "Disman", 20, S("离职批准人"));
    add(FieldKind::Integer, "TryId", -1, QString(), false);
    add(W, "TryJob", 50, S("试用职位"));
    add(FieldKind::DateTime, "TryDate1", -1, S("试用日期"));
    add(FieldKind::DateTime, "TryDate2", -1, S("试用截止"));
    add(FieldKind::Float, "TryWage", -1, S("试用工资"));
    add(FieldKind::Memo, "TryPlan", -1, S("试用计划"));
    add(FieldKind::DateTime, "TestDate", -1, S("考核日期"));
    add(W, "Testman", 30, S("考核人"));
    add(FieldKind::Memo, "TryResult", -1, S("考核结果"));
    // Carried so that saving a listed employee writes back the joining
    // department, post and remarks it holds instead of blanking them.
    add(W, "JoinDeptId", 50, QString(), false);
    add(W, "JoinDuty", 50, QString(), false);
    add(FieldKind::Memo, "Joinmarks", -1, QString(), false);
}

REmployee TEmployeeSet::ReadEmployee() const
{
    REmployee e;
    const TDataSet &q = *Query();
    employeeLayout().read(q, e);
    e.JoutId = q.FieldByName(S("JoutId"))->AsInteger();
    for (const NumberMember &n : numberMembers)
        e.*n.member = numberOf(q.FieldByName(QLatin1String(n.name)));
    e.EmpId = e.Id;
    return e;
}

REmployees TEmployeeSet::ReadEmployees() const
{
    REmployees all;
    all.Employee = ReadEmployee();
    const REmployee &e = all.Employee;
    all.Id = e.Id;
    const TDataSet &q = *Query();
    auto text = [&q](const char *name) {
        return q.FieldByName(QLatin1String(name))->AsString();
    };
    auto date = [&q](const char *name) {
        return dateOf(q.FieldByName(QLatin1String(name)));
    };

    REmpback &back = all.Back;
    back.Id = e.JoutId;
    back.EmpId = e.Id;
    back.EmpCode = e.Code;
    back.EmpName = e.Name;
    back.Disdate = date("DisDate");
    back.Distype = text("DisType");
    back.Dismarks = text("Dismarks");
    back.Disman = text("Disman");

    REmpTrial &trial = all.Trial;
    trial.EmpId = e.Id;
    trial.TryId = q.FieldByName(S("TryId"))->AsInteger();
    trial.EmpCode = e.Code;
    trial.EmpName = e.Name;
    trial.TryJob = text("TryJob");
    trial.TryDate1 = date("TryDate1");
    trial.TryDate2 = date("TryDate2");
    trial.TryWage = q.FieldByName(S("TryWage"))->AsFloat();
    trial.TryPlan = text("TryPlan");
    trial.TestDate = date("TestDate");
    trial.Testman = text("Testman");
    trial.TryResult = text("TryResult");

    all.Images = ReadEmployeeImages(e.Id);
    all.Photo = LoadPhoto(e.Id);
    return all;
}

void TEmployeeSet::WriteRow(const REmployee &employee)
{
    TDataSet &q = *Query();
    employeeLayout().write(employee, q);
    for (const NumberMember &n : numberMembers)
        q.FieldByName(QLatin1String(n.name))->SetValue(employee.*n.member);
    const QDate today = QDate::currentDate();
    const QDateTime birthday = employee.Birthday.toDateTime();
    const QDateTime joined = employee.JoinDate.toDateTime();
    q.FieldByName(S("Age"))->SetValue(
        birthday.isValid() ? QVariant(today.year() - birthday.date().year()) : QVariant());
    q.FieldByName(S("AgeOfWork"))
        ->SetValue(
            joined.isValid() ? QVariant(today.year() - joined.date().year() + 1) : QVariant());
}

bool TEmployeeSet::SaveAndSync(REmployee &employee)
{
    if (!SaveInTransaction(employee))
        return false;
    if (employee.DutyDeptName.isEmpty())
        employee.DutyDeptName = departmentName(employee.DutyDeptId);
    Conventions::MirrorSave(
        *Query(), S("Id"), employee.Id, [&](TDataSet &) { WriteRow(employee); });
    return true;
}

bool TEmployeeSet::readAt(int id, int step, REmployees &result)
{
    TDataSet &q = *Query();
    if (!q.Active() || q.IsEmpty())
        return false;
    if (q.Locate(S("Id"), id)) {
        if (step < 0)
            q.Prior();
        else
            q.Next();
    }
    result = ReadEmployees();
    return true;
}

bool TEmployeeSet::ReadPrior(int id, REmployees &result)
{
    return readAt(id, -1, result);
}

bool TEmployeeSet::ReadNext(int id, REmployees &result)
{
    return readAt(id, 1, result);
}

bool TEmployeeSet::DeleteAndSync(const REmployee &employee)
{
    TDataSet &q = *Query();
    if (!q.Active() || !q.Locate(S("Id"), employee.Id))
        return false;
    if (!DeleteEmployeeCascade(employee))
        return false;
    // The cascade may have shown a message, but it never moves the cursor;
    // find the row again all the same rather than trust that.
    if (q.Locate(S("Id"), employee.Id))
        q.Delete();
    return true;
}

void TEmployeeSet::mirrorFields(int id, const std::function<void(TDataSet &)> &fill)
{
    TDataSet &q = *Query();
    if (!q.Active() || !q.Locate(S("Id"), id))
        return;
    q.Edit();
    fill(q);
    q.Post();
}

bool TEmployeeSet::SaveOtherAndSync(const REmployee &employee)
{
    if (!SaveOtherFields(employee))
        return false;
    mirrorFields(employee.Id, [&](TDataSet &q) {
        const REmployee &e = employee;
        q.FieldByName(S("OtherNote"))->SetValue(e.OtherNote);
        const QString texts[]
            = {e.S1, e.S2, e.S3, e.S4, e.S5, e.S6, e.S7, e.S8, e.S9, e.S10, e.S11, e.S12};
        for (int i = 0; i < 12; ++i)
            q.FieldByName(QStringLiteral("S%1").arg(i + 1))->SetValue(texts[i]);
        const QVariant numbers[] = {e.F1, e.F2, e.F3};
        const QVariant dates[] = {e.D1, e.D2, e.D3};
        for (int i = 0; i < 3; ++i) {
            q.FieldByName(QStringLiteral("F%1").arg(i + 1))->SetValue(numbers[i]);
            q.FieldByName(QStringLiteral("D%1").arg(i + 1))->SetValue(dates[i]);
        }
    });
    return true;
}

bool TEmployeeSet::SaveJoinFullAndSync(const REmpjoin &join)
{
    if (!SaveJoinFull(join))
        return false;
    const QString deptName = departmentName(join.DutyDeptId);
    mirrorFields(join.EmpId, [&](TDataSet &q) {
        auto set = [&q](const char *name, const QVariant &v) {
            q.FieldByName(QLatin1String(name))->SetValue(v);
        };
        set("Code", join.Code);
        set("BankId", join.BankId);
        set("YangBaoId", join.YangBaoId);
        set("YiBaoId", join.YiBaoId);
        set("Joindate", join.JoinDate);
        set("ComeFrom", join.ComeFrom.trimmed());
        set("EmployType", join.EmployType.trimmed());
        set("JoinDeptId", join.JoinDeptId);
        set("JoinDuty", join.JoinDuty.trimmed());
        set("Joinmarks", join.Joinmarks);
        set("DutyDeptId", nullIfEmpty(join.DutyDeptId));
        set("DutyDeptName", deptName);
        set("DutyName", join.DutyName.trimmed());
        set("Gangchi", join.Gangchi);
        set("GangchiBZ", join.GangchiBZ);
        set("Jineng", join.Jineng);
        set("JinengBZ", join.JinengBZ);
        const QDateTime joined = join.JoinDate.toDateTime();
        set("AgeOfWork",
            joined.isValid() ? QVariant(QDate::currentDate().year() - joined.date().year() + 1)
                             : QVariant());
    });
    return true;
}

bool TEmployeeSet::SaveSalaryAndSync(const REmployee &employee)
{
    if (!SaveSalaryInfo(employee))
        return false;
    mirrorFields(employee.Id, [&](TDataSet &q) {
        q.FieldByName(S("BankId"))->SetValue(employee.BankId);
        q.FieldByName(S("Gangchi"))->SetValue(employee.Gangchi);
        q.FieldByName(S("GangchiBZ"))->SetValue(employee.GangchiBZ);
        q.FieldByName(S("Jineng"))->SetValue(employee.Jineng);
        q.FieldByName(S("JinengBZ"))->SetValue(employee.JinengBZ);
    });
    return true;
}

bool TEmployeeSet::SaveDismissalAndSync(REmpjout &dismissal, const DismissalSave &save)
{
    if (!save || !save(dismissal))
        return false;
    mirrorFields(dismissal.EmpId, [&](TDataSet &q) {
        q.FieldByName(S("JoutId"))->SetValue(dismissal.Id);
        q.FieldByName(S("DisDate"))->SetValue(dismissal.Disdate);
        q.FieldByName(S("DisType"))->SetValue(dismissal.Distype);
        q.FieldByName(S("Dismarks"))->SetValue(dismissal.Dismarks);
        q.FieldByName(S("Disman"))->SetValue(dismissal.Disman);
    });
    return true;
}

bool TEmployeeSet::DeleteDismissalAndSync(const REmpback &dismissal, const DismissalDelete &remove)
{
    if (!remove || !remove(dismissal))
        return false;
    mirrorFields(dismissal.EmpId, [](TDataSet &q) {
        for (const char *name : {"JoutId", "DisDate", "DisType", "Dismarks", "Disman"})
            q.FieldByName(QLatin1String(name))->Clear();
    });
    return true;
}

namespace {
const char *const trialFields[]
    = {"TryJob", "TryDate1", "TryDate2", "TryWage", "TryPlan", "TestDate", "Testman", "TryResult"};
}

bool TEmployeeSet::SaveProbationAndSync(REmpTrial &trial, const ProbationSave &save)
{
    if (!save || !save(trial))
        return false;
    mirrorFields(trial.EmpId, [&](TDataSet &q) {
        const QVariant values[] = {trial.TryJob, trial.TryDate1, trial.TryDate2, trial.TryWage,
            trial.TryPlan, trial.TestDate, trial.Testman, trial.TryResult};
        q.FieldByName(S("TryId"))->SetValue(trial.EmpId);
        for (int i = 0; i < 8; ++i)
            q.FieldByName(QLatin1String(trialFields[i]))->SetValue(values[i]);
    });
    return true;
}

bool TEmployeeSet::DeleteProbationAndSync(const REmpTrial &trial, const ProbationDelete &remove)
{
    if (!remove || !remove(trial))
        return false;
    mirrorFields(trial.EmpId, [](TDataSet &q) {
        q.FieldByName(S("TryId"))->Clear();
        for (const char *name : trialFields)
            q.FieldByName(QLatin1String(name))->Clear();
    });
    return true;
}

// ---------------------------------------------------------------- statements

bool TEmployeeSet::SaveEmployeeRecord(REmployee &employee)
{
    static const QString updateSql
        = S("update Employee set "
            "Name=:Name,NickName=:NickName,Sex=:Sex,IsMry=:IsMry,Folk=:Folk,Diploma=:Diploma,"
            "Degree=:Degree,Party=:Party,JobTitle=:JobTitle,Native=:Native,BirthPlace=:BirthPlace,"
            "IdCode=:IdCode,"
            "Birthday=:Birthday,Tel=:Tel,Hukou=:Hukou, Address=:Address, Milivice=:Milivice, "
            "Stature=:Stature, "
            "Bloodtype=:Bloodtype, "
            "Religion=:Religion,School=:School,GraduateDate=:GraduateDate,Specialty=:Specialty,"
            "Biography=:Biography,SocialRelation=:SocialRelation,Rewards=:Rewards,Techtitles=:"
            "Techtitles,"
            "Training=:Training where Id=:Id");
    static const QString insertSql = S(
        "insert into Employee(JoutId, "
        "Name,NickName,Sex,IsMry,Folk,Diploma,Degree,Party,JobTitle,Native,BirthPlace,"
        "IdCode,Birthday,Tel, Hukou, Address, Milivice, Stature, Bloodtype, Religion, "
        "School,GraduateDate,Specialty,"
        "Biography,SocialRelation,Rewards,Techtitles,Training,F1, F2, F3, D1, D2, "
        "D3,Id)values(null, :Name,"
        ":NickName,:Sex,:IsMry,:Folk,:Diploma,:Degree,:Party,:JobTitle,:Native,:BirthPlace,:IdCode,"
        ":Birthday,:Tel,"
        ":Hukou,:Address,:Milivice,:Stature,:Bloodtype,:Religion,:School,:GraduateDate,:Specialty,:"
        "Biography,"
        ":SocialRelation,:Rewards,:Techtitles,:Training,null, null, null, null, null, null, :Id)");
    trimChoices(employee);
    const bool inserting = employee.Id <= 0;
    REmployee e = employee;
    if (inserting)
        e.Id = Conventions::NextId(S("employee"), S("Id"));
    const QString &sql = inserting ? insertSql : updateSql;
    if (db().ExecSQL(sql, employeeParameters(e, sql)) != 1)
        return false;
    if (inserting) {
        employee.Id = e.Id;
        employee.EmpId = e.Id;
        employee.JoutId = 0;
        employee.F1 = employee.F2 = employee.F3 = QVariant();
        employee.D1 = employee.D2 = employee.D3 = QVariant();
    }
    return true;
}

bool TEmployeeSet::SaveJoinRecord(REmployee &employee)
{
    trimChoices(employee);
    employee.EmpId = employee.Id;
    const bool exists = joinRowExists(employee.EmpId);
    const QString sql = exists
        ? S("update empjoin set "
            "Code=:Code,JoinDate=:JoinDate,EmployType=:EmployType,ComeFrom=:ComeFrom, "
            "JoinDeptId=:JoinDeptId, JoinDuty=:JoinDuty, Joinmarks=:Joinmarks where EmpId=:EmpId")
        : S("insert into empjoin(Code, JoinDate, EmployType, ComeFrom, JoinDeptId, JoinDuty, "
            "Joinmarks, EmpId)"
            "values(:Code,:JoinDate,:EmployType,:ComeFrom,:JoinDeptId,:JoinDuty, "
            ":Joinmarks,:EmpId)");
    const TDBParameters params{MakeParameter(S("Code"), employee.Code),
        MakeParameter(S("JoinDate"), employee.JoinDate),
        MakeParameter(S("EmployType"), employee.EmployType),
        MakeParameter(S("ComeFrom"), employee.ComeFrom),
        MakeParameter(S("JoinDeptId"), nullIfEmpty(employee.JoinDeptId)),
        MakeParameter(S("JoinDuty"), employee.JoinDuty),
        MakeParameter(S("Joinmarks"), employee.Joinmarks),
        MakeParameter(S("EmpId"), employee.EmpId)};
    if (db().ExecSQL(sql, params) != 1)
        return false;
    if (!exists) {
        db().Execute(
            S("update empjoin set DutyDate=JoinDate, DutyDeptId=JoinDeptId, DutyName=JoinDuty "
              "where EmpId=:EmpId"),
            {MakeParameter(S("EmpId"), employee.EmpId)});
        // The record now says what the row says, so a list that mirrors it
        // shows the new employee where the database has them.
        employee.DutyDeptId = employee.JoinDeptId;
        employee.DutyName = employee.JoinDuty;
        employee.DutyDeptName.clear();
    }
    return true;
}

bool TEmployeeSet::SaveJoinFull(const REmpjoin &join)
{
    const bool exists = joinRowExists(join.EmpId);
    // The post date belongs to the post moves once the row exists: only a new
    // row (or one without a date yet) takes the joining date.
    const QString sql = exists
        ? S("update empjoin set "
            "Code=:Code,BankId=:BankId,YangBaoId=:YangBaoId,YiBaoId=:YiBaoId,JoinDate=:JoinDate,"
            "EmployType=:EmployType,ComeFrom=:ComeFrom, JoinDeptId=:JoinDeptId, "
            "JoinDuty=:JoinDuty, "
            "Joinmarks=:Joinmarks, Jointype=:Jointype, Dutydate=coalesce(Dutydate, :Dutydate), "
            "DutyDeptId=:DutyDeptId, DutyName=:DutyName, Gangchi=:Gangchi, GangchiBZ=:GangchiBZ, "
            "Jineng=:Jineng, "
            "JinengBZ=:JinengBZ where EmpId=:EmpId")
        : S("insert into empjoin(Code, BankId, YangBaoId, YiBaoId, JoinDate, EmployType, ComeFrom, "
            "JoinDeptId, "
            "JoinDuty, Joinmarks, Jointype, Dutydate, DutyDeptId, DutyName, Gangchi, GangchiBZ, "
            "Jineng, JinengBZ, "
            "EmpId)values(:Code,:BankId,:YangBaoId,:YiBaoId,:JoinDate,:EmployType,:ComeFrom,:"
            "JoinDeptId,:JoinDuty,"
            ":Joinmarks,:Jointype,:Dutydate,:DutyDeptId,:DutyName,:Gangchi,:GangchiBZ,:Jineng,:"
            "JinengBZ,:EmpId)");
    const TDBParameters params{MakeParameter(S("Code"), join.Code),
        MakeParameter(S("BankId"), join.BankId), MakeParameter(S("YangBaoId"), join.YangBaoId),
        MakeParameter(S("YiBaoId"), join.YiBaoId), MakeParameter(S("JoinDate"), join.JoinDate),
        MakeParameter(S("EmployType"), join.EmployType.trimmed()),
        MakeParameter(S("ComeFrom"), join.ComeFrom.trimmed()),
        MakeParameter(S("JoinDeptId"), nullIfEmpty(join.JoinDeptId)),
        MakeParameter(S("JoinDuty"), join.JoinDuty.trimmed()),
        MakeParameter(S("Joinmarks"), join.Joinmarks), MakeParameter(S("Jointype"), join.Jointype),
        MakeParameter(S("Dutydate"), join.JoinDate),
        MakeParameter(S("DutyDeptId"), nullIfEmpty(join.DutyDeptId)),
        MakeParameter(S("DutyName"), join.DutyName.trimmed()),
        MakeParameter(S("Gangchi"), join.Gangchi), MakeParameter(S("GangchiBZ"), join.GangchiBZ),
        MakeParameter(S("Jineng"), join.Jineng), MakeParameter(S("JinengBZ"), join.JinengBZ),
        MakeParameter(S("EmpId"), join.EmpId)};
    return db().ExecSQL(sql, params) == 1;
}

REmpjoin JoinRecordOf(const REmployee &employee)
{
    REmpjoin join;
    join.EmpId = employee.Id;
    join.EmpName = employee.Name;
    join.Code = employee.Code;
    join.BankId = employee.BankId;
    join.YangBaoId = employee.YangBaoId;
    join.YiBaoId = employee.YiBaoId;
    join.JoinDate = employee.JoinDate;
    join.EmployType = employee.EmployType;
    join.ComeFrom = employee.ComeFrom;
    join.JoinDeptId = employee.JoinDeptId;
    join.JoinDeptName = employee.JoinDeptName;
    join.JoinDuty = employee.JoinDuty;
    join.Joinmarks = employee.Joinmarks;
    join.DutyDeptId = employee.DutyDeptId;
    join.DutyName = employee.DutyName;
    join.Gangchi = employee.Gangchi;
    join.GangchiBZ = employee.GangchiBZ;
    join.Jineng = employee.Jineng;
    join.JinengBZ = employee.JinengBZ;
    return join;
}

bool TEmployeeSet::SaveSalaryInfo(const REmployee &employee)
{
    const bool exists = joinRowExists(employee.Id);
    const QString sql = exists ? S("update empjoin set BankId=:BankId,Gangchi=:Gangchi, "
                                   "GangchiBZ=:GangchiBZ, Jineng=:Jineng, "
                                   "JinengBZ=:JinengBZ where EmpId=:EmpId")
                               : S("insert into empjoin(BankId, Gangchi, GangchiBZ, Jineng, "
                                   "JinengBZ, EmpId)values(:BankId,:Gangchi,"
                                   ":GangchiBZ,:Jineng,:JinengBZ,:EmpId)");
    const TDBParameters params{MakeParameter(S("BankId"), employee.BankId),
        MakeParameter(S("Gangchi"), employee.Gangchi),
        MakeParameter(S("GangchiBZ"), employee.GangchiBZ),
        MakeParameter(S("Jineng"), employee.Jineng),
        MakeParameter(S("JinengBZ"), employee.JinengBZ), MakeParameter(S("EmpId"), employee.Id)};
    return db().ExecSQL(sql, params) == 1;
}

bool TEmployeeSet::SaveOtherFields(const REmployee &employee)
{
    static const QString sql = S("update Employee set OtherNote=:OtherNote, S1=:S1, S2=:S2, "
                                 "S3=:S3, S4=:S4, S5=:S5, S6=:S6, S7=:S7, S8=:S8,"
                                 "S9=:S9, S10=:S10, S11=:S11, S12=:S12, F1=:F1, F2=:F2, F3=:F3, "
                                 "D1=:D1, D2=:D2, D3=:D3 where Id=:Id");
    return db().ExecSQL(sql, employeeParameters(employee, sql)) == 1;
}

bool TEmployeeSet::SaveWithJoin(REmployee &employee)
{
    return SaveEmployeeRecord(employee) && SaveJoinRecord(employee);
}

bool TEmployeeSet::SaveInTransaction(REmployee &employee)
{
    // The record is saved as a copy: a new id must not reach the caller when
    // the transaction that allocated it is rolled back.
    REmployee work = employee;
    try {
        db().BeginTrans();
    } catch (const QmError &e) {
        ShowInfo(e.message());
        return false;
    }
    try {
        if (SaveWithJoin(work)) {
            db().CommitTrans();
            employee = work;
            return true;
        }
        rollbackQuietly();
        ShowInfo(S("保存失败, 没有返回有效标志"));
    } catch (const QmError &e) {
        rollbackQuietly();
        ShowInfo(e.message());
    } catch (const SilentAbort &) {
        rollbackQuietly();
    }
    return false;
}

bool TEmployeeSet::DeleteEmployeeCascade(const REmployee &employee)
{
    TheOperator->CheckRight(10);
    static const char *const dependents[] = {
        "delete from certificates where EmpId=:EmpId",
        "delete from empimages where EmpId=:EmpId",
        "delete from contracts where EmpId=:EmpId",
        "delete from postmove where EmpId=:EmpId",
        "delete from trains where TrnEmpid=:EmpId",
        "delete from tests where EmpId=:EmpId",
        "delete from vacation where EmpId=:EmpId",
        "delete from rewards where EmpId=:EmpId",
        "delete from Zpapply where EmpId=:EmpId",
        "delete from emptrials where EmpId=:EmpId",
        "delete from empjoin where EmpId=:EmpId",
        "delete from empback where JoutId in (select Id from empjout where EmpId=:EmpId)",
        "delete from empjout where EmpId=:EmpId",
        "delete from photo where EmpId=:EmpId",
        // Ids are reused (max + 1), so whatever is left here would pass to
        // the next employee who receives this id.
        "delete from relationship where EmpId=:EmpId",
        "delete from workstory where EmpId=:EmpId",
        "delete from education where EmpId=:EmpId",
        "delete from gz_accountemp where EmpId=:EmpId",
    };
    const TDBParameters byEmp{MakeParameter(S("EmpId"), employee.Id)};
    try {
        db().BeginTrans();
    } catch (const QmError &e) {
        ShowInfo(e.message());
        return false;
    }
    try {
        for (const char *sql : dependents)
            db().Execute(QLatin1String(sql), byEmp);
        for (const QString &sheet : salarySheetTables())
            db().Execute(QStringLiteral(
                             "delete from %1 where MonthempId in (select Id from gz_monthemp where "
                             "EmpId=:EmpId)")
                             .arg(sheet),
                byEmp);
        db().Execute(S("delete from gz_monthemp where EmpId=:EmpId"), byEmp);
        if (db().ExecSQL(
                S("delete from employee where Id=:Id"), {MakeParameter(S("Id"), employee.Id)})
            == 1) {
            db().CommitTrans();
            return true;
        }
        rollbackQuietly();
        ShowInfo(S("没有返回成功删除的标志,记录可能已被其他用户删除."));
    } catch (const QmError &e) {
        rollbackQuietly();
        ShowInfo(e.message());
    }
    return false;
}

// ---------------------------------------------------------------- photo

TPicture TEmployeeSet::LoadPhoto(int empId)
{
    TDataSet set;
    db().Fill(set, S("select Ext, Photo from photo where EmpId=:EmpId"),
        {MakeParameter(S("EmpId"), empId)});
    if (set.RecordCount() != 1)
        return TPicture();
    return TPicture::FromData(set.FieldByName(S("Photo"))->AsBytes());
}

bool TEmployeeSet::SavePhoto(int empId, const TPicture &picture)
{
    const TDBParameters byEmp{MakeParameter(S("EmpId"), empId)};
    if (!picture.HasImage()) {
        // Clearing a photo that is not there leaves what was wanted: none.
        db().Execute(S("delete from photo where EmpId=:EmpId"), byEmp);
        return true;
    }
    TDataSet probe;
    db().Fill(probe, S("select EmpId from photo where EmpId=:EmpId"), byEmp);
    QString ext = picture.Ext();
    QByteArray data = picture.Data();
    if (ext.isEmpty()) {
        // An image decoded from a format we cannot name is stored re-encoded,
        // so the stored bytes and Ext always agree.
        const TPicture encoded = TPicture::FromImage(picture.Image());
        ext = encoded.Ext();
        data = encoded.Data();
    }
    const QString sql = probe.IsEmpty()
        ? S("insert into photo(EmpId, Ext, Photo) values (:EmpId, :Ext, :Photo)")
        : S("update photo set Ext=:Ext, Photo=:Photo where EmpId=:EmpId");
    return db().ExecSQL(sql, {MakeParameter(S("EmpId"), empId), MakeParameter(S("Ext"), ext)},
               {TxDBParameter{S("Photo"), data}})
        == 1;
}

// ---------------------------------------------------------------- hooks

TEmployeeHooks GuardedEmployeeHooks(TEmployeeSet *set, QObject *owner)
{
    const QPointer<QObject> alive(owner);
    TEmployeeHooks hooks;
    hooks.OnSaveEmployee = [set, alive](REmployee &e) {
        return alive ? set->SaveAndSync(e) : TEmployeeSet::SaveInTransaction(e);
    };
    hooks.OnReadPrior = [set, alive](int id, REmployees &r) {
        return alive ? set->ReadPrior(id, r) : FindEmployee(id, -1, r);
    };
    hooks.OnReadNext = [set, alive](int id, REmployees &r) {
        return alive ? set->ReadNext(id, r) : FindEmployee(id, 1, r);
    };
    hooks.OnDeleteEmployee = [set, alive](const REmployee &e) {
        return alive ? set->DeleteAndSync(e) : TEmployeeSet::DeleteEmployeeCascade(e);
    };
    return hooks;
}
