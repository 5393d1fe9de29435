// The shipped report templates, each rendered to PDF with a small set of
// rows shaped like its caller's select and read back with pdftotext.
#include "ReportExport.h"
#include "ReportFixtures.h"
#include "ReportRenderer.h"
#include "ReportTemplate.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

using namespace ReportFixtures;

namespace {

using Sets = std::vector<std::unique_ptr<TDataSet>>;
using SetMaker = std::function<Sets()>;

Column text(const char *name, const char *label = "")
{
    return {QLatin1String(name), FieldKind::WideString, QString::fromUtf8(label)};
}
Column integer(const char *name, const char *label = "")
{
    return {QLatin1String(name), FieldKind::Integer, QString::fromUtf8(label)};
}
Column real(const char *name, const char *label = "")
{
    return {QLatin1String(name), FieldKind::Float, QString::fromUtf8(label)};
}
Column when(const char *name, const char *label = "")
{
    return {QLatin1String(name), FieldKind::DateTime, QString::fromUtf8(label)};
}
Column memo(const char *name, const char *label = "")
{
    return {QLatin1String(name), FieldKind::Memo, QString::fromUtf8(label)};
}
Column blob(const char *name)
{
    return {QLatin1String(name), FieldKind::Blob, QString()};
}

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString squeezed(QString text)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return text.remove(space);
}

// Lists get a second data set, the criteria row, as their callers pass it.
std::unique_ptr<TDataSet> criteria()
{
    return makeSet({integer("Id"), integer("EmpId"), text("EmpCode"), text("EmpName")},
        {{0, 0, QString(), QString()}});
}

Sets withCriteria(std::unique_ptr<TDataSet> list)
{
    Sets sets;
    sets.push_back(std::move(list));
    sets.push_back(criteria());
    return sets;
}

Sets one(std::unique_ptr<TDataSet> set)
{
    Sets sets;
    sets.push_back(std::move(set));
    return sets;
}

std::unique_ptr<TDataSet> postmoves(int n)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, i, QStringLiteral("A%1").arg(i, 4, 10, QLatin1Char('0')),
            s("调动员工") + QString::number(i), date(2024, 1 + i % 12, 10), s("生产一车间"),
            s("财务部"), s("操作工"), s("会计"), s("王总"), s("工作需要"),
            s("备注") + QString::number(i)};
    return makeSet(
        {integer("Id"), integer("EmpId"), text("EmpCode", "档案号"), text("EmpName", "姓名"),
            when("MoveDate", "调动日期"), text("DeptName1", "调前部门"),
            text("DeptName2", "调后部门"), text("Duty1", "调前岗位"), text("Duty2", "调后岗位"),
            text("Sanctionman", "批准人"), text("MoveReason", "调动原因"),
            memo("MoveNote", "备注")},
        rows);
}

std::unique_ptr<TDataSet> rewards(int n)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, 1, QStringLiteral("A0001"), s("王晓明"),
            i % 2 ? s("嘉奖") : s("警告"), s("年度表彰内容") + QString::number(i), s("工作突出"),
            date(2023, 12, 20), QVariant(), QString(), s("人力资源部"), s("李总"), QString()};
    return makeSet(
        {integer("Id"), integer("EmpId"), text("EmpCode", "档案号"), text("EmpName", "姓名"),
            text("Title", "奖惩类别"), memo("Contents", "奖惩内容"), text("Reasons", "奖惩原因"),
            when("GrantDate", "奖惩日期"), when("CancelDate", "撤消日期"),
            text("CancelReason", "撤消原因"), text("SanctionDept", "批准部门"),
            text("Sanctionman", "批准人"), text("Notes", "备注")},
        rows);
}

