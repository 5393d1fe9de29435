#pragma once

#include "PhotoSet.h"
#include "RecordSet.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

// One employee as it travels between the list, the profile window and the
// saves: the employee row and the values of its empjoin row. Dates and the
// free numbers are variants, so an empty one stays NULL all the way.
struct REmployee
{
    int Id = 0;
    int JoutId = 0;
    QString Name;
    QString NickName;
    QString Sex;
    QString IsMry;
    QString Folk;
    QString Diploma;
    QString Degree;
    QString Party;
    QString JobTitle;
    QString Native;
    QString BirthPlace;
    QString Hukou;
    QString Bloodtype;
    QString Religion;
    QString Milivice;
    QString IdCode;
    QVariant Birthday;
    QVariant GraduateDate;
    int Stature = 0;
    QString Tel;
    QString Address;
    QString School;
    QString Specialty;
    QString Biography;
    QString SocialRelation;
    QString Rewards;
    QString Techtitles;
    QString Training;
    QString OtherNote;
    QString S1, S2, S3, S4, S5, S6, S7, S8, S9, S10, S11, S12;
    QVariant F1, F2, F3;
    QVariant D1, D2, D3;

    // The joining part.
    int EmpId = 0;
    QString Code;
    QString BankId;
    QString YangBaoId;
    QString YiBaoId;
    QString ComeFrom;
    QString EmployType;
    QString DutyDeptId;
    QString DutyDeptName;
    QString DutyName;
    QVariant JoinDate;
    QString JoinDeptId;
    QString JoinDeptName;
    QString JoinDuty;
    QString Joinmarks;
    QString Gangchi;
    QString Jineng;
    QVariant GangchiBZ;
    QVariant JinengBZ;
};

// The whole empjoin row, as the joining editor edits it.
struct REmpjoin
{
    int EmpId = 0;
    QString EmpName;
    QString Code;
    QString BankId;
    QString YangBaoId;
    QString YiBaoId;
    QVariant JoinDate;
    QString EmployType;
    QString ComeFrom;
    QString JoinDeptId;
    QString JoinDeptName;
    QString JoinDuty;
    QString Joinmarks;
    QString Jointype;
    QString DutyDeptId;
    QString DutyName;
    QString Gangchi;
    QVariant GangchiBZ;
    QString Jineng;
    QVariant JinengBZ;
};

// The whole joining row of an employee record, for SaveJoinFull: building the
// record from the employee keeps the columns the joining editor does not show.
REmpjoin JoinRecordOf(const REmployee &employee);

// A dismissal (one empjout row). Id is 0 until it is stored.
struct REmpjout
{
    int Id = 0;
    int EmpId = 0;
    QString EmpCode;
    QString EmpName;
    QVariant OutDutyDate;
    QString OutDeptId;
    QString OutDeptName;
    QString OutDuty;
    QVariant Disdate;
    QString Distype;
    QString Disman;
    QString Dismarks;
};

// A dismissal together with the return that may have ended it.
struct REmpback : REmpjout
{
    QVariant Backdate;
    QString BackDeptId;
    QString BackDeptName;
    QString BackDuty;
    QString Backman;
    QString Backmarks;
};

// A probation (one emptrials row); TryId equals EmpId once it is stored.
struct REmpTrial
{
    int EmpId = 0;
    int TryId = 0;
    QString EmpCode;
    QString EmpName;
    QString TryJob;
    QVariant TryDate1;
    QVariant TryDate2;
    double TryWage = 0;
    QString TryPlan;
    QVariant TestDate;
    QString Testman;
    QString TryResult;
};

// One image attachment of an employee.
struct REmpimg
{
    int Id = 0;
    int EmpId = 0;
    QString Ext;
    QString Subject;
    TPicture Picture;
};
using REmpimgs = QList<REmpimg>;

// Everything the profile window shows of one employee. The pictures are
// values, so copies are independent.
struct REmployees
{
    REmployee Employee;
    REmpback Back;
    REmpTrial Trial;
    REmpimgs Images;
    int Id = 0;
    TPicture Photo;
};

// The attachments of an employee, in the order they were added.
REmpimgs ReadEmployeeImages(int empId);

// The list of employees: the rows of the employee query (BuildEmployeeQuery
// fills it) with their joining, dismissal and probation columns, two ages
// worked out from the local clock, and the operations that write an employee
// back. Every write goes to the database first; the cached row follows only
// after it succeeded, so the list never shows what was not stored.
class TEmployeeSet : public TQuerySet
{
public:
    TEmployeeSet();

