#pragma once

#include "DataVocabulary.h"
#include "Database.h"
#include "Error.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <algorithm>
#include <memory>
#include <random>

// The pieces the data generator is built from: seeded choices, word lists,
// the few formats with rules of their own (ID and bank card numbers), the
// model of a person's career, and the batched table writer.
namespace DataGen {

using DataVocabulary::Weighted;

// One seeded stream of choices. Ranges are mapped from the raw 32-bit output
// by multiplication instead of std's distributions, whose results differ
// between standard libraries: a seed must give the same rows everywhere.
class Random
{
public:
    Random(quint32 seed, quint32 stream)
    {
        std::seed_seq sequence{seed, stream, 0x51ed2701u};
        m_engine.seed(sequence);
    }

    int below(int n)
    {
        return n <= 0 ? 0 : static_cast<int>((quint64(m_engine()) * quint64(n)) >> 32);
    }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(double p) { return m_engine() < p * 4294967296.0; }
    double unit() { return m_engine() / 4294967296.0; }
    QDate dayBetween(const QDate &first, const QDate &last)
    {
        const qint64 span = first.daysTo(last);
        return span <= 0 ? first : first.addDays(below(static_cast<int>(span) + 1));
    }
    QString digits(int count)
    {
        QString text(count, QLatin1Char('0'));
        for (int i = 0; i < count; ++i)
            text[i] = QLatin1Char(static_cast<char>('0' + below(10)));
        return text;
    }
    template <typename T, size_t N> const T &pick(const T (&items)[N])
    {
        return items[below(static_cast<int>(N))];
    }
    template <size_t N> QString word(const char *const (&items)[N])
    {
        return QString::fromUtf8(pick(items));
    }

private:
    std::mt19937 m_engine;
};

// A word list converted to QString once, with optional weights.
class Words
{
public:
    Words() = default;
    template <size_t N> explicit Words(const char *const (&items)[N])
    {
        for (const char *item : items)
            add(item, 1);
    }
    template <size_t N> explicit Words(const Weighted (&items)[N])
    {
        for (const Weighted &item : items)
            add(item.text, item.weight);
    }
    void add(const char *text, int weight)
    {
        m_texts.append(QString::fromUtf8(text));
        m_ends.append((m_ends.isEmpty() ? 0 : m_ends.last()) + weight);
    }
    int pickIndex(Random &r) const
    {
        const int x = r.below(m_ends.last());
        return static_cast<int>(std::upper_bound(m_ends.begin(), m_ends.end(), x) - m_ends.begin());
    }
    const QString &pick(Random &r) const { return m_texts[pickIndex(r)]; }
    const QString &at(int i) const { return m_texts[i]; }
    int size() const { return static_cast<int>(m_texts.size()); }

private:
    QStringList m_texts;
    QVector<int> m_ends;
};

inline QString u(const char *text)
{
    return QString::fromUtf8(text);
}

// Dates travel as QDateTime at midnight; UTC, so that no time zone can move
// or drop a midnight.
inline QVariant day(const QDate &date)
{
    return date.isValid() ? QVariant(QDateTime(date, QTime(0, 0), Qt::UTC)) : QVariant();
}

inline QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

inline QString chineseNumber(int n)
{
    static const QString digitsText = u("零一二三四五六七八九");
    if (n < 10)
        return digitsText.mid(n, 1);
    const QString tens = n / 10 == 1 ? QString() : digitsText.mid(n / 10, 1);
    return tens + u("十") + (n % 10 ? digitsText.mid(n % 10, 1) : QString());
}

inline QString yearMonth(const QDate &date)
{
    return u("%1年%2月").arg(date.year()).arg(date.month());
}

// 18-character resident ID number: region, birthday, sequence (odd for men),
// ISO 7064 MOD 11-2 check character.
inline QString idNumber(const char *region, const QDate &birthday, int sequence)
{
    QString body = QString::fromLatin1(region) + birthday.toString(QStringLiteral("yyyyMMdd"))
        + QStringLiteral("%1").arg(sequence, 3, 10, QLatin1Char('0'));
    static const int weights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += (body[i].unicode() - '0') * weights[i];
    return body + QLatin1Char("10X98765432"[sum % 11]);
}

// A bank card number with its Luhn check digit.
inline QString bankCard(Random &r)
{
    QString number = QString::fromLatin1(r.pick(DataVocabulary::bankPrefixes));
    number += r.digits(12);
    int sum = 0;
    for (int i = 0; i < number.size(); ++i) {
        int digit = number[number.size() - 1 - i].unicode() - '0';
        if (i % 2 == 0) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
    }
    return number + QLatin1Char(static_cast<char>('0' + (10 - sum % 10) % 10));
}

// A department as the generator sees it: where it sits in the tree, what
// kind of work it does and how large a share of the head count it gets.
struct Department
{
    QString code;
    QString name;
    QString path; // names from the top, "生产部/一车间/甲班"
    int kind = DataVocabulary::Office;
    int weight = 0;
    int top = 0; // index of the top-level ancestor
    bool leaf = true;
    bool created = false;
};

// One step of a career: taking a post in a department on a day.
struct Stint
{
    QDate date;
    int dept;
    int post;
};

// Everything about a person that several tables must agree on, worked out
// before any row is written.
struct Person
{
    int id = 0;
    bool male = true;
    bool management = false;
    QString name;
    QString surname;
    QDate birthday;
    int region = 0;
    int diploma = DataVocabulary::Bachelor;
    int field = DataVocabulary::Mechanics;
    QDate graduated;
    QString school;
    QString specialty;
    QString idCode;
    bool married = false;
    QString employType;

