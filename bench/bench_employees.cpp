// What the employee list costs: the query builder's statement over a
// generated company with all its joins, filled into a TEmployeeSet and into a
// plain TQuerySet, against the floor of stepping through the same statement
// with the engine's C API. Prints one table per engine; see README.md.
#include "BenchSupport.h"
#include "ConnectionString.h"
#include "DataGenerator.h"
#include "Database.h"
#include "EmployeeSet.h"
#include "EmployeeWhere.h"
#include "Error.h"
#include "RecordSet.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <time.h>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

// One list the program shows: a name and how its criteria are set.
struct Scenario
{
    const char *name;
    std::function<void(TEmployeeWhere &)> criteria;
};

struct Timing
{
    QVector<double> wall;
    QVector<double> cpu;

    void measure(const std::function<void()> &work)
    {
        timespec cpuStart{}, cpuEnd{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
        QElapsedTimer timer;
        timer.start();
        work();
        wall.append(timer.nsecsElapsed() / 1e6);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
        cpu.append(
            (cpuEnd.tv_sec - cpuStart.tv_sec) * 1e3 + (cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e6);
    }
};

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

// Reads every value of every row once; returns the row count.
qint64 sqliteStepLoop(
    sqlite3 *db, const TEmployeeQuery &query, const SqlDialect &dialect, qint64 *checksum)
{
    const QByteArray text = dialect.translate(query.sql).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &stmt, nullptr)
        != SQLITE_OK)
        throw QmError(QString::fromUtf8(sqlite3_errmsg(db)));
    QVector<QByteArray> values;
    for (const TDBParameter &p : query.params) {
        values.append(TDatabase::BindableValue(p.Value).toString().toUtf8());
        const int index = sqlite3_bind_parameter_index(stmt, (":" + p.Name).toUtf8().constData());
        sqlite3_bind_text(stmt, index, values.last().constData(),
            static_cast<int>(values.last().size()), SQLITE_STATIC);
    }
    const int columns = sqlite3_column_count(stmt);
    qint64 rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER:
                *checksum += sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                *checksum += static_cast<qint64>(sqlite3_column_double(stmt, c));
                break;
            default:
                *checksum += sqlite3_column_bytes(stmt, c) + sqlite3_column_text(stmt, c)[0];
                break;
            }
        }
    }
    sqlite3_finalize(stmt);
    return rows;
}

qint64 libpqLoop(
    PGconn *conn, const TEmployeeQuery &query, const SqlDialect &dialect, qint64 *checksum)
{
    // The program's ":qmwN" placeholders become libpq's "$N"; every value is
    // sent as text, as the driver does.
    QString sql = dialect.translate(query.sql);
    QVector<QByteArray> values;
    QVector<const char *> pointers;
    for (int i = 0; i < query.params.size(); ++i) {
        sql.replace(QRegularExpression(QStringLiteral(":%1\\b").arg(query.params[i].Name)),
            QStringLiteral("$%1").arg(i + 1));
        values.append(TDatabase::BindableValue(query.params[i].Value).toString().toUtf8());
    }
    for (const QByteArray &v : values)
        pointers.append(v.constData());
    PGresult *result = PQexecParams(conn, sql.toUtf8().constData(),
        static_cast<int>(pointers.size()), nullptr, pointers.constData(), nullptr, nullptr, 0);
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        const QString error = QString::fromUtf8(PQresultErrorMessage(result));
        PQclear(result);
        throw QmError(error);
    }
    const int rows = PQntuples(result);
    const int columns = PQnfields(result);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            if (!PQgetisnull(result, r, c))
                *checksum += PQgetlength(result, r, c) + PQgetvalue(result, r, c)[0];
    PQclear(result);
    return rows;
}

using Floor = std::function<qint64(const TEmployeeQuery &, qint64 *)>;

