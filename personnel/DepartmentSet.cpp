#include "DepartmentSet.h"

#include "EntitySet.h"
#include "Error.h"
#include "Operator.h"

#include <QMap>
#include <QSet>
#include <algorithm>

const QString TDepartmentSet::PathSeparator = QStringLiteral("/");
const QString TDepartmentSet::DeleteFailedText
    = QStringLiteral("删除类别失败，可能的原因是该类别下已有资料，这种情况是不能被删除的.\r\n"
                     "如果是初始使用，请选择“文件”菜单里的初始数据功能来清除. 系统描述如下:\r\n");

TDepartmentSet *TheDepartments = nullptr;

namespace {

constexpr int CodeWidth = 50;

// A LIKE pattern matching code and every code that begins with it; the
// statement must declare "escape '\'", so that a stray "%" or "_" in a code
// cannot widen the match.
QString branchPattern(const QString &code)
{
    QString escaped = code;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return escaped + QLatin1Char('%');
}

bool inBranch(const QString &candidate, const QString &branch)
{
    return !branch.isEmpty() && candidate.startsWith(branch);
}

bool isTwoDigits(const QString &group)
{
    return group.size() == 2 && group.at(0).isDigit() && group.at(1).isDigit()
        && group.at(0).unicode() < 128 && group.at(1).unicode() < 128;
}

} // namespace

// ---------------------------------------------------------------- TDepartmentSet

TDepartmentSet::TDepartmentSet()
    : m_notifier(std::make_unique<TDepartmentNotifier>())
{
    AddFieldDef(
        FieldKind::WideString, QStringLiteral("Code"), CodeWidth, true, QStringLiteral("编码"));
    AddFieldDef(
        FieldKind::WideString, QStringLiteral("Name"), 30, true, QStringLiteral("类别名称"));
    AddFieldDef(
        FieldKind::WideString, QStringLiteral("Manager"), 30, true, QStringLiteral("联系人"));
    AddFieldDef(FieldKind::WideString, QStringLiteral("Tel"), 30, true, QStringLiteral("电话"));
    AddFieldDef(FieldKind::WideString, QStringLiteral("Fax"), 30, true, QStringLiteral("传真"));
    AddFieldDef(FieldKind::WideString, QStringLiteral("Address"), 50, true, QStringLiteral("地址"));
    AddFieldDef(FieldKind::WideString, QStringLiteral("Note"), 50, true, QStringLiteral("备注"));
    AddField(FieldKind::Integer, QStringLiteral("FatherIdx"), true, QStringLiteral("父节点位置"));
    AddField(FieldKind::Memo, QStringLiteral("Path"), true, QStringLiteral("类别全称"));
    CreateDataSet();
}

TDepartmentSet::~TDepartmentSet() = default;

TDatabase &TDepartmentSet::database() const
{
    TDatabase *db = m_db ? m_db : TheDatabase;
    if (!db)
        throw QmError(QStringLiteral("数据库没有连接"));
    return *db;
}

void TDepartmentSet::Load()
{
    TDataSet result;
    database().Fill(result,
        QStringLiteral(
            "select Code, Name, Manager, Tel, Fax, Address, [Note] from department order by Code"));
    std::vector<RDepartment> rows;
    rows.reserve(static_cast<size_t>(result.RecordCount()));
    for (int row = 0; row < result.RecordCount(); ++row) {
        RDepartment d;
        d.Code = result.ValueAt(row, 0).toString();
        d.Name = result.ValueAt(row, 1).toString();
        d.Manager = result.ValueAt(row, 2).toString();
        d.Tel = result.ValueAt(row, 3).toString();
        d.Fax = result.ValueAt(row, 4).toString();
        d.Address = result.ValueAt(row, 5).toString();
        d.Note = result.ValueAt(row, 6).toString();
        rows.push_back(std::move(d));
    }
    fillRows(std::move(rows));
}