    // Employment; career[0] is the joining.
    QVector<Stint> career;
    QDate left; // the current dismissal, invalid while employed
    QDate earlierLeft; // a dismissal that ended with a return
    QDate returned; // the day of that return
    int joutId = 0; // the current dismissal's row
    int earlierJoutId = 0;

    const Stint &joined() const { return career.first(); }
    const Stint &current() const { return career.last(); }
    QDate end(const QDate &today) const { return left.isValid() ? left : today; }
    // The post held on a day.
    const Stint &at(const QDate &date) const
    {
        const Stint *held = &career.first();
        for (const Stint &s : career)
            if (s.date <= date)
                held = &s;
        return *held;
    }
    bool employedOn(const QDate &date, const QDate &today) const
    {
        if (date < joined().date || date > end(today))
            return false;
        return !(earlierLeft.isValid() && date > earlierLeft && date < returned);
    }
};

// A training course, so attendances fall in the time a person was there.
struct Course
{
    int id;
    QDate begin;
    QDate end;
};

// Inserts into one table. On PostgreSQL every statement is a round trip and
// the server parses each value, so rows go a hundred to a statement there
// (2.4 times faster than one by one); SQLite is fastest one row at a time on
// its prepared statement. Values are given in column order; rows wait in
// memory until a statement is full or flush() is called, which must happen
// before the transaction commits.
class RowWriter
{
public:
    RowWriter(TDatabase &db, const QString &table, const QStringList &columns)
        : m_db(db)
        , m_table(table)
        , m_columns(columns)
        , m_perStatement(db.Engine() == SqlEngine::SQLite
                  ? 1
                  : std::max(1, std::min(100, 4000 / static_cast<int>(columns.size()))))
    {
        m_pending.reserve(m_perStatement * columns.size());
    }

    RowWriter &operator<<(const QVariant &value)
    {
        if (m_next == m_columns.size())
            throw QmError(QStringLiteral("%1: more values than its %2 columns")
                              .arg(m_table)
                              .arg(m_columns.size()));
        m_pending.append(value);
        ++m_next;
        return *this;
    }

    void write()
    {
        // A miscounted row would shift every value into the wrong column.
        if (m_next != m_columns.size())
            throw QmError(QStringLiteral("%1: %2 values for %3 columns")
                              .arg(m_table)
                              .arg(m_next)
                              .arg(m_columns.size()));
        m_next = 0;
        ++m_rows;
        if (m_pending.size() == m_perStatement * m_columns.size())
            flush();
    }

    void flush()
    {
        const int rows = static_cast<int>(m_pending.size() / m_columns.size());
        if (rows == 0)
            return;
        Statement &statement = rows == m_perStatement ? m_full : m_rest;
        if (statement.rows != rows)
            statement.prepare(m_db, m_table, m_columns, rows);
        for (int i = 0; i < m_pending.size(); ++i)
            statement.params[i].Value = m_pending[i];
        m_pending.clear();
        try {
            statement.batch->exec(statement.params);
        } catch (const QmError &e) {
            // The engine's message is what matters; the statement runs to
            // thousands of placeholders.
            throw QmError(QStringLiteral("%1 (insert into %2, %3 rows up to row %4)")
                              .arg(e.message().section(QStringLiteral("\r\n"), 0, 0), m_table)
                              .arg(rows)
                              .arg(m_rows));
        }
    }

    const QString &table() const { return m_table; }
    qint64 rows() const { return m_rows; }

private:
    struct Statement
    {
        int rows = 0;
        TDBParameters params;
        std::unique_ptr<TDatabase::Batch> batch;

        void prepare(TDatabase &db, const QString &table, const QStringList &columns, int count)
        {
            QStringList tuples;
            params.clear();
            for (int r = 0; r < count; ++r) {
                QStringList placeholders;
                for (const QString &column : columns) {
                    const QString name = QStringLiteral("%1_%2").arg(column).arg(r);
                    placeholders << QLatin1Char(':') + name;
                    params.append(MakeParameter(name, QVariant()));
                }
                tuples << QLatin1Char('(') + placeholders.join(QStringLiteral(", "))
                        + QLatin1Char(')');
            }
            batch.reset();
            batch = std::make_unique<TDatabase::Batch>(db,
                QStringLiteral("insert into %1 (%2) values %3")
                    .arg(table, columns.join(QStringLiteral(", ")),
                        tuples.join(QStringLiteral(", "))));
            rows = count;
        }
    };

    TDatabase &m_db;
    QString m_table;
    QStringList m_columns;
    int m_perStatement;
    QVector<QVariant> m_pending;
    Statement m_full;
    Statement m_rest;
    int m_next = 0;
    qint64 m_rows = 0;
};

} // namespace DataGen
