#include "Database.h"

#include "ConnectionString.h"
#include "Error.h"
#include "Utils.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <atomic>
#include <charconv>
#include <libpq-fe.h>
#include <sqlite3.h>

TDatabase *TheDatabase = nullptr;
TRecordSet *SharedRecordSet = nullptr;

const QString TDatabase::SqliteProvider = QStringLiteral("SQLite");
const QString TDatabase::PostgresProvider = QStringLiteral("PostgreSQL");

TDBParameter MakeParameter(const QString &name, const QVariant &value)
{
    return TDBParameter{name, value};
}

namespace {

std::atomic<int> connectionCounter{0};

sqlite3 *sqliteHandle(const QSqlDatabase &db)
{
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(v.constData());
}

FieldKind kindFromDeclType(const char *declType)
{
    if (!declType)
        return FieldKind::Variant;
    const QByteArray t = QByteArray(declType).toUpper();
    if (t.contains("INT"))
        return FieldKind::Integer;
    if (t.contains("BOOL"))
        return FieldKind::Boolean;
    if (t.contains("TIMESTAMP") || t.contains("DATE") || t.contains("TIME"))
        return FieldKind::DateTime;
    if (t.contains("CHAR") || t.contains("CLOB"))
        return FieldKind::WideString;
    if (t.contains("TEXT"))
        return FieldKind::Memo;
    if (t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB") || t.contains("NUMERIC")
        || t.contains("DECIMAL"))
        return FieldKind::Float;
    if (t.contains("BLOB"))
        return FieldKind::Blob;
    return FieldKind::Variant;
}

// Prepared SQLite statement with named binding; finalised on destruction.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3 *db, const QString &sql)
        : m_db(db)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db, text.constData(), text.size(), &m_stmt, nullptr) != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(db));
            m_stmt = nullptr;
        }
    }
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }

    bool ok() const { return m_stmt != nullptr; }
    QString error() const
    {
        return m_error.isEmpty() ? QString::fromUtf8(sqlite3_errmsg(m_db)) : m_error;
    }
    sqlite3_stmt *handle() const { return m_stmt; }

    // Binds by name without regard to letter case; false with error() set when
    // a name does not occur in the statement.
    bool bind(const TDBParameters &params, const TxDBParameters &blobs)
    {
        if (m_indexes.isEmpty()) {
            const int count = sqlite3_bind_parameter_count(m_stmt);
            for (int i = 1; i <= count; ++i) {
                const char *name = sqlite3_bind_parameter_name(m_stmt, i);
                if (name)
                    m_indexes[QString::fromUtf8(name + 1).toLower()].append(i);
            }
        }
        for (const auto &p : params) {
            const auto it = m_indexes.constFind(p.Name.toLower());
            if (it == m_indexes.constEnd())
                return missing(p.Name);
            const QVariant v = TDatabase::BindableValue(p.Value);
            for (int index : *it)
                if (!bindValue(index, v))
                    return false;
        }
        for (const auto &b : blobs) {
            const auto it = m_indexes.constFind(b.Name.toLower());
            if (it == m_indexes.constEnd())
                return missing(b.Name);
            for (int index : *it)
                if (sqlite3_bind_blob(m_stmt, index, b.Stream.constData(),
                        static_cast<int>(b.Stream.size()), SQLITE_TRANSIENT)
                    != SQLITE_OK)
                    return false;
        }
        return true;
    }

    void reset()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

