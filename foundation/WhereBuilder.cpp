#include "WhereBuilder.h"

#include "Error.h"

TWhereBuilder::TWhereBuilder(const TDatabase *db)
    : m_db(db)
{
}

const TDatabase &TWhereBuilder::db() const
{
    const TDatabase *d = m_db ? m_db : TheDatabase;
    if (!d)
        throw QmError(QStringLiteral("没有数据库连接"));
    return *d;
}

QString TWhereBuilder::bind(const QVariant &value)
{
    const QString name = QStringLiteral("qmw%1").arg(m_params.size() + 1);
    m_params.append(MakeParameter(name, value));
    return QLatin1Char(':') + name;
}

TWhereBuilder &TWhereBuilder::integerEquals(const QString &column, int value)
{
    m_text += QStringLiteral(" and %1=%2").arg(column).arg(value);
    return *this;
}

TWhereBuilder &TWhereBuilder::contains(const QString &column, const QString &value)
{
    const QString p = bind(QLatin1Char('%') + escapeLike(value) + QLatin1Char('%'));
    m_text += QStringLiteral(" and %1 like %2 escape '\\'").arg(column, p);
    return *this;
}

TWhereBuilder &TWhereBuilder::startsWith(const QString &column, const QString &value)
{
    const QString p = bind(escapeLike(value) + QLatin1Char('%'));
    m_text += QStringLiteral(" and %1 like %2 escape '\\'").arg(column, p);
    return *this;
}

TWhereBuilder &TWhereBuilder::textEquals(const QString &column, const QString &value)
{
    const QString p = bind(value);
    m_text += QStringLiteral(" and lower(%1)=lower(%2)").arg(column, p);
    return *this;
}

TWhereBuilder &TWhereBuilder::dateFrom(const QString &column, const QDateTime &value)
{
    m_text += QStringLiteral(" and %1>=%2").arg(column, db().DateLiteral(value));
    return *this;
}

TWhereBuilder &TWhereBuilder::dateTo(const QString &column, const QDateTime &value)
{
    m_text += QStringLiteral(" and %1<=%2").arg(column, db().DateLiteral(value));
    return *this;
}

TWhereBuilder &TWhereBuilder::raw(const QString &condition)
{
    m_text += condition;
    return *this;
}

TWhereBuilder &TWhereBuilder::withValue(const QString &conditionTemplate, const QVariant &value)
{
    const QString p = bind(value);
    QString condition = conditionTemplate;
    condition.replace(QLatin1String("%1"), p);
    m_text += condition;
    return *this;
}

QString TWhereBuilder::escapeLike(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

QString TWhereBuilder::quoted(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}
