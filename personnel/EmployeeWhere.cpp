#include "EmployeeWhere.h"

#include "DepartmentSet.h"
#include "EmployeeSet.h"
#include "Error.h"
#include "KeyValue2.h"
#include "Operator.h"
#include "WhereBuilder.h"
#include "qmProj.h"

#include <QDate>
#include <memory>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

const TDatabase &db()
{
    if (!TheDatabase)
        throw QmError(S("没有数据库连接"));
    return *TheDatabase;
}

// The joins every employee list reads through.
const char *const employeeFrom
    = " from ((((employee e left join empjoin j on e.Id=j.EmpId) left join empjout d on "
      "e.JoutId=d.Id)"
      " left join department a on a.Code=j.DutyDeptId) left join emptrials t on e.Id=t.EmpId)";

bool positive(const TField *f)
{
    return !f->IsNull() && f->AsInteger() > 0;
}

QString textOf(const TField *f)
{
    return f->AsString().trimmed();
}

// Conditions on typed values; every value is bound, never spliced in.
class Clauses
{
public:
    explicit Clauses(TWhereBuilder &b)
        : m_b(b)
    { }

    void contains(const char *column, const TField *f)
    {
        const QString v = textOf(f);
        if (!v.isEmpty())
            m_b.contains(QLatin1String(column), v);
    }

    // Choice values compare trimmed on both sides: lists once offered entries
    // with a stray trailing blank, and rows saved from them still hold it.
    void equals(const char *column, const TField *f)
    {
        const QString v = textOf(f);
        if (!v.isEmpty())
            m_b.withValue(QStringLiteral(" and lower(trim(%1))=lower(%2)")
                              .arg(QLatin1String(column), QStringLiteral("%1")),
                v);
    }

    void atLeast(const QString &expression, const TField *f)
    {
        if (positive(f))
            m_b.raw(QStringLiteral(" and %1>=%2").arg(expression).arg(f->AsInteger()));
    }

    void atMost(const QString &expression, const TField *f)
    {
        if (positive(f))
            m_b.raw(QStringLiteral(" and %1<=%2").arg(expression).arg(f->AsInteger()));
    }

    void dateFrom(const char *column, const TField *f)
    {
        if (!f->IsNull() && f->AsDateTime().isValid())
            m_b.dateFrom(QLatin1String(column), QDateTime(f->AsDateTime().date(), QTime(0, 0)));
    }

    // "On or before" a day takes in the whole day, whatever time of day a
    // stored value carries.
    void dateUpTo(const char *column, const TField *f)
    {
        if (f->IsNull() || !f->AsDateTime().isValid())
            return;
        const QDateTime next(f->AsDateTime().date().addDays(1), QTime(0, 0));
        m_b.raw(QStringLiteral(" and %1<%2").arg(QLatin1String(column), db().DateLiteral(next)));
    }

private:
    TWhereBuilder &m_b;
};

int settingsInt(int key)
{
    if (TheSettings)
        return TheSettings->GetInt(key);
    TKeyValue2 settings;
    return settings.GetInt(key);
}

void addKeyword(TWhereBuilder &b, const QString &keyword)
{
    const QString anywhere
        = QLatin1Char('%') + TWhereBuilder::escapeLike(keyword) + QLatin1Char('%');
    // A name matches when it ends with the keyword: the given name is what
    // people type, and a family name alone would list half the company.
    const QString ending = QLatin1Char('%') + TWhereBuilder::escapeLike(keyword);
    b.withValue(S(" and ((j.Code like %1 escape '\\')"), anywhere);
    b.withValue(S(" or (e.Name like %1 escape '\\')"), ending);
    b.withValue(S(" or (e.NickName like %1 escape '\\') or (e.Sex like %1 escape '\\')"
                  " or (e.Tel like %1 escape '\\') or (e.Folk like %1 escape '\\')"
                  " or (e.Native like %1 escape '\\') or (e.School like %1 escape '\\')"
                  " or (e.Idcode like %1 escape '\\'))"),
        anywhere);
}

} // namespace

