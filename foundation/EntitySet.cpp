#include "EntitySet.h"

#include "Error.h"

#include <algorithm>

namespace {

TDatabase &dbOr(TDatabase *db)
{
    TDatabase *d = db ? db : TheDatabase;
    if (!d)
        throw QmError(QStringLiteral("没有数据库连接"));
    return *d;
}

} // namespace

QString TTableWrites::insertSql() const
{
    QStringList names = columns;
    names << key;
    QStringList values;
    for (const QString &c : names)
        values << QLatin1Char(':') + c;
    return QStringLiteral("insert into %1(%2)values(%3)")
        .arg(table, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
}

QString TTableWrites::updateSql() const
{
    QStringList sets;
    for (const QString &c : columns)
        sets << QStringLiteral("%1=:%1").arg(c);
    return QStringLiteral("update %1 set %2 where %3=:%3")
        .arg(table, sets.join(QStringLiteral(", ")), key);
}

QString TTableWrites::deleteSql() const
{
    return QStringLiteral("delete from %1 where %2=:%2").arg(table, key);
}

QString TTableWrites::maxIdSql() const
{
    return QStringLiteral("select max(%1) from %2").arg(key, table);
}

namespace Conventions {

int NextId(const QString &table, const QString &keyColumn, TDatabase *db)
{
    TDataSet set;
    dbOr(db).Fill(set, QStringLiteral("select max(%1) from %2").arg(keyColumn, table));
    return (set.IsEmpty() ? 0 : set.Fields(0)->AsInteger()) + 1;
}

void InTransaction(const std::function<void()> &work, TDatabase *db)
{
    TDatabase &d = dbOr(db);
    d.BeginTrans();
    try {
        work();
        d.CommitTrans();
    } catch (...) {
        try {
            d.RollbackTrans();
        } catch (...) {
            // The original error says more than a failed rollback would.
        }
        throw;
    }
}

void ExecExpectOne(const QString &sql, const TDBParameters &params, const QString &failMessage,
    const TxDBParameters &blobs, TDatabase *db)
{
    TDatabase &d = dbOr(db);
    InTransaction(
        [&] {
            if (d.ExecSQL(sql, params, blobs) != 1)
                throw QmError(failMessage);
        },
        &d);
}

bool TryStoreRow(const TTableWrites &writes, int &id, TDBParameters params,
    const TxDBParameters &blobs, TDatabase *db)
{
    TDatabase &d = dbOr(db);
    const bool inserting = id == 0;
    int newId = id;
    bool stored = false;
    d.BeginTrans();
    try {
        if (inserting)
            newId = NextId(writes.table, writes.key, &d);
        params.erase(std::remove_if(params.begin(), params.end(),
                         [&](const TDBParameter &p) {
                             return p.Name.compare(writes.key, Qt::CaseInsensitive) == 0;
                         }),
            params.end());
        params.append(MakeParameter(writes.key, newId));
        stored = d.ExecSQL(inserting ? writes.insertSql() : writes.updateSql(), params, blobs) == 1;
        if (stored)
            d.CommitTrans();
        else
            d.RollbackTrans();
    } catch (...) {
        try {
            d.RollbackTrans();
        } catch (...) {
            // The statement's own error says more.
        }
        throw;
    }
    if (stored)
        id = newId;
    return stored;
}

int StoreRow(const TTableWrites &writes, int id, TDBParameters params, const TxDBParameters &blobs,
    TDatabase *db)
{
    if (!TryStoreRow(writes, id, std::move(params), blobs, db))
        throw QmError(writes.failMessage);
    return id;
}

bool DeleteRowById(const TTableWrites &writes, int id, TDatabase *db)
{
    TDatabase &d = dbOr(db);
    bool deleted = false;
    d.BeginTrans();
    try {
        deleted = d.ExecSQL(writes.deleteSql(), {MakeParameter(writes.key, id)}) == 1;
        if (deleted)
            d.CommitTrans();
        else
            d.RollbackTrans();
    } catch (...) {
        d.RollbackTrans();
        throw;
    }
    return deleted;
}

bool FetchRow(TRecordSet &set, const QString &selectTemplate, const QString &keyExpression, int id,
    int direction)
{
    QString condition;
    if (direction == 0)
        condition = QStringLiteral("%1=:Id").arg(keyExpression);
    else if (direction == 1)
        condition = QStringLiteral("%1>:Id order by %1").arg(keyExpression);
    else
        condition = QStringLiteral("%1<:Id order by %1 desc").arg(keyExpression);
    QString sql = selectTemplate;
    sql.replace(QLatin1String("%s"), condition);
    set.Open(sql, {MakeParameter(QStringLiteral("Id"), id)});
    if (set.DataSet()->IsEmpty())
        return false;
    const QString keyName = keyExpression.section(QLatin1Char('.'), -1);
    const TField *key = set.FindField(keyName);
    return (key ? key->AsInteger() : set.DataSet()->Fields(0)->AsInteger()) > 0;
}

QStringList DistinctValues(const QString &sql, TDatabase *db)
{
    TDataSet set;
    dbOr(db).Fill(set, sql);
    QStringList values;
    for (int row = 0; row < set.RecordCount(); ++row)
        values << set.DisplayTextAt(row, 0);
    return values;
}

void MirrorSave(
    TDataSet &set, const QString &keyField, int id, const std::function<void(TDataSet &)> &fill)
{
    if (!set.Active())
        return;
    if (set.Locate(keyField, id))
        set.Edit();
    else
        set.Append();
    fill(set);
    set.FieldByName(keyField)->SetValue(id);
    set.UpdateRecord();
    set.Post();
}

} // namespace Conventions
