#include "PostmoveSet.h"

#include "Database.h"
#include "Error.h"
#include "FieldLabels.h"

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

const QString SelectList = QStringLiteral(
    "select p.*, ej.Code as EmpCode, e.Name as EmpName from postmove p, employee e, empjoin ej ");

// The employee's latest move: by date (a move without one counts as the
// oldest), then by id.
const QString LatestMove = QStringLiteral(
    "select top 1 Id, DeptId2, Duty2, MoveDate from postmove where EmpId=:EmpId "
    "order by case when MoveDate is null then 0 else 1 end desc, MoveDate desc, Id desc");

const QString UpdatePost
    = QStringLiteral("update empjoin set DutyDeptId=:DeptId, DutyName=:DutyName, "
                     "DutyDate=:DutyDate where EmpId=:EmpId ");
// Back to the post held before the first move: the one taken on joining.
const QString UpdatePostSinceJoining
    = QStringLiteral("update empjoin set DutyDeptId=:DeptId, DutyName=:DutyName, DutyDate=JoinDate "
                     "where EmpId=:EmpId ");

int latestMoveId(TDatabase &db, int empId)
{
    TDataSet latest;
    db.Fill(latest, LatestMove, {MakeParameter(QStringLiteral("EmpId"), empId)});
    return latest.IsEmpty() ? 0 : latest.FieldByName(QStringLiteral("Id"))->AsInteger();
}

TDatabase &database()
{
    if (!TheDatabase)
        throw QmError(QStringLiteral("没有数据库连接"));
    return *TheDatabase;
}

bool storeMove(RPostmove &move)
{
    ModuleRows::RequireEmployee(move.EmpId);
    const TModuleSpec<RPostmove> &spec = PostmoveModule();
    TDatabase &db = database();
    int id = move.Id;
    Conventions::InTransaction(
        [&] {
            if (!Conventions::TryStoreRow(
                    spec.Writes, id, spec.Layout.parameters(move, spec.Writes.columns), {}, &db))
                throw QmError(spec.Writes.failMessage);
            if (latestMoveId(db, move.EmpId) != id)
                return;
            const TDBParameters post{MakeParameter(QStringLiteral("DeptId"), move.DeptId2),
                MakeParameter(QStringLiteral("DutyName"), move.Duty2),
                MakeParameter(QStringLiteral("DutyDate"), move.MoveDate),
                MakeParameter(QStringLiteral("EmpId"), move.EmpId)};
            if (db.ExecSQL(UpdatePost, post) != 1)
                throw QmError(S("更新empjoin失败, 没有返回成功的标志."));
        },
        &db);
    // Only once committed: a rolled-back move keeps being new.
    move.Id = id;
    return true;
}

bool deleteMove(int id)
{
    TDatabase &db = database();
    bool deleted = false;
    Conventions::InTransaction(
        [&] {
            TDataSet move;
            db.Fill(move, QStringLiteral("select EmpId, DeptId1, Duty1 from postmove where Id=:Id"),
                {MakeParameter(QStringLiteral("Id"), id)});
            if (move.IsEmpty())
                return;
            const int empId = move.FieldByName(QStringLiteral("EmpId"))->AsInteger();
            const bool wasLatest = latestMoveId(db, empId) == id;
            if (db.ExecSQL(QStringLiteral("delete from postmove where Id=:Id"),
                    {MakeParameter(QStringLiteral("Id"), id)})
                != 1)
                return;
            deleted = true;
            if (!wasLatest)
                return;
            TDataSet previous;
            db.Fill(previous, LatestMove, {MakeParameter(QStringLiteral("EmpId"), empId)});
            if (!previous.IsEmpty()) {
                db.ExecSQL(UpdatePost,
                    {MakeParameter(QStringLiteral("DeptId"),
                         previous.FieldByName(QStringLiteral("DeptId2"))->Value()),
                        MakeParameter(QStringLiteral("DutyName"),
                            previous.FieldByName(QStringLiteral("Duty2"))->Value()),
                        MakeParameter(QStringLiteral("DutyDate"),
                            previous.FieldByName(QStringLiteral("MoveDate"))->Value()),
                        MakeParameter(QStringLiteral("EmpId"), empId)});
            } else {
                db.ExecSQL(UpdatePostSinceJoining,
                    {MakeParameter(QStringLiteral("DeptId"),
                         move.FieldByName(QStringLiteral("DeptId1"))->Value()),
                        MakeParameter(QStringLiteral("DutyName"),
                            move.FieldByName(QStringLiteral("Duty1"))->Value()),
                        MakeParameter(QStringLiteral("EmpId"), empId)});
            }
        },
        &db);
    return deleted;
}