TEmployeeWhere::TEmployeeWhere()
{
    auto integer = [this](const char *name, bool visible = true) {
        return AddFieldDef(FieldKind::Integer, QLatin1String(name), 0, visible);
    };
    auto text = [this](const char *name, int size) {
        return AddFieldDef(FieldKind::WideString, QLatin1String(name), size);
    };
    auto date = [this](const char *name) {
        return AddFieldDef(FieldKind::DateTime, QLatin1String(name), 0);
    };
    auto boolean = [this](const char *name, bool visible = true) {
        return AddFieldDef(FieldKind::Boolean, QLatin1String(name), 0, visible);
    };

    Age1Fld = integer("Age1");
    Age2Fld = integer("Age2");
    BirthMonthFld = integer("BirthMonth");
    BirthDayFld = integer("BirthDay");
    DeptIdField = new TDeptIdField(m_data.get(), S("DeptId"), S("DeptName"), S("DeptPath"));
    DeptIdFld = DeptIdField->CodeField();
    EmpIdFld = integer("EmpId");
    CodeFld = text("Code", 30);
    NameFld = text("Name", 30);
    WorkAge1Fld = integer("WorkAge1");
    WorkAge2Fld = integer("WorkAge2");
    DutyFld = text("Duty", 30);
    DiplomaFld = text("Diploma", 30);
    SexFld = text("Sex", 30);
    FolkFld = text("Folk", 30);
    TelFld = text("Tel", 50);
    SchoolFld = text("School", 50);
    MarryFld = text("Marry", 30);
    NativeFld = text("Native", 50);
    IdCodeFld = text("IdCode", 50);
    ComeFromFld = text("ComeFrom", 30);
    EmployTypeFld = text("EmployType", 50);
    PartyFld = text("Party", 30);
    KeywordFld = text("Keyword", 30);
    MiliviceFld = text("Milivice", 50);
    Stature1Fld = integer("Stature1");
    Stature2Fld = integer("Stature2");
    BloodtypeFld = text("Bloodtype", 20);
    ReligionFld = text("Religion", 50);
    GraduateDate1Fld = date("GraduateDate1");
    GraduateDate2Fld = date("GraduateDate2");
    DegreeFld = text("Degree", 50);
    JobTitleFld = text("JobTitle", 50);
    Joindate1Fld = date("Joindate1");
    Joindate2Fld = date("Joindate2");
    BankIdFld = text("BankId", 50);
    YangBaoIdFld = text("YangBaoId", 50);
    YiBaoIdFld = text("YiBaoId", 50);
    DisyesFld = boolean("Disyes");
    DisMonthFld = integer("DisMonth", false);
    DisDate1Fld = date("DisDate1");
    DisDate2Fld = date("DisDate2");
    DisTypeFld = text("DisType", 20);
    DismarksFld = text("Dismarks", 250);
    DismanFld = text("Disman", 20);
    TryingFld = boolean("Trying", false);
    ContractHintFld = boolean("ContractHint", false);
    CertHintFld = boolean("CertHint", false);
    TryMonthFld = integer("TryMonth", false);
    CreateCriteria();
}

TEmployeeWhere::~TEmployeeWhere() = default;

bool TEmployeeWhere::HasDismissalDetails() const
{
    for (const TField *f : {DisTypeFld, DismarksFld, DismanFld})
        if (!textOf(f).isEmpty())
            return true;
    for (const TField *f : {DisDate1Fld, DisDate2Fld})
        if (!f->IsNull())
            return true;
    return false;
}

