#include "VacationSet.h"

#include "DepartmentSet.h"
#include "FieldLabels.h"

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

// Days count both the first and the last day: a leave of one day is 1.
const QString SelectList = QStringLiteral(
    "select v.*, datediff(d, v.Bgndate, v.Endate)+1 as Vadays, ej.Code as EmpCode, e.Name as "
    "EmpName, "
    "ej.DutyDeptId as EmpDeptId, '' as EmpDeptName, '' as EmpDeptPath "
    "from vacation v, employee e, empjoin ej where v.EmpId=e.Id and e.Id=ej.EmpId ");

void declareFields(TQuerySet &set)
{
    set.AddField(FieldKind::Integer, QStringLiteral("Id"), -1, true, QStringLiteral("Id"));
    set.AddField(FieldKind::Integer, QStringLiteral("EmpId"), -1, true);
    set.AddField(FieldKind::WideString, QStringLiteral("EmpCode"), 50, true, FieldLabels.Code);
    set.AddField(FieldKind::WideString, QStringLiteral("EmpName"), 50, true, S("姓名"));
    new TDeptIdField(set.Query(), QStringLiteral("EmpDeptId"), QStringLiteral("EmpDeptName"),
        QStringLiteral("EmpDeptPath"));
    set.AddField(FieldKind::DateTime, QStringLiteral("Appdate"), -1, true, S("申请日期"));
    set.AddField(FieldKind::WideString, QStringLiteral("Typ"), 20, true, S("休假类型"));
    set.AddField(FieldKind::DateTime, QStringLiteral("Bgndate"), -1, true, S("开始日期"));
    set.AddField(FieldKind::DateTime, QStringLiteral("Endate"), -1, true, S("截止日期"));
    set.AddField(FieldKind::Integer, QStringLiteral("Vadays"), -1, true, S("休假天数"));
    set.AddField(FieldKind::WideString, QStringLiteral("Sanctionman"), 30, true, S("批准人"));
    set.AddField(FieldKind::Memo, QStringLiteral("Remarks"), -1, true, S("备注"));
    set.AddField(FieldKind::DateTime, QStringLiteral("Termdate"), -1, true, S("销假日期"));
    // Columns as wide as their usual contents, not as their sizes.
    for (const auto &[name, chars] : std::initializer_list<std::pair<const char *, int>>{{"Id", 5},
             {"EmpId", 6}, {"EmpCode", 12}, {"EmpName", 10}, {"EmpDeptId", 10}, {"EmpDeptName", 14},
             {"EmpDeptPath", 20}, {"Typ", 8}, {"Vadays", 6}, {"Sanctionman", 10}, {"Remarks", 24}})
        set.FieldByName(QLatin1String(name))->SetDisplayWidth(chars);
}

QVector<TFindItem> findPanel()
{
    return {
        {QStringLiteral("EmpCode"), FieldLabels.Code},
        {QStringLiteral("EmpName"), S("职员姓名")},
        {QStringLiteral("Bgndate1"), S("开始日期"), TFindControl::Date},
        {QStringLiteral("Bgndate2"), S("截止"), TFindControl::Date},
        {QStringLiteral("Endate1"), S("截止日期"), TFindControl::Date},
        {QStringLiteral("Endate2"), S("截止"), TFindControl::Date},
        {QStringLiteral("Typ"), S("休假类型"), TFindControl::PickList, 15},
        {QStringLiteral("Sanctionman"), S("批准人"), TFindControl::PickList, 9},
        {QStringLiteral("Remarks"), S("备    注")},
    };
}

