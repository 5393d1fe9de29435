#pragma once

#include "ModuleSet.h"

#include <QString>
#include <QVariant>

// A post move: an employee left one department and duty for another on a
// date (suffix 1 before the move, 2 after it). The department names are
// kept as they were at the time of the move.
struct RPostmove
{
    int Id = 0;
    int EmpId = 0;
    QString EmpCode;
    QString EmpName;
    QVariant MoveDate;
    QString DeptId1;
    QString DeptId2;
    QString DeptName1;
    QString DeptName2;
    QString Duty1;
    QString Duty2;
    QString Sanctionman;
    QString MoveReason;
    QString MoveNote;
};

// The criteria of the post-move list. The approver matches exactly, the
// other texts as substrings; the departments by name.
class TPostmoveWhere : public TModuleWhere
{
public:
    TPostmoveWhere();

    TField *MoveDate1Fld;
    TField *MoveDate2Fld;
    TField *Dept1Fld;
    TField *Dept2Fld;
    TField *Duty1Fld;
    TField *Duty2Fld;
    TField *SanctionmanFld;
    TField *MoveReasonFld;
    TField *MoveNoteFld;
};

// The module as data: table, SQL, fields, criteria, texts.
const TModuleSpec<RPostmove> &PostmoveModule();

// The post moves as listed, with the employee's code and name.
//
// A saved move becomes the employee's present department, duty and duty
// date (empjoin) in the same transaction, but only when it is the
// employee's latest move (by date, then id): correcting an old move never
// rewinds the present post. Deleting the latest move gives the employee
// the post of the move before it, or with none left the deleted move's
// "before" post, held since joining.
class TPostmoveSet : public TModuleSetOf<RPostmove, PostmoveModule>
{ };
