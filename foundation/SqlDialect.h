#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

enum class SqlEngine { SQLite, PostgreSQL };

// What differs between the two engines, in one place.
//
// The program writes its SQL in one common dialect: ":Name" parameters,
// "select top N", [bracketed] names, month()/day()/year(), datediff(unit, a, b),
// Now, Date() and GetDate(), #yyyy-mm-dd# date literals, True/False, and
// "date column - now" for a number of days. The fragment operations below
// return exactly that common text; translate() turns any statement written in
// it into the engine's own SQL just before it runs.
class SqlDialect
{
public:
    virtual ~SqlDialect() = default;

    static std::unique_ptr<SqlDialect> create(SqlEngine engine);

    virtual SqlEngine engine() const = 0;

    // The fragments as the program's SQL uses them.
    virtual QString DateLiteral(const QDateTime &value) const = 0;
    virtual QString NowFunction() const = 0;
    virtual QString AgeExpression(const QString &expression) const = 0;
    virtual QString DateDiffUnit(const QString &unit) const = 0;
    virtual QString ServerNowQuery() const = 0;

    // The common dialect turned into the engine's SQL; text inside string
    // literals and comments is never touched.
    QString translate(const QString &sql) const;

    // Engine-specific expressions used by translate().
    virtual QString dateLiteralSql(const QDate &date) const = 0;
    virtual QString nowSql() const = 0;
    virtual QString todaySql() const = 0;
    virtual QString datePartSql(const QString &part, const QString &arg) const = 0;
    // datediff: the calendar units (years, quarters, months) from datePartSql,
    // the rest from the engine's own day and clock arithmetic.
    QString dateDiffSql(const QString &unit, const QString &from, const QString &to) const;
    virtual QString clockDiffSql(const QString &unit, const QString &from, const QString &to) const = 0;
    virtual QString daysBetweenSql(const QString &later, const QString &earlier) const = 0;
    virtual QString bracketedName(const QString &name) const = 0;
    virtual QString likeKeyword() const = 0;

    // The ":Name" placeholders of a statement, in order of appearance.
    static QStringList placeholders(const QString &sql);
    // The statement with its ":Name" placeholders numbered "$1", "$2", ... (a
    // name used twice keeps its number); names receives them in number order.
    static QString positional(const QString &sql, QStringList *names);

    // The one text form of a date-time in the database and in parameters.
    static QString canonicalDateTime(const QDateTime &value);
    static constexpr const char *canonicalFormat = "yyyy-MM-dd HH:mm:ss";
};
