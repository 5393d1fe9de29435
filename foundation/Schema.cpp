#include "Schema.h"

#include "Database.h"
#include "Error.h"

#include <QFile>

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

} // namespace Schema
