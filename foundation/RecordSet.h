#pragma once

#include "DataSet.h"
#include "Database.h"

#include <QString>
#include <functional>
#include <memory>

// The bases of every entity set, settings store and criteria record. Each one
// owns a TDataSet: a cached copy of a select's rows (or, for the client sets,
// rows made in memory) that is edited by hand and never written back; writes
// are explicit statements on TheDatabase.

// Common part: the owned rows, opening through TheDatabase and navigation.
class TSetBase
{
public:
    TSetBase();
    virtual ~TSetBase();
    TSetBase(const TSetBase &) = delete;
    TSetBase &operator=(const TSetBase &) = delete;

    // Runs the select and caches its rows; returns the row count. A failing
    // select shows "SQL语句错误,原文如下:..." and ends the caller's operation
    // (SilentAbort), leaving the set closed.
    int Open(const QString &sql, const TDBParameters &params = {});
    void Close();
    bool Active() const { return m_data->Active(); }
    QString SqlText() const { return m_sql; }
    TDBParameters Params() const { return m_params; }

    // The cursor moves and reports false when the set is closed or empty; at
    // either end it stays on the last or first row and reports true.
    bool PriorRecord();
    bool NextRecord();

    TField *FieldByName(const QString &name) const { return m_data->FieldByName(name); }
    TField *FindField(const QString &name) const { return m_data->FindField(name); }

    // The database the set reads from (TheDatabase unless set).
    void SetDatabase(TDatabase *db) { m_db = db; }
    TDatabase &database() const;

protected:
    std::unique_ptr<TDataSet> m_data;
    QString m_sql;
    TDBParameters m_params;
    TDatabase *m_db = nullptr;
};

// An entity set: declared fields with display width 75, a query the grids and
// reports read, and a reopen that keeps the current row.
class TQuerySet : public TSetBase
{
public:
    TDataSet *Query() const { return m_data.get(); }
    TField *AddField(FieldKind kind, const QString &name, int size = -1, bool visible = true,
        const QString &label = QString());
    // Opens the same statement again; with a key field, returns to the row
    // whose key had been current.
    void Reopen(const QString &keyField = QString());
    void UpdateRecord() { m_data->UpdateRecord(); }
    void CancelEdit() { m_data->Cancel(); }
    void PostEdit();
};

// A general-purpose record set: settings stores, probes, one-off selects.
class TRecordSet : public TSetBase
{
public:
    TDataSet *DataSet() const { return m_data.get(); }
    TField *AddField(FieldKind kind, const QString &name, int size = -1, bool visible = true,
        const QString &label = QString());
    void RemoveCurrent();
    void RemoveAll();
    // The field's text of every row, first to last, joined by separator.
    QString JoinValues(const QString &fieldName, const QString &separator) const;
};

// An in-memory set whose fields are declared in code and which starts empty.
class TQmClientDataSet
{
public:
    using TCalcProgressEvent = std::function<void(int count, int position)>;
    using TProgressEvent = std::function<void(int count, int position, const QString &hint)>;

    TQmClientDataSet();
    virtual ~TQmClientDataSet();
    TQmClientDataSet(const TQmClientDataSet &) = delete;
    TQmClientDataSet &operator=(const TQmClientDataSet &) = delete;

    TDataSet *DataSet() const { return m_data.get(); }
    void CreateDataSet() { m_data->CreateDataSet(); }
    TField *AddField(
        FieldKind kind, const QString &name, bool visible = true, const QString &label = QString());
    // Sizes above 20 are kept up to 140; smaller ones take the default of 20.
    TField *AddFieldDef(FieldKind kind, const QString &name, int size, bool visible = true,
        const QString &label = QString());

    TCalcProgressEvent OnProgress;
    TProgressEvent OnProgress2;
    double LostTime = 0;

protected:
    std::unique_ptr<TDataSet> m_data;
};

// A criteria record: one row whose fields are the criteria of one query. An
// empty text, a zero integer and a NULL date mean "not set".
class TCustomWhere : public TQmClientDataSet
{
public:
    // Forgets every criterion.
    virtual void Reset();
    void UpdateRecord() { m_data->UpdateRecord(); }

    // The criteria as the one posted row of a new set, for readers that walk
    // rows (the report host): the criteria row itself stays open for the
    // bound controls, so it is not a row of its own set yet.
    std::unique_ptr<TDataSet> Snapshot();

    static bool IsSet(const TField *criterion);

protected:
    // Called by a subclass's constructor after it declared its criteria.
    void CreateCriteria();
};
