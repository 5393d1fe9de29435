#include "MainTree.h"

#include "EmployeeSet.h"
#include "EmployeeWhere.h"
#include "FieldLabels.h"
#include "Operator.h"
#include "UI.h"
#include "main1.h"
#include "qmProj.h"

#include <QApplication>
#include <QDate>
#include <QStyle>

void RWhere::ApplyTo(TEmployeeWhere &where, int month) const
{
    where.Reset();
    if (!Employed.isNull())
        where.DisyesFld->SetValue(!Employed.toBool());
    if (DismissedThisMonth)
        where.DisMonthFld->SetValue(month);
    if (InProbation)
        where.TryingFld->SetValue(true);
    if (ProbationEndsThisMonth)
        where.TryMonthFld->SetValue(month);
    if (BirthdayThisMonth)
        where.BirthMonthFld->SetValue(month);
    if (ContractHint)
        where.ContractHintFld->SetValue(true);
    if (CertHint)
        where.CertHintFld->SetValue(true);
}

const std::array<TGroupInfo, GroupCount> &Groups()
{
    static const std::array<TGroupInfo, GroupCount> groups{{
        {TGroup::Dept, 17, -1, "所在部门", "DeptVisibleAction1"},
        {TGroup::Duty, 19, 2, "职务", "DutyVisibleAction1"},
        {TGroup::Jobtitle, 18, 3, "职称", "JobtitleVisibleAction1"},
        {TGroup::Diploma, 20, 1, "学历", "DiplomaVisibleAction1"},
        {TGroup::Marry, 21, 4, "婚姻", "MarryVisibleAction1"},
        {TGroup::Party, 22, 6, "政貌", "PartyVisibleAction1"},
        {TGroup::Comefrom, 23, 5, "聘用来源", "ComefromVisibleAction1"},
        {TGroup::EmployType, 24, 8, "聘用方式", "EmployTypeVisibleAction1"},
    }};
    return groups;
}

const TGroupInfo &GroupInfo(TGroup group)
{
    return Groups()[static_cast<size_t>(group)];
}

QString GroupCaption(TGroup group)
{
    switch (group) {
    case TGroup::Dept:
        return QStringLiteral("所在部门");
    case TGroup::Duty:
        return FieldLabels.DutyName;
    case TGroup::Jobtitle:
        return QStringLiteral("职称");
    case TGroup::Diploma:
        return QStringLiteral("学历");
    case TGroup::Marry:
        return QStringLiteral("婚姻");
    case TGroup::Party:
        return FieldLabels.Party;
    case TGroup::Comefrom:
        return QStringLiteral("聘用来源");
    case TGroup::EmployType:
        return FieldLabels.EmployType;
    }
    return QString();
}

TField *GroupCriterion(TEmployeeWhere &where, TGroup group)
{
    switch (group) {
    case TGroup::Dept:
        return where.DeptIdFld;
    case TGroup::Duty:
        return where.DutyFld;
    case TGroup::Jobtitle:
        return where.JobTitleFld;
    case TGroup::Diploma:
        return where.DiplomaFld;
    case TGroup::Marry:
        return where.MarryFld;
    case TGroup::Party:
        return where.PartyFld;
    case TGroup::Comefrom:
        return where.ComeFromFld;
    case TGroup::EmployType:
        return where.EmployTypeFld;
    }
    return nullptr;
}

RWhere ReminderWhere(TReminder reminder)
{
    RWhere where;
    switch (reminder) {
    case TReminder::DismissedThisMonth:
        where.DismissedThisMonth = true;
        break;
    case TReminder::ProbationEnds:
        where.ProbationEndsThisMonth = true;
        break;
    case TReminder::Birthday:
        where.BirthdayThisMonth = true;
        break;
    case TReminder::Contract:
        where.ContractHint = true;
        break;
    case TReminder::Certificate:
        where.CertHint = true;
        break;
    }
    return where;
}

QString ReminderCaption(TReminder reminder, int count, int days)
{
    switch (reminder) {
    case TReminder::DismissedThisMonth:
        return QStringLiteral("本月离职 %1 人").arg(count);
    case TReminder::ProbationEnds:
        return QStringLiteral("本月试用到期 %1 人").arg(count);
    case TReminder::Birthday:
        return QStringLiteral("本月生日 %1 人").arg(count);
    case TReminder::Contract:
        return QStringLiteral("%1日内到期合同 %2 份").arg(days).arg(count);
    case TReminder::Certificate:
        return QStringLiteral("%1日内到期证照 %2 人").arg(days).arg(count);
    }
    return QString();
}