void TDepartmentSet::fillRows(std::vector<RDepartment> rows)
{
    // The engines' collations need not agree on what sorts first; the tree
    // relies on plain character order, in which a parent precedes its branch.
    std::stable_sort(rows.begin(), rows.end(), [](const RDepartment &a, const RDepartment &b) {
        return QString::compare(a.Code, b.Code) < 0;
    });

    m_rows = std::move(rows);
    m_index.clear();
    for (int i = 0; i < Count(); ++i)
        m_index.insert(m_rows[static_cast<size_t>(i)].Code, i);

    // The parent is the row with the code shortened by one level; a row
    // whose parent is gone stands at the top rather than under whatever
    // happens to sort before it.
    for (RDepartment &d : m_rows) {
        d.FatherCode = ParentCode(d.Code);
        d.FatherPath.clear();
        const int parent = d.FatherCode.isEmpty() ? -1 : m_index.value(d.FatherCode, -1);
        d.FatherIdx = parent + 1;
        d.Path = parent >= 0 ? JoinPath(m_rows[static_cast<size_t>(parent)].Path, d.Name) : d.Name;
    }

    m_data->Close();
    m_data->CreateDataSet();
    for (const RDepartment &d : m_rows) {
        m_data->Append();
        m_data->Fields(0)->SetAsString(d.Code);
        m_data->Fields(1)->SetAsString(d.Name);
        m_data->Fields(2)->SetAsString(d.Manager);
        m_data->Fields(3)->SetAsString(d.Tel);
        m_data->Fields(4)->SetAsString(d.Fax);
        m_data->Fields(5)->SetAsString(d.Address);
        m_data->Fields(6)->SetAsString(d.Note);
        m_data->Fields(7)->SetAsInteger(d.FatherIdx);
        m_data->Fields(8)->SetAsString(d.Path);
        m_data->Post();
    }
    m_data->First();
    emit m_notifier->reloaded();
}

void TDepartmentSet::ReadRecord(RDepartment &record) const
{
    record = RDepartment();
    if (!m_data->Active() || m_data->IsEmpty())
        return;
    record.Code = m_data->FieldByName(QStringLiteral("Code"))->AsString();
    record.Name = m_data->FieldByName(QStringLiteral("Name"))->AsString();
    record.Manager = m_data->FieldByName(QStringLiteral("Manager"))->AsString();
    record.Tel = m_data->FieldByName(QStringLiteral("Tel"))->AsString();
    record.Fax = m_data->FieldByName(QStringLiteral("Fax"))->AsString();
    record.Address = m_data->FieldByName(QStringLiteral("Address"))->AsString();
    record.Note = m_data->FieldByName(QStringLiteral("Note"))->AsString();
    record.FatherIdx = m_data->FieldByName(QStringLiteral("FatherIdx"))->AsInteger();
    record.Path = m_data->FieldByName(QStringLiteral("Path"))->AsString();
    record.FatherCode = ParentCode(record.Code);
}

bool TDepartmentSet::AddDepartment(RDepartment &record)
{
    TDatabase &db = database();
    QString code;
    int affected = 0;
    Conventions::InTransaction(
        [&] {
            if (!record.FatherCode.isEmpty()) {
                TDataSet parent;
                db.Fill(parent, QStringLiteral("select Code from department where Code=:Code"),
                    {MakeParameter(QStringLiteral("Code"), record.FatherCode)});
                if (parent.IsEmpty())
                    throw QmError(QStringLiteral("上级部门(编码 %1)已不存在,不能在它下面添加部门.")
                                      .arg(record.FatherCode));
            }
            TDataSet children;
            db.Fill(children,
                QStringLiteral(
                    "select Code from department where Code like :Father order by Code desc"),
                {MakeParameter(
                    QStringLiteral("Father"), record.FatherCode + QStringLiteral("__"))});
            // Only codes of the digit scheme count: a foreign code in the
            // table must neither block the parent nor be numbered past.
            QString highest;
            for (int row = 0; row < children.RecordCount(); ++row) {
                const QString child = children.ValueAt(row, 0).toString();
                if (!child.startsWith(record.FatherCode) || !isTwoDigits(child.right(2)))
                    continue;
                if (highest.isEmpty() || QString::compare(child, highest) > 0)
                    highest = child;
            }
            code = NextChildCode(record.FatherCode, highest);
            affected = db.ExecSQL(
                QStringLiteral("insert into department(Code,Name,Manager,Tel,Fax,Address,[Note])"
                               "values(:Code,:Name,:Manager,:Tel,:Fax,:Address,:Note)"),
                {MakeParameter(QStringLiteral("Code"), code),
                    MakeParameter(QStringLiteral("Name"), record.Name),
                    MakeParameter(QStringLiteral("Manager"), record.Manager),
                    MakeParameter(QStringLiteral("Tel"), record.Tel),
                    MakeParameter(QStringLiteral("Fax"), record.Fax),
                    MakeParameter(QStringLiteral("Address"), record.Address),
                    MakeParameter(QStringLiteral("Note"), record.Note)});
        },
        &db);
    if (affected == 1)
        record.Code = code;
    Load();
    return affected == 1;
}