std::unique_ptr<TDataSet> vacations(int n)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, 1, QStringLiteral("A0001"), s("李娜"), s("人力资源部"),
            date(2024, 3, 1), s("年假"), date(2024, 3, 4), date(2024, 3, 8), 4, s("张经理"),
            s("探亲"), date(2024, 3, 9)};
    return makeSet(
        {integer("Id"), integer("EmpId"), text("EmpCode", "档案号"), text("EmpName", "姓名"),
            text("EmpDeptName", "部门"), when("Appdate", "申请日期"), text("Typ", "休假类型"),
            when("Bgndate", "开始日期"), when("Endate", "截止日期"), integer("Vadays", "休假天数"),
            text("Sanctionman", "批准人"), memo("Remarks", "备注"), when("Termdate", "销假日期")},
        rows);
}

std::unique_ptr<TDataSet> contracts(int n)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, 1, QStringLiteral("A0001"), s("张伟"), s("男"), date(1985, 5, 6),
            s("本科"), s("汉族"), s("已婚"), s("北京市朝阳区"), date(2015, 7, 1),
            QStringLiteral("110108198505061234"),
            QStringLiteral("HT-2024-%1").arg(i, 3, 10, QLatin1Char('0')), s("劳动合同"),
            s("固定期限"), date(2024, 1, 1), date(2024, 1, 1), date(2026, 12, 31), s("续签"), 1095};
    return makeSet(
        {integer("ContractId"), integer("EmpId"), text("EmpCode", "档案号"),
            text("EmpName", "姓名"), text("EmpSex", "性别"), when("EmpBirthday", "出生年月"),
            text("EmpDiploma", "文化程度"), text("EmpFolk", "民族"), text("EmpIsMry", "婚姻状况"),
            text("EmpAddress", "家庭住址"), when("EmpJoinDate", "录用时间"),
            text("EmpIdCode", "身份证号"), text("ContractNo", "合同编号"),
            text("ContractName", "合同名称"), text("ContractType", "合同类型"),
            when("Signdate", "签订日期"), when("Validate", "生效日期"),
            when("Invalidate", "失效日期"), memo("Contractmarks", "备注"),
            integer("Validays", "有效期")},
        rows);
}

std::unique_ptr<TDataSet> organs(int n)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, s("北方职业培训中心") + QString::number(i), s("职业培训"),
            QStringLiteral("010-66660000"), QStringLiteral("010-66660001"),
            QStringLiteral("www.example.cn"), s("北京市西城区"), s("赵老师"),
            QStringLiteral("13900000000"), QStringLiteral("zhao@example.cn"), QString()};
    return makeSet(
        {integer("OrganId"), text("Organization", "机构名称"), text("Organtype", "机构类型"),
            text("Tel", "电话号码"), text("Fax", "传真号码"), text("Website"),
            text("Addr", "机构地址"), text("Linkman", "联系人"), text("LinkmanTel", "联系人电话"),
            text("LinkmanEmail", "联系人电邮"), memo("Notes", "机构备注")},
        rows);
}

std::unique_ptr<TDataSet> courses(int n)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, s("安全生产培训") + QString::number(i), s("安全"), 1,
            s("北方职业培训中心"), s("生产部"), s("一线员工"), date(2024, 4, 1), date(2024, 4, 3),
            16, 1200.0 * i, QString()};
    return makeSet(
        {integer("CourseId"), text("CourseName", "课程名称"), text("CourseType", "课程类别"),
            integer("OrganId"), text("OrganName", "培训机构"), text("ForDept", "主办部门"),
            text("ForObject", "培训对象"), when("BeginDate", "开课时间"),
            when("EndDate", "结束时间"), integer("CourseHours", "课时"), real("CourseFund", "费用"),
            memo("CourseNotes", "课程备注")},
        rows);
}

