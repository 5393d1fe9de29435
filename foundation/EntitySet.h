#pragma once

#include "RecordSet.h"

#include <QStringList>
#include <QVariant>
#include <variant>
#include <vector>

// The conventions every entity set follows, written once: row records mapped
// to fields and parameters, max-plus-one ids, single-row saves and deletes
// that must change exactly one row, mirroring a save in the cached list,
// navigation across the whole table and lists of distinct values.

// Maps the members of a row record R to the columns of the same name. Dates
// are QVariant members so that an empty date stays NULL all the way.
template <typename R> class TRecordLayout
{
public:
    TRecordLayout &integer(const QString &name, int R::*member) { return add(name, member); }
    TRecordLayout &text(const QString &name, QString R::*member) { return add(name, member); }
    TRecordLayout &real(const QString &name, double R::*member) { return add(name, member); }
    TRecordLayout &date(const QString &name, QVariant R::*member) { return add(name, member); }
    TRecordLayout &boolean(const QString &name, bool R::*member) { return add(name, member); }
    TRecordLayout &bytes(const QString &name, QByteArray R::*member) { return add(name, member); }

    // The current row into the record (ReadRecord).
    void read(const TDataSet &set, R &record) const
    {
        for (const Item &item : m_items) {
            const TField *f = set.FieldByName(item.name);
            std::visit(
                [&](auto member) {
                    using T = std::decay_t<decltype(record.*member)>;
                    if constexpr (std::is_same_v<T, int>)
                        record.*member = f->AsInteger();
                    else if constexpr (std::is_same_v<T, QString>)
                        record.*member = f->AsString();
                    else if constexpr (std::is_same_v<T, double>)
                        record.*member = f->AsFloat();
                    else if constexpr (std::is_same_v<T, bool>)
                        record.*member = f->AsBoolean();
                    else if constexpr (std::is_same_v<T, QByteArray>)
                        record.*member = f->AsBytes();
                    else
                        record.*member = f->IsNull() ? QVariant() : QVariant(f->AsDateTime());
                },
                item.member);
        }
    }

    // The record into the row being edited or appended (WriteRecord); fields
    // the set does not have are skipped.
    void write(const R &record, TDataSet &set) const
    {
        for (const Item &item : m_items) {
            TField *f = set.FindField(item.name);
            if (!f)
                continue;
            std::visit([&](auto member) { f->SetValue(QVariant::fromValue(record.*member)); },
                item.member);
        }
    }

    // One parameter per member, named after its column.
    TDBParameters parameters(const R &record, const QStringList &only = {}) const
    {
        TDBParameters params;
        for (const Item &item : m_items) {
            if (!only.isEmpty() && !only.contains(item.name, Qt::CaseInsensitive))
                continue;
            std::visit(
                [&](auto member) {
                    params.append(MakeParameter(item.name, QVariant::fromValue(record.*member)));
                },
                item.member);
        }
        return params;
    }

    QStringList names() const
    {
        QStringList list;
        for (const Item &item : m_items)
            list << item.name;
        return list;
    }

private:
    using Member = std::variant<int R::*, QString R::*, double R::*, QVariant R::*, bool R::*,
        QByteArray R::*>;
    struct Item
    {
        QString name;
        Member member;
    };
    template <typename M> TRecordLayout &add(const QString &name, M member)
    {
        m_items.push_back(Item{name, Member(member)});
        return *this;
    }
    std::vector<Item> m_items;
};

// One table's write statements, built from its columns the way every module
// writes them: the insert lists every column with a parameter of the same name
// and the key last; the update sets every column and ends "where Key=:Key".
struct TTableWrites
{
    QString table;
    QString key;
    QStringList columns; // without the key
    QString failMessage; // raised when a save does not change exactly one row

    QString insertSql() const;
    QString updateSql() const;
    QString deleteSql() const;
    QString maxIdSql() const;
};

namespace Conventions {

// max(key) + 1 of the table, 1 for an empty table.
int NextId(const QString &table, const QString &keyColumn, TDatabase *db = nullptr);

// Runs one statement that must change exactly one row. Any other count rolls
// it back (the table stays as it was) and raises failMessage.
void ExecExpectOne(const QString &sql, const TDBParameters &params, const QString &failMessage,
    const TxDBParameters &blobs = {}, TDatabase *db = nullptr);

// Saves a record by id: 0 inserts under a new id (returned), anything else
// updates that row. Raises failMessage unless exactly one row changed.
// The same without raising for the count: false (rolled back, id
// unchanged) unless exactly one row changed; on success id is the row's id.
bool TryStoreRow(const TTableWrites &writes, int &id, TDBParameters params,
    const TxDBParameters &blobs = {}, TDatabase *db = nullptr);
int StoreRow(const TTableWrites &writes, int id, TDBParameters params,
    const TxDBParameters &blobs = {}, TDatabase *db = nullptr);

// "delete from table where key=:key"; true only when exactly one row went
// (any other count is rolled back).
bool DeleteRowById(const TTableWrites &writes, int id, TDatabase *db = nullptr);

// Fills set with the row of selectTemplate ("... and %s") whose key is id
// (direction 0), the next higher (1) or the next lower (any other) one;
// true when such a row with a key above 0 exists.
bool FetchRow(TRecordSet &set, const QString &selectTemplate, const QString &keyExpression, int id,
    int direction);

// The first column of every row of a grouped select, for combo boxes.
QStringList DistinctValues(const QString &sql, TDatabase *db = nullptr);

// After a successful save: finds the id in the cached rows (or appends a row),
// lets fill write the record into it, and posts.
void MirrorSave(
    TDataSet &set, const QString &keyField, int id, const std::function<void(TDataSet &)> &fill);

// Runs a transaction around work: commit when it returns, roll back and
// rethrow when it throws.
void InTransaction(const std::function<void()> &work, TDatabase *db = nullptr);

} // namespace Conventions
