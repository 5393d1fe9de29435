#include "TestSupport.h"

#include "ConnectionString.h"
#include "Error.h"
#include "RecordSet.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtTest>
#include <atomic>
#include <sqlite3.h>

ScriptedPrompter::ScriptedPrompter()
    : m_previous(setPrompter(this))
{
}

ScriptedPrompter::~ScriptedPrompter()
{
    setPrompter(m_previous);
}

MessageButton ScriptedPrompter::message(MessageKind kind, const QString &caption, const QString &text,
    MessageButtons buttons, MessageButton defaultButton)
{
    m_shown.append({kind, caption, text, buttons});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return defaultButton;
}

bool ScriptedPrompter::inputText(const QString &caption, const QString &label, QString &value)
{
    m_shown.append({MessageKind::Confirmation, caption, label, MessageButton::Ok | MessageButton::Cancel});
    if (m_inputs.isEmpty())
        return false;
    value = m_inputs.takeFirst();
    return true;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList list;
    for (const auto &s : m_shown)
        list << s.text;
    return list;
}

// ---------------------------------------------------------------- EngineFixture

namespace {
std::atomic<int> databaseCounter{0};
std::unique_ptr<TRecordSet> sharedSet;
} // namespace

QString EngineFixture::scriptsDir()
{
    return QStringLiteral(QM_SOURCE_DIR "/db");
}

bool EngineFixture::postgresRequired()
{
    return qEnvironmentVariable("CI") == QLatin1String("true") || qEnvironmentVariableIsSet("QM_REQUIRE_PG");
}

EngineFixture::~EngineFixture()
{
    if (TheDatabase == m_db.get())
        installGlobals(nullptr);
    if (m_db)
        m_db->SetConnected(false);
    if (!m_pgDatabase.isEmpty()) {
        TDatabase admin;
        ScriptedPrompter quiet;
        if (admin.Connect(qEnvironmentVariable("QM_TEST_PG"))) {
            try {
                admin.Execute(QStringLiteral("drop database if exists %1").arg(m_pgDatabase));
            } catch (const QmError &) {
            }
        }
    }
}

std::unique_ptr<EngineFixture> EngineFixture::create(const QString &engine, QString *why, bool *skip)
{
    std::unique_ptr<EngineFixture> f(new EngineFixture);
    f->m_engine = engine;
    f->m_db = std::make_unique<TDatabase>();
    *skip = false;
    if (engine == QLatin1String("sqlite")) {
        f->m_dir = std::make_unique<QTemporaryDir>();
        f->m_file = f->m_dir->filePath(QStringLiteral("test.db"));
        sqlite3 *h = nullptr;
        sqlite3_open_v2(f->m_file.toUtf8().constData(), &h, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        sqlite3_close(h);
        ConnectionString cs;
        cs.add(QStringLiteral("Provider"), TDatabase::SqliteProvider);
        cs.add(QStringLiteral("Data Source"), f->m_file);
        f->m_connectionString = cs.toString();
        if (!f->m_db->Connect(f->m_connectionString)) {
            *why = f->m_db->LastConnectError();
            return nullptr;
        }
        for (const char *script : {"schema.sqlite.sql", "seed.sql"}) {
            if (!Schema::RunScriptFile(*f->m_db, QDir(scriptsDir()).filePath(QLatin1String(script)), why))
                return nullptr;
        }
        if (!Schema::LoadDefaultReports(
                *f->m_db, QDir(scriptsDir()).filePath(QStringLiteral("reports")), why))
            return nullptr;
        return f;
    }

    const QString admin = qEnvironmentVariable("QM_TEST_PG");
    if (admin.isEmpty()) {
        *why = QStringLiteral("QM_TEST_PG is not set: no PostgreSQL test server");
        *skip = !postgresRequired();
        return nullptr;
    }
    f->m_pgDatabase = QStringLiteral("qmt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++databaseCounter);
    {
        TDatabase adminDb;
        if (!adminDb.Connect(admin)) {
            *why = QStringLiteral("PostgreSQL test server unreachable: ") + adminDb.LastConnectError();
            f->m_pgDatabase.clear();
            return nullptr;
        }
        try {
            adminDb.Execute(QStringLiteral("drop database if exists %1").arg(f->m_pgDatabase));
            adminDb.Execute(QStringLiteral("create database %1 template qm_template").arg(f->m_pgDatabase));
        } catch (const QmError &e) {
            *why = e.message();
            f->m_pgDatabase.clear();
            return nullptr;
        }
    }
    ConnectionString cs;
    for (const char *key : {"Provider", "Data Source", "Port", "User ID", "Password"})
        cs.add(QLatin1String(key), ConnectionString::value(admin, QLatin1String(key)));
    cs.add(QStringLiteral("Initial Catalog"), f->m_pgDatabase);
    f->m_connectionString = cs.toString();
    if (!f->m_db->Connect(f->m_connectionString)) {
        *why = f->m_db->LastConnectError();
        return nullptr;
    }
    return f;
}

void addEngineRows()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("pgsql") << QStringLiteral("pgsql");
}

void installGlobals(EngineFixture *fixture)
{
    sharedSet.reset();
    TheDatabase = fixture ? &fixture->db() : nullptr;
    SharedRecordSet = nullptr;
    if (fixture) {
        sharedSet = std::make_unique<TRecordSet>();
        SharedRecordSet = sharedSet.get();
    }
}
