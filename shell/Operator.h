#pragma once

#include "RecordSet.h"

#include <QList>
#include <QSet>
#include <QString>

// ---------------------------------------------------------------- rights

// One entry of the rights catalogue: the number functions test and the
// caption the operator editor shows.
struct TRightEntry
{
    int Number;
    QString Caption;
};

// The rights of the program's functions, in the order the operator editor
// lists them: first the functions' rights, then the administration rights.
// Right 51 (the salary details of an employee) has no entry, so only "sa"
// passes it.
const QList<TRightEntry> &FunctionRights();
const QList<TRightEntry> &AdminRights();
QList<TRightEntry> RightsCatalogue();

// A rights string holds ",n," for every granted right n.
QString RightsText(const QList<int> &numbers);
// The rights string of granted, in catalogue order; numbers outside the
// catalogue cannot be granted and are left out.
QString CatalogueRightsText(const QSet<int> &granted);
bool RightsContain(const QString &rights, int number);

// ---------------------------------------------------------------- passwords

// Passwords are kept as "pbkdf2-sha256$<iterations>$<salt>$<hash>" (salt and
// hash in base64): PBKDF2-HMAC-SHA256 over the UTF-8 password with a random
// 16-byte salt. Any other stored value is a plain password from an older
// database.
namespace PasswordHash {
constexpr int DefaultIterations = 120000;
QString Make(const QString &password);
bool IsHash(const QString &stored);
// Compares in constant time; a malformed hash matches nothing.
bool Verify(const QString &stored, const QString &password);
// The iteration count of new hashes (tests lower it to stay fast); 0 restores
// the default.
void SetIterations(int iterations);
} // namespace PasswordHash

// ---------------------------------------------------------------- operator

// An operator: login name, password hash, personal data and rights string.
// TheOperator is the logged-in one (empty until a login succeeds); the login
// window checks a candidate in a second instance. LoginId holds the name as
// stored, whatever letter case was typed.
class TOperator
{
public:
    QString LoginId;
    QString Password;
    QString Name;
    QString Contact;
    QString Note;
    QString Rights;

    // Reads the operator with this login name (letter case ignored). The
    // fields are cleared first, so a name that is not found leaves an empty
    // operator. Returns whether it was found.
    bool Load(const QString &loginId);
    void Clear();

    // True when an operator is loaded and text is its password. A plain
    // password from an older database is accepted and replaced by its hash
    // there and then.
    bool CheckPassword(const QString &text);

    bool IsSuperUser() const;
    // True when the rights string grants number, and always for "sa".
    bool HasRight(int number) const;
    // HasRight, telling the user when it fails; with stop, a failure then
    // ends the current user action (SilentAbort).
    bool CheckRight(int number, bool stop = true) const;

    // Stores a new password for this operator (exactly one row must change).
    void SetPassword(const QString &password);
};

// The logged-in operator; never null.
extern TOperator *TheOperator;

// The operators except "sa", for the login window and the operator list.
// Writes go to the database first and are then mirrored in the cached rows.
class TOperatorSet : public TRecordSet
{
public:
    TOperatorSet();

    TField *UserIdField;
    TField *PasswdField;
    TField *NameField;
    TField *ContactField;
    TField *NoteField;
    TField *RightsField;

    // Refuses an empty name and one that exists in any letter case (including
    // "sa"). The password is stored hashed.
    void AddOperator(const QString &loginId, const QString &password, const QString &rights,
        const QString &note, const QString &contact, const QString &name);
    // An empty password leaves the stored one unchanged.
    void UpdateOperator(const QString &loginId, const QString &password, const QString &rights,
        const QString &note, const QString &contact, const QString &name);
    void DeleteOperator(const QString &loginId);

    // Moves to the row of loginId (letter case ignored).
    bool LocateOperator(const QString &loginId);

    static bool LoginIdExists(const QString &loginId);
};

// ---------------------------------------------------------------- departments

struct RShortDept
{
    QString Code;
};
using ShortDepts = QList<RShortDept>;

// Which departments' employees an operator sees: all of them, or those whose
// code starts with one of Depts. No codes at all also means all of them.
struct RDeptRit
{
    bool AllDepts = false;
    ShortDepts Depts;
};

struct ROperatorRight
{
    QString LoginId;
    RDeptRit EmpRight;
};
using ROperatorRights = QList<ROperatorRight>;

// The logged-in operator's visibility.
extern ROperatorRight TheOperatorRight;

// Reads the visibility lines ("EmpViewAllDept=<bool>", "EmpViewDept=<code>")
// of one operator, or of all for an empty name. A value of EmpViewAllDept
// that is not a boolean counts as false.
ROperatorRights LoadOperatorRight(const QString &loginId = QString());
RDeptRit ParseDeptRights(const QString &xrights);
// Rewrites the visibility lines of one operator's XRights and keeps every
// other line (the salary module's, for instance) as it was.
void SaveDeptRights(const QString &loginId, const RDeptRit &rights);

// The condition an employee select appends to show only the visible
// departments: " and (DutyDeptId like '01%' or ...)", or empty.
QString DeptRestriction(const RDeptRit &rights);
QString DeptRestriction();
