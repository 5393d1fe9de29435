#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <array>

class TEmployeeWhere;
class TField;

// What a status or reminder node of the main tree selects. Employed is NULL
// (everyone), true (on duty) or false (dismissed); each flag adds one
// criterion for the current month or the reminder windows.
struct RWhere
{
    QVariant Employed;
    bool DismissedThisMonth = false;
    bool InProbation = false;
    bool ProbationEndsThisMonth = false;
    bool BirthdayThisMonth = false;
    bool ContractHint = false;
    bool CertHint = false;

    // Resets where and sets the criteria of this record, with month as the
    // current month.
    void ApplyTo(TEmployeeWhere &where, int month) const;
};
Q_DECLARE_METATYPE(RWhere)

// The attribute groups of the tree, in the order they stand under the first
// status node.
enum class TGroup { Dept, Duty, Jobtitle, Diploma, Marry, Party, Comefrom, EmployType };
constexpr int GroupCount = 8;
using TGroupSwitches = std::array<bool, GroupCount>;

// How one group is shown, stored and searched.
struct TGroupInfo
{
    TGroup Group;
    // The settings key of its switch.
    int SettingsKey;
    // The pick list of its values; -1 for the department tree.
    int PickList;
    // Its entry in the view menu's switches.
    const char *SwitchCaption;
    // objectName of that entry.
    const char *SwitchName;
};
const std::array<TGroupInfo, GroupCount> &Groups();
const TGroupInfo &GroupInfo(TGroup group);
// The caption of the group's node and of its entry in the list options;
// some follow the user-defined labels.
QString GroupCaption(TGroup group);
// The criterion a value of the group sets.
TField *GroupCriterion(TEmployeeWhere &where, TGroup group);

// The five reminders, in the order their nodes are added.
enum class TReminder { DismissedThisMonth, ProbationEnds, Birthday, Contract, Certificate };
constexpr int ReminderCount = 5;
RWhere ReminderWhere(TReminder reminder);
// The node caption for count; days is the reminder window of the contract
// and certificate reminders (settings keys 122 and 123).
QString ReminderCaption(TReminder reminder, int count, int days);
// The reminder's count for the logged-in operator, who sees only the
// departments it may see: employees, or contracts for the contract reminder.
int CountReminder(TReminder reminder, int month);
// The contracts that end after now and at most days ahead, of the employees
// the operator may see.
int CountExpiringContracts(int days);
// The rows the employee query of where would list, without fetching them.
int CountEmployees(TEmployeeWhere &where);