bool TDepartmentSet::UpdateDepartment(const RDepartment &record)
{
    const int affected = database().ExecSQL(
        QStringLiteral("update department set Name=:Name, Manager=:Manager, Tel=:Tel, Fax=:Fax, "
                       "Address=:Address, [Note]=:Note where Code=:Code"),
        {MakeParameter(QStringLiteral("Name"), record.Name),
            MakeParameter(QStringLiteral("Manager"), record.Manager),
            MakeParameter(QStringLiteral("Tel"), record.Tel),
            MakeParameter(QStringLiteral("Fax"), record.Fax),
            MakeParameter(QStringLiteral("Address"), record.Address),
            MakeParameter(QStringLiteral("Note"), record.Note),
            MakeParameter(QStringLiteral("Code"), record.Code)});
    Load();
    return affected == 1;
}

void TDepartmentSet::DeleteBranch(const QString &code)
{
    // An empty code would make the pattern "%" and empty the whole table.
    if (code.isEmpty())
        throw QmError(QStringLiteral("没有指定要删除的部门."));
    TDatabase &db = database();
    Conventions::InTransaction(
        [&] {
            const QString references = BranchReferences(code);
            if (!references.isEmpty())
                throw QmError(references);
            db.ExecSQL(QStringLiteral("delete from department where Code like :Code escape '\\'"),
                {MakeParameter(QStringLiteral("Code"), branchPattern(code))});
        },
        &db);
    Load();
}

QString TDepartmentSet::BranchReferences(const QString &code) const
{
    if (code.isEmpty())
        return QString();
    TDatabase &db = database();
    const QString pattern = branchPattern(code);

    // The name a finding is told by: the department's own, or its code when
    // no department carries it any more.
    QHash<QString, QString> names;
    {
        TDataSet rows;
        db.Fill(rows,
            QStringLiteral("select Code, Name from department where Code like :Code escape '\\'"),
            {MakeParameter(QStringLiteral("Code"), pattern)});
        for (int row = 0; row < rows.RecordCount(); ++row)
            names.insert(rows.ValueAt(row, 0).toString(), rows.ValueAt(row, 1).toString());
    }
    auto deptName = [&](const QString &c) {
        const QString name = names.value(c);
        return name.isEmpty() ? c : name;
    };

    QString text;

    // Rows of table whose code columns name a department of the branch,
    // counted once per row and department.
    auto countRows = [&](const QString &table, const QStringList &columns, const QString &line) {
        QStringList conditions;
        TDBParameters params;
        for (int i = 0; i < columns.size(); ++i) {
            const QString name = QStringLiteral("Code%1").arg(i);
            conditions << QStringLiteral("%1 like :%2 escape '\\'").arg(columns[i], name);
            params << MakeParameter(name, pattern);
        }
        TDataSet rows;
        db.Fill(rows,
            QStringLiteral("select %1 from %2 where %3")
                .arg(
                    columns.join(QLatin1Char(',')), table, conditions.join(QStringLiteral(" or "))),
            params);
        QMap<QString, int> counts;
        for (int row = 0; row < rows.RecordCount(); ++row) {
            QSet<QString> seen;
            for (int c = 0; c < columns.size(); ++c) {
                const QString value = rows.ValueAt(row, c).toString();
                if (inBranch(value, code) && !seen.contains(value)) {
                    seen.insert(value);
                    ++counts[value];
                }
            }
        }
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            text += QStringLiteral("\r\n部门 %1 ").arg(deptName(it.key())) + line.arg(it.value());
    };
    countRows(
        QStringLiteral("empjoin"), {QStringLiteral("DutyDeptId")}, QStringLiteral("有 %1 名职员"));
    countRows(QStringLiteral("empjoin"), {QStringLiteral("JoinDeptId")},
        QStringLiteral("是 %1 名职员的入职部门"));
    countRows(QStringLiteral("postmove"), {QStringLiteral("DeptId1"), QStringLiteral("DeptId2")},
        QStringLiteral("有 %1 条调职记录"));
    countRows(QStringLiteral("empjout"), {QStringLiteral("OutDeptId")},
        QStringLiteral("有 %1 条离职记录"));
    countRows(QStringLiteral("empback"), {QStringLiteral("BackDeptId")},
        QStringLiteral("有 %1 条复职记录"));
    countRows(QStringLiteral("gz_monthemp"), {QStringLiteral("EmpDeptId")},
        QStringLiteral("有 %1 条月工资记录"));

    // Operators whose visible departments name a department of the branch:
    // a later department under the same code would silently become visible.
    auto operatorLines = [&](const QMap<QString, QStringList> &byCode, const QString &what) {
        for (auto it = byCode.cbegin(); it != byCode.cend(); ++it)
            text += QStringLiteral("\r\n部门 %1 是操作员 %2 的%3")
                        .arg(deptName(it.key()), it.value().join(QStringLiteral("、")), what);
    };
    {
        TDataSet rows;
        db.Fill(rows,
            QStringLiteral(
                "select LoginId, DeptId from gz_operatordepts where DeptId like :Code escape '\\' "
                "order by LoginId"),
            {MakeParameter(QStringLiteral("Code"), pattern)});
        QMap<QString, QStringList> byCode;
        for (int row = 0; row < rows.RecordCount(); ++row) {
            const QString dept = rows.ValueAt(row, 1).toString();
            const QString login = rows.ValueAt(row, 0).toString();
            if (inBranch(dept, code) && !byCode[dept].contains(login))
                byCode[dept] << login;
        }
        operatorLines(byCode, QStringLiteral("工资查看部门"));
    }
    {
        TDataSet rows;
        db.Fill(rows, QStringLiteral("select LoginId, XRights from [operator] order by LoginId"));
        QMap<QString, QStringList> byCode;
        for (int row = 0; row < rows.RecordCount(); ++row) {
            const QString login = rows.ValueAt(row, 0).toString();
            for (const RShortDept &dept : ParseDeptRights(rows.ValueAt(row, 1).toString()).Depts) {
                const QString c = dept.Code.trimmed();
                if (inBranch(c, code) && !byCode[c].contains(login))
                    byCode[c] << login;
            }
        }
        operatorLines(byCode, QStringLiteral("职员查看部门"));
    }
    return text;
}

