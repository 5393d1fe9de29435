#include "Operator.h"

#include "EntitySet.h"
#include "Error.h"
#include "Utils.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

// ---------------------------------------------------------------- rights

const QList<TRightEntry> &FunctionRights()
{
    static const QList<TRightEntry> rights{
        {9, QStringLiteral("职员记录增加,修改权限")},
        {10, QStringLiteral("职员删除权限")},
        {11, QStringLiteral("部门设置")},
        {13, QStringLiteral("调职增加,修改权限")},
        {14, QStringLiteral("调职删除")},
        {22, QStringLiteral("离职增加,修改权限")},
        {23, QStringLiteral("离职记录删除")},
        {39, QStringLiteral("入职信息删除")},
        {43, QStringLiteral("证照增加,修改权限")},
        {42, QStringLiteral("证照删除")},
        {16, QStringLiteral("奖惩增加, 修改权限")},
        {17, QStringLiteral("奖惩删除")},
        {25, QStringLiteral("休假增加,修改权限")},
        {26, QStringLiteral("休假删除")},
        {27, QStringLiteral("合同增加,修改权限")},
        {28, QStringLiteral("合同删除")},
        {33, QStringLiteral("培训机构增加,修改权限")},
        {29, QStringLiteral("培训机构删除")},
        {34, QStringLiteral("培训课程增加,修改权限")},
        {30, QStringLiteral("培训课程删除")},
        {32, QStringLiteral("培训记录增加,修改权限")},
        {31, QStringLiteral("培训记录删除")},
        {36, QStringLiteral("招聘项目增加,修改权限")},
        {35, QStringLiteral("招聘项目删除")},
        {37, QStringLiteral("应聘增加,修改权限")},
        {38, QStringLiteral("应聘删除")},
        {50, QStringLiteral("试用信息增加修改")},
        {49, QStringLiteral("试用信息删除")},
        {41, QStringLiteral("考核增加,修改权限")},
        {40, QStringLiteral("考核删除")},
        {0, QStringLiteral("清除数据")},
        {6, QStringLiteral("选项设置")},
        {53, QStringLiteral("操作员高级权限设置")},
    };
    return rights;
}

const QList<TRightEntry> &AdminRights()
{
    static const QList<TRightEntry> rights{
        {10000, QStringLiteral("公司信息设置")},
        {100001, QStringLiteral("操作员及权限管理")},
        {10002, QStringLiteral("打印")},
        {10003, QStringLiteral("打印设计")},
        {10004, QStringLiteral("数据导出")},
        {10008, QStringLiteral("列选择")},
        {10006, QStringLiteral("列样式保存")},
        {10005, QStringLiteral("备份设置")},
        {10007, QStringLiteral("工具菜单设置")},
    };
    return rights;
}

QList<TRightEntry> RightsCatalogue()
{
    return FunctionRights() + AdminRights();
}

QString RightsText(const QList<int> &numbers)
{
    QString text;
    for (int n : numbers)
        text += QStringLiteral(",%1,").arg(n);
    return text;
}

QString CatalogueRightsText(const QSet<int> &granted)
{
    QList<int> ordered;
    for (const TRightEntry &entry : RightsCatalogue())
        if (granted.contains(entry.Number))
            ordered << entry.Number;
    return RightsText(ordered);
}

bool RightsContain(const QString &rights, int number)
{
    return rights.contains(QStringLiteral(",%1,").arg(number));
}

// ---------------------------------------------------------------- passwords

namespace {

const QString HashScheme = QStringLiteral("pbkdf2-sha256");
constexpr int SaltBytes = 16;
constexpr int KeyBytes = 32;
int hashIterations = PasswordHash::DefaultIterations;

QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(
        QCryptographicHash::Sha256, password.toUtf8(), salt, iterations, KeyBytes);
}