void runScenarios(TDatabase &db, const char *floorLabel, const Floor &floor,
    const QVector<Scenario> &scenarios, int repeat)
{
    std::printf("(a) %s, (b) TEmployeeSet through BuildEmployeeQuery, (c) TQuerySet with fields "
                "from the result;\n"
                "medians of %d runs, times in ms, \"x a\" against the floor's wall time\n",
        floorLabel, repeat);
    std::printf("%-22s %7s | %7s %7s | %7s %7s %5s %7s | %7s %5s\n", "list", "rows", "(a)wall",
        "(a)cpu", "(b)wall", "(b)cpu", "x a", "(b)MiB", "(c)wall", "x a");
    for (const Scenario &scenario : scenarios) {
        TEmployeeWhere where;
        scenario.criteria(where);
        const TEmployeeQuery query = BuildEmployeeQuery(where);
        Timing raw, employees, plain;
        qint64 rows = 0, checksum = 0;
        int filled = 0;
        qint64 memory = 0;
        for (int run = 0; run < repeat; ++run) {
            raw.measure([&] { rows = floor(query, &checksum); });
            {
                TEmployeeSet set;
                set.SetDatabase(&db);
                employees.measure([&] { filled = BuildEmployeeQuery(set, where); });
                memory = set.Query()->MemoryBytes();
            }
            {
                TQuerySet set;
                set.SetDatabase(&db);
                plain.measure([&] { set.Open(query.sql, query.params); });
            }
        }
        if (filled != rows)
            throw QmError(QStringLiteral("%1: the set holds %2 rows, the floor read %3")
                              .arg(QLatin1String(scenario.name))
                              .arg(filled)
                              .arg(rows));
        const double floorWall = median(raw.wall);
        std::printf("%-22s %7lld | %7.0f %7.0f | %7.0f %7.0f %5.2f %7.1f | %7.0f %5.2f\n",
            scenario.name, static_cast<long long>(rows), floorWall, median(raw.cpu),
            median(employees.wall), median(employees.cpu), median(employees.wall) / floorWall,
            memory / (1024.0 * 1024.0), median(plain.wall), median(plain.wall) / floorWall);
    }
}

QVector<Scenario> scenarios(TDatabase &db)
{
    // A department with a subtree of its own: the first one two levels down.
    TDataSet depts;
    db.Fill(depts, S("select Code from department order by Code"));
    QString subtree;
    for (int row = 0; row < depts.RecordCount() && subtree.isEmpty(); ++row)
        if (depts.DisplayTextAt(row, 0).size() == 4)
            subtree = depts.DisplayTextAt(row, 0);
    std::printf("keyword: 华; department subtree: %s; contracts due within key 122 days\n",
        qPrintable(subtree));
    return {
        {"no criteria",
            [](TEmployeeWhere &) {
            }},
        {"on duty",
            [](TEmployeeWhere &w) {
                w.DisyesFld->SetValue(false);
            }},
        {"dismissed",
            [](TEmployeeWhere &w) {
                w.DisyesFld->SetValue(true);
            }},
        {"on probation",
            [](TEmployeeWhere &w) {
                w.TryingFld->SetValue(true);
            }},
        {"keyword",
            [](TEmployeeWhere &w) {
                w.KeywordFld->SetValue(S("华"));
            }},
        {"department subtree",
            [subtree](TEmployeeWhere &w) {
                w.DeptIdFld->SetValue(subtree);
            }},
        {"contracts due",
            [](TEmployeeWhere &w) {
                w.ContractHintFld->SetValue(true);
            }},
        {"birthdays this month",
            [](TEmployeeWhere &w) {
                w.BirthMonthFld->SetValue(QDate::currentDate().month());
            }},
    };
}

int employeeCount(TDatabase &db)
{
    TDataSet set;
    db.Fill(set, S("select count(*) from employee"));
    return set.Fields(0)->AsInteger();
}

void generate(TDatabase &db, int employees, quint32 seed)
{
    DataGenerator::Options options;
    options.employees = employees;
    options.seed = seed;
    options.today = QDate::currentDate();
    DataGenerator generator(db, options);
    QElapsedTimer timer;
    timer.start();
    generator.run();
    std::printf("generated %d employees in %.1f s\n", employees, timer.elapsed() / 1000.0);
}

bool openSqlite(TDatabase &db, const QString &file, bool create)
{
    if (create)
        return CreateBenchSchema(db, file, QString::fromUtf8(QM_DB_SCRIPTS_DIR));
    return db.Connect(BenchConnectionString(file));
}

