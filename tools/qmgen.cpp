// Fills an existing database (made by qmdb) with a generated company, for
// demonstrations, manual testing and the benchmarks.
#include "ConnectionString.h"
#include "DataGenerator.h"
#include "DataSet.h"
#include "Database.h"
#include "Error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr,
        "usage: qmgen FILE_OR_CONNECTION EMPLOYEES [--seed N] [--today YYYY-MM-DD] [--tables "
        "T1,T2,...]\n"
        "  FILE_OR_CONNECTION  a SQLite file made by \"qmdb create-sqlite FILE\", or a connection "
        "string\n"
        "                      starting with \"Provider=\" (a PostgreSQL database made by qmdb "
        "create-pgsql)\n"
        "  EMPLOYEES           people who are or were employed; applicants come on top\n"
        "  --seed N            the same seed gives the same data (default 1)\n"
        "  --today DATE        the day the history runs up to (default: today)\n"
        "  --tables ...        related tables to fill (default all): %s\n",
        qPrintable(DataGenerator::OptionalTables().join(QLatin1Char(','))));
    return 2;
}

QString takeOption(QStringList &args, const QString &name)
{
    const int at = static_cast<int>(args.indexOf(name));
    if (at < 0 || at + 1 >= args.size())
        return QString();
    const QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    DataGenerator::Options options;
    // A demo company is seen today, so its probations, contracts and
    // reminders are current; tests and benchmarks pass a fixed day.
    options.today = QDate::currentDate();
    bool ok = true;
    const QString seed = takeOption(args, QStringLiteral("--seed"));
    if (!seed.isEmpty())
        options.seed = seed.toUInt(&ok);
    const QString today = takeOption(args, QStringLiteral("--today"));
    if (ok && !today.isEmpty()) {
        options.today = QDate::fromString(today, Qt::ISODate);
        ok = options.today.isValid();
    }
    const QString tables = takeOption(args, QStringLiteral("--tables"));
    if (!tables.isEmpty())
        options.tables = tables.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (args.size() == 2)
        options.employees = args[1].toInt(&ok);
    if (!ok || args.size() != 2 || options.employees < 0)
        return usage();

    QString connection = args[0];
    if (!connection.startsWith(QLatin1String("Provider="), Qt::CaseInsensitive)) {
        if (!QFileInfo(connection).isFile()) {
            std::fprintf(stderr,
                "%s does not exist; create it first with \"qmdb create-sqlite %s\"\n",
                qPrintable(connection), qPrintable(connection));
            return 1;
        }
        ConnectionString cs;
        cs.add(QStringLiteral("Provider"), TDatabase::SqliteProvider);
        cs.add(QStringLiteral("Data Source"), QFileInfo(connection).absoluteFilePath());
        connection = cs.toString();
    }

    TDatabase db;
    if (!db.Connect(connection))
        return 1;
    try {
        TDataSet probe;
        db.Fill(probe, QStringLiteral("select count(*) from employee"));
    } catch (const QmError &e) {
        std::fprintf(stderr,
            "%s\nthe database has no schema; make it with qmdb create-sqlite or create-pgsql\n",
            qPrintable(e.message()));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    bool progressShown = false;
    try {
        DataGenerator generator(db, options);
        generator.OnProgress = [&](int done, int total) {
            std::fprintf(stderr, "\r%d / %d employees", done, total);
            std::fflush(stderr);
            progressShown = true;
        };
        const QVector<DataGenerator::TableCount> counts = generator.run();
        if (progressShown)
            std::fprintf(stderr, "\n");
        qint64 total = 0;
        for (const auto &count : counts) {
            std::printf(
                "%-14s %10lld\n", qPrintable(count.first), static_cast<long long>(count.second));
            total += count.second;
        }
        std::printf("%-14s %10lld rows in %.1f s (seed %u, up to %s)\n", "total",
            static_cast<long long>(total), timer.elapsed() / 1000.0, options.seed,
            qPrintable(options.today.toString(Qt::ISODate)));
    } catch (const QmError &e) {
        std::fprintf(stderr, "%s%s\n", progressShown ? "\n" : "", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
