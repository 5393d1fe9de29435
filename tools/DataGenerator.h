#pragma once

#include <QDate>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class TDatabase;

// Fills a database that holds the shipped schema with a made-up but plausible
// company: a department tree, employees with their joining rows and, per
// related table, a realistic number of records that agree with each other (an
// ID number carries its owner's birthday and sex, the current post is where
// the last post move led, nothing happens to a person after leaving).
//
// The same options on the same kind of database always give the same rows:
// every choice comes from std::mt19937 streams seeded from the seed (one
// stream per table, so leaving a table out does not change the others), and
// "today" is an option rather than the clock. Ids continue after the largest
// id already in each table, so a database that has data keeps it; an existing
// department tree is used as it is instead of adding a second one.
class DataGenerator
{
public:
    struct Options
    {
        // People who are or were employed (each gets an empjoin row).
        // Recruitment adds applicants on top of these.
        int employees = 1000;
        quint32 seed = 1;
        // Related tables to fill; empty means all of OptionalTables(). A table
        // brings along the tables its rows refer to.
        QStringList tables;
        // The day the history runs up to.
        QDate today = QDate(2026, 6, 30);
        // Employees written per transaction.
        int chunk = 2000;
    };

    using TableCount = QPair<QString, qint64>;
    // Called after each chunk with the employees written so far.
    using Progress = std::function<void(int done, int total)>;

    DataGenerator(TDatabase &db, Options options);
    ~DataGenerator();
    DataGenerator(const DataGenerator &) = delete;
    DataGenerator &operator=(const DataGenerator &) = delete;

    // Writes everything, once per generator; returns the rows written per
    // table in the order written. Raises QmError for unknown tables, for a
    // database without departments when "department" is left out, and for a
    // failing statement (the chunk being written is rolled back, earlier
    // chunks stay).
    QVector<TableCount> run();

    Progress OnProgress;

    // The tables besides employee and empjoin that the generator can fill.
    static QStringList OptionalTables();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
