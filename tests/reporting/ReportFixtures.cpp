#include "ReportFixtures.h"

#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <unzip.h>

namespace ReportFixtures {

std::unique_ptr<TDataSet> makeSet(const QList<Column> &columns, const QList<QVariantList> &rows)
{
    auto set = std::make_unique<TDataSet>();
    for (const Column &c : columns)
        set->AddField(c.kind, c.name, -1, true, c.label);
    set->CreateDataSet();
    for (const QVariantList &row : rows) {
        set->Append();
        for (int i = 0; i < row.size() && i < columns.size(); ++i)
            set->Fields(i)->SetValue(row[i]);
        set->Post();
    }
    set->First();
    return set;
}

QVariant date(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

std::unique_ptr<TDataSet> employees(int count)
{
    static const char *const names[]
        = {"王晓明", "李娜", "张伟", "刘洋", "陈静", "杨帆", "赵磊", "黄敏", "周杰", "吴芳"};
    static const char *const depts[]
        = {"总经理办公室", "人力资源部", "财务部", "生产一车间", "销售部"};
    // The fields of the employee list, with the captions its set gives them.
    const QList<Column> columns{{QStringLiteral("Id"), FieldKind::Integer, QStringLiteral("Id")},
        {QStringLiteral("Code"), FieldKind::WideString, QStringLiteral("档案号")},
        {QStringLiteral("Name"), FieldKind::WideString, QStringLiteral("姓名")},
        {QStringLiteral("NickName"), FieldKind::WideString, QStringLiteral("曾用名")},
        {QStringLiteral("Sex"), FieldKind::WideString, QStringLiteral("性别")},
        {QStringLiteral("Birthday"), FieldKind::DateTime, QStringLiteral("出生日期")},
        {QStringLiteral("Native"), FieldKind::WideString, QStringLiteral("籍贯")},
        {QStringLiteral("Folk"), FieldKind::WideString, QStringLiteral("民族")},
        {QStringLiteral("IsMry"), FieldKind::WideString, QStringLiteral("婚否")},
        {QStringLiteral("Stature"), FieldKind::Integer, QStringLiteral("身高")},
        {QStringLiteral("Bloodtype"), FieldKind::WideString, QStringLiteral("血型")},
        {QStringLiteral("Diploma"), FieldKind::WideString, QStringLiteral("学历")},
        {QStringLiteral("Degree"), FieldKind::WideString, QStringLiteral("学位")},
        {QStringLiteral("Party"), FieldKind::WideString, QStringLiteral("政貌")},
        {QStringLiteral("JobTitle"), FieldKind::WideString, QStringLiteral("职称")},
        {QStringLiteral("IdCode"), FieldKind::WideString, QStringLiteral("身份证号")},
        {QStringLiteral("Tel"), FieldKind::WideString, QStringLiteral("联系电话")},
        {QStringLiteral("Hukou"), FieldKind::WideString, QStringLiteral("户口地址")},
        {QStringLiteral("Address"), FieldKind::WideString, QStringLiteral("居住地址")},
        {QStringLiteral("School"), FieldKind::WideString, QStringLiteral("毕业学校")},
        {QStringLiteral("GraduateDate"), FieldKind::DateTime, QStringLiteral("毕业日期")},
        {QStringLiteral("Specialty"), FieldKind::WideString, QStringLiteral("所学专业")},
        {QStringLiteral("Biography"), FieldKind::Memo, QStringLiteral("个人简历")},
        {QStringLiteral("SocialRelation"), FieldKind::Memo, QStringLiteral("社会关系")},
        {QStringLiteral("OtherNote"), FieldKind::Memo, QStringLiteral("备注")},
        {QStringLiteral("BankId"), FieldKind::WideString, QStringLiteral("工资帐号")},
        {QStringLiteral("YangBaoId"), FieldKind::WideString, QStringLiteral("养保帐号")},
        {QStringLiteral("YiBaoId"), FieldKind::WideString, QStringLiteral("医保帐号")},
        {QStringLiteral("Joindate"), FieldKind::DateTime, QStringLiteral("入职日期")},
        {QStringLiteral("EmployType"), FieldKind::WideString, QStringLiteral("用工形式")},
        {QStringLiteral("ComeFrom"), FieldKind::WideString, QStringLiteral("聘用来源")},
        {QStringLiteral("DutyDeptName"), FieldKind::WideString, QStringLiteral("部门")},
        {QStringLiteral("DutyName"), FieldKind::WideString, QStringLiteral("岗位")},
        {QStringLiteral("GangchiBZ"), FieldKind::Float, QStringLiteral("岗次标准")}};
    QList<QVariantList> rows;
    for (int i = 0; i < count; ++i) {
        rows << QVariantList{i + 1, QStringLiteral("A%1").arg(i + 1, 4, 10, QLatin1Char('0')),
            QString::fromUtf8(names[i % 10]) + (i >= 10 ? QString::number(i / 10) : QString()),
            QString(), i % 2 ? QStringLiteral("女") : QStringLiteral("男"),
            date(1980 + i % 20, 1 + i % 12, 1 + i % 28), QStringLiteral("山东济南"),
            QStringLiteral("汉族"), QStringLiteral("已婚"), 170 + i % 10, QStringLiteral("A"),
            QStringLiteral("本科"), QStringLiteral("学士"), QStringLiteral("群众"),
            QStringLiteral("工程师"),
            QStringLiteral("11010819800101%1").arg(i, 4, 10, QLatin1Char('0')),
            QStringLiteral("1380000%1").arg(i, 4, 10, QLatin1Char('0')),
            QStringLiteral("山东省济南市历下区"),
            QStringLiteral("北京市海淀区学院路%1号").arg(i + 1), QStringLiteral("山东大学"),
            date(2002, 7, 1), QStringLiteral("机械工程"),
            QStringLiteral("个人简历第%1行").arg(i + 1), QStringLiteral("父亲: 退休"), QString(),
            QStringLiteral("6222%1").arg(i, 8, 10, QLatin1Char('0')), QString(), QString(),
            date(2010 + i % 10, 3, 1), QStringLiteral("合同制"), QStringLiteral("社会招聘"),
            QString::fromUtf8(depts[i % 5]), QStringLiteral("职员"), 3000.5 + i};
    }
    return makeSet(columns, rows);
}

QByteArray pngBytes(int width, int height, Qt::GlobalColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void addCompanyVariables(ReportData &data, const QString &company)
{
    const QHash<QString, QString> values{{QStringLiteral("u_Company"), company},
        {QStringLiteral("u_Tel"), QStringLiteral("010-12345678")},
        {QStringLiteral("u_Fax"), QStringLiteral(" ")},
        {QStringLiteral("u_Address"), QStringLiteral("北京市海淀区")},
        {QStringLiteral("u_Zip"), QStringLiteral("100080")},
        {QStringLiteral("u_Operator"), QStringLiteral("sa")}};
    data.setVariables(
        values.keys(),
        [values](const QString &name, QString *value) {
            if (!values.contains(name))
                return false;
            *value = values.value(name);
            return true;
        },
        [values](const QString &field) { return values.value(field, field); });
}

QString pdfText(const QString &path, QString *error)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QStringLiteral("pdftotext failed: ") + QString::fromUtf8(p.readAllStandardError())
            + p.errorString();
        return QString();
    }
    // Qt's PDF writer maps a glyph that a character shares with a radical to
    // the radical ("⽇期" for "日期", "第1⻚" for "第1页"). Compatibility
    // normalisation folds the Kangxi radicals back; the radicals supplement
    // has no such decomposition, so the ones these templates meet are mapped
    // here. Tests then compare the text a reader sees.
    static const QHash<QChar, QChar> supplement{{QChar(0x2EA0), QChar(0x6C11)},
        {QChar(0x2EAE), QChar(0x7AF9)}, {QChar(0x2EB6), QChar(0x7F8A)},
        {QChar(0x2EBC), QChar(0x8089)}, {QChar(0x2EC4), QChar(0x897F)},
        {QChar(0x2EC5), QChar(0x89C1)}, {QChar(0x2EC8), QChar(0x8BA0)},
        {QChar(0x2EC9), QChar(0x8D1D)}, {QChar(0x2ECB), QChar(0x8F66)},
        {QChar(0x2ED3), QChar(0x957F)}, {QChar(0x2ED4), QChar(0x95E8)},
        {QChar(0x2ED8), QChar(0x9752)}, {QChar(0x2EDA), QChar(0x9875)},
        {QChar(0x2EDB), QChar(0x98CE)}, {QChar(0x2EDC), QChar(0x98DE)},
        {QChar(0x2EDD), QChar(0x98DF)}, {QChar(0x2EE2), QChar(0x9A6C)},
        {QChar(0x2EE3), QChar(0x9AA8)}, {QChar(0x2EE5), QChar(0x9C7C)},
        {QChar(0x2EE6), QChar(0x9E1F)}, {QChar(0x2EE9), QChar(0x9EC4)},
        {QChar(0x2EEC), QChar(0x9F50)}, {QChar(0x2EEE), QChar(0x9F7F)}};
    QString text
        = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    for (QChar &c : text)
        c = supplement.value(c, c);
    return text;
}

int pdfPageCount(const QString &text)
{
    // pdftotext ends every page with a form feed.
    return static_cast<int>(text.count(QLatin1Char('\f')));
}

QByteArray zipEntry(const QString &archive, const QString &member)
{
    QByteArray content;
    unzFile zip = unzOpen64(QFile::encodeName(archive).constData());
    if (!zip)
        return content;
    if (unzLocateFile(zip, member.toUtf8().constData(), 0) == UNZ_OK
        && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buffer[8192];
        int read;
        while ((read = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
            content.append(buffer, read);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return content;
}

QString reportsDir()
{
    return QDir(EngineFixture::scriptsDir()).filePath(QStringLiteral("reports"));
}

} // namespace ReportFixtures
