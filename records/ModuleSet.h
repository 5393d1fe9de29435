#pragma once

#include "EntitySet.h"
#include "Error.h"
#include "RecordSet.h"
#include "WhereBuilder.h"
#include "qmRep.h"

#include <QString>
#include <QVector>
#include <algorithm>
#include <functional>
#include <memory>
#include <type_traits>

// What every HR event module (post moves, vacations, contracts, ...) is made
// of, written once: the criteria record, the module's description, the
// class operations and the entity set with its list operations. A module
// supplies data (a TModuleSpec) and its row record R. R's int member Id is
// the record id, whatever the key column is called (0 for a record not
// stored yet); records of an employee also have EmpId, and are never stored
// without one.

// How PostRecord keeps a list in step with a save.
enum class TPostStyle {
    // Store the record; then update its row in the list, or append one.
    StoreFirst,
    // Put the record into its row (appending one when the record is new or
    // its row has gone), store the row's values, then post or cancel the row.
    RowFirst,
};

// How a criterion adds its clause when it is set.
enum class TClause {
    IntegerEquals, // " and column=N"
    Contains, // " and column like '%text%'"
    TextEquals, // " and column='text'"
    DateFrom, // " and column>=date"
    DateTo, // " and column<=date"
};

// One criterion of a module beyond the four every module has.
struct TCriterion
{
    QString Field;
    TClause Clause;
    // The column it tests, as the list query names it ("p.Duty1").
    QString Column;
};

// A control of a list window's find panel, bound to a criteria field.
enum class TFindControl { Edit, PickList, Date };
struct TFindItem
{
    QString Field;
    QString Caption;
    TFindControl Control = TFindControl::Edit;
    // For TFindControl::PickList: the pick list it offers.
    int PickList = -1;
};

// The criteria record of a module: one in-memory row with Id, EmpId,
// EmpCode and EmpName first, then the module's own criteria. A text is
// blank when it holds nothing but spaces, a date when it is null and an
// integer when it is 0 or less; blank criteria add nothing, so a blank
// record selects every row.
class TModuleWhere : public TCustomWhere
{
public:
    // alias: the module table's name in the list query ("p" for "postmove p").
    TModuleWhere(const QString &alias, const QVector<TCriterion> &own);

    TField *IdFld;
    TField *EmpIdFld;
    TField *EmpCodeFld;
    TField *EmpNameFld;

    TField *Criterion(const QString &name) const { return m_data->FieldByName(name); }
    // Takes what the bound controls hold, then the condition: empty or
    // " and ...", typed values bound as parameters.
    TWhereBuilder Condition();

private:
    struct Item
    {
        TField *Field;
        TClause Clause;
        QString Column;
    };
    QVector<Item> m_items;
};

// What the shared windows read about a module: captions, rights, layout
// keys, report groups and messages.
struct TModuleInfo
{
    // The windows' object names are built from it: "Postmove" gives
    // PostmoveListFrm, PostmoveEditFrm and EmpPostmoveFra.
    QString Name;
    QString ListCaption;
    QString EditCaption;
    int ListTag = 0;
    int FrameTag = 0;
    int ListReportGroup = 0;
    // 0: the module prints no single record.
    int RecordReportGroup = 0;
    // Rights (-1: none) for new records, saves, and deletes in the list and
    // the edit window, and for deletes in the profile frame.
    int NewRight = -1;
    int SaveRight = -1;
    int DeleteRight = -1;
    int FrameDeleteRight = -1;
    // The edit window's delete question, its delete failure, its save
    // failure (an error box) and the question asked when it closes with
    // unsaved edits; texts exactly as shown.
    QString DeleteQuestion;
    QString DeleteFailed;
    QString SaveFailed;
    QString CloseQuestion;
    // After a delete the edit window shows the next (else the previous)
    // record; without it, it closes.
    bool NeighbourAfterDelete = true;
    // Whether the edit window falls back to the class operations for a
    // hook that is not bound.
    bool ClassFallbacks = true;
    // The find panel of the list window, built when a window is created (so
    // that it shows the custom labels of that moment).
    std::function<QVector<TFindItem>()> FindPanel;
};

// The caption of a duty column: "调前" or "调后" and the custom duty label.
QString DutyCaption(const QString &prefix);

// A module's right (-1: none): tells the user and ends the action when the
// operator lacks it.
void CheckModuleRight(int right);

// Whether R belongs to an employee (has an EmpId member).
template <typename R, typename = void> struct THasEmployee : std::false_type
{ };
template <typename R>
struct THasEmployee<R, std::void_t<decltype(std::declval<R &>().EmpId)>> : std::true_type
{ };

