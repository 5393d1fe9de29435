// How fast and how compactly a record set caches a wide employee select,
// against the floor of reading the same values straight from the engine's C
// API. Prints one table; see README.md for the figures and how to run it.
#include "BenchSupport.h"
#include "ConnectionString.h"
#include "DataGenerator.h"
#include "Database.h"
#include "Error.h"
#include "RecordSet.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <libpq-fe.h>
#include <malloc.h>
#include <sqlite3.h>
#include <time.h>

namespace {

// One column of the measured select: the expression, the name it comes back
// under and the kind an entity set declares for it.
struct Column
{
    QString expression;
    QString name;
    FieldKind kind;
};

// The shape of the main employee list: every employee column, the joining
// row, the current dismissal, the department's name and the probation.
QVector<Column> listColumns()
{
    QVector<Column> columns;
    auto add = [&](const char *table, const QString &list, FieldKind kind) {
        for (const QString &name : list.split(QLatin1Char(','))) {
            const QStringList parts = name.split(QLatin1Char(' '));
            const QString column = parts.first();
            const QString as = parts.size() > 1 ? parts.last() : column;
            columns.append({QStringLiteral("%1.%2").arg(QLatin1String(table), column)
                    + (as == column ? QString() : QStringLiteral(" as ") + as),
                as, kind});
        }
    };
    const FieldKind W = FieldKind::WideString, I = FieldKind::Integer, D = FieldKind::DateTime,
                    M = FieldKind::Memo, F = FieldKind::Float, S = FieldKind::String;
    add("e", QStringLiteral("Id,JoutId"), I);
    add("e", QStringLiteral("Name,NickName,Sex,BirthPlace"), W);
    add("e", QStringLiteral("Birthday"), D);
    add("e", QStringLiteral("Native,Hukou,Address,Milivice,IsMry"), W);
    add("e", QStringLiteral("Stature"), I);
    add("e",
        QStringLiteral("Bloodtype,Religion,Folk,Diploma,Degree,Party,JobTitle,IdCode,Tel,School"),
        W);
    add("e", QStringLiteral("GraduateDate"), D);
    add("e", QStringLiteral("Specialty"), W);
    add("e", QStringLiteral("Biography,SocialRelation,Rewards,Techtitles,Training,OtherNote"), M);
    add("e", QStringLiteral("S1,S2,S3,S4,S5,S6,S7,S8,S9,S10,S11,S12"), W);
    add("e", QStringLiteral("F1,F2,F3"), F);
    add("e", QStringLiteral("D1,D2,D3"), D);
    add("ej", QStringLiteral("Code,BankId,YangBaoId,YiBaoId,Jointype"), W);
    add("ej", QStringLiteral("JoinDate"), D);
    add("ej", QStringLiteral("EmployType,ComeFrom"), W);
    add("ej", QStringLiteral("JoinDeptId"), S);
    add("ej", QStringLiteral("JoinDuty"), W);
    add("ej", QStringLiteral("Joinmarks"), M);
    add("ej", QStringLiteral("DutyDeptId"), S);
    add("ej", QStringLiteral("DutyName"), W);
    add("ej", QStringLiteral("DutyDate"), D);
    add("ej", QStringLiteral("Gangchi"), W);
    add("ej", QStringLiteral("GangchiBZ"), F);
    add("ej", QStringLiteral("Jineng"), W);
    add("ej", QStringLiteral("JinengBZ"), F);
    add("jo", QStringLiteral("OutDutyDate"), D);
    add("jo", QStringLiteral("OutDeptId"), S);
    add("jo", QStringLiteral("OutDuty"), W);
    add("jo", QStringLiteral("Disdate"), D);
    add("jo", QStringLiteral("Distype,Disman"), W);
    add("jo", QStringLiteral("Dismarks"), M);
    add("d", QStringLiteral("Name DeptName"), W);
    add("t", QStringLiteral("TryJob"), W);
    add("t", QStringLiteral("TryDate1,TryDate2"), D);
    add("t", QStringLiteral("TryWage"), F);
    add("t", QStringLiteral("TestDate"), D);
    return columns;
}

QString listSelect(const QVector<Column> &columns)
{
    QStringList expressions;
    for (const Column &c : columns)
        expressions << c.expression;
    return QStringLiteral(
        "select %1 from employee e left join empjoin ej on ej.EmpId=e.Id "
        "left join empjout jo on jo.Id=e.JoutId left join department d on d.Code=ej.DutyDeptId "
        "left join emptrials t on t.EmpId=e.Id order by e.Id")
        .arg(expressions.join(QStringLiteral(", ")));
}

// What the values themselves take: text bytes as UTF-8, 4 per integer, 8 per
// float or date-time, 1 per boolean, nothing for NULL.
struct OwnSize
{
    qint64 rows = 0;
    qint64 textBytes = 0;
    qint64 integers = 0;
    qint64 floats = 0;
    qint64 dates = 0;
    qint64 nulls = 0;
    qint64 checksum = 0; // keeps the reads from being optimised away

