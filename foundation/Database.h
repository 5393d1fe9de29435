#pragma once

#include "DataSet.h"
#include "SqlDialect.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <memory>

// A named value for a ":Name" placeholder.
struct TDBParameter
{
    QString Name;
    QVariant Value;
};
using TDBParameters = QList<TDBParameter>;
TDBParameter MakeParameter(const QString &name, const QVariant &value);

// A binary large object for a ":Name" placeholder (the stream's whole content).
struct TxDBParameter
{
    QString Name;
    QByteArray Stream;
};
using TxDBParameters = QList<TxDBParameter>;

// The program's one database connection.
//
// Connection strings are "key=value;..." lists. "Provider" names the engine:
// "SQLite" (a database file, "Data Source" is its path) or "PostgreSQL"
// ("Data Source" is the server or its socket folder, with "Port",
// "Initial Catalog", "User ID", "Password"). Every statement passes through the
// engine's SqlDialect::translate() first. Errors are raised as QmError with the
// engine's message, "\r\n" and the SQL text. A closed connection is reopened
// on next use, except inside a transaction, where that would silently commit
// half of it: there the statement fails.
class TDatabase
{
public:
    static const QString SqliteProvider;
    static const QString PostgresProvider;

    TDatabase();
    ~TDatabase();
    TDatabase(const TDatabase &) = delete;
    TDatabase &operator=(const TDatabase &) = delete;

    // Closes, sets the string and opens; a failure shows
    // "连接时失败,提示如下:\r\n%s" and returns false.
    bool Connect(const QString &connectionString);
    bool Connected() const;
    void SetConnected(bool connected);
    // The engine's message of the last failed Connect.
    QString LastConnectError() const { return m_lastConnectError; }

    // Runs a statement that returns no rows; returns the affected row count.
    int ExecSQL(const QString &sql, const TDBParameters &params = {}, const TxDBParameters &blobs = {});
    // The same where no count is needed.
    void Execute(const QString &sql, const TDBParameters &params = {}, const TxDBParameters &blobs = {});
    // Runs a select and fills the data set with its rows.
    void Fill(TDataSet &set, const QString &sql, const TDBParameters &params = {});

    // Returns the nesting level (1 for the outermost transaction); inner levels
    // are savepoints, so rolling one back keeps the outer work.
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    int TransactionLevel() const { return m_transactionLevel; }

    QString ConnectionString() const { return m_connectionString; }
    QString ConnectionValue(const QString &key) const;
    QString DataSource() const { return ConnectionValue(QStringLiteral("Data Source")); }
    QString Provider() const { return ConnectionValue(QStringLiteral("Provider")); }
    // True unless the provider is the standalone engine (SQLite).
    bool IsSqlServer() const;
    SqlEngine Engine() const { return IsSqlServer() ? SqlEngine::PostgreSQL : SqlEngine::SQLite; }
    const SqlDialect &Dialect() const;

    QString DateLiteral(const QDateTime &value) const { return Dialect().DateLiteral(value); }
    QString NowFunction() const { return Dialect().NowFunction(); }
    QString AgeExpression(const QString &expression) const { return Dialect().AgeExpression(expression); }
    QString DateDiffUnit(const QString &unit) const { return Dialect().DateDiffUnit(unit); }
    QDateTime ServerNow();

    // The value as it is bound: dates in the canonical text form, booleans as 0/1.
    static QVariant BindableValue(const QVariant &value);

    // A statement prepared once and run many times (bulk loads; the program's
    // own writes go through ExecSQL).
    class Batch
    {
    public:
        Batch(TDatabase &db, const QString &sql);
        ~Batch();
        int exec(const TDBParameters &params);

    private:
        struct Private;
        std::unique_ptr<Private> d;
    };

private:
    void ensureOpen();
    bool openConnection(QString *error);
    void closeConnection();
    int run(const QString &sql, const TDBParameters &params, const TxDBParameters &blobs);
    [[noreturn]] void fail(const QString &engineMessage, const QString &sql) const;

    QString m_connectionString;
    QString m_connectionName;
    QString m_lastConnectError;
    int m_transactionLevel = 0;
    mutable std::unique_ptr<SqlDialect> m_dialect;
    mutable SqlEngine m_dialectEngine = SqlEngine::SQLite;
};

// The one connection of the process and the record set for one-off selects.
extern TDatabase *TheDatabase;
class TRecordSet;
extern TRecordSet *SharedRecordSet;