int TDepartmentSet::IndexOf(const QString &code) const
{
    return m_index.value(code, -1);
}

bool TDepartmentSet::Find(const QString &code, RDepartment *record) const
{
    const int index = IndexOf(code);
    if (index < 0)
        return false;
    if (record)
        *record = At(index);
    return true;
}

QString TDepartmentSet::NameOf(const QString &code) const
{
    const int index = IndexOf(code);
    return index < 0 ? QString() : At(index).Name;
}

QString TDepartmentSet::PathOf(const QString &code) const
{
    const int index = IndexOf(code);
    return index < 0 ? QString() : At(index).Path;
}

RDepartments TDepartmentSet::Children(const QString &code) const
{
    RDepartments children;
    const int parent = code.isEmpty() ? -1 : IndexOf(code);
    if (!code.isEmpty() && parent < 0)
        return children;
    for (const RDepartment &d : m_rows) {
        if (d.FatherIdx == parent + 1)
            children.append(d);
    }
    return children;
}

QStringList TDepartmentSet::BranchCodes(const QString &code) const
{
    QStringList codes;
    for (const RDepartment &d : m_rows) {
        if (d.Code == code || inBranch(d.Code, code))
            codes << d.Code;
    }
    return codes;
}

QString TDepartmentSet::ParentCode(const QString &code)
{
    return code.size() <= 2 ? QString() : code.left(code.size() - 2);
}

bool TDepartmentSet::IsBelow(const QString &code, const QString &ancestor)
{
    return code.size() > ancestor.size() && inBranch(code, ancestor);
}

QString TDepartmentSet::NextChildCode(const QString &fatherCode, const QString &highestChild)
{
    if (fatherCode.size() + 2 > CodeWidth)
        throw QmError(
            QStringLiteral("对不起, 部门最多只能有 %1 级, 不能再添加下级部门.").arg(CodeWidth / 2));
    if (highestChild.isEmpty())
        return fatherCode + QStringLiteral("00");
    const QString group = highestChild.right(2);
    if (!isTwoDigits(group))
        throw QmError(QStringLiteral("对不起, 部门编码 %1 不是两位数字的编码, 无法为新部门编号.")
                          .arg(highestChild));
    const int next = group.toInt() + 1;
    if (next > 99)
        throw QmError(QStringLiteral(
            "对不起, 该部门下已有编码到 99 的子部门, 不能再添加(每个部门最多 100 个直属子部门)."));
    return fatherCode + QStringLiteral("%1").arg(next, 2, 10, QLatin1Char('0'));
}

