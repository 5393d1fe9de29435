#pragma once

#include "RecordSet.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TDatabase;

// One department as it travels between the set, the tree and the window.
// FatherIdx is the 1-based position of the parent row in code order, 0 at the
// top (and for a row whose parent is missing).
struct RDepartment
{
    QString FatherCode;
    QString FatherPath;
    QString Code;
    QString Name;
    QString Manager;
    QString Tel;
    QString Fax;
    QString Address;
    QString Note;
    int FatherIdx = 0;
    QString Path;
};
using RDepartments = QList<RDepartment>;

// Tells listeners that the department tree was loaded again.
class TDepartmentNotifier : public QObject
{
    Q_OBJECT
signals:
    void reloaded();
};

// The department tree: every row of table department in code order, with the
// position of its parent and its full name. The code alone places a row: each
// level adds two digits ("00" to "99") to its parent's code, so code order is
// the tree's pre-order. The set is reloaded after every change, never edited
// in place; the data set mirrors the rows for grids and lookups.
class TDepartmentSet : public TQmClientDataSet
{
public:
    // Between the levels of a full name: "总公司/人力资源部".
    static const QString PathSeparator;
    // The prefix of the message shown when a branch cannot be deleted; the
    // refusal's own description follows it.
    static const QString DeleteFailedText;

    TDepartmentSet();
    ~TDepartmentSet() override;

    // Fills the set from the database (TheDatabase unless set).
    void Load();
    void SetDatabase(TDatabase *db) { m_db = db; }

    // The current row of the data set; FatherPath stays empty.
    void ReadRecord(RDepartment &record) const;

    // Inserts a department under record.FatherCode with the next free code and
    // on success writes that code into record.Code. Raises QmError when the
    // parent has no code left ("99" taken) or a statement fails; returns false
    // when the insert changed no row.
    bool AddDepartment(RDepartment &record);
    // Rewrites the row of record.Code (the code never changes); false when no
    // row changed.
    bool UpdateDepartment(const RDepartment &record);
    // Deletes the department and everything below it. Raises QmError, whose
    // text describes what still refers to the branch (one "\r\n"-led line per
    // finding), when anything does; nothing is deleted then.
    void DeleteBranch(const QString &code);
    // What refers to the branch of code: employees' departments, moves,
    // dismissals, returns, salary months and operators' department rights.
    // Empty when nothing does.
    QString BranchReferences(const QString &code) const;

    // Lookups on the loaded rows.
    int Count() const { return static_cast<int>(m_rows.size()); }
    // The row at 0-based position in code order.
    const RDepartment &At(int index) const { return m_rows.at(static_cast<size_t>(index)); }
    // 0-based position of code, -1 when there is none.
    int IndexOf(const QString &code) const;
    bool Contains(const QString &code) const { return IndexOf(code) >= 0; }
    // False (and record untouched) when there is no such department.
    bool Find(const QString &code, RDepartment *record) const;
    // Empty for an unknown code.
    QString NameOf(const QString &code) const;
    QString PathOf(const QString &code) const;
    // The rows directly below code, in code order; "" gives the top level
    // (including rows whose parent is missing).
    RDepartments Children(const QString &code) const;
    // code and the codes of every row below it (by code prefix).
    QStringList BranchCodes(const QString &code) const;
    const std::vector<RDepartment> &Rows() const { return m_rows; }
    // Emits reloaded() after every Load.
    TDepartmentNotifier *Notifier() const { return m_notifier.get(); }

    // The code scheme.
    static QString ParentCode(const QString &code);
    static bool IsBelow(const QString &code, const QString &ancestor);
    // The code of the next child of fatherCode when highestChild (the highest
    // existing child code, "" when none) is taken; raises QmError when the
    // last two characters are "99" or not digits.
    static QString NextChildCode(const QString &fatherCode, const QString &highestChild);
    static QString JoinPath(const QString &fatherPath, const QString &name);

private:
    TDatabase &database() const;
    void fillRows(std::vector<RDepartment> rows);

    TDatabase *m_db = nullptr;
    std::vector<RDepartment> m_rows;
    QHash<QString, int> m_index;
    std::unique_ptr<TDepartmentNotifier> m_notifier;
};

// The application's department tree; null until CreateDepartments.
extern TDepartmentSet *TheDepartments;
// Creates TheDepartments (empty) when there is none yet.
TDepartmentSet *CreateDepartments();
void FreeDepartments();

// A department code column of some data set, shown by name: declares the code
// field (wide text 50, "部门编码") and two companion fields that carry the
// department's name ("部门名称") and full name ("所在部门") from TheDepartments.
// The companions are kept in step by themselves whenever rows are filled,
// edited or appended, and when TheDepartments reloads. A select that fills
// such a set must return the companion columns too: SelectColumns() gives
// empty ones to put in its column list. Owned by the data set (a QObject
// child); the set must still be closed when it is created.
class TDeptIdField : public QObject
{
    Q_OBJECT
public:
    TDeptIdField(TDataSet *set, const QString &codeField, const QString &nameField,
        const QString &pathField);

    TField *CodeField() const;
    TField *NameField() const;
    TField *PathField() const;
    // ", '' as <name field>, '' as <path field>".
    QString SelectColumns() const;

    // The name and full name of the current row's department.
    QString Name() const;
    QString Path() const;

    // Writes the companions of every row (normally not needed: it happens by itself).
    void Resolve();

private:
    void resolveRow(int row);
    bool needsUpdate(int row) const;

    TDataSet *m_set;
    QString m_code;
    QString m_name;
    QString m_path;
    bool m_busy = false;
};