std::unique_ptr<TDataSet> trainings(int n, int employee = 1)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, employee, s("刘洋"), QStringLiteral("A0001"), s("生产一车间"), 1,
            s("安全生产培训"), s("北方职业培训中心"), s("生产部"), date(2024, 4, 1),
            date(2024, 4, 3), 16, 1200.0, 92.5, s("优秀"), s("表现积极"), QString(),
            date(2024, 4, 5)};
    return makeSet(
        {integer("TrnId"), integer("TrnEmpid"), text("TrnEmpname", "姓名"),
            text("TrnEmpcode", "档案号"), text("TrnEmpdept", "培训部门"), integer("TrnCourseId"),
            text("TrnCourseName", "课程名称"), text("TrnOrgan", "培训机构"),
            text("CrsForDept", "主办部门"), when("CrsBeginDate", "开课时间"),
            when("CrsEndDate", "结束时间"), integer("CrsHours", "课时"), real("CrsFund", "费用"),
            real("TrnPoint", "考核成绩"), text("TrnGrade", "考核等级"), memo("TrnComment", "评论"),
            memo("TrnNotes", "备注"), when("TrnLogdate", "记录日期")},
        rows);
}

std::unique_ptr<TDataSet> assessments(int n, int employee = 1)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, employee, QStringLiteral("A0001"), s("陈静"), s("年度考核"),
            s("2023年度"), date(2024, 1, 15), 80.0 + i, s("良好"), s("工作认真负责"), s("周经理"),
            QString()};
    return makeSet(
        {integer("Id"), integer("EmpId"), text("EmpCode", "档案号"), text("EmpName", "姓名"),
            text("TesType", "考核类别"), text("TesTerm", "考核期间"), when("Testday", "考核日期"),
            real("Tesmark", "考核成绩"), text("Tesgrade", "考核等级"),
            memo("TesOpinion", "考核评价"), text("Tesman", "考核人"), text("Tesnote", "备注")},
        rows);
}

std::unique_ptr<TDataSet> certificates(int n, int employee = 1)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, employee, QStringLiteral("A0001"), s("杨帆"),
            QStringLiteral("ZS%1").arg(i, 6, 10, QLatin1Char('0')), s("特种作业操作证"),
            s("市安全生产监督管理局"), date(2022, 6, 1), date(2028, 5, 31), QString(), QVariant()};
    return makeSet(
        {integer("Id"), integer("EmpId"), text("EmpCode", "档案号"), text("EmpName", "姓名"),
            text("CertCode", "证件号码"), text("CertName", "证件名称"),
            text("CertOrgan", "发放机关"), when("ValidateFrom", "生效日期"),
            when("ValidateTo", "失效日期"), memo("Notes", "备注"), blob("CertImage")},
        rows);
}

std::unique_ptr<TDataSet> headcounts()
{
    return makeSet(
        {text("ItmCde"), text("Itm", "学历"), integer("Cnt", "人数"), text("Rate", "比例")},
        {{QStringLiteral("1"), s("本科"), 12, QStringLiteral("60.00%")},
            {QStringLiteral("2"), s("大专"), 5, QStringLiteral("25.00%")},
            {QStringLiteral("3"), s("硕士"), 3, QStringLiteral("15.00%")}});
}

Sets profile()
{
    Sets sets;
    sets.push_back(employees(1));
    sets.push_back(makeSet({integer("EmpId"), text("Ext"), blob("Photo")},
        {{1, QStringLiteral(".png"), pngBytes(120, 160, Qt::darkCyan)}}));
    sets.push_back(
        makeSet({integer("Id"), integer("EmpId"), text("Subject"), text("Ext"), blob("Photo")},
            {{1, 1, s("学历证书扫描件"), QStringLiteral(".jpg"), QByteArray()}}));
    sets.push_back(certificates(2));
    sets.push_back(trainings(3));
    sets.push_back(rewards(2));
    sets.push_back(assessments(2));
    return sets;
}

} // namespace

Q_DECLARE_METATYPE(SetMaker)