// The time taken depends only on the lengths, never on where the first
// difference is.
bool equalInConstantTime(const QByteArray &a, const QByteArray &b)
{
    unsigned char difference = a.size() == b.size() ? 0 : 1;
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace

namespace PasswordHash {

QString Make(const QString &password)
{
    QByteArray salt(SaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    const QByteArray key = derive(password, salt, hashIterations);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(HashScheme)
        .arg(hashIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(key.toBase64()));
}

bool IsHash(const QString &stored)
{
    return stored.startsWith(HashScheme + QLatin1Char('$'));
}

bool Verify(const QString &stored, const QString &password)
{
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != HashScheme)
        return false;
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    // The upper bound keeps a damaged row from stalling the login for hours.
    if (!ok || iterations < 1 || iterations > 10000000)
        return false;
    const auto decode = [](const QString &text, QByteArray *out) {
        const auto result = QByteArray::fromBase64Encoding(
            text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        *out = result.decoded;
        return result.decodingStatus == QByteArray::Base64DecodingStatus::Ok && !out->isEmpty();
    };
    QByteArray salt;
    QByteArray key;
    if (!decode(parts[2], &salt) || !decode(parts[3], &key))
        return false;
    return equalInConstantTime(derive(password, salt, iterations), key);
}

void SetIterations(int iterations)
{
    hashIterations = iterations > 0 ? iterations : DefaultIterations;
}

} // namespace PasswordHash

// ---------------------------------------------------------------- operator

namespace {

TOperator loggedIn;

const QString SuperUser = QStringLiteral("sa");

TDBParameter param(const char *name, const QVariant &value)
{
    return MakeParameter(QLatin1String(name), value);
}

} // namespace

TOperator *TheOperator = &loggedIn;
ROperatorRight TheOperatorRight;

void TOperator::Clear()
{
    *this = TOperator();
}

bool TOperator::Load(const QString &loginId)
{
    Clear();
    SharedRecordSet->Open(
        QStringLiteral("select LoginId,Password,Name,Contact,[Note],Rights from operator "
                       "where lower(LoginId)=lower(:LoginId)"),
        {param("LoginId", loginId)});
    TDataSet *rows = SharedRecordSet->DataSet();
    // Two rows differing only in letter case (possible in an old database)
    // identify nobody.
    const bool found = rows->RecordCount() == 1;
    if (found) {
        rows->First();
        LoginId = rows->Fields(0)->AsString();
        Password = rows->Fields(1)->AsString();
        Name = rows->Fields(2)->AsString();
        Contact = rows->Fields(3)->AsString();
        Note = rows->Fields(4)->AsString();
        Rights = rows->Fields(5)->AsString();
    }
    SharedRecordSet->Close();
    return found;
}

bool TOperator::CheckPassword(const QString &text)
{
    if (LoginId.isEmpty())
        return false;
    if (PasswordHash::IsHash(Password))
        return PasswordHash::Verify(Password, text);
    if (!equalInConstantTime(Password.toUtf8(), text.toUtf8()))
        return false;
    SetPassword(text);
    return true;
}

bool TOperator::IsSuperUser() const
{
    return LoginId.compare(SuperUser, Qt::CaseInsensitive) == 0;
}

bool TOperator::HasRight(int number) const
{
    return IsSuperUser() || RightsContain(Rights, number);
}

bool TOperator::CheckRight(int number, bool stop) const
{
    if (HasRight(number))
        return true;
    ShowInfo(QStringLiteral("对不起,您没有该功能的操作权限,请与管理员联系(%1).").arg(number));
    if (stop)
        throw SilentAbort();
    return false;
}

void TOperator::SetPassword(const QString &password)
{
    if (LoginId.isEmpty())
        throw QmError(QStringLiteral("没有登陆的操作员,无法更改密码."));
    const QString hash = PasswordHash::Make(password);
    Conventions::ExecExpectOne(
        QStringLiteral("update operator set [Password]=:Password where LoginId=:LoginId"),
        {param("Password", hash), param("LoginId", LoginId)},
        QStringLiteral("没有返回operator的成功标记,操作员%1可能已被其他用户删除.").arg(LoginId));
    Password = hash;
}

// ---------------------------------------------------------------- operator set

TOperatorSet::TOperatorSet()
{
    UserIdField = AddField(
        FieldKind::String, QStringLiteral("LoginId"), 20, true, QStringLiteral("登陆名"));
    PasswdField = AddField(
        FieldKind::String, QStringLiteral("Password"), 200, false, QStringLiteral("密码"));
    NameField
        = AddField(FieldKind::String, QStringLiteral("Name"), 20, true, QStringLiteral("姓名"));
    ContactField = AddField(
        FieldKind::String, QStringLiteral("Contact"), 20, true, QStringLiteral("联系方式"));
    NoteField
        = AddField(FieldKind::String, QStringLiteral("Note"), 20, true, QStringLiteral("备注"));
    RightsField
        = AddField(FieldKind::Memo, QStringLiteral("Rights"), -1, true, QStringLiteral("权限"));
    Open(QStringLiteral("select * from operator where lower(LoginId)<>'sa' order by LoginId"));
}

bool TOperatorSet::LoginIdExists(const QString &loginId)
{
    TDataSet count;
    TheDatabase->Fill(count,
        QStringLiteral("select count(*) from operator where lower(LoginId)=lower(:LoginId)"),
        {param("LoginId", loginId)});
    return !count.IsEmpty() && count.Fields(0)->AsInteger() > 0;
}

bool TOperatorSet::LocateOperator(const QString &loginId)
{
    return DataSet()->Locate(QStringLiteral("LoginId"), loginId);
}

void TOperatorSet::AddOperator(const QString &loginId, const QString &password,
    const QString &rights, const QString &note, const QString &contact, const QString &name)
{
    if (loginId.trimmed().isEmpty())
        throw QmError(QStringLiteral("必须填写登陆名."));
    if (loginId.compare(SuperUser, Qt::CaseInsensitive) == 0 || LoginIdExists(loginId))
        throw QmError(QStringLiteral("登陆名\"%1\"已经存在,请使用其他登陆名.").arg(loginId));
    const QString hash = PasswordHash::Make(password);
    Conventions::ExecExpectOne(
        QStringLiteral("insert into operator(LoginId,[Password],Name,Contact,[Note],Rights)"
                       "values(:LoginId,:Password,:Name,:Contact,:Note,:Rights)"),
        {param("LoginId", loginId), param("Password", hash), param("Name", name),
            param("Contact", contact), param("Note", note), param("Rights", rights)},
        QStringLiteral("没有返回operator的成功标记,操作员%1未能保存.").arg(loginId));
    TDataSet *rows = DataSet();
    rows->Append();
    UserIdField->SetAsString(loginId);
    PasswdField->SetAsString(hash);
    NameField->SetAsString(name);
    ContactField->SetAsString(contact);
    NoteField->SetAsString(note);
    RightsField->SetAsString(rights);
    rows->Post();
}

void TOperatorSet::UpdateOperator(const QString &loginId, const QString &password,
    const QString &rights, const QString &note, const QString &contact, const QString &name)
{
    TDBParameters params{param("Name", name), param("Contact", contact), param("Note", note),
        param("Rights", rights), param("LoginId", loginId)};
    QString hash;
    QString sets = QStringLiteral("Name=:Name,Contact=:Contact,[Note]=:Note,Rights=:Rights");
    if (!password.isEmpty()) {
        hash = PasswordHash::Make(password);
        sets.prepend(QStringLiteral("[Password]=:Password,"));
        params << param("Password", hash);
    }
    Conventions::ExecExpectOne(
        QStringLiteral("update operator set %1 where lower(LoginId)=lower(:LoginId)").arg(sets),
        params,
        QStringLiteral("没有返回operator的成功标记,操作员%1可能已被其他用户删除.").arg(loginId));
    if (!LocateOperator(loginId))
        return;
    TDataSet *rows = DataSet();
    rows->Edit();
    if (!hash.isEmpty())
        PasswdField->SetAsString(hash);
    NameField->SetAsString(name);
    ContactField->SetAsString(contact);
    NoteField->SetAsString(note);
    RightsField->SetAsString(rights);
    rows->Post();
}

void TOperatorSet::DeleteOperator(const QString &loginId)
{
    if (loginId.compare(SuperUser, Qt::CaseInsensitive) == 0)
        throw QmError(QStringLiteral("系统管理员sa不能删除."));
    Conventions::ExecExpectOne(
        QStringLiteral("delete from operator where lower(LoginId)=lower(:LoginId)"),
        {param("LoginId", loginId)},
        QStringLiteral("没有返回operator的成功标记,操作员%1可能已被其他用户删除.").arg(loginId));
    if (LocateOperator(loginId))
        DataSet()->Delete();
}

// ---------------------------------------------------------------- departments

namespace {

// Numbers (non-zero is true) or True/False in any letter case; anything else
// is not a boolean and counts as false, so one damaged line cannot lock the
// operator out.
bool textToBool(const QString &text)
{
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (ok)
        return number != 0;
    return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

QString valueOf(const QString &line)
{
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.mid(eq + 1).trimmed();
}

} // namespace

RDeptRit ParseDeptRights(const QString &xrights)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    RDeptRit rights;
    for (const QString &line : xrights.split(lineBreak)) {
        if (line.contains(QLatin1String("EmpViewAllDept"))) {
            rights.AllDepts = textToBool(valueOf(line));
        } else if (line.contains(QLatin1String("EmpViewDept"))) {
            // An empty code would match every department.
            const QString code = valueOf(line);
            if (!code.isEmpty())
                rights.Depts.append(RShortDept{code});
        }
    }
    return rights;
}

void SaveDeptRights(const QString &loginId, const RDeptRit &rights)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    const QString failMessage
        = QStringLiteral("没有返回operator的成功标记,操作员%1可能已被其他用户删除.").arg(loginId);
    SharedRecordSet->Open(
        QStringLiteral("select XRights from [operator] where lower(LoginId)=lower(:LoginId)"),
        {param("LoginId", loginId)});
    const bool found = !SharedRecordSet->DataSet()->IsEmpty();
    const QString old = found ? SharedRecordSet->DataSet()->Fields(0)->AsString() : QString();
    SharedRecordSet->Close();
    if (!found)
        throw QmError(failMessage);

    // Drop every line the reader would take as visibility, so no stale one
    // can override the new values.
    QStringList lines;
    for (const QString &line : old.split(lineBreak)) {
        if (line.isEmpty() || line.contains(QLatin1String("EmpViewAllDept"))
            || line.contains(QLatin1String("EmpViewDept")))
            continue;
        lines << line;
    }
    lines << QStringLiteral("EmpViewAllDept=%1").arg(rights.AllDepts ? 1 : 0);
    for (const RShortDept &dept : rights.Depts)
        lines << QStringLiteral("EmpViewDept=%1").arg(dept.Code);
    Conventions::ExecExpectOne(
        QStringLiteral("update operator set XRights=:XRights where lower(LoginId)=lower(:LoginId)"),
        {param("XRights", lines.join(QStringLiteral("\r\n"))), param("LoginId", loginId)},
        failMessage);
}

ROperatorRights LoadOperatorRight(const QString &loginId)
{
    if (loginId.isEmpty())
        SharedRecordSet->Open(QStringLiteral("select XRights, LoginId from [operator]"));
    else
        SharedRecordSet->Open(
            QStringLiteral(
                "select XRights, LoginId from [operator] where lower(LoginId)=lower(:LoginId)"),
            {param("LoginId", loginId)});
    ROperatorRights result;
    TDataSet *rows = SharedRecordSet->DataSet();
    for (rows->First(); !rows->Eof(); rows->Next())
        result.append(ROperatorRight{
            rows->Fields(1)->AsString(), ParseDeptRights(rows->Fields(0)->AsString())});
    SharedRecordSet->Close();
    return result;
}

QString DeptRestriction(const RDeptRit &rights)
{
    if (rights.AllDepts || rights.Depts.isEmpty())
        return QString();
    QStringList terms;
    for (const RShortDept &dept : rights.Depts) {
        QString code = dept.Code;
        code.replace(QLatin1Char('\''), QLatin1String("''"));
        terms << QStringLiteral("DutyDeptId like '%1%'").arg(code);
    }
    return QStringLiteral(" and (%1)").arg(terms.join(QStringLiteral(" or ")));
}

QString DeptRestriction()
{
    return DeptRestriction(TheOperatorRight.EmpRight);
}