private:
    bool missing(const QString &name)
    {
        m_error = QStringLiteral("参数 :%1 没有出现在语句中").arg(name);
        return false;
    }

    bool bindValue(int index, const QVariant &v)
    {
        int rc;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(m_stmt, index);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(m_stmt, index, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_stmt, index, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = v.toByteArray();
                rc = sqlite3_bind_blob(m_stmt, index, bytes.constData(),
                    static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray text = v.toString().toUtf8();
                rc = sqlite3_bind_text(m_stmt, index, text.constData(),
                    static_cast<int>(text.size()), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        return rc == SQLITE_OK;
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_error;
    QHash<QString, QList<int>> m_indexes;
};

// Binds by name as the statement spells it, so a differently cased parameter
// still finds its placeholder; false with *error set for a name not in the SQL.
bool bindQt(QSqlQuery &query, const QString &sql, const TDBParameters &params,
    const TxDBParameters &blobs, QString *error)
{
    QHash<QString, QString> spelled;
    for (const QString &name : SqlDialect::placeholders(sql))
        spelled.insert(name.toLower(), name);
    auto placeholder = [&](const QString &name) -> QString {
        const auto it = spelled.constFind(name.toLower());
        if (it == spelled.constEnd()) {
            *error = QStringLiteral("参数 :%1 没有出现在语句中").arg(name);
            return QString();
        }
        return QLatin1Char(':') + *it;
    };
    for (const auto &p : params) {
        const QString name = placeholder(p.Name);
        if (name.isEmpty())
            return false;
        QVariant v = TDatabase::BindableValue(p.Value);
        if (!v.isValid())
            v = QVariant(QMetaType(QMetaType::QString));
        query.bindValue(name, v);
    }
    for (const auto &b : blobs) {
        const QString name = placeholder(b.Name);
        if (name.isEmpty())
            return false;
        query.bindValue(name, b.Stream, QSql::In | QSql::Binary);
    }
    return true;
}

QString qtError(const QSqlError &error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

PGconn *postgresHandle(const QSqlDatabase &db)
{
    const QVariant v = db.driver()->handle();
    if (!v.isValid()
        || (qstrcmp(v.typeName(), "PGconn*") != 0 && qstrcmp(v.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(v.constData());
}

// Parameters as libpq takes them, in the order of the statement's $n
// placeholders: texts (bytes for blobs), NULL as a null pointer.
struct PgParameters
{
    QList<QByteArray> texts;
    QVector<const char *> values;
    QVector<int> lengths;
    QVector<int> formats;

    // Where each placeholder name (letter case ignored) goes.
    static QHash<QString, int> positionsOf(const QStringList &names)
    {
        QHash<QString, int> positions;
        for (int i = 0; i < names.size(); ++i)
            positions.insert(names[i].toLower(), i);
        return positions;
    }

    // False with the name of a parameter the statement does not use.
    bool assign(const QHash<QString, int> &positions, const TDBParameters &params, QString *unknown)
    {
        const int count = static_cast<int>(positions.size());
        texts = QList<QByteArray>(count);
        values = QVector<const char *>(count, nullptr);
        lengths = QVector<int>(count, 0);
        formats = QVector<int>(count, 0);
        for (const TDBParameter &p : params) {
            const int index = positions.value(p.Name.toLower(), -1);
            if (index < 0) {
                *unknown = p.Name;
                return false;
            }
            const QVariant v = TDatabase::BindableValue(p.Value);
            if (!v.isValid())
                continue;
            if (v.typeId() == QMetaType::QByteArray) {
                texts[index] = v.toByteArray();
                formats[index] = 1;
            } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
                texts[index] = QByteArray::number(v.toDouble(), 'g', 17);
            } else {
                texts[index] = v.toString().toUtf8();
            }
            values[index] = texts[index].constData();
            lengths[index] = static_cast<int>(texts[index].size());
        }
        return true;
    }
};

struct PgResult
{
    PGresult *r;
    ~PgResult() { PQclear(r); }
};

FieldKind kindFromPostgresType(Oid type)
{
    switch (type) {
    case 16:
        return FieldKind::Boolean;
    case 20:
    case 21:
    case 23:
        return FieldKind::Integer;
    case 700:
    case 701:
    case 1700:
        return FieldKind::Float;
    case 1082:
    case 1114:
    case 1184:
        return FieldKind::DateTime;
    case 17:
        return FieldKind::Blob;
    case 25:
        return FieldKind::Memo;
    case 1042:
    case 1043:
        return FieldKind::WideString;
    default:
        return FieldKind::Variant;
    }
}

QByteArray decodeHexBytea(const char *text, int)
{
    // Text-format bytea comes hex or escaped, depending on the session's
    // bytea_output (the Qt driver asks for the escaped form); libpq reads both.
    size_t length = 0;
    unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &length);
    if (!bytes)
        return QByteArray();
    QByteArray result(reinterpret_cast<const char *>(bytes), static_cast<qsizetype>(length));
    PQfreemem(bytes);
    return result;
}

} // namespace

// ---------------------------------------------------------------- TDatabase

TDatabase::TDatabase()
    : m_connectionName(QStringLiteral("qm-connection-%1").arg(++connectionCounter))
{ }

TDatabase::~TDatabase()
{
    closeConnection();
}

bool TDatabase::Connect(const QString &connectionString)
{
    closeConnection();
    m_transactionLevel = 0;
    m_connectionString = connectionString;
    QString error;
    if (!openConnection(&error)) {
        m_lastConnectError = error;
        ShowInfo(QStringLiteral("连接时失败,提示如下:\r\n%1").arg(error));
        return false;
    }
    m_lastConnectError.clear();
    return true;
}

bool TDatabase::Connected() const
{
    if (!QSqlDatabase::contains(m_connectionName))
        return false;
    return QSqlDatabase::database(m_connectionName, false).isOpen();
}

void TDatabase::SetConnected(bool connected)
{
    if (connected) {
        if (!Connected()) {
            QString error;
            if (!openConnection(&error))
                throw QmError(error);
        }
    } else {
        closeConnection();
        m_transactionLevel = 0;
    }
}

bool TDatabase::openConnection(QString *error)
{
    closeConnection();
    const QString provider = Provider();
    const QString source = DataSource();
    QSqlDatabase db;
    if (provider == SqliteProvider) {
        if (source.isEmpty()) {
            *error = QStringLiteral("没有指定数据库文件");
            return false;
        }
        if (!QFileInfo(source).isFile()) {
            *error = QStringLiteral("数据库文件不存在: %1").arg(source);
            return false;
        }
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        // mode=rw: a missing file fails instead of being created empty.
        db.setDatabaseName(QStringLiteral("file:")
            + QString::fromLatin1(QUrl::toPercentEncoding(source, "/"))
            + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    } else if (provider == PostgresProvider) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        db.setHostName(source);
        const QString port = ConnectionValue(QStringLiteral("Port"));
        if (!port.isEmpty())
            db.setPort(port.toInt());
        db.setDatabaseName(ConnectionValue(QStringLiteral("Initial Catalog")));
        db.setUserName(ConnectionValue(QStringLiteral("User ID")));
        db.setPassword(ConnectionValue(QStringLiteral("Password")));
        db.setConnectOptions(QStringLiteral("connect_timeout=30"));
    } else {
        *error = provider.isEmpty() ? QStringLiteral("连接串为空或没有指定数据提供者")
                                    : QStringLiteral("不支持的数据提供者: %1").arg(provider);
        return false;
    }
    if (!db.open()) {
        *error = qtError(db.lastError());
        if (error->isEmpty())
            *error = QStringLiteral("无法打开数据库");
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        return false;
    }
    if (provider == SqliteProvider) {
        // A file that is not a database opens fine and fails on first read;
        // find out now so the connection dialog can be shown.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
            *error = qtError(probe.lastError());
            probe = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connectionName);
            return false;
        }
    } else {
        QSqlQuery setup(db);
        setup.exec(QStringLiteral("set client_encoding to 'UTF8'"));
    }
    return true;
}

void TDatabase::closeConnection()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void TDatabase::ensureOpen()
{
    if (Connected())
        return;
    if (m_transactionLevel > 0)
        throw QmError(QStringLiteral("数据库连接已断开,事务已无法继续,请重试该操作."));
    QString error;
    if (!openConnection(&error))
        throw QmError(QStringLiteral("无法连接数据库:\r\n") + error);
}

void TDatabase::fail(const QString &engineMessage, const QString &sql) const
{
    throw QmError(engineMessage + QStringLiteral("\r\n") + sql);
}

int TDatabase::run(const QString &sql, const TDBParameters &params, const TxDBParameters &blobs)
{
    ensureOpen();
    const QString translated = Dialect().translate(sql);
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (Engine() == SqlEngine::SQLite) {
        sqlite3 *h = sqliteHandle(db);
        SqliteStatement stmt(h, translated);
        if (!stmt.ok() || !stmt.bind(params, blobs))
            fail(stmt.error(), sql);
        int rc;
        while ((rc = sqlite3_step(stmt.handle())) == SQLITE_ROW) { }
        if (rc != SQLITE_DONE)
            fail(QString::fromUtf8(sqlite3_errmsg(h)), sql);
        return sqlite3_changes(h);
    }
    QSqlQuery query(db);
    bool ok;
    if (params.isEmpty() && blobs.isEmpty()) {
        ok = query.exec(translated);
    } else {
        QString error;
        if (!query.prepare(translated))
            fail(qtError(query.lastError()), sql);
        if (!bindQt(query, translated, params, blobs, &error))
            fail(error, sql);
        ok = query.exec();
    }
    if (!ok)
        fail(qtError(query.lastError()), sql);
    return query.numRowsAffected();
}

int TDatabase::ExecSQL(const QString &sql, const TDBParameters &params, const TxDBParameters &blobs)
{
    return run(sql, params, blobs);
}

void TDatabase::Execute(
    const QString &sql, const TDBParameters &params, const TxDBParameters &blobs)
{
    run(sql, params, blobs);
}

void TDatabase::Fill(TDataSet &set, const QString &sql, const TDBParameters &params)
{
    ensureOpen();
    const QString translated = Dialect().translate(sql);
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);

    if (Engine() == SqlEngine::SQLite) {
        sqlite3 *h = sqliteHandle(db);
        SqliteStatement stmt(h, translated);
        if (!stmt.ok() || !stmt.bind(params, {}))
            fail(stmt.error(), sql);
        sqlite3_stmt *s = stmt.handle();
        const int columnCount = sqlite3_column_count(s);
        QVector<TDataSet::Loader::ResultColumn> columns;
        for (int c = 0; c < columnCount; ++c)
            columns.append({QString::fromUtf8(sqlite3_column_name(s, c)),
                kindFromDeclType(sqlite3_column_decltype(s, c))});
        TDataSet::Loader loader(set, columns);
        struct Slot
        {
            int column;
            int field;
            FieldKind kind;
        };
        QVector<Slot> used;
        for (int c = 0; c < columnCount; ++c)
            if (loader.fieldFor(c) >= 0)
                used.append({c, loader.fieldFor(c), loader.kindOf(loader.fieldFor(c))});
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            loader.beginRow();
            for (const Slot &slot : used) {
                const int type = sqlite3_column_type(s, slot.column);
                if (type == SQLITE_NULL)
                    continue;
                switch (slot.kind) {
                case FieldKind::Integer:
                case FieldKind::Boolean:
                    loader.setInt(slot.field, sqlite3_column_int64(s, slot.column));
                    break;
                case FieldKind::Float:
                    loader.setDouble(slot.field, sqlite3_column_double(s, slot.column));
                    break;
                case FieldKind::Blob: {
                    const void *data = sqlite3_column_blob(s, slot.column);
                    loader.setBytes(slot.field, static_cast<const char *>(data),
                        sqlite3_column_bytes(s, slot.column));
                    break;
                }
                case FieldKind::DateTime: {
                    if (type != SQLITE_TEXT)
                        break;
                    const auto *text
                        = reinterpret_cast<const char *>(sqlite3_column_text(s, slot.column));
                    qint64 stamp;
                    if (TDataSet::Loader::parseDateTime(
                            text, sqlite3_column_bytes(s, slot.column), &stamp))
                        loader.setStamp(slot.field, stamp);
                    break;
                }
                case FieldKind::Variant:
                    switch (type) {
                    case SQLITE_INTEGER:
                        loader.setVariant(
                            slot.field, QVariant(sqlite3_column_int64(s, slot.column)));
                        break;
                    case SQLITE_FLOAT:
                        loader.setVariant(
                            slot.field, QVariant(sqlite3_column_double(s, slot.column)));
                        break;
                    case SQLITE_BLOB:
                        loader.setVariant(slot.field,
                            QByteArray(
                                static_cast<const char *>(sqlite3_column_blob(s, slot.column)),
                                sqlite3_column_bytes(s, slot.column)));
                        break;
                    default:
                        loader.setVariant(slot.field,
                            QString::fromUtf8(
                                reinterpret_cast<const char *>(sqlite3_column_text(s, slot.column)),
                                sqlite3_column_bytes(s, slot.column)));
                        break;
                    }
                    break;
                default: {
                    const auto *text
                        = reinterpret_cast<const char *>(sqlite3_column_text(s, slot.column));
                    loader.setBytes(slot.field, text, sqlite3_column_bytes(s, slot.column));
                    break;
                }
                }
            }
            loader.endRow();
        }
        if (rc != SQLITE_DONE)
            fail(QString::fromUtf8(sqlite3_errmsg(h)), sql);
        loader.finish();
        return;
    }

    // PostgreSQL: libpq on the driver's own connection, so rows arrive as
    // text straight into the columns instead of one QVariant per value.
    PGconn *conn = postgresHandle(db);
    if (!conn)
        fail(QStringLiteral("无法取得 PostgreSQL 连接句柄"), sql);
    QStringList names;
    const QByteArray statement = SqlDialect::positional(translated, &names).toUtf8();
    PgParameters bound;
    QString unknown;
    if (!bound.assign(PgParameters::positionsOf(names), params, &unknown))
        fail(QStringLiteral("参数 :%1 没有出现在语句中").arg(unknown), sql);
    PgResult result{
        PQexecParams(conn, statement.constData(), static_cast<int>(names.size()), nullptr,
            bound.values.constData(), bound.lengths.constData(), bound.formats.constData(), 0)};
    if (!result.r || PQresultStatus(result.r) != PGRES_TUPLES_OK)
        fail(QString::fromUtf8(result.r ? PQresultErrorMessage(result.r) : PQerrorMessage(conn))
                 .trimmed(),
            sql);
    PGresult *r = result.r;
    const int columnCount = PQnfields(r);
    QVector<TDataSet::Loader::ResultColumn> columns;
    QVector<Oid> types;
    for (int c = 0; c < columnCount; ++c) {
        columns.append({QString::fromUtf8(PQfname(r, c)), kindFromPostgresType(PQftype(r, c))});
        types.append(PQftype(r, c));
    }
    TDataSet::Loader loader(set, columns);
    struct Slot
    {
        int column;
        int field;
        FieldKind kind;
        Oid type;
    };
    QVector<Slot> used;
    for (int c = 0; c < columnCount; ++c)
        if (loader.fieldFor(c) >= 0)
            used.append({c, loader.fieldFor(c), loader.kindOf(loader.fieldFor(c)), types[c]});
    const int rowCount = PQntuples(r);
    for (int row = 0; row < rowCount; ++row) {
        loader.beginRow();
        for (const Slot &slot : used) {
            if (PQgetisnull(r, row, slot.column))
                continue;
            const char *text = PQgetvalue(r, row, slot.column);
            const int size = PQgetlength(r, row, slot.column);
            switch (slot.kind) {
            case FieldKind::Integer:
            case FieldKind::Boolean: {
                if (slot.type == 16) {
                    loader.setInt(slot.field, text[0] == 't' ? 1 : 0);
                    break;
                }
                long long v = 0;
                if (std::from_chars(text, text + size, v).ec == std::errc())
                    loader.setInt(slot.field, v);
                else
                    loader.setDouble(slot.field, QByteArray(text, size).toDouble());
                break;
            }
            case FieldKind::Float: {
                double v = 0;
                std::from_chars(text, text + size, v);
                loader.setDouble(slot.field, v);
                break;
            }
            case FieldKind::DateTime: {
                qint64 stamp;
                if (TDataSet::Loader::parseDateTime(text, size, &stamp))
                    loader.setStamp(slot.field, stamp);
                break;
            }
            case FieldKind::Blob: {
                const QByteArray bytes
                    = slot.type == 17 ? decodeHexBytea(text, size) : QByteArray(text, size);
                loader.setBytes(slot.field, bytes.constData(), static_cast<int>(bytes.size()));
                break;
            }
            case FieldKind::Variant:
                switch (slot.type) {
                case 16:
                    loader.setVariant(slot.field, QVariant(text[0] == 't'));
                    break;
                case 20:
                case 21:
                case 23:
                    loader.setVariant(slot.field, QVariant(QByteArray(text, size).toLongLong()));
                    break;
                case 700:
                case 701:
                case 1700:
                    loader.setVariant(slot.field, QVariant(QByteArray(text, size).toDouble()));
                    break;
                case 17:
                    loader.setVariant(slot.field, decodeHexBytea(text, size));
                    break;
                default:
                    loader.setVariant(slot.field, QString::fromUtf8(text, size));
                    break;
                }
                break;
            default:
                loader.setBytes(slot.field, text, size);
                break;
            }
        }
        loader.endRow();
    }
    loader.finish();
}

