// Renders the shipped employee roster for 1,000 and 10,000 made-up employees
// to PDF and prints the time per page and the peak memory. A benchmark, not a
// test: it checks nothing beyond the files being written.
#include "DataSet.h"
#include "RecordSet.h"
#include "ReportData.h"
#include "ReportExport.h"
#include "ReportRenderer.h"
#include "ReportTemplate.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <sys/resource.h>

namespace {

long peakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The employee list's columns the roster prints, filled with plausible,
// repeatable values.
class Roster : public TQmClientDataSet
{
public:
    explicit Roster(int count)
    {
        AddField(FieldKind::Integer, QStringLiteral("Id"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Code"), 20, true, QStringLiteral("档案号"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Name"), 30, true, QStringLiteral("姓名"));
        AddFieldDef(FieldKind::WideString, QStringLiteral("Sex"), 4, true, QStringLiteral("性别"));
        AddField(FieldKind::DateTime, QStringLiteral("Birthday"), true, QStringLiteral("出生日期"));
        AddFieldDef(FieldKind::WideString, QStringLiteral("DutyDeptName"), 50, true,
            QStringLiteral("部门"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("DutyName"), 50, true, QStringLiteral("岗位"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Diploma"), 10, true, QStringLiteral("学历"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("JobTitle"), 20, true, QStringLiteral("职称"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Party"), 20, true, QStringLiteral("政貌"));
        AddField(FieldKind::DateTime, QStringLiteral("Joindate"), true, QStringLiteral("入职日期"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Tel"), 50, true, QStringLiteral("联系电话"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("IdCode"), 50, true, QStringLiteral("身份证号"));
        CreateDataSet();

        static const char *const surnames[]
            = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴", "徐", "孙"};
        static const char *const given[] = {
            "伟", "芳", "娜", "秀英", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳", "杰"};
        static const char *const depts[] = {"总经理办公室", "人力资源部", "财务部", "生产一车间",
            "生产二车间", "销售部", "技术研发中心", "质量管理部"};
        static const char *const posts[] = {"职员", "主管", "经理", "操作工", "工程师", "会计"};
        static const char *const diplomas[] = {"高中", "大专", "本科", "硕士"};
        std::mt19937 random(7);
        TDataSet *set = DataSet();
        for (int i = 0; i < count; ++i) {
            const QDate birthday = QDate(1960, 1, 1).addDays(static_cast<qint64>(random() % 15000));
            set->Append();
            set->Fields(0)->SetValue(i + 1);
            set->Fields(1)->SetValue(QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')));
            set->Fields(2)->SetValue(QString::fromUtf8(surnames[random() % 12])
                + QString::fromUtf8(given[random() % 14]));
            set->Fields(3)->SetValue(random() % 2 ? QStringLiteral("男") : QStringLiteral("女"));
            set->Fields(4)->SetValue(QDateTime(birthday, QTime(0, 0)));
            set->Fields(5)->SetValue(QString::fromUtf8(depts[random() % 8]));
            set->Fields(6)->SetValue(QString::fromUtf8(posts[random() % 6]));
            set->Fields(7)->SetValue(QString::fromUtf8(diplomas[random() % 4]));
            set->Fields(8)->SetValue(QStringLiteral("助理工程师"));
            set->Fields(9)->SetValue(QStringLiteral("群众"));
            set->Fields(10)->SetValue(QDateTime(
                QDate(2000, 1, 1).addDays(static_cast<qint64>(random() % 9000)), QTime(0, 0)));
            set->Fields(11)->SetValue(
                QStringLiteral("13%1").arg(random() % 1000000000, 9, 10, QLatin1Char('0')));
            set->Fields(12)->SetValue(QStringLiteral("110108%1%2")
                                          .arg(birthday.toString(QStringLiteral("yyyyMMdd")))
                                          .arg(i % 10000, 4, 10, QLatin1Char('0')));
            set->Post();
        }
        set->First();
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    ReportTemplate roster;
    QString error;
    const QString file
        = QDir(QStringLiteral(QM_DB_SCRIPTS_DIR)).filePath(QStringLiteral("reports/1-roster.qmr"));
    if (!roster.loadFromFile(file, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir dir;
    std::printf(
        "roster (%s), A4 landscape, to PDF at 600 dpi\n", qPrintable(QFileInfo(file).fileName()));
    std::printf("%8s %6s %10s %10s %12s %10s %12s\n", "rows", "pages", "prepare", "write",
        "per page", "PDF", "peak RSS");
    for (int count : {1000, 10000}) {
        Roster rows(count);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), rows.DataSet());
        data.setVariables(
            {QStringLiteral("u_Company"), QStringLiteral("u_Operator")},
            [](const QString &name, QString *value) {
                if (name == QLatin1String("u_Company"))
                    *value = QStringLiteral("澄岚测试有限公司");
                else if (name == QLatin1String("u_Operator"))
                    *value = QStringLiteral("sa");
                else
                    return false;
                return true;
            },
            [](const QString &field) { return field; });

        QElapsedTimer timer;
        timer.start();
        ReportRenderer report(roster, data);
        const qint64 prepared = timer.elapsed();
        const QString pdf = dir.filePath(QStringLiteral("roster-%1.pdf").arg(count));
        timer.restart();
        if (!ReportExport::WritePdf(report, pdf, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        const qint64 written = timer.elapsed();
        std::printf("%8d %6d %8lld ms %8lld ms %9.2f ms %7.1f MiB %8ld MiB\n", count,
            report.pageCount(), static_cast<long long>(prepared), static_cast<long long>(written),
            double(prepared + written) / report.pageCount(), QFileInfo(pdf).size() / 1048576.0,
            peakRssMiB());

        timer.restart();
        const QImage page = report.pageImage(report.pageCount() / 2, 96);
        std::printf("%8s one page on screen (96 dpi, %dx%d): %lld ms\n", "", page.width(),
            page.height(), static_cast<long long>(timer.elapsed()));
    }
    return 0;
}