class tst_ReportTemplates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setFont(QFont(ReportTemplate::DefaultFontFamily));
        QVERIFY(m_dir.isValid());
    }

    void everyGroupHasATemplate()
    {
        const QStringList files
            = QDir(reportsDir()).entryList({QStringLiteral("*.qmr")}, QDir::Files);
        QSet<int> groups;
        for (const QString &file : files) {
            ReportTemplate t;
            QString error;
            QVERIFY2(t.loadFromFile(QDir(reportsDir()).filePath(file), &error),
                qPrintable(file + ": " + error));
            QVERIFY2(!t.name.isEmpty() && t.name.size() <= 20, qPrintable(file));
            groups << file.section(QLatin1Char('-'), 0, 0).toInt();
        }
        for (int group : {1, 3, 4, 7, 11, 12, 13, 14, 20, 21, 22, 23, 24, 25, 31, 32, 33, 38})
            QVERIFY2(groups.contains(group),
                qPrintable(QStringLiteral("no template for group %1").arg(group)));
    }

    void rendersToPdf_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<SetMaker>("sets");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("texts");

        const QStringList common{s("澄岚测试有限公司")};
        QTest::newRow("roster") << "1-roster.qmr"
                                << SetMaker([] { return withCriteria(employees(3)); }) << 1
                                << (common
                                       + QStringList{s("职员花名册"), s("档案号"), s("王晓明"),
                                           s("A0003"), s("110108198001010002"), s("共计 3 人"),
                                           s("第 1 页 共 1 页")});
        QTest::newRow("roster over pages")
            << "1-roster.qmr" << SetMaker([] { return withCriteria(employees(60)); }) << 3
            << QStringList{s("A0001"), s("A0060"), s("共计 60 人"), s("第 3 页 共 3 页"),
                   s("职员花名册(续)")};
        QTest::newRow("post moves")
            << "3-postmoves.qmr" << SetMaker([] { return withCriteria(postmoves(4)); }) << 1
            << QStringList{
                   s("职员调动记录"), s("调前部门"), s("调动员工4"), s("共计 4 条调动记录")};
        QTest::newRow("rewards") << "4-rewards.qmr" << SetMaker([] {
            return withCriteria(rewards(3));
        }) << 1 << QStringList{s("奖惩记录"), s("嘉奖"), s("警告"), s("年度表彰内容3")};
        QTest::newRow("vacations")
            << "7-vacations.qmr" << SetMaker([] { return withCriteria(vacations(2)); }) << 1
            << QStringList{s("休假记录"), s("年假"), s("2024-03-04"), s("休假 8 天")};
        QTest::newRow("contracts")
            << "20-contracts.qmr" << SetMaker([] { return withCriteria(contracts(2)); }) << 1
            << QStringList{s("劳动合同台账"), s("HT-2024-002"), s("固定期限")};
        QTest::newRow("organisations")
            << "22-organs.qmr" << SetMaker([] { return withCriteria(organs(2)); }) << 1
            << QStringList{s("培训机构一览表"), s("北方职业培训中心2"), s("赵老师")};
        QTest::newRow("courses") << "23-courses.qmr"
                                 << SetMaker([] { return withCriteria(courses(2)); }) << 1
                                 << QStringList{s("培训课程一览表"), s("安全生产培训2"),
                                        s("2,400.00"), s("3,600.00 元")};
        QTest::newRow("training records")
            << "24-trainings.qmr" << SetMaker([] { return withCriteria(trainings(2)); }) << 1
            << QStringList{s("培训记录"), s("刘洋"), s("92.5"), s("优秀")};
        QTest::newRow("assessments")
            << "32-assessments.qmr" << SetMaker([] { return withCriteria(assessments(2)); }) << 1
            << QStringList{s("考核记录"), s("年度考核"), s("平均成绩 81.5")};
        QTest::newRow("certificates")
            << "33-certificates.qmr" << SetMaker([] { return withCriteria(certificates(2)); }) << 1
            << QStringList{s("证照登记表"), s("ZS000002"), s("特种作业操作证")};
        QTest::newRow("head counts")
            << "38-headcount.qmr" << SetMaker([] { return one(headcounts()); }) << 1
            << QStringList{s("人员统计表"), s("学历"), s("本科"), s("60.00%"), s("合计"), s("20")};

        QTest::newRow("post move card")
            << "11-postmove-card.qmr" << SetMaker([] { return one(postmoves(1)); }) << 1
            << QStringList{s("职 员 调 动 单"), s("调动员工1"), s("2024年2月10日"), s("工作需要"),
                   s("部门负责人")};
        QTest::newRow("post move cards, one a page")
            << "11-postmove-card.qmr" << SetMaker([] { return one(postmoves(2)); }) << 2
            << QStringList{s("调动员工1"), s("调动员工2"), s("第 2 页 共 2 页")};
        QTest::newRow("vacation card")
            << "12-vacation-card.qmr" << SetMaker([] { return one(vacations(1)); }) << 1
            << QStringList{s("休 假 审 批 单"), s("人力资源部"), s("4 天"), s("探亲")};
        QTest::newRow("reward card")
            << "13-reward-card.qmr" << SetMaker([] { return one(rewards(1)); }) << 1
            << QStringList{s("奖 惩 记 录 单"), s("嘉奖"), s("年度表彰内容1")};
        QTest::newRow("contract card")
            << "21-contract-card.qmr" << SetMaker([] { return one(contracts(1)); }) << 1
            << QStringList{s("劳 动 合 同 登 记 表"), s("HT-2024-001"), s("2026年12月31日"),
                   s("北京市朝阳区")};
        QTest::newRow("training card")
            << "25-training-card.qmr" << SetMaker([] { return one(trainings(1)); }) << 1
            << QStringList{s("培 训 记 录 表"), s("安全生产培训"), s("1,200.00"), s("表现积极")};
        QTest::newRow("assessment card")
            << "31-assessment-card.qmr" << SetMaker([] { return one(assessments(1)); }) << 1
            << QStringList{s("考 核 记 录 表"), s("2023年度"), s("工作认真负责")};
        QTest::newRow("personnel record")
            << "14-profile.qmr" << SetMaker(profile) << 2
            << QStringList{s("职 员 档 案 卡"), s("王晓明"), s("个人简历第1行"),
                   s("特种作业操作证"), s("ZS000002"), s("安全生产培训"), s("嘉奖"), s("年度考核"),
                   s("学历证书扫描件"), s("人事部门(盖章)")};
    }

    void rendersToPdf()
    {
        QFETCH(QString, file);
        QFETCH(SetMaker, sets);
        QFETCH(int, pages);
        QFETCH(QStringList, texts);

        ReportTemplate report;
        QString error;
        QVERIFY2(report.loadFromFile(QDir(reportsDir()).filePath(file), &error), qPrintable(error));
        const Sets data = sets();
        ReportData registry;
        for (size_t i = 0; i < data.size(); ++i)
            registry.addDataSet(QStringLiteral("d%1").arg(i), data[i].get());
        addCompanyVariables(registry);

        ReportRenderer renderer(report, registry);
        QCOMPARE(renderer.pageCount(), pages);
        const QString outDir = qEnvironmentVariable("QM_REPORT_OUT", m_dir.path());
        const QString pdf = QDir(outDir).filePath(
            QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_') + ".pdf");
        QVERIFY2(ReportExport::WritePdf(renderer, pdf, &error), qPrintable(error));
        const QString content = pdfText(pdf, &error);
        QVERIFY2(!content.isEmpty(), qPrintable(error));
        QCOMPARE(pdfPageCount(content), pages);
        // pdftotext guesses spaces from glyph positions, so the comparison
        // leaves all white space out.
        const QString flat = squeezed(content);
        for (const QString &expected : texts)
            QVERIFY2(
                flat.contains(squeezed(expected)), qPrintable(expected + " missing in " + file));
        for (int p = 0; p < pages; ++p)
            QVERIFY2(flat.contains(QStringLiteral("第%1页共%2页").arg(p + 1).arg(pages)),
                qPrintable(file));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_ReportTemplates)
#include "tst_reporttemplates.moc"
