#include "VacationEditor.h"

#include "EmployeeSet.h"
#include "FieldLabels.h"

#include <QDate>
#include <QDateTime>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TVacationEditFrm::TVacationEditFrm(QWidget *parent)
    : TModuleEditFrm<RVacation>(VacationModule(), parent)
{
    const QString code = FieldLabels.Code;
    ViewText(QStringLiteral("vwEmpName1"), S("姓名"), &RVacation::EmpName);
    ViewText(QStringLiteral("vwEmpCode1"), code, &RVacation::EmpCode);
    ViewDate(QStringLiteral("vwAppdate1"), S("申请日期"), &RVacation::Appdate);
    ViewText(QStringLiteral("vwTyp1"), S("休假类型"), &RVacation::Typ);
    ViewDate(QStringLiteral("vwBgndate1"), S("开始日期"), &RVacation::Bgndate);
    ViewDate(QStringLiteral("vwEndate1"), S("截止日期"), &RVacation::Endate);
    ViewText(QStringLiteral("vwSanctionman1"), S("批准人"), &RVacation::Sanctionman);
    ViewMemo(QStringLiteral("vwRemarks1"), S("休假描述"), &RVacation::Remarks);
    ViewDate(QStringLiteral("vwTermdate1"), S("销假日期"), &RVacation::Termdate);

    EditEmployee(code);
    edtAppdate1
        = EditDate(QStringLiteral("edtAppdate1"), S("申请日期"), &RVacation::Appdate, false);
    edtBgndate1
        = EditDate(QStringLiteral("edtBgndate1"), S("开始日期"), &RVacation::Bgndate, false);
    edtEndate1 = EditDate(QStringLiteral("edtEndate1"), S("截止日期"), &RVacation::Endate, false);
    edtTermdate1
        = EditDate(QStringLiteral("edtTermdate1"), S("销假日期"), &RVacation::Termdate, true);
    cmbTyp1 = EditPick(QStringLiteral("cmbTyp1"), S("休假类型"), &RVacation::Typ, 15);
    cmbSanctionman1
        = EditPick(QStringLiteral("cmbSanctionman1"), S("批准人"), &RVacation::Sanctionman, 9);
    EditMemo(QStringLiteral("edtRemarks1"), S("休假描述"), &RVacation::Remarks);
}

void TVacationEditFrm::NewFor(const REmployee &employee)
{
    RVacation vacation;
    const QDateTime today = QDate::currentDate().startOfDay();
    vacation.Appdate = today;
    vacation.Bgndate = today;
    vacation.Endate = today;
    vacation.EmpId = employee.Id;
    vacation.EmpName = employee.Name;
    vacation.EmpCode = employee.Code;
    ShowEdit(vacation);
}

bool TVacationEditFrm::Validate(const RVacation &vacation)
{
    if (vacation.Typ.isEmpty())
        return Reject(S("休假类别必须填写"), cmbTyp1);
    return true;
}