int TDatabase::BeginTrans()
{
    ensureOpen();
    const int level = m_transactionLevel + 1;
    Execute(
        level == 1 ? QStringLiteral("begin") : QStringLiteral("savepoint qm_level_%1").arg(level));
    m_transactionLevel = level;
    return level;
}

void TDatabase::CommitTrans()
{
    if (m_transactionLevel <= 0)
        throw QmError(QStringLiteral("没有打开的事务可以提交"));
    const int level = m_transactionLevel;
    Execute(level == 1 ? QStringLiteral("commit")
                       : QStringLiteral("release savepoint qm_level_%1").arg(level));
    m_transactionLevel = level - 1;
}

void TDatabase::RollbackTrans()
{
    if (m_transactionLevel <= 0)
        return;
    const int level = m_transactionLevel;
    m_transactionLevel = level - 1;
    if (!Connected())
        return;
    if (level == 1) {
        Execute(QStringLiteral("rollback"));
    } else {
        Execute(QStringLiteral("rollback to savepoint qm_level_%1").arg(level));
        Execute(QStringLiteral("release savepoint qm_level_%1").arg(level));
    }
}

QString TDatabase::ConnectionValue(const QString &key) const
{
    return ConnectionString::value(m_connectionString, key);
}

bool TDatabase::IsSqlServer() const
{
    return Provider() != SqliteProvider;
}