namespace {

int reminderDays(TReminder reminder)
{
    if (reminder == TReminder::Contract)
        return TheSettings->GetInt(122);
    if (reminder == TReminder::Certificate)
        return TheSettings->GetInt(123);
    return 0;
}

int countOf(const QString &sql, const TDBParameters &params = {})
{
    TDataSet result;
    TheDatabase->Fill(result, sql, params);
    return result.IsEmpty() ? 0 : result.Fields(0)->AsInteger();
}

} // namespace

int CountEmployees(TEmployeeWhere &where)
{
    const TEmployeeQuery query = BuildEmployeeQuery(where);
    return countOf(
        QStringLiteral("select count(*) from (") + query.sql + QStringLiteral(") q"), query.params);
}

int CountExpiringContracts(int days)
{
    const QString now = TheDatabase->NowFunction();
    return countOf(QStringLiteral("select count(*) from employee e, empjoin j, contracts c "
                                  "where e.Id=j.EmpId and e.Id=c.EmpId and c.Invalidate > %1 "
                                  "and c.Invalidate - %1 <= %2")
                       .arg(now)
                       .arg(days)
        + DeptRestriction());
}

int CountReminder(TReminder reminder, int month)
{
    if (reminder == TReminder::Contract)
        return CountExpiringContracts(reminderDays(reminder));
    TEmployeeWhere where;
    ReminderWhere(reminder).ApplyTo(where, month);
    return CountEmployees(where);
}

// ---------------------------------------------------------------- the window's tree

namespace {

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

int currentMonth()
{
    return QDate::currentDate().month();
}

} // namespace

void Tmain1Frm::addStatusNodes()
{
    const TNodeHandler showWhere = [this](const QVariant &value) {
        ShowWhere(value.value<RWhere>());
    };
    RWhere employed;
    employed.Employed = true;
    RWhere dismissed;
    dismissed.Employed = false;
    RWhere probation;
    probation.InProbation = true;
    const QIcon icon = standardIcon(QStyle::SP_DirIcon);
    m_statusNodes[0] = TreeView1->AddNode(
        nullptr, QStringLiteral("在职人员"), QVariant::fromValue(employed), showWhere, this);
    m_statusNodes[1] = TreeView1->AddNode(
        nullptr, QStringLiteral("离职人员"), QVariant::fromValue(dismissed), showWhere, this);
    m_statusNodes[2] = TreeView1->AddNode(
        nullptr, QStringLiteral("试用人员"), QVariant::fromValue(probation), showWhere, this);
    for (QTreeWidgetItem *node : m_statusNodes)
        node->setIcon(0, icon);
}

void Tmain1Frm::addReminderNodes()
{
    const TNodeHandler showWhere = [this](const QVariant &value) {
        ShowWhere(value.value<RWhere>());
    };
    static const char *const names[ReminderCount]
        = {"本月离职", "本月试用到期", "本月生日", "到期合同", "到期证照"};
    const QIcon icon = standardIcon(QStyle::SP_FileDialogInfoView);
    for (int i = 0; i < ReminderCount; ++i) {
        // The counts belong to the operator, so they come with the login.
        m_reminderNodes[i] = TreeView1->AddNode(nullptr, QString::fromUtf8(names[i]),
            QVariant::fromValue(ReminderWhere(static_cast<TReminder>(i))), showWhere, this);
        m_reminderNodes[i]->setIcon(0, icon);
    }
}

QTreeWidgetItem *Tmain1Frm::ReminderNode(TReminder reminder) const
{
    return m_reminderNodes[static_cast<size_t>(reminder)];
}

QTreeWidgetItem *Tmain1Frm::StatusNode(int index) const
{
    return index >= 0 && index < static_cast<int>(m_statusNodes.size()) ? m_statusNodes[index]
                                                                        : nullptr;
}

void Tmain1Frm::RefreshReminders()
{
    const int month = currentMonth();
    for (int i = 0; i < ReminderCount; ++i) {
        const auto reminder = static_cast<TReminder>(i);
        m_reminderNodes[i]->setText(
            0, ReminderCaption(reminder, CountReminder(reminder, month), reminderDays(reminder)));
    }
}