TEmployeeQuery BuildEmployeeQuery(TEmployeeWhere &w)
{
    const TDatabase &d = db();
    TWhereBuilder b(&d);
    Clauses c(b);

    b.raw(DeptRestriction());
    w.UpdateRecord();

    c.atLeast(d.AgeExpression(S("e.Birthday")), w.Age1Fld);
    c.atMost(d.AgeExpression(S("e.Birthday")), w.Age2Fld);
    if (positive(w.BirthMonthFld))
        b.raw(QStringLiteral(" and month(e.Birthday)=%1").arg(w.BirthMonthFld->AsInteger()));
    if (positive(w.BirthDayFld))
        b.raw(QStringLiteral(" and day(e.Birthday)=%1").arg(w.BirthDayFld->AsInteger()));
    const QString dept = textOf(w.DeptIdFld);
    if (!dept.isEmpty())
        b.startsWith(S("j.DutyDeptId"), dept);
    if (!w.EmpIdFld->IsNull())
        b.integerEquals(S("e.Id"), w.EmpIdFld->AsInteger());
    c.contains("j.Code", w.CodeFld);
    const QString name = textOf(w.NameFld);
    if (!name.isEmpty())
        b.withValue(S(" and (e.Name like %1 escape '\\' or e.NickName like %1 escape '\\')"),
            QLatin1Char('%') + TWhereBuilder::escapeLike(name) + QLatin1Char('%'));
    c.atLeast(d.AgeExpression(S("j.JoinDate")), w.WorkAge1Fld);
    c.atMost(d.AgeExpression(S("j.JoinDate")), w.WorkAge2Fld);
    c.equals("j.DutyName", w.DutyFld);
    c.equals("e.Diploma", w.DiplomaFld);
    c.equals("e.Sex", w.SexFld);
    c.contains("e.Tel", w.TelFld);
    c.equals("e.Folk", w.FolkFld);
    c.contains("e.Native", w.NativeFld);
    c.contains("e.School", w.SchoolFld);
    c.contains("e.IdCode", w.IdCodeFld);
    c.equals("e.IsMry", w.MarryFld);
    c.equals("j.ComeFrom", w.ComeFromFld);
    c.equals("j.EmployType", w.EmployTypeFld);
    c.equals("e.Party", w.PartyFld);
    c.equals("e.Degree", w.DegreeFld);
    const QString keyword = textOf(w.KeywordFld);
    if (!keyword.isEmpty())
        addKeyword(b, keyword);
    c.equals("e.Milivice", w.MiliviceFld);
    c.atLeast(S("e.Stature"), w.Stature1Fld);
    c.atMost(S("e.Stature"), w.Stature2Fld);
    c.equals("e.Bloodtype", w.BloodtypeFld);
    c.equals("e.Religion", w.ReligionFld);
    c.dateFrom("e.GraduateDate", w.GraduateDate1Fld);
    c.dateUpTo("e.GraduateDate", w.GraduateDate2Fld);
    c.equals("e.JobTitle", w.JobTitleFld);
    c.dateFrom("j.JoinDate", w.Joindate1Fld);
    c.dateUpTo("j.JoinDate", w.Joindate2Fld);
    c.contains("j.BankId", w.BankIdFld);
    c.contains("j.YangBaoId", w.YangBaoIdFld);
    c.contains("j.YiBaoId", w.YiBaoIdFld);
    if (!w.DisyesFld->IsNull()) {
        // "Today" is the server's: every workstation then agrees on who has left.
        // An applicant is an employee row without a joining row: interviewed,
        // never taken on, and so not on duty.
        b.raw(w.DisyesFld->AsBoolean()
                ? S(" and (d.DisDate<Date())")
                : S(" and (j.EmpId is not null) and (d.DisDate is null or d.DisDate>=Date())"));
    }
    if (positive(w.DisMonthFld))
        b.raw(QStringLiteral(" and year(d.DisDate)=year(Date()) and month(d.DisDate)=%1")
                  .arg(w.DisMonthFld->AsInteger()));
    if (!w.TryingFld->IsNull() && w.TryingFld->AsBoolean())
        b.raw(S(" and (not t.TryDate1 is null) and (t.TestDate is null)"));
    if (positive(w.TryMonthFld))
        b.raw(QStringLiteral(" and year(t.TryDate2)=year(Date()) and month(t.TryDate2)=%1")
                  .arg(w.TryMonthFld->AsInteger()));
    const QString now = d.NowFunction();
    if (!w.ContractHintFld->IsNull() && w.ContractHintFld->AsBoolean())
        b.raw(QStringLiteral(
            " and e.Id in (select distinct EmpId from contracts where Invalidate > %1 and "
            "Invalidate - %1 <= %2)")
                  .arg(now)
                  .arg(settingsInt(122)));
    if (!w.CertHintFld->IsNull() && w.CertHintFld->AsBoolean())
        b.raw(QStringLiteral(
            " and e.Id in (select distinct EmpId from certificates where ValidateTo > %1 and "
            "ValidateTo - %1 <= %2)")
                  .arg(now)
                  .arg(settingsInt(123)));

    c.equals("d.DisType", w.DisTypeFld);
    c.dateFrom("d.DisDate", w.DisDate1Fld);
    c.dateUpTo("d.DisDate", w.DisDate2Fld);
    c.contains("d.Dismarks", w.DismarksFld);
    c.equals("d.Disman", w.DismanFld);

    QString where = b.text();
    if (!where.isEmpty())
        where.replace(0, 5, S(" where "));
    const int year = QDate::currentDate().year();
    TEmployeeQuery query;
    query.sql = QStringLiteral("select e.*, j.*, a.Name as DutyDeptName, d.Disdate, d.Distype, "
                               "d.Disman, d.Dismarks, "
                               "t.*, t.EmpId as TryId, (%1-year(e.Birthday)) as Age, "
                               "(%2-year(j.JoinDate)) as AgeOfWork")
                    .arg(year)
                    .arg(year + 1)
        + QLatin1String(employeeFrom) + where + S(" order by e.Id");
    query.params = b.params();
    return query;
}

int BuildEmployeeQuery(TEmployeeSet &set, TEmployeeWhere &where)
{
    const TEmployeeQuery query = BuildEmployeeQuery(where);
    return set.Open(query.sql, query.params);
}

bool FindEmployee(int id, int direction, REmployees &result)
{
    QString condition;
    if (direction == 0)
        condition = S("e.Id=:Id");
    else if (direction > 0)
        condition = S("e.Id>:Id");
    else
        condition = S("e.Id<:Id");
    const QString order = direction == 0 ? QString()
        : direction > 0                  ? S(" order by e.Id")
                                         : S(" order by e.Id desc");
    TDataSet probe;
    TheDatabase->Fill(probe,
        S("select top 1 e.Id from employee e left join empjoin j on e.Id=j.EmpId where ")
            + condition + DeptRestriction() + order,
        {MakeParameter(S("Id"), id)});
    const int found = probe.IsEmpty() ? 0 : probe.Fields(0)->AsInteger();

    TEmployeeWhere where;
    where.EmpIdFld->SetValue(found);
    TEmployeeSet set;
    if (BuildEmployeeQuery(set, where) == 0)
        return false;
    result = set.ReadEmployees();
    return true;
}