    qint64 bytes() const { return textBytes + 4 * integers + 8 * floats + 8 * dates; }
    bool operator==(const OwnSize &o) const
    {
        return rows == o.rows && textBytes == o.textBytes && integers == o.integers
            && floats == o.floats && dates == o.dates && nulls == o.nulls;
    }
    void count(FieldKind kind, qint64 size)
    {
        switch (kind) {
        case FieldKind::Integer:
            ++integers;
            break;
        case FieldKind::Float:
            ++floats;
            break;
        case FieldKind::DateTime:
            ++dates;
            break;
        default:
            textBytes += size;
            break;
        }
    }
};

OwnSize sqliteStepLoop(sqlite3 *db, const QString &sql, const QVector<Column> &columns)
{
    OwnSize own;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &stmt, nullptr)
        != SQLITE_OK)
        throw QmError(QString::fromUtf8(sqlite3_errmsg(db)));
    const int count = static_cast<int>(columns.size());
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++own.rows;
        for (int c = 0; c < count; ++c) {
            if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
                ++own.nulls;
                continue;
            }
            const FieldKind kind = columns[c].kind;
            switch (kind) {
            case FieldKind::Integer:
                own.checksum += sqlite3_column_int64(stmt, c);
                own.count(kind, 0);
                break;
            case FieldKind::Float:
                own.checksum += static_cast<qint64>(sqlite3_column_double(stmt, c));
                own.count(kind, 0);
                break;
            default: {
                const unsigned char *value = sqlite3_column_text(stmt, c);
                const int bytes = sqlite3_column_bytes(stmt, c);
                own.checksum += value[0] + bytes;
                own.count(kind, bytes);
                break;
            }
            }
        }
    }
    sqlite3_finalize(stmt);
    return own;
}

OwnSize libpqLoop(PGconn *conn, const QString &sql, const QVector<Column> &columns)
{
    OwnSize own;
    PGresult *result = PQexec(conn, sql.toUtf8().constData());
    if (PQresultStatus(result) != PGRES_TUPLES_OK) {
        const QString error = QString::fromUtf8(PQresultErrorMessage(result));
        PQclear(result);
        throw QmError(error);
    }
    const int rows = PQntuples(result);
    const int count = static_cast<int>(columns.size());
    for (int r = 0; r < rows; ++r) {
        ++own.rows;
        for (int c = 0; c < count; ++c) {
            if (PQgetisnull(result, r, c)) {
                ++own.nulls;
                continue;
            }
            const char *value = PQgetvalue(result, r, c);
            const int bytes = PQgetlength(result, r, c);
            own.checksum += value[0] + bytes;
            own.count(columns[c].kind, bytes);
        }
    }
    PQclear(result);
    return own;
}

