#pragma once

#include "Database.h"

#include <QDateTime>
#include <QString>

// Builds the " and ..." condition text of a criteria query.
//
// Typed values never enter the SQL text: each becomes a bound parameter
// (":qmw1", ":qmw2", ...), so quotes, "%" and "_" in what the user typed can
// neither break nor extend the statement and match literally. Texts compare
// without regard to letter case on both engines. Integers and dates, which the
// program formats itself, are written into the text.
class TWhereBuilder
{
public:
    explicit TWhereBuilder(const TDatabase *db = nullptr);

    // " and column=N"
    TWhereBuilder &integerEquals(const QString &column, int value);
    // " and column like '%value%'", the value taken literally.
    TWhereBuilder &contains(const QString &column, const QString &value);
    // " and column like 'value%'"
    TWhereBuilder &startsWith(const QString &column, const QString &value);
    // " and column='value'", ignoring letter case.
    TWhereBuilder &textEquals(const QString &column, const QString &value);
    // " and column>=DATE" / " and column<=DATE" with the dialect's literal.
    TWhereBuilder &dateFrom(const QString &column, const QDateTime &value);
    TWhereBuilder &dateTo(const QString &column, const QDateTime &value);
    // A condition the program wrote itself (must begin with " and ").
    TWhereBuilder &raw(const QString &condition);
    // A condition with its own placeholders, "%1" standing for the parameter
    // that receives value: raw(" and (a like %1 or b like %1)", ...).
    TWhereBuilder &withValue(const QString &conditionTemplate, const QVariant &value);

    QString text() const { return m_text; }
    const TDBParameters &params() const { return m_params; }
    bool isEmpty() const { return m_text.isEmpty(); }

    // value with "\", "%" and "_" escaped for "like ... escape '\'".
    static QString escapeLike(const QString &value);
    // A text literal with quotes doubled: only for values that came from the
    // database itself, never for typed input.
    static QString quoted(const QString &value);

private:
    QString bind(const QVariant &value);
    const TDatabase &db() const;

    const TDatabase *m_db;
    QString m_text;
    TDBParameters m_params;
};
