#pragma once

#include "Database.h"
#include "Utils.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A prompter that answers from a script and records every message, so no test
// ever waits on a real box. Unscripted questions get their default button.
class ScriptedPrompter : public Prompter
{
public:
    struct Shown
    {
        MessageKind kind;
        QString caption;
        QString text;
        MessageButtons buttons;
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    void answer(MessageButton button) { m_answers.append(button); }
    void answerInput(const QString &text) { m_inputs.append(text); }

    MessageButton message(MessageKind kind, const QString &caption, const QString &text, MessageButtons buttons,
        MessageButton defaultButton) override;
    bool inputText(const QString &caption, const QString &label, QString &value) override;

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear() { m_shown.clear(); }

private:
    QList<MessageButton> m_answers;
    QStringList m_inputs;
    QList<Shown> m_shown;
    Prompter *m_previous;
};

// A fresh database with the shipped schema and seed data, on either engine.
//
// SQLite: a new file in a temporary folder. PostgreSQL: a new database on the
// test server named by QM_TEST_PG (a connection string to its maintenance
// database), copied from the template database "qm_template" that the test
// command prepares. Dropped again when the fixture goes.
class EngineFixture
{
public:
    ~EngineFixture();

    // engine is "sqlite" or "pgsql". On failure returns nullptr with *why set;
    // *skip tells whether the engine is merely not available here.
    static std::unique_ptr<EngineFixture> create(const QString &engine, QString *why, bool *skip);

    TDatabase &db() { return *m_db; }
    QString connectionString() const { return m_connectionString; }
    QString engine() const { return m_engine; }
    // For SQLite, the database file.
    QString filePath() const { return m_file; }

    // The folder of the schema and seed scripts in the source tree.
    static QString scriptsDir();
    // True when a missing PostgreSQL server must fail rather than skip (CI).
    static bool postgresRequired();

private:
    EngineFixture() = default;
    QString m_engine;
    QString m_connectionString;
    QString m_file;
    QString m_pgDatabase;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TDatabase> m_db;
};

// Rows "sqlite" and "pgsql" for initTestCase_data(), so every test function of
// a database test runs once per engine.
void addEngineRows();

// For init(): opens a fresh fixture for the current engine row, installs it as
// TheDatabase (with a SharedRecordSet), and skips or fails as appropriate.
#define QM_INIT_ENGINE(fixturePtr)                                                                      \
    do {                                                                                                \
        QFETCH_GLOBAL(QString, engine);                                                                 \
        QString why_;                                                                                   \
        bool skip_ = false;                                                                             \
        fixturePtr = EngineFixture::create(engine, &why_, &skip_);                                      \
        if (!fixturePtr) {                                                                              \
            if (skip_)                                                                                  \
                QSKIP(qPrintable(why_));                                                                \
            QFAIL(qPrintable(why_));                                                                    \
        }                                                                                               \
        installGlobals(fixturePtr.get());                                                               \
    } while (false)

// Sets TheDatabase and SharedRecordSet to the fixture's (nullptr clears them).
void installGlobals(EngineFixture *fixture);
