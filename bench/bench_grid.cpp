// Times the grid work on a long list: sorting 100,000 employees by a name and
// a date (the pinyin collation is the expensive part), and exporting the list
// with 20 columns to .xlsx and HTML. Prints one line per figure.

#include "DataSet.h"
#include "DataVocabulary.h"
#include "GridExport.h"
#include "RecordSet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <time.h>
#include <vector>

namespace {

template <typename T, size_t N> const T &pick(std::mt19937 &rng, const T (&list)[N])
{
    return list[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

const char *weighted(std::mt19937 &rng, const DataVocabulary::Weighted *list, size_t count)
{
    int total = 0;
    for (size_t i = 0; i < count; ++i)
        total += list[i].weight;
    int r = std::uniform_int_distribution<int>(0, total - 1)(rng);
    for (size_t i = 0; i < count; ++i) {
        r -= list[i].weight;
        if (r < 0)
            return list[i].text;
    }
    return list[count - 1].text;
}

// Twenty columns of the kinds an employee list has.
class TBenchList : public TQmClientDataSet
{
public:
    TBenchList()
    {
        AddField(FieldKind::Integer, QStringLiteral("Id"), true, QStringLiteral("序号"));
        AddFieldDef(FieldKind::String, QStringLiteral("Code"), 20, true, QStringLiteral("编号"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Name"), 20, true, QStringLiteral("姓名"));
        AddFieldDef(FieldKind::WideString, QStringLiteral("Sex"), 20, true, QStringLiteral("性别"));
        AddField(FieldKind::DateTime, QStringLiteral("Birthday"), true, QStringLiteral("出生日期"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Folk"), 20, true, QStringLiteral("民族"));
        AddFieldDef(
            FieldKind::String, QStringLiteral("IdCard"), 30, true, QStringLiteral("身份证号"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Province"), 20, true, QStringLiteral("籍贯"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("City"), 20, true, QStringLiteral("城市"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Address"), 60, true, QStringLiteral("住址"));
        AddFieldDef(FieldKind::String, QStringLiteral("Mobile"), 20, true, QStringLiteral("手机"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("School"), 40, true, QStringLiteral("毕业学校"));
        AddFieldDef(FieldKind::WideString, QStringLiteral("EmployType"), 20, true,
            QStringLiteral("用工形式"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Duty"), 20, true, QStringLiteral("岗位"));
        AddField(FieldKind::DateTime, QStringLiteral("JoinDate"), true, QStringLiteral("入职日期"));
        AddField(FieldKind::Float, QStringLiteral("Salary"), true, QStringLiteral("工资"));
        AddField(FieldKind::Integer, QStringLiteral("Age"), true, QStringLiteral("年龄"));
        AddField(FieldKind::Boolean, QStringLiteral("Married"), true, QStringLiteral("婚否"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Blood"), 20, true, QStringLiteral("血型"));
        AddField(FieldKind::Memo, QStringLiteral("Note"), true, QStringLiteral("备注"));
        CreateDataSet();
    }

    void fill(int rows)
    {
        using namespace DataVocabulary;
        std::mt19937 rng(1);
        TDataSet &d = *m_data;
        for (int i = 0; i < rows; ++i) {
            const bool male = rng() % 2 == 0;
            const Region &region = pick(rng, regions);
            const QDate birthday = QDate(1960, 1, 1).addDays(static_cast<qint64>(rng() % 16000));
            QString name = QString::fromUtf8(weighted(rng, surnames, std::size(surnames)));
            const int given = 1 + static_cast<int>(rng() % 2);
            for (int g = 0; g < given; ++g)
                name += QString::fromUtf8(
                    male ? pick(rng, maleNameChars) : pick(rng, femaleNameChars));
            d.Append();
            d.Fields(0)->SetValue(i + 1);
            d.Fields(1)->SetValue(QStringLiteral("%1").arg(i + 1, 6, 10, QLatin1Char('0')));
            d.Fields(2)->SetValue(name);
            d.Fields(3)->SetValue(male ? QStringLiteral("男") : QStringLiteral("女"));
            d.Fields(4)->SetValue(birthday.startOfDay());
            d.Fields(5)->SetValue(QString::fromUtf8(weighted(rng, folks, std::size(folks))));
            d.Fields(6)->SetValue(QString::fromUtf8(region.code)
                + birthday.toString(QStringLiteral("yyyyMMdd"))
                + QStringLiteral("%1").arg(rng() % 10000, 4, 10, QLatin1Char('0')));
            d.Fields(7)->SetValue(QString::fromUtf8(region.province));
            d.Fields(8)->SetValue(QString::fromUtf8(region.city));
            d.Fields(9)->SetValue(QString::fromUtf8(region.district)
                + QString::fromUtf8(pick(rng, roads)) + QStringLiteral("%1号").arg(rng() % 300 + 1)
                + QString::fromUtf8(pick(rng, estates)));
            d.Fields(10)->SetValue(QString::fromUtf8(pick(rng, mobilePrefixes))
                + QStringLiteral("%1").arg(rng() % 100000000, 8, 10, QLatin1Char('0')));
            d.Fields(11)->SetValue(QString::fromUtf8(pick(rng, universities)));
            d.Fields(12)->SetValue(
                QString::fromUtf8(weighted(rng, employTypes, std::size(employTypes))));
            d.Fields(13)->SetValue(QString::fromUtf8(pick(rng, skillNames)));
            d.Fields(14)->SetValue(
                QDate(2000, 1, 1).addDays(static_cast<qint64>(rng() % 9000)).startOfDay());
            d.Fields(15)->SetValue(2000.0 + (rng() % 1000000) / 100.0);
            d.Fields(16)->SetValue(2026 - birthday.year());
            d.Fields(17)->SetValue(rng() % 3 != 0);
            d.Fields(18)->SetValue(
                QString::fromUtf8(weighted(rng, bloodTypes, std::size(bloodTypes))));
            if (rng() % 5 == 0)
                d.Fields(19)->SetValue(QStringLiteral("备注 %1").arg(i));
            d.Post();
        }
        d.First();
    }
};

// Wall-clock and CPU milliseconds of one piece of work; on a shared machine
// the CPU time is the steadier figure.
struct Timing
{
    double wall;
    double cpu;
};

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

template <typename F> Timing measure(F work)
{
    QElapsedTimer timer;
    timer.start();
    const double cpu = cpuMs();
    work();
    return {static_cast<double>(timer.nsecsElapsed()) / 1e6, cpuMs() - cpu};
}

// The median run by wall time.
Timing median(std::vector<Timing> runs)
{
    std::sort(
        runs.begin(), runs.end(), [](const Timing &a, const Timing &b) { return a.wall < b.wall; });
    return runs[runs.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = 3;

    TBenchList list;
    const Timing fill = measure([&] { list.fill(rows); });
    TDataSet &set = *list.DataSet();
    std::printf("fill %d rows x %d columns: %.0f ms (cpu %.0f ms)\n", rows, set.FieldCount(),
        fill.wall, fill.cpu);

    const int id = set.FieldByName(QStringLiteral("Id"))->Index();
    const int name = set.FieldByName(QStringLiteral("Name"))->Index();
    const int join = set.FieldByName(QStringLiteral("JoinDate"))->Index();
    std::vector<Timing> sorts;
    for (int run = 0; run < runs; ++run) {
        set.Sort({{id, false}});
        sorts.push_back(measure([&] { set.Sort({{name, false}, {join, true}}); }));
    }
    const Timing sort = median(sorts);
    std::printf("sort by Name, JoinDate DESC: %.0f ms (cpu %.0f ms, median of %d)\n", sort.wall,
        sort.cpu, runs);

    TExportColumns columns;
    for (int f = 0; f < set.FieldCount(); ++f)
        columns.append({set.Fields(f)->DisplayLabel(), set.Fields(f)->FieldName(), 90});
    QTemporaryDir dir;
    const QString xlsx = dir.filePath(QStringLiteral("bench.xlsx"));
    const QString html = dir.filePath(QStringLiteral("bench.html"));
    std::vector<Timing> xlsxRuns, htmlRuns;
    try {
        for (int run = 0; run < runs; ++run) {
            xlsxRuns.push_back(measure([&] { GridExport::WriteXlsx(xlsx, set, columns); }));
            htmlRuns.push_back(measure([&] { GridExport::WriteHtml(html, set, columns); }));
        }
    } catch (const std::exception &e) {
        std::printf("export failed: %s\n", e.what());
        return 1;
    }
    const Timing x = median(xlsxRuns), h = median(htmlRuns);
    std::printf(
        "xlsx export %d rows x %lld columns: %.0f ms (cpu %.0f ms, median of %d), %.1f MB\n", rows,
        static_cast<long long>(columns.size()), x.wall, x.cpu, runs,
        QFileInfo(xlsx).size() / 1048576.0);
    std::printf(
        "html export %d rows x %lld columns: %.0f ms (cpu %.0f ms, median of %d), %.1f MB\n", rows,
        static_cast<long long>(columns.size()), h.wall, h.cpu, runs,
        QFileInfo(html).size() / 1048576.0);
    return 0;
}