QString TDepartmentSet::JoinPath(const QString &fatherPath, const QString &name)
{
    return fatherPath.isEmpty() ? name : fatherPath + PathSeparator + name;
}

TDepartmentSet *CreateDepartments()
{
    if (!TheDepartments)
        TheDepartments = new TDepartmentSet;
    return TheDepartments;
}

void FreeDepartments()
{
    delete TheDepartments;
    TheDepartments = nullptr;
}

// ---------------------------------------------------------------- TDeptIdField

TDeptIdField::TDeptIdField(
    TDataSet *set, const QString &codeField, const QString &nameField, const QString &pathField)
    : QObject(set)
    , m_set(set)
    , m_code(codeField)
    , m_name(nameField)
    , m_path(pathField)
{
    set->AddField(FieldKind::WideString, codeField, CodeWidth, true, QStringLiteral("部门编码"));
    set->AddField(FieldKind::WideString, nameField, 30, true, QStringLiteral("部门名称"));
    set->AddField(FieldKind::WideString, pathField, 250, true, QStringLiteral("所在部门"));

    connect(set, &TDataSet::dataReset, this, [this] { Resolve(); });
    connect(set, &TDataSet::rowChanged, this, [this](int row) { resolveRow(row); });
    connect(set, &TDataSet::rowInserted, this, [this](int row) { resolveRow(row); });
    if (TheDepartments)
        connect(TheDepartments->Notifier(), &TDepartmentNotifier::reloaded, this,
            [this] { Resolve(); });
}

TField *TDeptIdField::CodeField() const
{
    return m_set->FieldByName(m_code);
}

TField *TDeptIdField::NameField() const
{
    return m_set->FieldByName(m_name);
}

TField *TDeptIdField::PathField() const
{
    return m_set->FieldByName(m_path);
}

QString TDeptIdField::SelectColumns() const
{
    return QStringLiteral(", '' as %1, '' as %2").arg(m_name, m_path);
}

QString TDeptIdField::Name() const
{
    return TheDepartments ? TheDepartments->NameOf(CodeField()->AsString()) : QString();
}

QString TDeptIdField::Path() const
{
    return TheDepartments ? TheDepartments->PathOf(CodeField()->AsString()) : QString();
}

bool TDeptIdField::needsUpdate(int row) const
{
    const QString code = m_set->ValueAt(row, CodeField()->Index()).toString();
    const QString name = TheDepartments ? TheDepartments->NameOf(code) : QString();
    const QString path = TheDepartments ? TheDepartments->PathOf(code) : QString();
    return m_set->ValueAt(row, NameField()->Index()).toString() != name
        || m_set->ValueAt(row, PathField()->Index()).toString() != path;
}

void TDeptIdField::resolveRow(int row)
{
    if (m_busy || !m_set->Active() || m_set->IsEditing() || row < 0 || row >= m_set->RecordCount()
        || !needsUpdate(row))
        return;
    m_busy = true;
    const int current = m_set->CurrentRow();
    try {
        m_set->SetCurrentRow(row);
        m_set->Edit();
        NameField()->SetAsString(Name());
        PathField()->SetAsString(Path());
        m_set->Post();
        if (current >= 0 && current != row)
            m_set->SetCurrentRow(current);
    } catch (...) {
        m_set->Cancel();
        m_busy = false;
        throw;
    }
    m_busy = false;
}

void TDeptIdField::Resolve()
{
    if (m_busy || !m_set->Active())
        return;
    if (m_set->IsEditing()) {
        NameField()->SetAsString(Name());
        PathField()->SetAsString(Path());
        return;
    }
    const int current = m_set->CurrentRow();
    for (int row = 0; row < m_set->RecordCount(); ++row)
        resolveRow(row);
    if (current >= 0 && current < m_set->RecordCount() && m_set->CurrentRow() != current)
        m_set->SetCurrentRow(current);
}