const SqlDialect &TDatabase::Dialect() const
{
    const SqlEngine engine = Engine();
    if (!m_dialect || m_dialectEngine != engine) {
        m_dialect = SqlDialect::create(engine);
        m_dialectEngine = engine;
    }
    return *m_dialect;
}

QDateTime TDatabase::ServerNow()
{
    TDataSet set;
    Fill(set, Dialect().ServerNowQuery());
    if (set.IsEmpty())
        return QDateTime();
    return set.Fields(0)->AsDateTime();
}

QVariant TDatabase::BindableValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.isValid() ? QVariant(SqlDialect::canonicalDateTime(dt)) : QVariant();
    }
    case QMetaType::QDate: {
        const QDate d = value.toDate();
        return d.isValid() ? QVariant(SqlDialect::canonicalDateTime(d.startOfDay())) : QVariant();
    }
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

// ---------------------------------------------------------------- Batch

struct TDatabase::Batch::Private
{
    TDatabase &db;
    QString sql;
    std::unique_ptr<SqliteStatement> sqlite;
    // PostgreSQL: a statement prepared once on the driver's connection.
    PGconn *pg = nullptr;
    QByteArray pgName;
    QHash<QString, int> pgPositions;
};

TDatabase::Batch::Batch(TDatabase &db, const QString &sql)
    : d(new Private{db, sql, nullptr, nullptr, {}, {}})
{
    db.ensureOpen();
    const QString translated = db.Dialect().translate(sql);
    QSqlDatabase qdb = QSqlDatabase::database(db.m_connectionName, false);
    if (db.Engine() == SqlEngine::SQLite) {
        d->sqlite = std::make_unique<SqliteStatement>(sqliteHandle(qdb), translated);
        if (!d->sqlite->ok())
            db.fail(d->sqlite->error(), sql);
        return;
    }
    d->pg = postgresHandle(qdb);
    if (!d->pg)
        db.fail(QStringLiteral("无法取得 PostgreSQL 连接句柄"), sql);
    static std::atomic<int> batches{0};
    d->pgName = "qm_batch_" + QByteArray::number(++batches);
    QStringList names;
    const QByteArray statement = SqlDialect::positional(translated, &names).toUtf8();
    d->pgPositions = PgParameters::positionsOf(names);
    PgResult prepared{PQprepare(d->pg, d->pgName.constData(), statement.constData(), 0, nullptr)};
    if (!prepared.r || PQresultStatus(prepared.r) != PGRES_COMMAND_OK)
        db.fail(
            QString::fromUtf8(prepared.r ? PQresultErrorMessage(prepared.r) : PQerrorMessage(d->pg))
                .trimmed(),
            sql);
}

