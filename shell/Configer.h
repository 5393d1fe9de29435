#pragma once

#include <QString>

// Product texts, read by the start-up, the login window, the about box and the
// feedback form; DefaultDbName is the base name of the standalone database file.
inline const QString ProductTitle = QStringLiteral("澄岚人事档案管理系统");
inline const QString ProductVersion = QStringLiteral("单机版 2.6.120130");
inline const QString ProductBuild = QStringLiteral("Build120130-TK");
inline const QString ProductCode = QStringLiteral("ZODARE");
inline const QString DefaultDbName = QStringLiteral("vuzoz26");

// The connection configuration kept in "cfg.ini" (section "db"), and the
// connection string it leads to.
//
// Three ways of reaching the database, chosen by ProviderIdx: 0 a PostgreSQL
// server, 1 a SQLite database file (the default file beside the executable
// when DefaultCon is set), 2 a PostgreSQL server whose connection data comes
// from a directory service over HTTP. Fields always hold plain values; the
// passwords, the file name and the composed "ConnStr" are scrambled in the file
// only. The file is re-read before every write, so lines written by others
// meanwhile (the last login, keys of later versions) are kept.
class TConfiger
{
public:
    enum Provider { PostgresServer = 0, SqliteFile = 1, DirectoryService = 2 };

    // Reads "cfg.ini" in folder (empty: DefaultFolder()); a missing or
    // unreadable file gives the defaults.
    explicit TConfiger(const QString &folder = QString());

    int ProviderIdx = PostgresServer;
    bool DefaultCon = true;
    QString MssqlServer;
    int MssqlPort = 5432;
    QString MssqlDb;
    QString MssqlUser;
    QString MssqlPw;
    QString JetFile;
    // Not used by SQLite; kept so the file keeps its keys.
    QString JetUser;
    QString JetPw;
    QString VizUrl;
    QString VizUser;

    // Writes every field and "ConnStr"; throws QmError (nothing written) when a
    // value holds a control character, which would break the line-based file,
    // or when the file cannot be written.
    void Save();

    // The connection string to use now.
    QString GetConnectionString();
    // The PostgreSQL connection string from the directory service, or empty
    // (after a message when the request failed).
    QString FetchVizConnection();

    QString folder() const { return m_folder; }
    QString iniPath() const;

    static QString PostgresConnectionString(const QString &server, const QString &port,
        const QString &database, const QString &user, const QString &password);
    static QString SqliteConnectionString(const QString &file);
    // The standalone database file beside the executable.
    static QString DefaultDatabaseFile();

    // The folder of "cfg.ini" when none is given: the executable's folder
    // unless redirected (tests); an empty folder restores that.
    static QString DefaultFolder();
    static void SetDefaultFolder(const QString &folder);

    static QString ReadLastLoginId(const QString &folder = QString());
    // False when the file could not be written; the caller may go on.
    static bool WriteLastLoginId(const QString &loginId, const QString &folder = QString());

private:
    QString m_folder;
    QString m_connStr;
};