void declareFields(TQuerySet &set)
{
    set.AddField(FieldKind::Integer, QStringLiteral("Id"), -1, false, QStringLiteral("Id"));
    set.AddField(FieldKind::Integer, QStringLiteral("EmpId"), -1, false);
    set.AddField(FieldKind::WideString, QStringLiteral("EmpCode"), 50, true, FieldLabels.Code);
    set.AddField(FieldKind::WideString, QStringLiteral("EmpName"), 50, true, S("姓名"));
    set.AddField(FieldKind::DateTime, QStringLiteral("MoveDate"), -1, true, S("调动日期"));
    set.AddField(FieldKind::WideString, QStringLiteral("DeptId1"), 50, false, S("调前部门Id"));
    set.AddField(FieldKind::WideString, QStringLiteral("DeptName1"), 250, true, S("调前部门"));
    set.AddField(FieldKind::WideString, QStringLiteral("DeptId2"), 50, false, S("调后部门Id"));
    set.AddField(FieldKind::WideString, QStringLiteral("DeptName2"), 250, true, S("调后部门"));
    set.AddField(FieldKind::WideString, QStringLiteral("Duty1"), 50, true, DutyCaption(S("调前")));
    set.AddField(FieldKind::WideString, QStringLiteral("Duty2"), 50, true, DutyCaption(S("调后")));
    set.AddField(FieldKind::WideString, QStringLiteral("Sanctionman"), 50, true, S("批准人"));
    set.AddField(FieldKind::WideString, QStringLiteral("MoveReason"), 250, true, S("调动原因"));
    set.AddField(FieldKind::Memo, QStringLiteral("MoveNote"), -1, true, S("备注"));
    // Columns as wide as their usual contents, not as their sizes.
    for (const auto &[name, chars] : std::initializer_list<std::pair<const char *, int>>{
             {"EmpCode", 12}, {"EmpName", 10}, {"DeptName1", 16}, {"DeptName2", 16}, {"Duty1", 10},
             {"Duty2", 10}, {"Sanctionman", 10}, {"MoveReason", 16}, {"MoveNote", 24}})
        set.FieldByName(QLatin1String(name))->SetDisplayWidth(chars);
}

QVector<TFindItem> findPanel()
{
    return {
        {QStringLiteral("MoveDate1"), S("调职日期"), TFindControl::Date},
        {QStringLiteral("MoveDate2"), S("截止日期"), TFindControl::Date},
        {QStringLiteral("EmpCode"), FieldLabels.Code},
        {QStringLiteral("EmpName"), S("职员姓名")},
        {QStringLiteral("Dept1"), S("调前部门")},
        {QStringLiteral("Dept2"), S("调后部门")},
        {QStringLiteral("Duty1"), DutyCaption(S("调前")), TFindControl::PickList, 2},
        {QStringLiteral("Duty2"), DutyCaption(S("调后")), TFindControl::PickList, 2},
        {QStringLiteral("MoveReason"), S("调动原因"), TFindControl::PickList, 10},
        {QStringLiteral("Sanctionman"), S("批准人"), TFindControl::PickList, 9},
        {QStringLiteral("MoveNote"), S("备    注")},
    };
}

