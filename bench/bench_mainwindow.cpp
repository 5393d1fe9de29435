// How long the main window takes from choosing "在职人员" to a filled and
// painted list, against the floor of stepping through the same select with
// the sqlite3 C API. Prints one table; see README.md for the figures.
#include "BenchSupport.h"
#include "Configer.h"
#include "DataGenerator.h"
#include "Database.h"
#include "DepartmentSet.h"
#include "EmployeeSet.h"
#include "Error.h"
#include "Operator.h"
#include "RecordSet.h"
#include "Schema.h"
#include "UI.h"
#include "main1.h"
#include "qmProj.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace {

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

QVector<double> timeRuns(
    int repeat, const std::function<void()> &before, const std::function<void()> &work)
{
    QVector<double> ms;
    for (int run = 0; run < repeat; ++run) {
        before();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.append(timer.nsecsElapsed() / 1e6);
    }
    return ms;
}

// Every value of every row, read the cheapest way the C API offers.
qint64 stepLoop(sqlite3 *db, const QString &sql, const TDBParameters &params)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &stmt, nullptr)
        != SQLITE_OK)
        throw QmError(QString::fromUtf8(sqlite3_errmsg(db)));
    for (const TDBParameter &p : params) {
        const QByteArray name = (QLatin1Char(':') + p.Name).toUtf8();
        const int index = sqlite3_bind_parameter_index(stmt, name.constData());
        if (index > 0) {
            const QByteArray value = TDatabase::BindableValue(p.Value).toString().toUtf8();
            sqlite3_bind_text(
                stmt, index, value.constData(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        }
    }
    qint64 checksum = 0;
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER:
                checksum += sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_FLOAT:
                checksum += static_cast<qint64>(sqlite3_column_double(stmt, c));
                break;
            default:
                checksum += sqlite3_column_bytes(stmt, c) + sqlite3_column_text(stmt, c)[0];
                break;
            }
        }
    }
    sqlite3_finalize(stmt);
    return checksum;
}

int usage()
{
    std::fprintf(stderr,
        "usage: bench_mainwindow [--employees N] [--repeat N] [--db FILE]\n"
        "  --employees N  employees to generate (default 100000)\n"
        "  --db FILE      keep the SQLite database in FILE and reuse it when it exists\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    const QStringList args = app.arguments().mid(1);
    BenchOptions options;
    options.repeat = 5;
    if (!options.parse(args,
            {QStringLiteral("--employees"), QStringLiteral("--repeat"), QStringLiteral("--db")}))
        return usage();
    const int employees = options.employees;
    const int repeat = options.repeat;
    QString dbFile = options.dbFile;

    try {
        QTemporaryDir temp;
        const bool reuse = !dbFile.isEmpty() && QFileInfo::exists(dbFile);
        if (dbFile.isEmpty())
            dbFile = temp.filePath(QStringLiteral("bench.db"));
        TDatabase db;
        TheDatabase = &db;
        TRecordSet shared;
        SharedRecordSet = &shared;
        if (reuse) {
            if (!db.Connect(BenchConnectionString(dbFile)))
                return 1;
        } else if (!CreateBenchDatabase(db, dbFile, QStringLiteral(QM_DB_SCRIPTS_DIR), employees)) {
            return 1;
        }
        CreateProjectObjects();
        LoadStartupData();
        CreateDepartments();
        TheDepartments->Load();
        TheOperator->Load(QStringLiteral("sa"));

        QElapsedTimer created;
        created.start();
        auto window = std::make_unique<Tmain1Frm>();
        window->setWindowState(Qt::WindowNoState);
        window->resize(1280, 800);
        window->show();
        QApplication::processEvents();
        const double createMs = created.nsecsElapsed() / 1e6;
        created.restart();
        window->OperatorChanged();
        window->grab();
        const double loginMs = created.nsecsElapsed() / 1e6;

        TqmTreeView *tree = window->TreeView1;
        QTreeWidgetItem *employed = window->StatusNode(0);
        QTreeWidgetItem *dismissed = window->StatusNode(1);
        const TDataSet *rows = window->EmployeeSet()->Query();
        const QVector<double> choose = timeRuns(
            repeat, [&] { tree->ChooseNode(dismissed); },
            [&] {
                tree->ChooseNode(employed);
                window->grab();
            });
        const int listed = rows->RecordCount();
        const QVector<double> reminders = timeRuns(
            repeat, [] {}, [&] { window->RefreshReminders(); });
        const QString sql = db.Dialect().translate(window->EmployeeSet()->SqlText());
        const TDBParameters params = window->EmployeeSet()->Params();

        sqlite3 *raw = nullptr;
        if (sqlite3_open_v2(dbFile.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr)
            != SQLITE_OK) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(dbFile));
            return 1;
        }
        qint64 checksum = 0;
        const QVector<double> floor = timeRuns(
            repeat, [] {}, [&] { checksum += stepLoop(raw, sql, params); });
        sqlite3_close(raw);

        std::printf("\nSQLite %s, %s, %d employees listed on duty, %d columns\n",
            sqlite3_libversion(), qPrintable(dbFile), listed, rows->FieldCount());
        std::printf("window created in %.0f ms; login fill (reminders and list) %.0f ms\n",
            createMs, loginMs);
        std::printf("%-44s %9s %8s\n", "", "median ms", "x floor");
        const double floorMs = median(floor);
        std::printf("%-44s %9.0f %8.2f\n", "(a) sqlite3 step loop, same select", floorMs, 1.0);
        std::printf("%-44s %9.0f %8.2f\n", "(b) choose the on-duty node, filled, painted",
            median(choose), median(choose) / floorMs);
        std::printf("%-44s %9.0f\n", "(c) the five reminder counts", median(reminders));
        std::printf("  runs (a):");
        for (double ms : floor)
            std::printf(" %.0f", ms);
        std::printf(" ms\n  runs (b):");
        for (double ms : choose)
            std::printf(" %.0f", ms);
        std::printf(" ms\n  runs (c):");
        for (double ms : reminders)
            std::printf(" %.0f", ms);
        std::printf(" ms\n");
        if (checksum == 42)
            std::printf("\n");

        window.reset();
        FreeDepartments();
        FreeProjectObjects();
        SharedRecordSet = nullptr;
        TheDatabase = nullptr;
    } catch (const QmError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const SilentAbort &) {
        return 1;
    }
    return 0;
}