namespace ModuleRows {

// Refuses a record without an employee.
void RequireEmployee(int empId);
// Copies every value of from's current row into the row being edited in
// to, where to has a field of the same name.
void CopyMatching(const TDataSet &from, TDataSet &to);

} // namespace ModuleRows

// A method that takes a module record and returns whether it succeeded; it
// may update the record (a new id, a neighbour).
template <typename R> using TDataEvent = std::function<bool(R &AP)>;

// The four operations an edit window calls; an empty one is not bound.
template <typename R> struct TRecordHooks
{
    TDataEvent<R> OnPost;
    TDataEvent<R> OnPrev;
    TDataEvent<R> OnNext;
    TDataEvent<R> OnDrop;
};

// One module described as data: table, SQL, fields, criteria, the row
// record's mapping and the texts of TModuleInfo. The class operations
// (those that need no list) are its members.
template <typename R> struct TModuleSpec : TModuleInfo
{
    TTableWrites Writes;
    TRecordLayout<R> Layout;
    // The list query with "%s" where the condition goes.
    QString ListSql;
    // The single-record query ("select top 1 ... and %s"), and the key as
    // it names it ("p.Id").
    QString FetchSql;
    QString KeyExpression;
    TPostStyle Style = TPostStyle::StoreFirst;
    // Declares the set's fields (reading the custom labels of the moment).
    std::function<void(TQuerySet &set)> DeclareFields;
    std::function<std::unique_ptr<TModuleWhere>()> MakeWhere;
    // Replace the generic store and delete where a module does more.
    std::function<bool(R &record)> Store;
    std::function<bool(int id)> DeleteById;

    QString KeyField() const { return Writes.key; }

    // Inserts (Id 0) or updates the record; a new record's id is written
    // back. True when exactly one row changed. A record without an employee
    // is refused with a QmError.
    bool StoreRecord(R &record) const
    {
        if (Store)
            return Store(record);
        if constexpr (THasEmployee<R>::value)
            ModuleRows::RequireEmployee(record.EmpId);
        int id = record.Id;
        if (!Conventions::TryStoreRow(Writes, id, Layout.parameters(record, Writes.columns)))
            return false;
        record.Id = id;
        return true;
    }

    // The record with that id (direction 0), the next higher (1) or the next
    // lower (-1) one; true when one came.
    bool FetchRecord(int id, int direction, R &record) const
    {
        TRecordSet set;
        if (!FetchInto(set, id, direction))
            return false;
        Layout.read(*set.DataSet(), record);
        return true;
    }
    bool FetchInto(TRecordSet &set, int id, int direction) const
    {
        return Conventions::FetchRow(set, FetchSql, KeyExpression, id, direction);
    }

    // True when exactly one row went.
    bool DeleteRecordById(int id) const
    {
        return DeleteById ? DeleteById(id) : Conventions::DeleteRowById(Writes, id);
    }

    // Prints the record through the report host with its single-record group.
    void PrintRecord(int id) const;
};