TModuleSpec<RPostmove> makeSpec()
{
    TModuleSpec<RPostmove> spec;
    spec.Name = QStringLiteral("Postmove");
    spec.ListCaption = S("调职查询");
    spec.EditCaption = S("调职");
    spec.ListTag = 1;
    spec.FrameTag = 32;
    spec.ListReportGroup = 3;
    spec.RecordReportGroup = 11;
    spec.NewRight = 13;
    spec.SaveRight = 13;
    spec.DeleteRight = 14;
    spec.FrameDeleteRight = 14;
    spec.DeleteQuestion = S("\r确定要删除记录吗?\t");
    spec.DeleteFailed = S("没有成功删除该记录");
    spec.SaveFailed = S("\r\n保存操作失败,原因不确定.\t");
    spec.CloseQuestion = S("\r调职信息已修改, 是否保存?\t\t");
    spec.NeighbourAfterDelete = true;
    spec.FindPanel = findPanel;

    spec.Writes = {QStringLiteral("postmove"), QStringLiteral("Id"),
        {QStringLiteral("EmpId"), QStringLiteral("MoveDate"), QStringLiteral("DeptId1"),
            QStringLiteral("DeptId2"), QStringLiteral("DeptName1"), QStringLiteral("DeptName2"),
            QStringLiteral("Duty1"), QStringLiteral("Duty2"), QStringLiteral("Sanctionman"),
            QStringLiteral("MoveReason"), QStringLiteral("MoveNote")},
        S("没有返回postmove的成功标记.")};
    spec.Layout.integer(QStringLiteral("Id"), &RPostmove::Id)
        .integer(QStringLiteral("EmpId"), &RPostmove::EmpId)
        .text(QStringLiteral("EmpCode"), &RPostmove::EmpCode)
        .text(QStringLiteral("EmpName"), &RPostmove::EmpName)
        .date(QStringLiteral("MoveDate"), &RPostmove::MoveDate)
        .text(QStringLiteral("DeptId1"), &RPostmove::DeptId1)
        .text(QStringLiteral("DeptId2"), &RPostmove::DeptId2)
        .text(QStringLiteral("DeptName1"), &RPostmove::DeptName1)
        .text(QStringLiteral("DeptName2"), &RPostmove::DeptName2)
        .text(QStringLiteral("Duty1"), &RPostmove::Duty1)
        .text(QStringLiteral("Duty2"), &RPostmove::Duty2)
        .text(QStringLiteral("Sanctionman"), &RPostmove::Sanctionman)
        .text(QStringLiteral("MoveReason"), &RPostmove::MoveReason)
        .text(QStringLiteral("MoveNote"), &RPostmove::MoveNote);
    // Rows in the order they were recorded.
    spec.ListSql
        = SelectList + QStringLiteral("where p.EmpId=e.Id and ej.EmpId=e.Id %s order by p.Id");
    spec.FetchSql = QStringLiteral("select top 1 p.*, ej.Code as EmpCode, e.Name as EmpName ")
        + QStringLiteral(
            "from postmove p, employee e, empjoin ej where p.EmpId=e.Id and e.Id=ej.EmpId and %s");
    spec.KeyExpression = QStringLiteral("p.Id");
    spec.Style = TPostStyle::StoreFirst;
    spec.DeclareFields = declareFields;
    spec.MakeWhere = [] {
        return std::make_unique<TPostmoveWhere>();
    };
    spec.Store = storeMove;
    spec.DeleteById = deleteMove;
    return spec;
}

} // namespace

const TModuleSpec<RPostmove> &PostmoveModule()
{
    static const TModuleSpec<RPostmove> spec = makeSpec();
    return spec;
}

TPostmoveWhere::TPostmoveWhere()
    : TModuleWhere(QStringLiteral("p"),
        {
            {QStringLiteral("MoveDate1"), TClause::DateFrom, QStringLiteral("p.MoveDate")},
            {QStringLiteral("MoveDate2"), TClause::DateTo, QStringLiteral("p.MoveDate")},
            {QStringLiteral("Dept1"), TClause::Contains, QStringLiteral("p.DeptName1")},
            {QStringLiteral("Dept2"), TClause::Contains, QStringLiteral("p.DeptName2")},
            {QStringLiteral("Duty1"), TClause::Contains, QStringLiteral("p.Duty1")},
            {QStringLiteral("Duty2"), TClause::Contains, QStringLiteral("p.Duty2")},
            {QStringLiteral("Sanctionman"), TClause::TextEquals, QStringLiteral("p.Sanctionman")},
            {QStringLiteral("MoveReason"), TClause::Contains, QStringLiteral("p.MoveReason")},
            {QStringLiteral("MoveNote"), TClause::Contains, QStringLiteral("p.MoveNote")},
        })
{
    MoveDate1Fld = Criterion(QStringLiteral("MoveDate1"));
    MoveDate2Fld = Criterion(QStringLiteral("MoveDate2"));
    Dept1Fld = Criterion(QStringLiteral("Dept1"));
    Dept2Fld = Criterion(QStringLiteral("Dept2"));
    Duty1Fld = Criterion(QStringLiteral("Duty1"));
    Duty2Fld = Criterion(QStringLiteral("Duty2"));
    SanctionmanFld = Criterion(QStringLiteral("Sanctionman"));
    MoveReasonFld = Criterion(QStringLiteral("MoveReason"));
    MoveNoteFld = Criterion(QStringLiteral("MoveNote"));
}