void Tmain1Frm::ShowWhere(const RWhere &where)
{
    where.ApplyTo(*m_where, currentMonth());
    BuildEmployeeQuery(*m_set, *m_where);
}

void Tmain1Frm::ShowGroupValue(TGroup group, const QString &value)
{
    m_where->Reset();
    m_where->DisyesFld->SetValue(false);
    GroupCriterion(*m_where, group)->SetValue(value);
    BuildEmployeeQuery(*m_set, *m_where);
}

void Tmain1Frm::SetGroupVisible(TGroup group, bool visible)
{
    const auto g = static_cast<size_t>(group);
    m_visible[g] = visible;
    if (QAction *action = GroupActions[g]) {
        const QSignalBlocker quiet(action);
        action->setChecked(visible);
    }
}

void Tmain1Frm::SetGroupEvent(TGroup group, TGroupEvent event)
{
    m_events[static_cast<size_t>(group)] = std::move(event);
}

QTreeWidgetItem *Tmain1Frm::GroupNode(TGroup group) const
{
    return m_groupNodes[static_cast<size_t>(group)];
}

void Tmain1Frm::ReadGroupSwitches()
{
    for (const TGroupInfo &info : Groups())
        SetGroupVisible(info.Group, TheSettings->GetBool(info.SettingsKey));
}

void Tmain1Frm::WriteGroupSwitches()
{
    for (const TGroupInfo &info : Groups())
        TheSettings->SetBool(info.SettingsKey, GroupVisible(info.Group));
}

void Tmain1Frm::RebuildGroups()
{
    TreeView1->ClearChoice();
    for (const TGroupInfo &info : Groups()) {
        const auto g = static_cast<size_t>(info.Group);
        if (m_visible[g] && !m_groupNodes[g]) {
            buildGroup(info.Group);
        } else if (!m_visible[g] && m_groupNodes[g]) {
            TreeView1->DeleteNode(m_groupNodes[g]);
            m_groupNodes[g] = nullptr;
        }
    }
}

void Tmain1Frm::ReloadGroups()
{
    TreeView1->ClearChoice();
    for (QTreeWidgetItem *&node : m_groupNodes) {
        TreeView1->DeleteNode(node);
        node = nullptr;
    }
    RebuildGroups();
}

void Tmain1Frm::buildGroup(TGroup group)
{
    const auto g = static_cast<size_t>(group);
    // Built groups keep the fixed group order under the first status node.
    int position = 0;
    for (size_t i = 0; i < g; ++i)
        position += m_groupNodes[i] ? 1 : 0;
    QTreeWidgetItem *groupNode = TreeView1->AddNode(
        m_statusNodes[0], GroupCaption(group), QVariant(), {}, nullptr, position);
    groupNode->setIcon(0, standardIcon(QStyle::SP_DirIcon));
    m_groupNodes[g] = groupNode;

    const TNodeHandler chosen = [this, g](const QVariant &value) {
        if (m_events[g])
            m_events[g](value.toString());
    };
    if (group == TGroup::Dept) {
        if (!TheDepartments)
            return;
        const QIcon icon = standardIcon(QStyle::SP_DirClosedIcon);
        std::vector<QTreeWidgetItem *> nodes;
        const std::vector<RDepartment> &rows = TheDepartments->Rows();
        nodes.reserve(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            const RDepartment &row = rows[i];
            // Rows come in code order, so a parent always precedes its children.
            const bool hasParent = row.FatherIdx > 0 && static_cast<size_t>(row.FatherIdx) <= i;
            QTreeWidgetItem *parent
                = hasParent ? nodes[static_cast<size_t>(row.FatherIdx - 1)] : groupNode;
            QTreeWidgetItem *node = TreeView1->AddNode(parent, row.Name, row.Code, chosen, this);
            node->setIcon(0, icon);
            nodes.push_back(node);
        }
        return;
    }
    const QIcon icon = standardIcon(QStyle::SP_FileIcon);
    for (const QString &line : PickListLines(ThePickLists->GetList(GroupInfo(group).PickList)))
        TreeView1->AddNode(groupNode, line, line, chosen, this)->setIcon(0, icon);
}
