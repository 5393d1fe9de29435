#pragma once

#include "ModuleSet.h"

#include <QString>
#include <QVariant>

// A leave of an employee. Termdate is the day the employee reported back
// (null while the leave is open). The number of days is not stored: the
// list works it out, counting the first and the last day.
struct RVacation
{
    int Id = 0;
    int EmpId = 0;
    QString EmpCode;
    QString EmpName;
    QVariant Appdate;
    QString Typ;
    QVariant Bgndate;
    QVariant Endate;
    QString Sanctionman;
    QString Remarks;
    QVariant Termdate;
};

// The criteria of the vacation list. The type and the approver match
// exactly, the other texts as substrings.
class TVacationWhere : public TModuleWhere
{
public:
    TVacationWhere();

    TField *TypFld;
    TField *Bgndate1Fld;
    TField *Bgndate2Fld;
    TField *Endate1Fld;
    TField *Endate2Fld;
    TField *SanctionmanFld;
    TField *RemarksFld;
};

// The module as data: table, SQL, fields, criteria, texts.
const TModuleSpec<RVacation> &VacationModule();

// The vacations as listed, with the employee's code, name and present
// department, and the days of each leave (Vadays).
class TVacationSet : public TModuleSetOf<RVacation, VacationModule>
{ };
