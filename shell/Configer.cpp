#include "Configer.h"

#include "ConnectionString.h"
#include "Database.h"
#include "Error.h"
#include "Http.h"
#include "IniFile.h"
#include "Utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QByteArray DbSection = "db";
const QByteArray LoginSection = "Login";

QString &folderOverride()
{
    static QString folder;
    return folder;
}

QString iniPathIn(const QString &folder)
{
    return QDir(folder.isEmpty() ? TConfiger::DefaultFolder() : folder)
        .filePath(QStringLiteral("cfg.ini"));
}

QString readText(const IniFile &ini, const char *key)
{
    return QString::fromUtf8(ini.value(DbSection, key));
}

QString readScrambled(const IniFile &ini, const char *key)
{
    return QString::fromUtf8(Scramble(ini.value(DbSection, key)));
}

int readInt(const IniFile &ini, const char *key, int fallback)
{
    bool ok = false;
    const int value = ini.value(DbSection, key).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

bool readBool(const IniFile &ini, const char *key, bool fallback)
{
    return readInt(ini, key, fallback ? 1 : 0) != 0;
}

// Tabs and line breaks typed or pasted into a field would, once scrambled,
// turn into line ends and cut the file apart.
bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

} // namespace

TConfiger::TConfiger(const QString &folder)
    : m_folder(folder.isEmpty() ? DefaultFolder() : folder)
{
    IniFile ini(iniPath());
    if (!ini.load())
        return;
    ProviderIdx = readInt(ini, "providerIdx", ProviderIdx);
    DefaultCon = readBool(ini, "defaultCon", DefaultCon);
    MssqlServer = readText(ini, "mssqlServer");
    MssqlPort = readInt(ini, "mssqlPort", MssqlPort);
    MssqlDb = readText(ini, "mssqlDb");
    MssqlUser = readText(ini, "mssqlUser");
    MssqlPw = readScrambled(ini, "mssqlPw");
    JetFile = readScrambled(ini, "jetfile");
    JetUser = readText(ini, "jetUser");
    JetPw = readScrambled(ini, "jetPw");
    VizUrl = readText(ini, "vizUrl");
    VizUser = readText(ini, "vizUser");
    m_connStr = readScrambled(ini, "ConnStr");
}

QString TConfiger::iniPath() const
{
    return iniPathIn(m_folder);
}

void TConfiger::Save()
{
    QString connStr;
    if (ProviderIdx == PostgresServer)
        connStr = PostgresConnectionString(
            MssqlServer, QString::number(MssqlPort), MssqlDb, MssqlUser, MssqlPw);
    else if (ProviderIdx == SqliteFile)
        connStr = SqliteConnectionString(JetFile);

    for (const QString *text : {&MssqlServer, &MssqlDb, &MssqlUser, &MssqlPw, &JetFile, &JetUser,
             &JetPw, &VizUrl, &VizUser}) {
        if (hasControlCharacter(*text))
            throw QmError(
                QStringLiteral("连接参数中不能含有制表符、换行等控制字符,请修改后再保存."));
    }

    IniFile ini(iniPath());
    if (!ini.load())
        throw QmError(
            QStringLiteral("无法读取配置文件 %1").arg(QDir::toNativeSeparators(iniPath())));
    const auto plain = [&](const char *key, const QString &value) {
        ini.setValue(DbSection, key, value.toUtf8());
    };
    const auto scrambled = [&](const char *key, const QString &value) {
        ini.setValue(DbSection, key, Scramble(value.toUtf8()));
    };
    plain("mssqlServer", MssqlServer);
    plain("mssqlPort", QString::number(MssqlPort));
    plain("mssqlDb", MssqlDb);
    plain("mssqlUser", MssqlUser);
    scrambled("mssqlPw", MssqlPw);
    scrambled("jetfile", JetFile);
    plain("jetUser", JetUser);
    scrambled("jetPw", JetPw);
    plain("vizUrl", VizUrl);
    plain("vizUser", VizUser);
    plain("providerIdx", QString::number(ProviderIdx));
    plain("defaultCon", QLatin1String(DefaultCon ? "1" : "0"));
    scrambled("ConnStr", connStr);

    QString error;
    if (!ini.save(&error))
        throw QmError(QStringLiteral("无法保存配置文件 %1:\r\n%2")
                          .arg(QDir::toNativeSeparators(iniPath()), error));
    m_connStr = connStr;
}

QString TConfiger::GetConnectionString()
{
    if (ProviderIdx == SqliteFile && DefaultCon)
        return SqliteConnectionString(DefaultDatabaseFile());
    if (ProviderIdx == DirectoryService)
        return FetchVizConnection();
    return m_connStr;
}

QString TConfiger::FetchVizConnection()
{
    const QString address = QStringLiteral("%1?user=%2")
                                .arg(VizUrl, QString::fromLatin1(QUrl::toPercentEncoding(VizUser)));
    const HttpResult reply = HttpClient().Get(QUrl(address));
    if (!reply.ok) {
        ShowInfo(QStringLiteral("无法获得VIZ连接信息,请检查网络是否畅通."));
        return QString();
    }

    QString body = QString::fromUtf8(reply.body);
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = body.split(lineBreak);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() != 5)
        return QString();

    // A port that is not a number would reach the driver as port 0 and fail
    // with a misleading message; treat it like any other malformed reply.
    const QString port = lines[1].trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        const int number = port.toInt(&ok);
        if (!ok || number < 1 || number > 65535)
            return QString();
    }
    return PostgresConnectionString(lines[0], port, lines[4], lines[2], lines[3]);
}

QString TConfiger::PostgresConnectionString(const QString &server, const QString &port,
    const QString &database, const QString &user, const QString &password)
{
    ConnectionString cs;
    cs.add(QStringLiteral("Provider"), TDatabase::PostgresProvider);
    cs.add(QStringLiteral("Data Source"), server);
    cs.add(QStringLiteral("Port"), port);
    cs.add(QStringLiteral("Initial Catalog"), database);
    cs.add(QStringLiteral("User ID"), user);
    cs.add(QStringLiteral("Password"), password);
    return cs.toString();
}

QString TConfiger::SqliteConnectionString(const QString &file)
{
    ConnectionString cs;
    cs.add(QStringLiteral("Provider"), TDatabase::SqliteProvider);
    cs.add(QStringLiteral("Data Source"), file);
    return cs.toString();
}

QString TConfiger::DefaultDatabaseFile()
{
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(DefaultDbName + QStringLiteral(".db"));
}

QString TConfiger::DefaultFolder()
{
    const QString &folder = folderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void TConfiger::SetDefaultFolder(const QString &folder)
{
    folderOverride() = folder;
}

QString TConfiger::ReadLastLoginId(const QString &folder)
{
    IniFile ini(iniPathIn(folder));
    if (!ini.load())
        return QString();
    return QString::fromUtf8(ini.value(LoginSection, "LastLoginId"));
}

bool TConfiger::WriteLastLoginId(const QString &loginId, const QString &folder)
{
    if (hasControlCharacter(loginId))
        return false;
    IniFile ini(iniPathIn(folder));
    if (!ini.load())
        return false;
    ini.setValue(LoginSection, "LastLoginId", loginId.toUtf8());
    return ini.save();
}