bool runPostgres(const QString &connection, int employees, quint32 seed, int repeat)
{
    TDatabase pg;
    if (!pg.Connect(connection) || pg.Engine() != SqlEngine::PostgreSQL) {
        std::fprintf(stderr, "--pg needs a PostgreSQL connection string\n");
        return false;
    }
    TheDatabase = &pg;
    const int existing = employeeCount(pg);
    if (existing == 0)
        generate(pg, employees, seed);
    else
        std::printf("using the %d employee rows already in the PostgreSQL database\n", existing);
    const char *keys[] = {"host", "port", "dbname", "user", "password", nullptr};
    const QByteArray values[] = {pg.DataSource().toUtf8(), pg.ConnectionValue(S("Port")).toUtf8(),
        pg.ConnectionValue(S("Initial Catalog")).toUtf8(),
        pg.ConnectionValue(S("User ID")).toUtf8(), pg.ConnectionValue(S("Password")).toUtf8()};
    const char *pointers[] = {values[0].constData(), values[1].constData(), values[2].constData(),
        values[3].constData(), values[4].constData(), nullptr};
    PGconn *conn = PQconnectdbParams(keys, pointers, 0);
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "libpq: %s", PQerrorMessage(conn));
        PQfinish(conn);
        return false;
    }
    PQclear(PQexec(conn, "set client_encoding to 'UTF8'"));
    std::printf("\nPostgreSQL %d, %s\n", PQserverVersion(conn), qPrintable(pg.DataSource()));
    runScenarios(
        pg, "libpq PQexecParams",
        [&](const TEmployeeQuery &q, qint64 *sum) { return libpqLoop(conn, q, pg.Dialect(), sum); },
        scenarios(pg), repeat);
    PQfinish(conn);
    TheDatabase = nullptr;
    return true;
}

int usage()
{
    std::fprintf(stderr,
        "usage: bench_employees [--employees N] [--seed N] [--repeat N] [--db FILE] [--pg "
        "CONNECTION]\n"
        "  --employees N    employees to generate (default 100000)\n"
        "  --db FILE        keep the SQLite database in FILE and reuse it when it exists\n"
        "  --pg CONNECTION  also measure on PostgreSQL (an empty database is filled first)\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    BenchOptions options;
    if (!options.parse(args,
            {QStringLiteral("--employees"), QStringLiteral("--seed"), QStringLiteral("--repeat"),
                QStringLiteral("--db"), QStringLiteral("--pg")}))
        return usage();
    const int employees = options.employees;
    const quint32 seed = options.seed;
    const int repeat = options.repeat;
    QString dbFile = options.dbFile;
    const QString pgConnection = options.pgConnection;

    try {
        QTemporaryDir temp;
        const bool reuse = !dbFile.isEmpty() && QFileInfo::exists(dbFile);
        if (dbFile.isEmpty())
            dbFile = temp.filePath(S("bench.db"));
        TDatabase db;
        TheDatabase = &db;
        if (!openSqlite(db, dbFile, !reuse))
            return 1;
        if (reuse)
            std::printf("using %s (%d employee rows)\n", qPrintable(dbFile), employeeCount(db));
        else
            generate(db, employees, seed);
        sqlite3 *raw = nullptr;
        if (sqlite3_open_v2(dbFile.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr)
            != SQLITE_OK) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(dbFile));
            return 1;
        }
        std::printf("\nSQLite %s, %s\n", sqlite3_libversion(), qPrintable(dbFile));
        runScenarios(
            db, "sqlite3 step loop",
            [&](const TEmployeeQuery &q, qint64 *sum) {
                return sqliteStepLoop(raw, q, db.Dialect(), sum);
            },
            scenarios(db), repeat);
        sqlite3_close(raw);
        TheDatabase = nullptr;
        if (!pgConnection.isEmpty() && !runPostgres(pgConnection, employees, seed, repeat))
            return 1;
    } catch (const QmError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const SilentAbort &) {
        return 1;
    }
    return 0;
}
