#pragma once

#include "ConnectionString.h"
#include "DataGenerator.h"
#include "Database.h"
#include "Schema.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <sqlite3.h>

// The command-line options the benchmarks share, with their defaults.
struct BenchOptions
{
    int employees = 100000;
    quint32 seed = 1;
    int repeat = 3;
    // Absolute; empty for a temporary database.
    QString dbFile;
    QString pgConnection;
    QString scripts;

    // Reads the options of accepted ("--employees", "--seed", "--repeat",
    // "--db", "--pg", "--scripts") from args (without the program); false for
    // any other argument, a missing or bad value, or fewer than one employee
    // or repetition.
    bool parse(const QStringList &args, const QStringList &accepted)
    {
        for (int i = 0; i < args.size(); ++i) {
            const QString &arg = args[i];
            if (!accepted.contains(arg) || i + 1 >= args.size())
                return false;
            const QString value = args[++i];
            bool ok = true;
            if (arg == QLatin1String("--employees"))
                employees = value.toInt(&ok);
            else if (arg == QLatin1String("--seed"))
                seed = value.toUInt(&ok);
            else if (arg == QLatin1String("--repeat"))
                repeat = value.toInt(&ok);
            else if (arg == QLatin1String("--db"))
                dbFile = QFileInfo(value).absoluteFilePath();
            else if (arg == QLatin1String("--pg"))
                pgConnection = value;
            else if (arg == QLatin1String("--scripts"))
                scripts = value;
            if (!ok || employees < 1 || repeat < 1)
                return false;
        }
        return true;
    }
};

inline QString BenchConnectionString(const QString &file)
{
    ConnectionString cs;
    cs.add(QStringLiteral("Provider"), TDatabase::SqliteProvider);
    cs.add(QStringLiteral("Data Source"), file);
    return cs.toString();
}

// A new SQLite database in file with the shipped schema and seed scripts,
// connected as db; false after printing why not.
inline bool CreateBenchSchema(TDatabase &db, const QString &file, const QString &scripts)
{
    sqlite3 *handle = nullptr;
    const bool created = sqlite3_open_v2(file.toUtf8().constData(), &handle,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        == SQLITE_OK;
    sqlite3_close(handle);
    if (!created || !db.Connect(BenchConnectionString(file)))
        return false;
    for (const QString &script :
        {QStringLiteral("schema.sqlite.sql"), QStringLiteral("seed.sql")}) {
        QString error;
        if (!Schema::RunScriptFile(db, QDir(scripts).filePath(script), &error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(script), qPrintable(error));
            return false;
        }
    }
    return true;
}

// The same with a generated company of employees (history up to today).
inline bool CreateBenchDatabase(
    TDatabase &db, const QString &file, const QString &scripts, int employees)
{
    if (!CreateBenchSchema(db, file, scripts))
        return false;
    DataGenerator::Options options;
    options.employees = employees;
    options.today = QDate::currentDate();
    QElapsedTimer timer;
    timer.start();
    DataGenerator(db, options).run();
    std::printf("generated %d employees in %.1f s\n", employees, timer.elapsed() / 1000.0);
    return true;
}
