#include "Schema.h"

#include "Database.h"
#include "Error.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>

namespace Schema {

const QVector<Table> &Tables()
{
    static const QVector<Table> tables = {
        {"employee", "Id"},
        {"empjoin", "EmpId"},
        {"empjout", "Id"},
        {"empback", "JoutId"},
        {"emptrials", "EmpId"},
        {"photo", "EmpId"},
        {"empimages", "Id"},
        {"relationship", "Id"},
        {"workstory", "Id"},
        {"education", "Id"},
        {"department", "Code"},
        {"postmove", "Id"},
        {"vacation", "Id"},
        {"contracts", "ContractId"},
        {"certificates", "Id"},
        {"rewards", "Id"},
        {"tests", "Id"},
        {"TrainOrgans", "OrganId"},
        {"TrainCourses", "CourseId"},
        {"Trains", "TrnId"},
        {"Zpjobs", "Id"},
        {"Zpapply", "EmpId"},
        {"gz_account", "Id"},
        {"gz_accountfields", "Id"},
        {"gz_accountemp", ""},
        {"gz_month", "Id"},
        {"gz_monthemp", "Id"},
        {"gz_operatorights", ""},
        {"gz_operatordepts", ""},
        {"operator", "LoginId"},
        {"Company", "Id"},
        {"keyvalue", "KeyId"},
        {"options", "Key"},
        {"report", "Id"},
        {"agecount", "Id"},
        {"syscols", "F02"},
        {"backup", ""},
    };
    return tables;
}

QStringList SplitScript(const QString &script)
{
    QStringList statements;
    QString current;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (current.isEmpty() && (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1String("--"))))
            continue;
        if (!current.isEmpty())
            current += QLatin1Char('\n');
        current += line;
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            current = current.trimmed();
            current.chop(1);
            statements << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

bool RunScriptFile(TDatabase &db, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取 %1: %2").arg(path, file.errorString());
        return false;
    }
    const QStringList statements = SplitScript(QString::fromUtf8(file.readAll()));
    try {
        db.BeginTrans();
        for (const QString &statement : statements)
            db.Execute(statement);
        db.CommitTrans();
    } catch (const QmError &e) {
        db.RollbackTrans();
        *error = e.message();
        return false;
    }
    return true;
}

bool LoadDefaultReports(TDatabase &db, const QString &dir, QString *error)
{
    const QDir folder(dir);
    if (!folder.exists()) {
        *error = QStringLiteral("报表模板文件夹 %1 不存在").arg(dir);
        return false;
    }
    struct Entry
    {
        int group;
        QString title;
        QByteArray bytes;
        QString file;
    };
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d+)-(.+)\\.qmr$"), QRegularExpression::CaseInsensitiveOption);
    QVector<Entry> entries;
    for (const QString &name :
        folder.entryList({QStringLiteral("*.qmr")}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch()) {
            *error = QStringLiteral("报表模板文件 %1 的名称应为 \"组号-名称.qmr\"").arg(name);
            return false;
        }
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("无法读取 %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        Entry e{m.captured(1).toInt(), m.captured(2), file.readAll(), name};
        const QString title
            = QJsonDocument::fromJson(e.bytes).object().value(QLatin1String("name")).toString();
        if (!title.isEmpty())
            e.title = title;
        if (e.title.size() > 20) {
            *error = QStringLiteral("报表模板 %1 的标题超过 20 个字").arg(e.file);
            return false;
        }
        entries.append(e);
    }
    std::stable_sort(entries.begin(), entries.end(),
        [](const Entry &a, const Entry &b) { return a.group < b.group; });
    try {
        db.BeginTrans();
        TDataSet top;
        db.Fill(top, QStringLiteral("select max(Id) from report"));
        int id = top.IsEmpty() ? 0 : top.Fields(0)->AsInteger();
        for (const Entry &e : entries)
            db.Execute(
                QStringLiteral(
                    "insert into report(Id,GrpId,Title,Fr3File)values(:Id,:GrpId,:Title,:Fr3File)"),
                {MakeParameter(QStringLiteral("Id"), ++id),
                    MakeParameter(QStringLiteral("GrpId"), e.group),
                    MakeParameter(QStringLiteral("Title"), e.title)},
                {TxDBParameter{QStringLiteral("Fr3File"), e.bytes}});
        db.CommitTrans();
    } catch (const QmError &e) {
        db.RollbackTrans();
        *error = e.message();
        return false;
    }
    return true;
}

} // namespace Schema