// Bytes in use on the heap. Blocks above the mmap threshold (the large
// column arrays, at least in the first fills) are counted in hblkhd, not in
// uordblks, so uordblks alone would miss most of a set.
struct Heap
{
    qint64 uordblks = 0;
    qint64 hblkhd = 0;

    static Heap now()
    {
        const struct mallinfo2 info = mallinfo2();
        return {static_cast<qint64>(info.uordblks), static_cast<qint64>(info.hblkhd)};
    }
    qint64 total() const { return uordblks + hblkhd; }
};

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 0);
}

// Wall time (QElapsedTimer) and the process's CPU time of repeated runs. The
// machines this runs on are shared, so the CPU time is the steadier figure.
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

struct Fill
{
    Timing timing;
    qint64 memoryBytes = 0;
    qint64 heapGrowth = 0;
    qint64 uordblksGrowth = 0;
};

// One fill of a fresh set, as an entity set (declared fields) or as a one-off
// select (fields taken from the result). The heap is measured with the
// previous set already gone.
void fillOnce(
    Fill &fill, TDatabase &db, const QString &sql, const QVector<Column> &columns, bool declared)
{
    const Heap before = Heap::now();
    auto set = std::make_unique<TQuerySet>();
    set->SetDatabase(&db);
    if (declared)
        for (const Column &c : columns)
            set->AddField(c.kind, c.name);
    fill.timing.measure([&] { set->Open(sql); });
    const Heap after = Heap::now();
    fill.heapGrowth = after.total() - before.total();
    fill.uordblksGrowth = after.uordblks - before.uordblks;
    fill.memoryBytes = set->Query()->MemoryBytes();
    if (set->Query()->FieldCount() != columns.size())
        throw QmError(QStringLiteral("the set has %1 fields, not %2")
                          .arg(set->Query()->FieldCount())
                          .arg(columns.size()));
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

double mib(qint64 bytes)
{
    return bytes / (1024.0 * 1024.0);
}

void printOwn(const OwnSize &own, int columns)
{
    std::printf("%lld rows x %d columns; the values' own size %.1f MiB: text %.1f MiB, %lld "
                "integers, %lld floats, "
                "%lld date-times, %lld NULLs\n",
        static_cast<long long>(own.rows), columns, mib(own.bytes()), mib(own.textBytes),
        static_cast<long long>(own.integers), static_cast<long long>(own.floats),
        static_cast<long long>(own.dates), static_cast<long long>(own.nulls));
}

// Runs the floor and both fills interleaved, so that a burst of load on the
// machine hits all three alike, and prints the table. True when the goal is met.
bool compare(const char *floorLabel, const std::function<void()> &floorRun, TDatabase &db,
    const QString &sql, const QVector<Column> &columns, int repeat,
    const std::function<const OwnSize &()> &own)
{
    Timing floor;
    Fill declared, dynamic;
    for (int run = 0; run < repeat; ++run) {
        floor.measure(floorRun);
        fillOnce(declared, db, sql, columns, true);
        fillOnce(dynamic, db, sql, columns, false);
    }
    printOwn(own(), static_cast<int>(columns.size()));
    const double ownBytes = static_cast<double>(own().bytes());
    const double floorWall = median(floor.wall), floorCpu = median(floor.cpu);
    std::printf("%-32s %8s %8s %7s %7s %12s %6s %12s %6s\n", "", "wall ms", "cpu ms", "x floor",
        "x floor", "MemoryBytes", "x own", "heap growth", "x own");
    std::printf("%-32s %8.0f %8.0f %7.2f %7.2f %12s %6s %12s %6s\n", floorLabel, floorWall,
        floorCpu, 1.0, 1.0, "-", "", "-", "");
    bool met = true;
    auto row = [&](const char *label, const Fill &fill) {
        const double wall = median(fill.timing.wall), cpu = median(fill.timing.cpu);
        const double heap = static_cast<double>(fill.heapGrowth) / ownBytes;
        std::printf("%-32s %8.0f %8.0f %7.2f %7.2f %8.1f MiB %6.2f %8.1f MiB %6.2f\n", label, wall,
            cpu, wall / floorWall, cpu / floorCpu, mib(fill.memoryBytes),
            static_cast<double>(fill.memoryBytes) / ownBytes, mib(fill.heapGrowth), heap);
        met = met && wall / floorWall <= 1.5 && heap <= 2.0;
    };
    row("(b) TQuerySet, declared fields", declared);
    row("(c) TQuerySet, dynamic fields", dynamic);
    auto runs = [](const char *label, const Timing &t) {
        std::printf("  %s wall:", label);
        for (double m : t.wall)
            std::printf(" %.0f", m);
        std::printf("  cpu:");
        for (double m : t.cpu)
            std::printf(" %.0f", m);
        std::printf(" ms\n");
    };
    runs("(a)", floor);
    runs("(b)", declared.timing);
    runs("(c)", dynamic.timing);
    std::printf("  heap growth is uordblks + hblkhd; uordblks alone grew by %.1f MiB (b) and %.1f "
                "MiB (c)\n",
        mib(declared.uordblksGrowth), mib(dynamic.uordblksGrowth));
    std::printf(
        "  load average %s on %d cores\n", qPrintable(loadAverage()), QThread::idealThreadCount());
    std::printf("goal (fill <= 1.5x floor in wall time, heap growth <= 2x own size): %s\n",
        met ? "met" : "missed");
    return met;
}

int usage()
{
    std::fprintf(stderr,
        "usage: bench_fill [--employees N] [--seed N] [--repeat N] [--db FILE] [--scripts DIR] "
        "[--pg CONNECTION]\n"
        "  --employees N    employees to generate (default 100000)\n"
        "  --db FILE        keep the SQLite database in FILE and reuse it when it exists\n"
        "                   (default: a new one in a temporary folder)\n"
        "  --scripts DIR    folder of schema.sqlite.sql and seed.sql (default %s)\n"
        "  --pg CONNECTION  also measure on PostgreSQL: \"Provider=PostgreSQL;Data "
        "Source=...;Initial Catalog=...\";\n"
        "                   an empty employee table there is filled with the same generated data "
        "first\n",
        QM_DB_SCRIPTS_DIR);
    return 2;
}

bool generate(TDatabase &db, int employees, quint32 seed)
{
    DataGenerator::Options options;
    options.employees = employees;
    options.seed = seed;
    DataGenerator generator(db, options);
    QElapsedTimer timer;
    timer.start();
    const auto counts = generator.run();
    qint64 total = 0;
    for (const auto &count : counts)
        total += count.second;
    std::printf("generated %d employees, %lld rows in %d tables, in %.1f s\n", employees,
        static_cast<long long>(total), static_cast<int>(counts.size()), timer.elapsed() / 1000.0);
    return true;
}

int employeeCount(TDatabase &db)
{
    TDataSet set;
    db.Fill(set, QStringLiteral("select count(*) from employee"));
    return set.Fields(0)->AsInteger();
}

bool runPostgres(const QString &connection, int employees, quint32 seed, int repeat,
    const QString &sql, const QVector<Column> &columns, const OwnSize &sqliteOwn)
{
    TDatabase pg;
    if (!pg.Connect(connection) || pg.Engine() != SqlEngine::PostgreSQL) {
        std::fprintf(stderr, "--pg needs a PostgreSQL connection string\n");
        return false;
    }
    const int existing = employeeCount(pg);
    if (existing == 0)
        generate(pg, employees, seed);
    else
        std::printf("using the %d employee rows already in the PostgreSQL database\n", existing);

    const char *keys[] = {"host", "port", "dbname", "user", "password", nullptr};
    const QByteArray values[]
        = {pg.DataSource().toUtf8(), pg.ConnectionValue(QStringLiteral("Port")).toUtf8(),
            pg.ConnectionValue(QStringLiteral("Initial Catalog")).toUtf8(),
            pg.ConnectionValue(QStringLiteral("User ID")).toUtf8(),
            pg.ConnectionValue(QStringLiteral("Password")).toUtf8()};
    const char *valuePointers[] = {values[0].constData(), values[1].constData(),
        values[2].constData(), values[3].constData(), values[4].constData(), nullptr};
    PGconn *conn = PQconnectdbParams(keys, valuePointers, 0);
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "libpq: %s", PQerrorMessage(conn));
        PQfinish(conn);
        return false;
    }
    PQclear(PQexec(conn, "set client_encoding to 'UTF8'"));
    const QString translated = pg.Dialect().translate(sql);
    OwnSize own;
    std::printf("\nPostgreSQL %d, %s\n", PQserverVersion(conn), qPrintable(pg.DataSource()));
    compare(
        "(a) libpq PQexec + PQgetvalue", [&] { own = libpqLoop(conn, translated, columns); }, pg,
        sql, columns, repeat, [&]() -> const OwnSize & { return own; });
    PQfinish(conn);
    if (sqliteOwn.rows && !(own == sqliteOwn))
        std::printf(
            "note: the PostgreSQL data differ from the SQLite data (another seed or size?)\n");
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    BenchOptions options;
    options.repeat = 5;
    options.scripts = QString::fromUtf8(QM_DB_SCRIPTS_DIR);
    if (!options.parse(args,
            {QStringLiteral("--employees"), QStringLiteral("--seed"), QStringLiteral("--repeat"),
                QStringLiteral("--db"), QStringLiteral("--scripts"), QStringLiteral("--pg")}))
        return usage();
    const int employees = options.employees;
    const quint32 seed = options.seed;
    const int repeat = options.repeat;
    QString dbFile = options.dbFile;
    const QString scripts = options.scripts;
    const QString pgConnection = options.pgConnection;

    try {
        QTemporaryDir temp;
        const bool reuse = !dbFile.isEmpty() && QFileInfo::exists(dbFile);
        if (dbFile.isEmpty())
            dbFile = temp.filePath(QStringLiteral("bench.db"));
        TDatabase db;
        TheDatabase = &db;
        if (reuse) {
            ConnectionString cs;
            cs.add(QStringLiteral("Provider"), TDatabase::SqliteProvider);
            cs.add(QStringLiteral("Data Source"), dbFile);
            if (!db.Connect(cs.toString()))
                return 1;
            std::printf("using %s (%d employee rows)\n", qPrintable(dbFile), employeeCount(db));
        } else {
            if (!CreateBenchSchema(db, dbFile, scripts))
                return 1;
            generate(db, employees, seed);
        }

        const QVector<Column> columns = listColumns();
        const QString sql = listSelect(columns);
        sqlite3 *raw = nullptr;
        if (sqlite3_open_v2(dbFile.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr)
            != SQLITE_OK) {
            std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(dbFile), sqlite3_errmsg(raw));
            return 1;
        }
        const QString translated = db.Dialect().translate(sql);
        OwnSize own;
        std::printf("\nSQLite %s, %s\n", sqlite3_libversion(), qPrintable(dbFile));
        compare(
            "(a) sqlite3 step loop", [&] { own = sqliteStepLoop(raw, translated, columns); }, db,
            sql, columns, repeat, [&]() -> const OwnSize & { return own; });
        sqlite3_close(raw);

        if (!pgConnection.isEmpty()
            && !runPostgres(pgConnection, employees, seed, repeat, sql, columns, own))
            return 1;
        TheDatabase = nullptr;
    } catch (const QmError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const SilentAbort &) {
        // The select's failure was already printed by the prompter.
        return 1;
    }
    return 0;
}