// The entity set of a module: the list query's rows, changed in memory by
// the edit windows it serves and written only through the module's
// statements.
template <typename R> class TModuleSet : public TQuerySet
{
public:
    explicit TModuleSet(const TModuleSpec<R> &spec)
        : m_spec(spec)
    {
        spec.DeclareFields(*this);
    }

    const TModuleSpec<R> &Spec() const { return m_spec; }

    // Lists the rows matching where; the number of rows. A failing query is
    // shown and ends the caller's action, leaving the set closed.
    int Load(TModuleWhere &where)
    {
        const TWhereBuilder condition = where.Condition();
        QString sql = m_spec.ListSql;
        sql.replace(QLatin1String("%s"), condition.text());
        return Open(sql, condition.params());
    }

    void ReadRecord(R &record) const { m_spec.Layout.read(*Query(), record); }
    // The row must be being edited or appended.
    void WriteRecord(const R &record) { m_spec.Layout.write(record, *Query()); }

    // OnPost of windows opened from this set's list or frame.
    bool PostRecord(R &record)
    {
        return m_spec.Style == TPostStyle::StoreFirst ? postStoreFirst(record)
                                                      : postRowFirst(record);
    }

    // OnPrev and OnNext: one row back or forward from the record's own row
    // (staying put at either end); false for a closed or empty set.
    bool PriorRecord(R &record) { return step(record, -1); }
    bool NextRecord(R &record) { return step(record, 1); }

    // OnDrop: deletes the record's row; false when it is not listed.
    bool DropRecord(R &record)
    {
        if (!Active() || !Query()->Locate(m_spec.KeyField(), record.Id))
            return false;
        return DeleteCurrent();
    }

    // Deletes the current row's record; its row goes only when the table
    // reported exactly one row.
    bool DeleteCurrent()
    {
        TDataSet &rows = *Query();
        if (!rows.Active() || rows.IsEmpty())
            return false;
        const int id = rows.FieldByName(m_spec.KeyField())->AsInteger();
        if (!m_spec.DeleteRecordById(id))
            return false;
        m_droppedId = id;
        m_droppedRow = rows.CurrentRow();
        rows.Delete();
        return true;
    }

    // The four operations bound to this set.
    TRecordHooks<R> Hooks()
    {
        TRecordHooks<R> hooks;
        hooks.OnPost = [this](R &r) {
            return PostRecord(r);
        };
        hooks.OnPrev = [this](R &r) {
            return PriorRecord(r);
        };
        hooks.OnNext = [this](R &r) {
            return NextRecord(r);
        };
        hooks.OnDrop = [this](R &r) {
            return DropRecord(r);
        };
        return hooks;
    }

private:
    bool postStoreFirst(R &record)
    {
        if (!m_spec.StoreRecord(record))
            return false;
        TDataSet &rows = *Query();
        if (!rows.Active())
            return true;
        if (rows.Locate(m_spec.KeyField(), record.Id))
            rows.Edit();
        else
            rows.Append();
        WriteRecord(record);
        refreshFromTable(record.Id);
        rows.Post();
        return true;
    }

    bool postRowFirst(R &record)
    {
        TDataSet &rows = *Query();
        if (!rows.Active())
            return m_spec.StoreRecord(record);
        // A stored record whose row has gone (the list was queried again)
        // is still saved: it gets a row again rather than losing the edits.
        if (record.Id > 0 && rows.Locate(m_spec.KeyField(), record.Id))
            rows.Edit();
        else
            rows.Append();
        try {
            WriteRecord(record);
            R fromRow = record;
            ReadRecord(fromRow);
            if (!m_spec.StoreRecord(fromRow)) {
                rows.Cancel();
                return false;
            }
            rows.FieldByName(m_spec.KeyField())->SetValue(fromRow.Id);
            refreshFromTable(fromRow.Id);
            rows.Post();
        } catch (...) {
            rows.Cancel();
            throw;
        }
        ReadRecord(record);
        return true;
    }

    // The computed and joined columns (days, department, code) as the table
    // now gives them; the written values stay where the row cannot be read.
    void refreshFromTable(int id)
    {
        TRecordSet fresh;
        if (m_spec.FetchInto(fresh, id, 0))
            ModuleRows::CopyMatching(*fresh.DataSet(), *Query());
    }

    bool step(R &record, int direction)
    {
        TDataSet &rows = *Query();
        if (!rows.Active() || rows.IsEmpty())
            return false;
        if (rows.Locate(m_spec.KeyField(), record.Id)) {
            direction > 0 ? rows.Next() : rows.Prior();
        } else if (record.Id == m_droppedId && m_droppedRow >= 0) {
            // The record was just deleted here: its neighbours are the row
            // that took its place and the one before.
            const int row = direction > 0 ? m_droppedRow : m_droppedRow - 1;
            rows.SetCurrentRow(std::clamp(row, 0, rows.RecordCount() - 1));
        } else {
            direction > 0 ? rows.Next() : rows.Prior();
        }
        ReadRecord(record);
        return true;
    }

    const TModuleSpec<R> &m_spec;
    int m_droppedId = 0;
    int m_droppedRow = -1;
};

template <typename R> void TModuleSpec<R>::PrintRecord(int id) const
{
    if (RecordReportGroup <= 0 || id <= 0)
        return;
    TModuleSet<R> set(*this);
    std::unique_ptr<TModuleWhere> where = MakeWhere();
    where->IdFld->SetValue(id);
    set.Load(*where);
    PrintReports({set.Query()}, RecordReportGroup);
}

// The entity set of one particular module, with the module's class
// operations as static members: class TPostmoveSet : public
// TModuleSetOf<RPostmove, PostmoveModule> {}.
template <typename R, const TModuleSpec<R> &(*Module)()> class TModuleSetOf : public TModuleSet<R>
{
public:
    TModuleSetOf()
        : TModuleSet<R>(Module())
    { }

    static bool StoreRecord(R &record) { return Module().StoreRecord(record); }
    static bool FetchRecord(int id, int direction, R &record)
    {
        return Module().FetchRecord(id, direction, record);
    }
    static void PrintRecord(int id) { Module().PrintRecord(id); }
    static bool DeleteRecordById(int id) { return Module().DeleteRecordById(id); }
};
