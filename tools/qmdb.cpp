// The database tool: creates a database from the shipped schema and seed
// scripts, on a new SQLite file or on an empty PostgreSQL database.
#include "ConnectionString.h"
#include "Database.h"
#include "Error.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <sqlite3.h>

namespace {

int usage()
{
    std::fprintf(stderr,
        "usage:\n"
        "  qmdb create-sqlite FILE [--if-missing]   new SQLite database file\n"
        "  qmdb create-pgsql CONNECTION             schema and seed on an empty PostgreSQL database\n"
        "      CONNECTION: \"Provider=PostgreSQL;Data Source=HOST;Port=5432;Initial Catalog=DB;User ID=U;Password=P\"\n"
        "  --scripts DIR   folder of schema.*.sql, seed.sql and reports/ (default: db/ beside this program)\n");
    return 2;
}

bool load(TDatabase &db, const QString &scripts, const QString &schema)
{
    for (const QString &name : {schema, QStringLiteral("seed.sql")}) {
        QString error;
        if (!Schema::RunScriptFile(db, QDir(scripts).filePath(name), &error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(error));
            return false;
        }
    }
    QString error;
    if (!Schema::LoadDefaultReports(
            db, QDir(scripts).filePath(QStringLiteral("reports")), &error)) {
        std::fprintf(stderr, "reports: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString scripts = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("db"));
    const int scriptsAt = static_cast<int>(args.indexOf(QStringLiteral("--scripts")));
    if (scriptsAt >= 0 && scriptsAt + 1 < args.size()) {
        scripts = args.at(scriptsAt + 1);
        args.remove(scriptsAt, 2);
    }
    if (args.size() < 2)
        return usage();

    TDatabase db;
    if (args[0] == QLatin1String("create-sqlite")) {
        const QString file = QFileInfo(args[1]).absoluteFilePath();
        if (QFileInfo::exists(file)) {
            if (args.contains(QStringLiteral("--if-missing")))
                return 0;
            std::fprintf(stderr, "%s exists already; it is never overwritten\n", qPrintable(file));
            return 1;
        }
        QDir().mkpath(QFileInfo(file).absolutePath());
        const QString partial = file + QStringLiteral(".partial");
        QFile::remove(partial);
        sqlite3 *handle = nullptr;
        if (sqlite3_open_v2(partial.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
            != SQLITE_OK) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(partial));
            sqlite3_close(handle);
            return 1;
        }
        sqlite3_close(handle);
        ConnectionString cs;
        cs.add(QStringLiteral("Provider"), TDatabase::SqliteProvider);
        cs.add(QStringLiteral("Data Source"), partial);
        if (!db.Connect(cs.toString()) || !load(db, scripts, QStringLiteral("schema.sqlite.sql"))) {
            db.SetConnected(false);
            QFile::remove(partial);
            return 1;
        }
        db.SetConnected(false);
        // Only a complete database ever gets the real name.
        if (!QFile::rename(partial, file)) {
            std::fprintf(stderr, "cannot rename %s\n", qPrintable(partial));
            return 1;
        }
        std::printf("created %s\n", qPrintable(file));
        return 0;
    }
    if (args[0] == QLatin1String("create-pgsql")) {
        if (!db.Connect(args[1]))
            return 1;
        if (db.Engine() != SqlEngine::PostgreSQL) {
            std::fprintf(stderr, "the connection is not a PostgreSQL one\n");
            return 1;
        }
        if (!load(db, scripts, QStringLiteral("schema.pgsql.sql")))
            return 1;
        std::printf("created schema and seed data on %s\n", qPrintable(db.DataSource()));
        return 0;
    }
    return usage();
}