TDatabase::Batch::~Batch()
{
    // Inside a failed transaction this fails too; the statement then goes
    // with the connection.
    if (d->pg)
        PQclear(PQexec(d->pg, ("deallocate " + d->pgName).constData()));
}

int TDatabase::Batch::exec(const TDBParameters &params)
{
    if (d->sqlite) {
        d->sqlite->reset();
        if (!d->sqlite->bind(params, {}))
            d->db.fail(d->sqlite->error(), d->sql);
        const int rc = sqlite3_step(d->sqlite->handle());
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            d->db.fail(d->sqlite->error(), d->sql);
        return sqlite3_changes(sqlite3_db_handle(d->sqlite->handle()));
    }
    PgParameters bound;
    QString unknown;
    if (!bound.assign(d->pgPositions, params, &unknown))
        d->db.fail(QStringLiteral("参数 :%1 没有出现在语句中").arg(unknown), d->sql);
    PgResult result{
        PQexecPrepared(d->pg, d->pgName.constData(), static_cast<int>(d->pgPositions.size()),
            bound.values.constData(), bound.lengths.constData(), bound.formats.constData(), 0)};
    const ExecStatusType status = result.r ? PQresultStatus(result.r) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        d->db.fail(
            QString::fromUtf8(result.r ? PQresultErrorMessage(result.r) : PQerrorMessage(d->pg))
                .trimmed(),
            d->sql);
    return QByteArray(PQcmdTuples(result.r)).toInt();
}