TModuleSpec<RVacation> makeSpec()
{
    TModuleSpec<RVacation> spec;
    spec.Name = QStringLiteral("Vacation");
    spec.ListCaption = S("休假记录");
    spec.EditCaption = S("休假");
    spec.ListTag = 6;
    spec.FrameTag = 34;
    spec.ListReportGroup = 7;
    spec.RecordReportGroup = 12;
    spec.NewRight = -1;
    spec.SaveRight = 25;
    spec.DeleteRight = 26;
    spec.FrameDeleteRight = 26;
    spec.DeleteQuestion = S("确定要撤消该休假记录吗?");
    spec.DeleteFailed = S("没有成功撤消该记录");
    spec.SaveFailed = S("\r保存失败, 记录不存在或被删除\t");
    spec.CloseQuestion = S("\r休假信息已修改, 是否保存?\t\t");
    spec.NeighbourAfterDelete = false;
    spec.FindPanel = findPanel;

    spec.Writes = {QStringLiteral("vacation"), QStringLiteral("Id"),
        {QStringLiteral("EmpId"), QStringLiteral("Appdate"), QStringLiteral("Typ"),
            QStringLiteral("Bgndate"), QStringLiteral("Endate"), QStringLiteral("Sanctionman"),
            QStringLiteral("Remarks"), QStringLiteral("Termdate")},
        S("没有返回vacation的成功标记.")};
    spec.Layout.integer(QStringLiteral("Id"), &RVacation::Id)
        .integer(QStringLiteral("EmpId"), &RVacation::EmpId)
        .text(QStringLiteral("EmpCode"), &RVacation::EmpCode)
        .text(QStringLiteral("EmpName"), &RVacation::EmpName)
        .date(QStringLiteral("Appdate"), &RVacation::Appdate)
        .text(QStringLiteral("Typ"), &RVacation::Typ)
        .date(QStringLiteral("Bgndate"), &RVacation::Bgndate)
        .date(QStringLiteral("Endate"), &RVacation::Endate)
        .text(QStringLiteral("Sanctionman"), &RVacation::Sanctionman)
        .text(QStringLiteral("Remarks"), &RVacation::Remarks)
        .date(QStringLiteral("Termdate"), &RVacation::Termdate);
    spec.ListSql = SelectList + QStringLiteral("%s order by v.Id");
    spec.FetchSql = QStringLiteral("select top 1 ") + SelectList.mid(7) + QStringLiteral("and %s");
    spec.KeyExpression = QStringLiteral("v.Id");
    spec.Style = TPostStyle::StoreFirst;
    spec.DeclareFields = declareFields;
    spec.MakeWhere = [] {
        return std::make_unique<TVacationWhere>();
    };
    return spec;
}

} // namespace

const TModuleSpec<RVacation> &VacationModule()
{
    static const TModuleSpec<RVacation> spec = makeSpec();
    return spec;
}

TVacationWhere::TVacationWhere()
    : TModuleWhere(QStringLiteral("v"),
        {
            {QStringLiteral("Typ"), TClause::TextEquals, QStringLiteral("v.Typ")},
            {QStringLiteral("Bgndate1"), TClause::DateFrom, QStringLiteral("v.Bgndate")},
            {QStringLiteral("Bgndate2"), TClause::DateTo, QStringLiteral("v.Bgndate")},
            {QStringLiteral("Endate1"), TClause::DateFrom, QStringLiteral("v.Endate")},
            {QStringLiteral("Endate2"), TClause::DateTo, QStringLiteral("v.Endate")},
            {QStringLiteral("Sanctionman"), TClause::TextEquals, QStringLiteral("v.Sanctionman")},
            {QStringLiteral("Remarks"), TClause::Contains, QStringLiteral("v.Remarks")},
        })
{
    TypFld = Criterion(QStringLiteral("Typ"));
    Bgndate1Fld = Criterion(QStringLiteral("Bgndate1"));
    Bgndate2Fld = Criterion(QStringLiteral("Bgndate2"));
    Endate1Fld = Criterion(QStringLiteral("Endate1"));
    Endate2Fld = Criterion(QStringLiteral("Endate2"));
    SanctionmanFld = Criterion(QStringLiteral("Sanctionman"));
    RemarksFld = Criterion(QStringLiteral("Remarks"));
}
