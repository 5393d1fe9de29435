#include "SqlDialect.h"

#include <QHash>
#include <QVector>

namespace {

enum class TokenType { Space, Comment, String, QuotedName, BracketName, DateHash, Word, Number, Parameter, Symbol };

struct Token
{
    TokenType type;
    QString text;
};

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() > 0x7f;
}

bool isWordChar(QChar c)
{
    return isWordStart(c) || c.isDigit() || c == QLatin1Char('$');
}

QVector<Token> tokenize(const QString &sql)
{
    QVector<Token> tokens;
    const int n = sql.size();
    int i = 0;
    auto push = [&](TokenType type, int from, int to) { tokens.append({type, sql.mid(from, to - from)}); };
    while (i < n) {
        const QChar c = sql.at(i);
        const int start = i;
        if (c.isSpace()) {
            while (i < n && sql.at(i).isSpace())
                ++i;
            push(TokenType::Space, start, i);
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            while (i < n && sql.at(i) != QLatin1Char('\n'))
                ++i;
            push(TokenType::Comment, start, i);
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            const int end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            push(TokenType::Comment, start, i);
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (sql.at(i) == c) {
                    if (i + 1 < n && sql.at(i + 1) == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            push(c == QLatin1Char('\'') ? TokenType::String : TokenType::QuotedName, start, i);
        } else if (c == QLatin1Char('[')) {
            const int end = sql.indexOf(QLatin1Char(']'), i + 1);
            i = end < 0 ? n : end + 1;
            push(TokenType::BracketName, start, i);
        } else if (c == QLatin1Char('#')) {
            const int end = sql.indexOf(QLatin1Char('#'), i + 1);
            if (end > i && QDate::fromString(sql.mid(i + 1, end - i - 1), QStringLiteral("yyyy-MM-dd")).isValid()) {
                i = end + 1;
                push(TokenType::DateHash, start, i);
            } else {
                ++i;
                push(TokenType::Symbol, start, i);
            }
        } else if (c == QLatin1Char(':') && i + 1 < n && isWordStart(sql.at(i + 1))
            && !(i > 0 && sql.at(i - 1) == QLatin1Char(':'))) {
            ++i;
            while (i < n && isWordChar(sql.at(i)))
                ++i;
            push(TokenType::Parameter, start, i);
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(sql.at(i)))
                ++i;
            push(TokenType::Word, start, i);
        } else if (c.isDigit()) {
            while (i < n && (sql.at(i).isDigit() || sql.at(i) == QLatin1Char('.')))
                ++i;
            push(TokenType::Number, start, i);
        } else {
            ++i;
            push(TokenType::Symbol, start, i);
        }
    }
    return tokens;
}

bool isSymbol(const Token &t, char c)
{
    return t.type == TokenType::Symbol && t.text.size() == 1 && t.text.at(0) == QLatin1Char(c);
}

bool isWord(const Token &t, const char *word)
{
    return t.type == TokenType::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool insignificant(const Token &t)
{
    return t.type == TokenType::Space || t.type == TokenType::Comment;
}

class Translator
{
public:
    Translator(const SqlDialect &dialect, QVector<Token> tokens)
        : d(dialect)
        , t(std::move(tokens))
    {
    }

    QString run() { return rewrite(0, t.size()); }

private:
    const SqlDialect &d;
    QVector<Token> t;

    int nextSignificant(int i, int end) const
    {
        while (i < end && insignificant(t[i]))
            ++i;
        return i;
    }

    int prevSignificant(int i, int begin) const
    {
        while (i >= begin && insignificant(t[i]))
            --i;
        return i;
    }

    // Index of the ")" matching the "(" at open, or end when unbalanced.
    int matchingParen(int open, int end) const
    {
        int depth = 0;
        for (int i = open; i < end; ++i) {
            if (isSymbol(t[i], '('))
                ++depth;
            else if (isSymbol(t[i], ')') && --depth == 0)
                return i;
        }
        return end;
    }

    QStringList arguments(int open, int close) const
    {
        QStringList args;
        int depth = 0;
        int from = open + 1;
        for (int i = open + 1; i < close; ++i) {
            if (isSymbol(t[i], '('))
                ++depth;
            else if (isSymbol(t[i], ')'))
                --depth;
            else if (depth == 0 && isSymbol(t[i], ',')) {
                args << rewrite(from, i).trimmed();
                from = i + 1;
            }
        }
        const QString last = rewrite(from, close).trimmed();
        if (!last.isEmpty() || !args.isEmpty())
            args << last;
        return args;
    }

    // A "now" at i: the bare word Now, or now()/GetDate()/Date() with no
    // arguments. Returns the index past it, or -1.
    int nowAt(int i, int end, QString *sql) const
    {
        if (i >= end || t[i].type != TokenType::Word)
            return -1;
        const int after = nextSignificant(i + 1, end);
        const bool call = after < end && isSymbol(t[after], '(');
        if (call) {
            const int close = nextSignificant(after + 1, end);
            if (close >= end || !isSymbol(t[close], ')'))
                return -1;
            if (isWord(t[i], "now") || isWord(t[i], "getdate")) {
                *sql = d.nowSql();
                return close + 1;
            }
            if (isWord(t[i], "date")) {
                *sql = d.todaySql();
                return close + 1;
            }
            return -1;
        }
        if (isWord(t[i], "now") && !(i > 0 && isSymbol(t[i - 1], '.'))) {
            *sql = d.nowSql();
            return i + 1;
        }
        return -1;
    }

    // A column reference "a.b.c" starting at i; returns the index past it.
    int columnRefEnd(int i, int end) const
    {
        if (t[i].type != TokenType::Word && t[i].type != TokenType::BracketName
            && t[i].type != TokenType::QuotedName)
            return i;
        int j = i + 1;
        while (j + 1 < end && isSymbol(t[j], '.')
            && (t[j + 1].type == TokenType::Word || t[j + 1].type == TokenType::BracketName)) {
            j += 2;
        }
        return j;
    }

    QString rewrite(int begin, int end) const
    {
        QString out;
        // Each open "select top N" waits for the end of its parenthesis level.
        struct PendingLimit
        {
            int depth;
            QString count;
        };
        QVector<PendingLimit> limits;
        int depth = 0;
        auto closeLimits = [&](int atDepth) {
            while (!limits.isEmpty() && limits.last().depth == atDepth) {
                out += QStringLiteral(" limit ") + limits.last().count;
                limits.removeLast();
            }
        };

        for (int i = begin; i < end; ++i) {
            const Token &tok = t[i];
            switch (tok.type) {
            case TokenType::BracketName:
                out += d.bracketedName(tok.text.mid(1, tok.text.size() - 2));
                continue;
            case TokenType::DateHash:
                out += d.dateLiteralSql(QDate::fromString(tok.text.mid(1, tok.text.size() - 2), QStringLiteral("yyyy-MM-dd")));
                continue;
            case TokenType::Symbol:
                if (isSymbol(tok, '(')) {
                    ++depth;
                } else if (isSymbol(tok, ')')) {
                    closeLimits(depth);
                    --depth;
                }
                out += tok.text;
                continue;
            case TokenType::Word:
                break;
            default:
                out += tok.text;
                continue;
            }

            // Words.
            if (isWord(tok, "select")) {
                out += tok.text;
                int j = nextSignificant(i + 1, end);
                if (j < end && isWord(t[j], "distinct")) {
                    out += QLatin1Char(' ') + t[j].text;
                    j = nextSignificant(j + 1, end);
                }
                if (j < end && isWord(t[j], "top")) {
                    const int k = nextSignificant(j + 1, end);
                    if (k < end && t[k].type == TokenType::Number) {
                        limits.append({depth, t[k].text});
                        i = k;
                        continue;
                    }
                }
                // Not a "top": emit what was skipped over unchanged.
                for (int s = i + 1; s < j && s < end; ++s)
                    if (!isWord(t[s], "distinct"))
                        out += t[s].text;
                i = j - 1;
                continue;
            }

            QString nowSql;
            const int nowEnd = nowAt(i, end, &nowSql);
            if (nowEnd > 0) {
                // "now - column" gives days as a number on both engines.
                const int minus = nextSignificant(nowEnd, end);
                if (minus < end && isSymbol(t[minus], '-')) {
                    const int col = nextSignificant(minus + 1, end);
                    if (col < end && t[col].type == TokenType::Word && nowAt(col, end, &nowSql) < 0) {
                        const int colEnd = columnRefEnd(col, end);
                        out += d.daysBetweenSql(nowSql, rewrite(col, colEnd));
                        i = colEnd - 1;
                        continue;
                    }
                }
                out += nowSql;
                i = nowEnd - 1;
                continue;
            }

            const int after = nextSignificant(i + 1, end);
            if (after < end && isSymbol(t[after], '(')) {
                const int close = matchingParen(after, end);
                const QString name = tok.text.toLower();
                if (name == QLatin1String("month") || name == QLatin1String("day")
                    || name == QLatin1String("year")) {
                    const QStringList args = arguments(after, close);
                    if (args.size() == 1) {
                        out += d.datePartSql(name, args.first());
                        i = close;
                        continue;
                    }
                } else if (name == QLatin1String("datediff")) {
                    const QStringList args = arguments(after, close);
                    if (args.size() == 3) {
                        QString unit = args.at(0);
                        if (unit.startsWith(QLatin1Char('\'')) && unit.endsWith(QLatin1Char('\'')) && unit.size() >= 2)
                            unit = unit.mid(1, unit.size() - 2);
                        out += d.dateDiffSql(unit.toLower(), args.at(1), args.at(2));
                        i = close;
                        continue;
                    }
                }
                out += tok.text;
                continue;
            }

            if (isWord(tok, "true") || isWord(tok, "false")) {
                const int prev = prevSignificant(i - 1, begin);
                if (prev < begin || !isSymbol(t[prev], '.')) {
                    out += isWord(tok, "true") ? QStringLiteral("1") : QStringLiteral("0");
                    continue;
                }
            }
            if (isWord(tok, "like")) {
                out += d.likeKeyword();
                continue;
            }

            // "column - now" gives days as a number on both engines.
            const int colEnd = columnRefEnd(i, end);
            const int minus = nextSignificant(colEnd, end);
            if (minus < end && isSymbol(t[minus], '-')) {
                const int rhs = nextSignificant(minus + 1, end);
                QString rhsNow;
                const int rhsEnd = nowAt(rhs, end, &rhsNow);
                if (rhsEnd > 0) {
                    QString column;
                    for (int s = i; s < colEnd; ++s)
                        column += t[s].type == TokenType::BracketName
                            ? d.bracketedName(t[s].text.mid(1, t[s].text.size() - 2))
                            : t[s].text;
                    out += d.daysBetweenSql(column, rhsNow);
                    i = rhsEnd - 1;
                    continue;
                }
            }
            out += tok.text;
        }
        closeLimits(depth);
        while (!limits.isEmpty()) {
            out += QStringLiteral(" limit ") + limits.last().count;
            limits.removeLast();
        }
        return out;
    }
};

QString dateOnly(const QDateTime &value)
{
    return value.date().toString(QStringLiteral("yyyy-MM-dd"));
}

class SqliteDialect : public SqlDialect
{
public:
    SqlEngine engine() const override { return SqlEngine::SQLite; }
    QString DateLiteral(const QDateTime &value) const override
    {
        return QLatin1Char('#') + dateOnly(value) + QLatin1Char('#');
    }
    QString NowFunction() const override { return QStringLiteral("Now"); }
    QString AgeExpression(const QString &expression) const override
    {
        return QStringLiteral(" datediff('yyyy', %1, Date()) ").arg(expression);
    }
    QString DateDiffUnit(const QString &unit) const override { return QLatin1Char('\'') + unit + QLatin1Char('\''); }
    QString ServerNowQuery() const override { return QStringLiteral("select now"); }

    QString dateLiteralSql(const QDate &date) const override
    {
        return QLatin1Char('\'') + date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00'");
    }
    QString nowSql() const override { return QStringLiteral("datetime('now','localtime')"); }
    QString todaySql() const override { return QStringLiteral("datetime('now','localtime','start of day')"); }
    QString datePartSql(const QString &part, const QString &arg) const override
    {
        const char *code = part == QLatin1String("year") ? "%Y" : part == QLatin1String("month") ? "%m" : "%d";
        return QStringLiteral("cast(strftime('%1',%2) as integer)").arg(QLatin1String(code), arg);
    }
    QString clockDiffSql(const QString &unit, const QString &from, const QString &to) const override
    {
        const QString days = QStringLiteral("cast(julianday(date(%1))-julianday(date(%2)) as integer)").arg(to, from);
        if (unit == QLatin1String("ww") || unit == QLatin1String("wk"))
            return QStringLiteral("(%1/7)").arg(days);
        if (unit == QLatin1String("h") || unit == QLatin1String("hh"))
            return QStringLiteral("cast((julianday(%1)-julianday(%2))*24 as integer)").arg(to, from);
        if (unit == QLatin1String("n") || unit == QLatin1String("mi"))
            return QStringLiteral("cast((julianday(%1)-julianday(%2))*1440 as integer)").arg(to, from);
        if (unit == QLatin1String("s") || unit == QLatin1String("ss"))
            return QStringLiteral("cast((julianday(%1)-julianday(%2))*86400 as integer)").arg(to, from);
        return days;
    }
    QString daysBetweenSql(const QString &later, const QString &earlier) const override
    {
        return QStringLiteral("(julianday(%1)-julianday(%2))").arg(later, earlier);
    }
    QString bracketedName(const QString &name) const override { return QLatin1Char('[') + name + QLatin1Char(']'); }
    QString likeKeyword() const override { return QStringLiteral("like"); }
};

class PostgresDialect : public SqlDialect
{
public:
    SqlEngine engine() const override { return SqlEngine::PostgreSQL; }
    QString DateLiteral(const QDateTime &value) const override
    {
        return QLatin1Char('\'') + dateOnly(value) + QLatin1Char('\'');
    }
    QString NowFunction() const override { return QStringLiteral("GetDate()"); }
    QString AgeExpression(const QString &expression) const override
    {
        return QStringLiteral(" datediff(yyyy, %1, GetDate()) ").arg(expression);
    }
    QString DateDiffUnit(const QString &unit) const override { return unit; }
    QString ServerNowQuery() const override { return QStringLiteral("select GetDate()"); }

    QString dateLiteralSql(const QDate &date) const override
    {
        return QStringLiteral("timestamp '") + date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
    }
    QString nowSql() const override { return QStringLiteral("localtimestamp(0)"); }
    QString todaySql() const override { return QStringLiteral("cast(current_date as timestamp)"); }
    QString datePartSql(const QString &part, const QString &arg) const override
    {
        return QStringLiteral("cast(extract(%1 from %2) as integer)").arg(part, arg);
    }
    QString clockDiffSql(const QString &unit, const QString &from, const QString &to) const override
    {
        const QString days = QStringLiteral("(cast(%1 as date)-cast(%2 as date))").arg(to, from);
        if (unit == QLatin1String("ww") || unit == QLatin1String("wk"))
            return QStringLiteral("(%1/7)").arg(days);
        const QString seconds = QStringLiteral("extract(epoch from (%1)-(%2))").arg(to, from);
        if (unit == QLatin1String("h") || unit == QLatin1String("hh"))
            return QStringLiteral("cast(trunc(%1/3600) as integer)").arg(seconds);
        if (unit == QLatin1String("n") || unit == QLatin1String("mi"))
            return QStringLiteral("cast(trunc(%1/60) as integer)").arg(seconds);
        if (unit == QLatin1String("s") || unit == QLatin1String("ss"))
            return QStringLiteral("cast(trunc(%1) as integer)").arg(seconds);
        return days;
    }
    QString daysBetweenSql(const QString &later, const QString &earlier) const override
    {
        return QStringLiteral("(extract(epoch from (%1)-(%2))/86400.0)").arg(later, earlier);
    }
    QString bracketedName(const QString &name) const override
    {
        return QLatin1Char('"') + name.toLower() + QLatin1Char('"');
    }
    QString likeKeyword() const override { return QStringLiteral("ilike"); }
};

} // namespace

std::unique_ptr<SqlDialect> SqlDialect::create(SqlEngine engine)
{
    if (engine == SqlEngine::PostgreSQL)
        return std::make_unique<PostgresDialect>();
    return std::make_unique<SqliteDialect>();
}

QString SqlDialect::dateDiffSql(const QString &unit, const QString &from, const QString &to) const
{
    const QString y1 = datePartSql(QStringLiteral("year"), from), y2 = datePartSql(QStringLiteral("year"), to);
    const QString m1 = datePartSql(QStringLiteral("month"), from), m2 = datePartSql(QStringLiteral("month"), to);
    if (unit == QLatin1String("yyyy") || unit == QLatin1String("yy"))
        return QStringLiteral("(%1-%2)").arg(y2, y1);
    if (unit == QLatin1String("m") || unit == QLatin1String("mm"))
        return QStringLiteral("((%1-%2)*12+%3-%4)").arg(y2, y1, m2, m1);
    if (unit == QLatin1String("q") || unit == QLatin1String("qq"))
        return QStringLiteral("((%1-%2)*4+(%3-1)/3-(%4-1)/3)").arg(y2, y1, m2, m1);
    return clockDiffSql(unit, from, to);
}

QString SqlDialect::translate(const QString &sql) const
{
    return Translator(*this, tokenize(sql)).run();
}

QString SqlDialect::canonicalDateTime(const QDateTime &value)
{
    return value.toString(QLatin1String(canonicalFormat));
}

QStringList SqlDialect::placeholders(const QString &sql)
{
    QStringList names;
    for (const Token &token : tokenize(sql))
        if (token.type == TokenType::Parameter)
            names << token.text.mid(1);
    return names;
}

QString SqlDialect::positional(const QString &sql, QStringList *names)
{
    QString out;
    names->clear();
    // Bulk inserts carry thousands of placeholders.
    QHash<QString, int> seen;
    for (const Token &token : tokenize(sql)) {
        if (token.type != TokenType::Parameter) {
            out += token.text;
            continue;
        }
        const QString name = token.text.mid(1);
        int index = seen.value(name.toLower(), -1);
        if (index < 0) {
            names->append(name);
            index = static_cast<int>(names->size()) - 1;
            seen.insert(name.toLower(), index);
        }
        out += QLatin1Char('$') + QString::number(index + 1);
    }
    return out;
}
