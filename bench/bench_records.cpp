// What the event modules cost on a generated company: listing every post
// move and vacation through their sets against a plain fill of the same
// statement, a name search, storing post moves (each with its latest-move
// check and empjoin update in one transaction) and stepping record by record
// through the class operations. See README.md.
#include "BenchSupport.h"
#include "Error.h"
#include "PostmoveSet.h"
#include "RecordSet.h"
#include "VacationSet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double medianMs(int repeat, const std::function<void()> &work)
{
    QVector<double> times;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The list through the module's set against a plain fill of its statement.
template <typename R> void listAll(const char *name, const TModuleSpec<R> &spec, int repeat)
{
    TModuleSet<R> set(spec);
    std::unique_ptr<TModuleWhere> where = spec.MakeWhere();
    int rows = 0;
    const double moduleMs = medianMs(repeat, [&] { rows = set.Load(*where); });
    QString sql = spec.ListSql;
    sql.replace(QLatin1String("%s"), QString());
    const double plainMs = medianMs(repeat, [&] {
        TRecordSet plain;
        plain.Open(sql);
    });
    where->EmpNameFld->SetValue(QString::fromUtf8("张"));
    int found = 0;
    const double searchMs = medianMs(repeat, [&] { found = set.Load(*where); });
    std::printf(
        "%-10s all %7d rows %8.1f ms (plain fill %8.1f ms, %.2fx); name search %6d rows %7.1f ms\n",
        name, rows, moduleMs, plainMs, plainMs > 0 ? moduleMs / plainMs : 0.0, found, searchMs);
}

int usage()
{
    std::fprintf(stderr,
        "usage: bench_records [--employees N] [--repeat N] [--db FILE]\n"
        "  --employees N  employees to generate (default 100000)\n"
        "  --db FILE      keep the SQLite database in FILE and reuse it when it exists\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    BenchOptions options;
    if (!options.parse(app.arguments().mid(1),
            {QStringLiteral("--employees"), QStringLiteral("--repeat"), QStringLiteral("--db")}))
        return usage();
    const int employees = options.employees;
    const int repeat = options.repeat;
    QString dbFile = options.dbFile;
    QTemporaryDir dir;
    if (dbFile.isEmpty())
        dbFile = dir.filePath(QStringLiteral("bench.db"));
    try {
        TDatabase db;
        TheDatabase = &db;
        if (QFileInfo::exists(dbFile)) {
            if (!db.Connect(BenchConnectionString(dbFile)))
                return 1;
        } else if (!CreateBenchDatabase(db, dbFile, QStringLiteral(QM_DB_SCRIPTS_DIR), employees)) {
            return 1;
        }

        listAll("postmove", PostmoveModule(), repeat);
        listAll("vacation", VacationModule(), repeat);

        // Stores of new moves spread over the employees, each the latest.
        TDataSet ids;
        db.Fill(ids, QStringLiteral("select EmpId from empjoin order by EmpId"));
        const int stores = std::min(1000, ids.RecordCount());
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < stores; ++i) {
            ids.SetCurrentRow(i * ids.RecordCount() / std::max(1, stores));
            RPostmove move;
            move.EmpId = ids.Fields(0)->AsInteger();
            move.MoveDate = QDateTime::currentDateTime();
            move.DeptId2 = QStringLiteral("01");
            move.Duty2 = QString::fromUtf8("主管");
            move.MoveReason = QString::fromUtf8("工作需要");
            TPostmoveSet::StoreRecord(move);
        }
        const double storeMs = timer.nsecsElapsed() / 1e6;
        std::printf("postmove  %d stores %.1f ms (%.2f ms each)\n", stores, storeMs,
            storeMs / std::max(1, stores));

        // Stepping through the table with 后一个 and no list behind it.
        RPostmove step;
        int steps = 0;
        timer.restart();
        for (int id = 0; steps < 1000 && TPostmoveSet::FetchRecord(id, 1, step); id = step.Id)
            ++steps;
        const double stepMs = timer.nsecsElapsed() / 1e6;
        std::printf("postmove  %d steps %.1f ms (%.2f ms each)\n", steps, stepMs,
            stepMs / std::max(1, steps));
        TheDatabase = nullptr;
    } catch (const QmError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
