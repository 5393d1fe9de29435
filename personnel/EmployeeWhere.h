#pragma once

#include "Database.h"
#include "RecordSet.h"

#include <QString>

class TDeptIdField;
class TEmployeeSet;
struct REmployees;

// The criteria of one employee list: a single in-memory row whose fields are
// the criteria, NULL or empty when not set. Integers count when above 0,
// texts when not blank, dates and the two status switches when not NULL;
// EmpId counts whenever it is not NULL (so 0 matches nobody). Disyes true
// selects the dismissed (dismissal date before today), false those on duty
// (taken on, with no dismissal or one dated today or later; applicants who
// were never taken on are neither). The hidden fields carry the main window's
// reminders.
class TEmployeeWhere : public TCustomWhere
{
public:
    TEmployeeWhere();
    ~TEmployeeWhere() override;

    TField *Age1Fld;
    TField *Age2Fld;
    TField *BirthMonthFld;
    TField *BirthDayFld;
    TField *DeptIdFld;
    TDeptIdField *DeptIdField;
    TField *EmpIdFld;
    TField *CodeFld;
    TField *NameFld;
    TField *WorkAge1Fld;
    TField *WorkAge2Fld;
    TField *DutyFld;
    TField *DiplomaFld;
    TField *SexFld;
    TField *FolkFld;
    TField *TelFld;
    TField *SchoolFld;
    TField *MarryFld;
    TField *NativeFld;
    TField *IdCodeFld;
    TField *ComeFromFld;
    TField *EmployTypeFld;
    TField *PartyFld;
    TField *KeywordFld;
    TField *MiliviceFld;
    TField *Stature1Fld;
    TField *Stature2Fld;
    TField *BloodtypeFld;
    TField *ReligionFld;
    TField *GraduateDate1Fld;
    TField *GraduateDate2Fld;
    TField *DegreeFld;
    TField *JobTitleFld;
    TField *Joindate1Fld;
    TField *Joindate2Fld;
    TField *BankIdFld;
    TField *YangBaoIdFld;
    TField *YiBaoIdFld;
    TField *DisyesFld;
    TField *DisMonthFld;
    TField *DisDate1Fld;
    TField *DisDate2Fld;
    TField *DisTypeFld;
    TField *DismarksFld;
    TField *DismanFld;
    TField *TryingFld;
    TField *ContractHintFld;
    TField *CertHintFld;
    TField *TryMonthFld;

    // Whether any of the dismissal-details criteria is set.
    bool HasDismissalDetails() const;
};

// A finished employee select: the statement in the program's common SQL and
// the values bound to its ":qmwN" placeholders. Typed criteria only ever
// travel as parameters, so no quote, "%" or "_" in them can change the
// statement, and they match literally and without regard to letter case.
struct TEmployeeQuery
{
    QString sql;
    TDBParameters params;
};

// The statement of the employee list for where: every employee row with its
// joining, dismissal, department and probation columns and the two ages, only
// in the departments the logged-in operator may see, ordered by id.
TEmployeeQuery BuildEmployeeQuery(TEmployeeWhere &where);
// Opens set on that statement; returns the number of rows. A failing select
// is shown and ends the caller's action (SilentAbort), leaving the set closed.
int BuildEmployeeQuery(TEmployeeSet &set, TEmployeeWhere &where);

// The employee id (direction 0), the next visible one by id (1) or the
// previous one (-1), read into result; false when there is none. Only
// employees the operator may see are considered, so navigation passes over
// the others instead of stopping at them.
bool FindEmployee(int id, int direction, REmployees &result);