    // The current row.
    REmployee ReadEmployee() const;
    // The current row with its dismissal, probation, attachments and photo.
    REmployees ReadEmployees() const;
    // Into the row being edited or appended (all but JoutId and EmpId).
    void WriteRow(const REmployee &employee);

    // SaveInTransaction, then the row of the employee is updated or added.
    bool SaveAndSync(REmployee &employee);
    // From the row of id one row back or forward (staying put at either end,
    // or where the cursor is when id is not listed); false for an empty list.
    bool ReadPrior(int id, REmployees &result);
    bool ReadNext(int id, REmployees &result);
    // DeleteEmployeeCascade when the employee is listed; its row goes with it.
    bool DeleteAndSync(const REmployee &employee);

    // Partial saves; the listed row takes the saved values only on success.
    bool SaveOtherAndSync(const REmployee &employee);
    bool SaveJoinFullAndSync(const REmpjoin &join);
    bool SaveSalaryAndSync(const REmployee &employee);
    // The dismissal and probation statements live with their editors; these
    // run the given one and then mirror its result in the list.
    using DismissalSave = std::function<bool(REmpjout &)>;
    using DismissalDelete = std::function<bool(const REmpback &)>;
    using ProbationSave = std::function<bool(REmpTrial &)>;
    using ProbationDelete = std::function<bool(const REmpTrial &)>;
    bool SaveDismissalAndSync(REmpjout &dismissal, const DismissalSave &save);
    bool DeleteDismissalAndSync(const REmpback &dismissal, const DismissalDelete &remove);
    bool SaveProbationAndSync(REmpTrial &trial, const ProbationSave &save);
    bool DeleteProbationAndSync(const REmpTrial &trial, const ProbationDelete &remove);

    // Set-free operations. The single-statement saves raise QmError on a
    // database error and return whether exactly one row changed.
    static bool SaveEmployeeRecord(REmployee &employee);
    static bool SaveJoinRecord(REmployee &employee);
    static bool SaveJoinFull(const REmpjoin &join);
    static bool SaveSalaryInfo(const REmployee &employee);
    static bool SaveOtherFields(const REmployee &employee);
    // Both saves without a transaction of its own (for callers that hold one).
    static bool SaveWithJoin(REmployee &employee);
    // Both saves all or nothing; failures are shown, not raised. A new
    // employee's Id and EmpId are set only once the transaction committed.
    static bool SaveInTransaction(REmployee &employee);
    // Needs right 10. Removes the employee with everything that refers to it,
    // all or nothing; failures are shown, not raised.
    static bool DeleteEmployeeCascade(const REmployee &employee);

    // The stored photo; empty when there is none or it cannot be decoded.
    static TPicture LoadPhoto(int empId);
    // Stores or replaces the photo; an empty picture removes it (also when
    // there was none). Ext follows what the bytes really are.
    static bool SavePhoto(int empId, const TPicture &picture);

    // The fields of the current row, for callers that know them by name.
    TField *IdField() const { return FieldByName(QStringLiteral("Id")); }

private:
    bool readAt(int id, int step, REmployees &result);
    void mirrorFields(int id, const std::function<void(TDataSet &)> &fill);
};

// The operations the profile window calls instead of its own set-free ones
// when its opener binds them (an empty one is not bound).
struct TEmployeeHooks
{
    std::function<bool(REmployee &)> OnSaveEmployee;
    std::function<bool(int id, REmployees &)> OnReadPrior;
    std::function<bool(int id, REmployees &)> OnReadNext;
    std::function<bool(const REmployee &)> OnDeleteEmployee;
    std::function<bool(const REmployee &)> OnSaveOther;
    std::function<bool(const REmpjoin &)> OnSaveJoinFull;
    std::function<bool(const REmployee &)> OnSaveSalary;
    std::function<bool(REmpjout &)> OnSaveDismissal;
    std::function<bool(const REmpback &)> OnDeleteDismissal;
    std::function<bool(REmpTrial &)> OnSaveProbation;
    std::function<bool(const REmpTrial &)> OnDeleteProbation;
};

class QObject;
// The first four hooks bound to set, which belongs to owner. Once owner is
// gone the hooks fall back to the set-free operations (SaveInTransaction,
// FindEmployee, DeleteEmployeeCascade) instead of touching a freed set.
TEmployeeHooks GuardedEmployeeHooks(TEmployeeSet *set, QObject *owner);
