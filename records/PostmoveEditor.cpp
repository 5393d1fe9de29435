#include "PostmoveEditor.h"

#include "DepartmentSet.h"
#include "DeptPick.h"
#include "EmployeeSet.h"
#include "FieldLabels.h"
#include "Pub.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TPostmoveEditFrm::TPostmoveEditFrm(QWidget *parent)
    : TModuleEditFrm<RPostmove>(PostmoveModule(), parent)
{
    const QString code = FieldLabels.Code;
    ViewText(QStringLiteral("vwEmpName1"), S("职员"), &RPostmove::EmpName);
    ViewText(QStringLiteral("vwEmpCode1"), code, &RPostmove::EmpCode);
    ViewDate(QStringLiteral("vwMoveDate1"), S("调动日期"), &RPostmove::MoveDate);
    ViewText(QStringLiteral("vwDeptName11"), S("调前部门"), &RPostmove::DeptName1);
    ViewText(QStringLiteral("vwDeptName21"), S("调后部门"), &RPostmove::DeptName2);
    ViewText(QStringLiteral("vwDuty11"), DutyCaption(S("调前")), &RPostmove::Duty1);
    ViewText(QStringLiteral("vwDuty21"), DutyCaption(S("调后")), &RPostmove::Duty2);
    ViewText(QStringLiteral("vwMoveReason1"), S("调动原因"), &RPostmove::MoveReason);
    ViewText(QStringLiteral("vwSanctionman1"), S("批准人"), &RPostmove::Sanctionman);
    ViewMemo(QStringLiteral("vwMoveNote1"), S("调动说明"), &RPostmove::MoveNote);

    EditEmployee(code);
    edtMoveDate1
        = EditDate(QStringLiteral("edtMoveDate1"), S("调动日期"), &RPostmove::MoveDate, false);
    EditText(QStringLiteral("edtDeptName11"), S("调前部门"), &RPostmove::DeptName1)
        ->setEnabled(false);
    EditText(QStringLiteral("edtDuty11"), DutyCaption(S("调前")), &RPostmove::Duty1)
        ->setEnabled(false);

    auto *dept = new QWidget(this);
    edtDeptName21 = new QLineEdit(dept);
    edtDeptName21->setObjectName(QStringLiteral("edtDeptName21"));
    edtDeptName21->setReadOnly(true);
    btnDept21 = new QPushButton(QStringLiteral("..."), dept);
    btnDept21->setObjectName(QStringLiteral("btnDept21"));
    btnDept21->setAutoDefault(false);
    btnDept21->setFixedWidth(28);
    auto *deptRow = new QHBoxLayout(dept);
    deptRow->setContentsMargins(0, 0, 0, 0);
    deptRow->addWidget(edtDeptName21, 1);
    deptRow->addWidget(btnDept21);
    AddEditRow(S("调后部门"), dept);
    AddEditor([this](const RPostmove &m) { SetNewDepartment(m.DeptId2, m.DeptName2); },
        [this](RPostmove &m) {
            m.DeptId2 = m_dept2Code;
            m.DeptName2 = edtDeptName21->text();
        });
    connect(btnDept21, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { btnDept2Click(); }); });

    cmbDuty21 = EditPick(QStringLiteral("cmbDuty21"), DutyCaption(S("调后")), &RPostmove::Duty2, 2);
    cmbMoveReason1
        = EditPick(QStringLiteral("cmbMoveReason1"), S("调动原因"), &RPostmove::MoveReason, 10);
    cmbSanctionman1
        = EditPick(QStringLiteral("cmbSanctionman1"), S("批准人"), &RPostmove::Sanctionman, 9);
    EditMemo(QStringLiteral("edtMoveNote1"), S("调动说明"), &RPostmove::MoveNote);
}

void TPostmoveEditFrm::NewFor(const REmployee &employee)
{
    RPostmove move;
    move.MoveDate = QDateTime::currentDateTime();
    move.EmpId = employee.Id;
    move.EmpName = employee.Name;
    move.EmpCode = employee.Code;
    move.DeptId1 = employee.DutyDeptId;
    move.DeptName1 = !employee.DutyDeptName.isEmpty() || !TheDepartments
        ? employee.DutyDeptName
        : TheDepartments->NameOf(employee.DutyDeptId);
    move.Duty1 = employee.DutyName;
    ShowEdit(move);
}

void TPostmoveEditFrm::SetNewDepartment(const QString &code, const QString &name)
{
    m_dept2Code = code;
    edtDeptName21->setText(code.isEmpty() ? QString() : name);
}

void TPostmoveEditFrm::btnDept2Click()
{
    RDepartment picked;
    if (PickDepartment(m_dept2Code, &picked, this))
        SetNewDepartment(picked.Code, picked.Name);
}

bool TPostmoveEditFrm::Validate(const RPostmove &move)
{
    if (move.MoveReason.isEmpty())
        return Reject(S("调动原因必须填写"), cmbMoveReason1);
    if (move.DeptId2.isEmpty())
        return Reject(S("调后部门必须填写"), btnDept21);
    if (move.Duty2.isEmpty())
        return Reject(DutyCaption(S("调后")) + S("必须填写"), cmbDuty21);
    return true;
}
