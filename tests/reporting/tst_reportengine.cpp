// The report engine without a database: the template format, expressions,
// the band layout into pages, the host's variables and where the catalogue
// window goes.
#include "Operator.h"
#include "ProjRep.h"
#include "ReportExpression.h"
#include "ReportFixtures.h"
#include "ReportRenderer.h"
#include "ReportTemplate.h"
#include "Reporter.h"
#include "qmProj.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportFixtures;

namespace {

ReportObject textObject(double x, double w, const QString &text, double h = 6)
{
    ReportObject o;
    o.x = x;
    o.w = w;
    o.h = h;
    o.text = text;
    o.frame = QStringLiteral("LTRB");
    return o;
}

ReportBand makeBand(
    BandType type, double height, QVector<ReportObject> objects, const QString &dataSet = QString())
{
    ReportBand b;
    b.type = type;
    b.height = height;
    b.objects = std::move(objects);
    b.dataSet = dataSet;
    return b;
}

// A list: title, column header, one master row per employee, summary and a
// page footer, on A4 portrait with 10 mm margins (277 mm of height).
ReportTemplate listTemplate(double rowHeight = 10)
{
    ReportTemplate t;
    t.name = QStringLiteral("测试列表");
    t.page.left = t.page.right = t.page.top = t.page.bottom = 10;
    t.bands << makeBand(
        BandType::ReportTitle, 20, {textObject(0, 190, QStringLiteral("[u_Company]"))})
            << makeBand(BandType::ColumnHeader, 10,
                   {textObject(0, 30, QStringLiteral("档案号")),
                       textObject(30, 60, QStringLiteral("姓名"))})
            << makeBand(BandType::Master, rowHeight,
                   {textObject(0, 30, QStringLiteral("[d0.Code]")),
                       textObject(30, 60, QStringLiteral("[d0.Name]"))},
                   QStringLiteral("d0"))
            << makeBand(
                   BandType::Summary, 10, {textObject(0, 90, QStringLiteral("共 [Count(d0)] 人"))})
            << makeBand(BandType::PageFooter, 7,
                   {textObject(0, 190, QStringLiteral("第[Page]页/共[TotalPages]页"))});
    return t;
}

// Every text of a page in print order, for comparing layouts.
QStringList pageTexts(const ReportRenderer &r, int page)
{
    QStringList texts;
    for (const ReportBandInstance &instance : r.page(page)) {
        const ReportBand &band = r.report().bands[instance.band];
        for (int i = 0; i < band.objects.size(); ++i)
            if (band.objects[i].type == ObjectType::Text)
                texts << r.objectText(instance, i, page);
    }
    return texts;
}

QList<BandType> pageBands(const ReportRenderer &r, int page)
{
    QList<BandType> types;
    for (const ReportBandInstance &instance : r.page(page))
        types << r.report().bands[instance.band].type;
    return types;
}

} // namespace

class tst_ReportEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(QFont(ReportTemplate::DefaultFontFamily)); }

    void templateRoundTrip()
    {
        ReportTemplate t = listTemplate();
        t.page.size = QStringLiteral("Custom");
        t.page.width = 200;
        t.page.height = 120.5;
        t.page.landscape = true;
        t.fontSize = 10.5;
        ReportBand group = makeBand(BandType::GroupHeader, 8, {});
        group.condition = QStringLiteral("d0.DutyDeptName");
        group.newPage = true;
        ReportBand detail = makeBand(BandType::Detail, 6, {}, QStringLiteral("d3"));
        detail.keyField = QStringLiteral("EmpId");
        detail.masterField = QStringLiteral("Id");
        ReportBand header = makeBand(BandType::PageHeader, 5, {});
        header.onFirstPage = false;
        ReportObject styled = textObject(1.25, 33.33, QStringLiteral("[d0.Name|x]\n第二行"));
        styled.font = {QStringLiteral("Noto Serif CJK SC"), 14, true, true, true};
        styled.align = HAlign::Right;
        styled.valign = VAlign::Bottom;
        styled.wrap = false;
        styled.grow = true;
        styled.color = QColor(QStringLiteral("#123456"));
        styled.fill = QColor(QStringLiteral("#eeeeee"));
        styled.frame = QStringLiteral("TB");
        styled.lineWidth = 0.5;
        ReportObject photo;
        photo.type = ObjectType::Image;
        photo.field = QStringLiteral("d1.Photo");
        photo.keepAspect = false;
        ReportObject logo;
        logo.type = ObjectType::Image;
        logo.data = pngBytes(4, 3, Qt::red);
        ReportObject rule;
        rule.type = ObjectType::Line;
        rule.h = 0;
        group.objects << styled << photo << logo << rule;
        t.bands << group << detail << header;

        ReportTemplate fromJson;
        QString error;
        QVERIFY2(fromJson.fromJson(t.toJson(), &error), qPrintable(error));
        QVERIFY(fromJson == t);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("模板 1.qmr"));
        QVERIFY2(t.saveToFile(path, &error), qPrintable(error));
        ReportTemplate fromFile;
        QVERIFY2(fromFile.loadFromFile(path, &error), qPrintable(error));
        QVERIFY(fromFile == t);
        QCOMPARE(fromFile.bands.last().onFirstPage, false);
        QCOMPARE(fromFile.page.paperWidth(), 200.0);
        QCOMPARE(fromFile.page.paperHeight(), 120.5);
    }

    void refusesForeignTemplates_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("not json") << QByteArray("<?xml version=\"1.0\"?><TfrxReport/>")
                                  << QStringLiteral("不是本程序的报表模板");
        QTest::newRow("other format") << QByteArray(R"({"format":"other","version":1})")
                                      << QStringLiteral("不是本程序的报表模板");
        QTest::newRow("no version")
            << QByteArray(R"({"format":"qmreport"})") << QStringLiteral("缺少版本号");
        QTest::newRow("newer version") << QByteArray(R"({"format":"qmreport","version":2})")
                                       << QStringLiteral("(2)比本程序支持的(1)新");
        QTest::newRow("unknown band")
            << QByteArray(R"({"format":"qmreport","version":1,"bands":[{"type":"cross"}]})")
            << QStringLiteral("未知的报表区类型 \"cross\"");
        QTest::newRow("unknown object") << QByteArray(
            R"({"format":"qmreport","version":1,"bands":[{"type":"master","objects":[{"type":"chart"}]}]})")
                                        << QStringLiteral("未知的报表对象类型 \"chart\"");
        QTest::newRow("margins wider than the paper") << QByteArray(
            R"({"format":"qmreport","version":1,"page":{"size":"A5","margins":{"left":80,"right":80}}})")
                                                      << QStringLiteral("页边距不正确");
    }

    void refusesForeignTemplates()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        ReportTemplate t = listTemplate();
        const ReportTemplate before = t;
        QString error;
        QVERIFY(!t.fromJson(bytes, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(t == before);
    }

    void expressions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("literal") << QStringLiteral("职员") << QStringLiteral("职员");
        QTest::newRow("field") << QStringLiteral("姓名: [d0.Name]") << QStringLiteral("姓名: 李娜");
        QTest::newRow("field name in any case")
            << QStringLiteral("[D0.name]") << QStringLiteral("李娜");
        QTest::newRow("date as shown")
            << QStringLiteral("[d0.Birthday]") << QStringLiteral("1981-02-02");
        QTest::newRow("date format")
            << QStringLiteral("[d0.Birthday|yyyy年M月d日]") << QStringLiteral("1981年2月2日");
        QTest::newRow("number format")
            << QStringLiteral("[d0.GangchiBZ|#,##0.00]") << QStringLiteral("3,001.50");
        QTest::newRow("sum") << QStringLiteral("[Sum(d0.GangchiBZ)]") << QStringLiteral("9004.5");
        QTest::newRow("sum formatted")
            << QStringLiteral("[Sum(d0.GangchiBZ)|0.0]") << QStringLiteral("9004.5");
        QTest::newRow("count") << QStringLiteral("[Count(d0)]人") << QStringLiteral("3人");
        QTest::newRow("average") << QStringLiteral("[Avg(d0.Stature)|0.00]")
                                 << QStringLiteral("171.00");
        QTest::newRow("min and max")
            << QStringLiteral("[Min(d0.Stature)]-[Max(d0.Stature)]") << QStringLiteral("170-172");
        QTest::newRow("caption of a field")
            << QStringLiteral("[Label(d0.Code)]") << QStringLiteral("档案号");
        QTest::newRow("variable") << QStringLiteral("[u_Company]")
                                  << QStringLiteral("澄岚测试有限公司");
        QTest::newRow("variable through u")
            << QStringLiteral("[u.u_Tel]") << QStringLiteral("010-12345678");
        QTest::newRow("u field that is no variable")
            << QStringLiteral("[u.Anything]") << QStringLiteral("Anything");
        QTest::newRow("unknown name stays as written")
            << QStringLiteral("[u_Compnay]") << QStringLiteral("[u_Compnay]");
        QTest::newRow("set not registered")
            << QStringLiteral("a[d9.Name]b") << QStringLiteral("ab");
        QTest::newRow("field missing") << QStringLiteral("a[d0.Nope]b") << QStringLiteral("ab");
        QTest::newRow("escaped bracket")
            << QStringLiteral("[[d0.Name]") << QStringLiteral("[d0.Name]");
        QTest::newRow("unclosed bracket")
            << QStringLiteral("总计[d0.Name") << QStringLiteral("总计[d0.Name");
        QTest::newRow("line and pages")
            << QStringLiteral("[Line] [Page]/[TotalPages]") << QStringLiteral("2 4/9");
        QTest::newRow("date of printing")
            << QStringLiteral("[Date] [Time|hh:mm]") << QStringLiteral("2024-05-06 07:08");
    }

    void expressions()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const auto set = employees(3);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), set.get());
        addCompanyVariables(data);
        ReportEvalContext context;
        context.masterSet = 0;
        context.masterRow = 1;
        context.line = 2;
        context.page = 4;
        context.totalPages = 9;
        context.now = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9));
        QCOMPARE(ReportExpression(text, data).evaluate(context), expected);
    }

    void cursorOfOtherSetsNeverMoves()
    {
        const auto list = employees(5);
        const auto other = employees(3);
        other->SetCurrentRow(2);
        list->SetCurrentRow(3);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), list.get());
        data.addDataSet(QStringLiteral("d1"), other.get());
        ReportTemplate t = listTemplate();
        t.bands[0].objects[0].text = QStringLiteral("[d1.Name]");
        ReportRenderer r(t, data);
        QCOMPARE(r.objectText(r.flow().first(), 0, 0), QStringLiteral("张伟"));
        QCOMPARE(list->CurrentRow(), 3);
        QCOMPARE(other->CurrentRow(), 2);
    }

    void missingDataSetPrintsNothing()
    {
        // A window that hands over no set for a place keeps the names of the
        // others: d1 stays d1.
        TRep host;
        const auto second = employees(1);
        host.AddDataSets({nullptr, second.get()});
        QCOMPARE(host.Data().dataSetNames(), QStringList{QStringLiteral("d1")});
        ReportTemplate t = listTemplate();
        t.bands[0].objects[0].text = QStringLiteral("[d0.Name]/[d1.Name]");
        ReportRenderer r(t, host.Data());
        QCOMPARE(r.objectText(r.flow().first(), 0, 0), QStringLiteral("/王晓明"));
        QCOMPARE(pageBands(r, 0),
            (QList<BandType>{BandType::ReportTitle, BandType::ColumnHeader, BandType::Summary,
                BandType::PageFooter}));
    }

    void rowsFlowOverPages()
    {
        // Page 1 holds the title (20), the column header (10) and rows of 10
        // above the footer (7) in 277 mm: 24 rows; later pages 26.
        const auto set = employees(60);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), set.get());
        addCompanyVariables(data);
        ReportRenderer r(listTemplate(), data);
        QCOMPARE(r.pageCount(), 3);

        QStringList codes;
        for (int p = 0; p < r.pageCount(); ++p) {
            const QList<BandType> types = pageBands(r, p);
            QCOMPARE(types.first(), p == 0 ? BandType::ReportTitle : BandType::ColumnHeader);
            QCOMPARE(types.last(), BandType::PageFooter);
            QCOMPARE(types.count(BandType::ColumnHeader), 1);
            QVERIFY(pageTexts(r, p).contains(QStringLiteral("第%1页/共3页").arg(p + 1)));
            for (const ReportBandInstance &instance : r.page(p)) {
                QVERIFY2(instance.y + instance.height <= 297 - 10 - 7 + 0.001
                        || r.report().bands[instance.band].type == BandType::PageFooter,
                    "a band runs into the page footer");
                if (r.report().bands[instance.band].type == BandType::Master)
                    codes << r.objectText(instance, 0, p);
            }
        }
        QCOMPARE(pageBands(r, 0).count(BandType::Master), 24);
        QCOMPARE(pageBands(r, 1).count(BandType::Master), 26);
        QCOMPARE(codes.size(), 60);
        for (int i = 0; i < 60; ++i)
            QCOMPARE(codes[i], QStringLiteral("A%1").arg(i + 1, 4, 10, QLatin1Char('0')));
        QVERIFY(pageTexts(r, 2).contains(QStringLiteral("共 60 人")));
    }

    void headerStaysWithItsFirstRow()
    {
        // The title fills the page so that the column header would be the
        // last band on it: it moves to page 2 together with the first row.
        const auto set = employees(2);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), set.get());
        ReportTemplate t = listTemplate();
        t.bands[0].height = 277 - 7 - 15;
        ReportRenderer r(t, data);
        QCOMPARE(r.pageCount(), 2);
        QCOMPARE(pageBands(r, 0), (QList<BandType>{BandType::ReportTitle, BandType::PageFooter}));
        QCOMPARE(pageBands(r, 1).mid(0, 3),
            (QList<BandType>{BandType::ColumnHeader, BandType::Master, BandType::Master}));
    }

    void emptyDataStillPrintsTheFrame()
    {
        const auto set = employees(0);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), set.get());
        ReportRenderer r(listTemplate(), data);
        QCOMPARE(r.pageCount(), 1);
        QCOMPARE(pageBands(r, 0),
            (QList<BandType>{BandType::ReportTitle, BandType::ColumnHeader, BandType::Summary,
                BandType::PageFooter}));
        QVERIFY(pageTexts(r, 0).contains(QStringLiteral("共 0 人")));
    }

    void emptyTemplatePrintsOneBlankPage()
    {
        ReportData data;
        ReportRenderer r(ReportTemplate(), data);
        QCOMPARE(r.pageCount(), 1);
        QVERIFY(r.page(0).isEmpty());
    }

    void groupsCarryTheirOwnTotals()
    {
        const auto set
            = makeSet({{QStringLiteral("Dept"), FieldKind::WideString, QStringLiteral("部门")},
                          {QStringLiteral("Name"), FieldKind::WideString, QString()},
                          {QStringLiteral("Pay"), FieldKind::Float, QString()}},
                {{QStringLiteral("财务部"), QStringLiteral("甲"), 100.0},
                    {QStringLiteral("财务部"), QStringLiteral("乙"), 50.5},
                    {QStringLiteral("销售部"), QStringLiteral("丙"), 10.0},
                    {QStringLiteral("生产部"), QStringLiteral("丁"), 1.0},
                    {QStringLiteral("生产部"), QStringLiteral("戊"), 2.0}});
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), set.get());
        ReportTemplate t;
        ReportBand header = makeBand(BandType::GroupHeader, 8,
            {textObject(0, 100, QStringLiteral("[d0.Dept] ([Count(d0)]人)"))});
        header.condition = QStringLiteral("d0.Dept");
        ReportBand footer = makeBand(BandType::GroupFooter, 8,
            {textObject(0, 100, QStringLiteral("小计 [Sum(d0.Pay)|0.00]"))});
        footer.condition = QStringLiteral("d0.Dept");
        t.bands << header
                << makeBand(BandType::Master, 6,
                       {textObject(0, 100, QStringLiteral("[Line].[d0.Name]"))},
                       QStringLiteral("d0"))
                << footer
                << makeBand(BandType::Summary, 8,
                       {textObject(0, 100, QStringLiteral("合计 [Sum(d0.Pay)|0.00]"))});
        ReportRenderer r(t, data);
        QCOMPARE(r.pageCount(), 1);
        QCOMPARE(pageTexts(r, 0),
            (QStringList{QStringLiteral("财务部 (2人)"), QStringLiteral("1.甲"),
                QStringLiteral("2.乙"), QStringLiteral("小计 150.50"),
                QStringLiteral("销售部 (1人)"), QStringLiteral("3.丙"),
                QStringLiteral("小计 10.00"), QStringLiteral("生产部 (2人)"),
                QStringLiteral("4.丁"), QStringLiteral("5.戊"), QStringLiteral("小计 3.00"),
                QStringLiteral("合计 163.50")}));
    }

    void groupMayStartANewPage()
    {
        const auto set = employees(10);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), set.get());
        ReportTemplate t;
        ReportBand header = makeBand(
            BandType::GroupHeader, 8, {textObject(0, 100, QStringLiteral("[d0.DutyDeptName]"))});
        header.condition = QStringLiteral("d0.DutyDeptName");
        header.newPage = true;
        t.bands << header
                << makeBand(BandType::Master, 6, {textObject(0, 100, QStringLiteral("[d0.Name]"))},
                       QStringLiteral("d0"));
        ReportRenderer r(t, data);
        // Departments repeat every five employees, so each row opens a group.
        QCOMPARE(r.pageCount(), 10);
        QCOMPARE(pageTexts(r, 9), (QStringList{QStringLiteral("销售部"), QStringLiteral("吴芳")}));
    }

    void detailsFollowTheirMaster_data()
    {
        QTest::addColumn<QString>("keyField");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("linked by key")
            << QStringLiteral("EmpId")
            << QStringList{QStringLiteral("王晓明"), QStringLiteral("证照"),
                   QStringLiteral("1:甲证"), QStringLiteral("2:丙证"), QStringLiteral("2 份"),
                   QStringLiteral("李娜"), QStringLiteral("证照"), QStringLiteral("1:乙证"),
                   QStringLiteral("1 份"), QStringLiteral("张伟"), QStringLiteral("证照"),
                   QStringLiteral("0 份")};
        QTest::newRow("all rows") << QString()
                                  << QStringList{QStringLiteral("王晓明"), QStringLiteral("证照"),
                                         QStringLiteral("1:甲证"), QStringLiteral("2:乙证"),
                                         QStringLiteral("3:丙证"), QStringLiteral("3 份"),
                                         QStringLiteral("李娜"), QStringLiteral("证照"),
                                         QStringLiteral("1:甲证"), QStringLiteral("2:乙证"),
                                         QStringLiteral("3:丙证"), QStringLiteral("3 份"),
                                         QStringLiteral("张伟"), QStringLiteral("证照"),
                                         QStringLiteral("1:甲证"), QStringLiteral("2:乙证"),
                                         QStringLiteral("3:丙证"), QStringLiteral("3 份")};
    }

    void detailsFollowTheirMaster()
    {
        QFETCH(QString, keyField);
        QFETCH(QStringList, texts);
        const auto people = employees(3);
        const auto certs
            = makeSet({{QStringLiteral("EmpId"), FieldKind::Integer, QString()},
                          {QStringLiteral("CertName"), FieldKind::WideString, QString()}},
                {{1, QStringLiteral("甲证")}, {2, QStringLiteral("乙证")},
                    {1, QStringLiteral("丙证")}});
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), people.get());
        data.addDataSet(QStringLiteral("d3"), certs.get());
        ReportTemplate t;
        ReportBand detail = makeBand(BandType::Detail, 6,
            {textObject(0, 50, QStringLiteral("[Line]:[d3.CertName]"))}, QStringLiteral("d3"));
        detail.keyField = keyField;
        detail.masterField = QStringLiteral("Id");
        t.bands << makeBand(BandType::Master, 6, {textObject(0, 50, QStringLiteral("[d0.Name]"))},
            QStringLiteral("d0"))
                << makeBand(BandType::DetailHeader, 6, {textObject(0, 50, QStringLiteral("证照"))},
                       QStringLiteral("d3"))
                << detail
                << makeBand(BandType::DetailFooter, 6,
                       {textObject(0, 50, QStringLiteral("[Count(d3)] 份"))}, QStringLiteral("d3"));
        ReportRenderer r(t, data);
        QCOMPARE(pageTexts(r, 0), texts);
    }

    void detailHeaderRepeatsOnAContinuedPage()
    {
        const auto people = employees(1);
        QList<QVariantList> rows;
        for (int i = 0; i < 40; ++i)
            rows << QVariantList{1, QStringLiteral("证%1").arg(i + 1)};
        const auto certs
            = makeSet({{QStringLiteral("EmpId"), FieldKind::Integer, QString()},
                          {QStringLiteral("CertName"), FieldKind::WideString, QString()}},
                rows);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), people.get());
        data.addDataSet(QStringLiteral("d3"), certs.get());
        ReportTemplate t;
        t.page.top = t.page.bottom = 10;
        ReportBand detail = makeBand(BandType::Detail, 10,
            {textObject(0, 50, QStringLiteral("[d3.CertName]"))}, QStringLiteral("d3"));
        detail.keyField = QStringLiteral("EmpId");
        detail.masterField = QStringLiteral("Id");
        t.bands << makeBand(BandType::Master, 20, {textObject(0, 50, QStringLiteral("[d0.Name]"))},
            QStringLiteral("d0"))
                << makeBand(BandType::DetailHeader, 10,
                       {textObject(0, 50, QStringLiteral("证照名称"))}, QStringLiteral("d3"))
                << detail;
        ReportRenderer r(t, data);
        QCOMPARE(r.pageCount(), 2);
        const QStringList second = pageTexts(r, 1);
        QCOMPARE(second.first(), QStringLiteral("证照名称"));
        QCOMPARE(second.last(), QStringLiteral("证40"));
        QCOMPARE(pageTexts(r, 0).count() + second.count(), 1 + 2 + 40);
    }

    void longTextGrowsItsBand()
    {
        const auto set = makeSet({{QStringLiteral("Note"), FieldKind::Memo, QString()}},
            {{QStringLiteral("短")}, {QString(QStringLiteral("很长的备注内容, ")).repeated(40)}});
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), set.get());
        ReportTemplate t;
        ReportObject label = textObject(0, 20, QStringLiteral("备注"), 8);
        ReportObject note = textObject(20, 60, QStringLiteral("[d0.Note]"), 8);
        note.grow = true;
        ReportObject mark = textObject(80, 10, QStringLiteral("*"), 4);
        t.bands << makeBand(BandType::Master, 8, {label, note, mark}, QStringLiteral("d0"));
        ReportRenderer r(t, data);
        const ReportBandInstance &shortRow = r.flow()[0];
        const ReportBandInstance &longRow = r.flow()[1];
        QCOMPARE(shortRow.height, 8.0);
        QVERIFY2(longRow.height > 30, qPrintable(QString::number(longRow.height)));
        // Table cells that end at the band's bottom stretch with it, so the
        // row keeps its rules; others keep their size.
        QCOMPARE(r.objectRect(longRow, 0).height(), longRow.height);
        QCOMPARE(r.objectRect(longRow, 1).height(), longRow.height);
        QCOMPARE(r.objectRect(longRow, 2).height(), 4.0);
        QCOMPARE(r.flow()[1].y, 0.0);
        QCOMPARE(r.page(0)[1].y, r.page(0)[0].y + 8);
    }

    void masterMayPrintOneRowAPage()
    {
        const auto set = employees(3);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), set.get());
        ReportTemplate t;
        ReportBand master = makeBand(BandType::Master, 50,
            {textObject(0, 50, QStringLiteral("[d0.Name]"))}, QStringLiteral("d0"));
        master.newPage = true;
        ReportBand header = makeBand(
            BandType::PageHeader, 8, {textObject(0, 50, QStringLiteral("续页 [d0.Name]"))});
        header.onFirstPage = false;
        t.bands << header << master;
        ReportRenderer r(t, data);
        QCOMPARE(r.pageCount(), 3);
        QCOMPARE(pageTexts(r, 0), QStringList{QStringLiteral("王晓明")});
        QCOMPARE(
            pageTexts(r, 2), (QStringList{QStringLiteral("续页 张伟"), QStringLiteral("张伟")}));
    }

    void photosComeFromTheirField()
    {
        const auto photos = makeSet({{QStringLiteral("EmpId"), FieldKind::Integer, QString()},
                                        {QStringLiteral("Photo"), FieldKind::Blob, QString()}},
            {{1, pngBytes(30, 40, Qt::blue)}});
        const auto people = employees(1);
        ReportData data;
        data.addDataSet(QStringLiteral("d0"), people.get());
        data.addDataSet(QStringLiteral("d1"), photos.get());
        ReportTemplate t;
        t.page.left = t.page.top = 0;
        ReportObject photo;
        photo.type = ObjectType::Image;
        photo.field = QStringLiteral("d1.Photo");
        photo.x = 10;
        photo.y = 10;
        photo.w = 30;
        photo.h = 40;
        ReportObject broken = photo;
        broken.field = QStringLiteral("d0.Name");
        broken.x = 50;
        t.bands << makeBand(BandType::Master, 60, {photo, broken}, QStringLiteral("d0"));
        ReportRenderer r(t, data);
        QCOMPARE(r.objectImage(r.flow()[0], 0).size(), QSize(30, 40));
        QVERIFY(r.objectImage(r.flow()[0], 1).isNull());
        const QImage page = r.pageImage(0, 254);
        QCOMPARE(page.pixelColor(250, 300), QColor(Qt::blue));
        QCOMPARE(page.pixelColor(650, 300), QColor(Qt::white));
    }

    void hostVariables()
    {
        CreateProjectObjects();
        TheCompany->CompanyName = QStringLiteral("澄岚\"科技\"有限公司");
        TheCompany->Tel = QStringLiteral("010-87654321");
        TheCompany->Fax.clear();
        TheCompany->Address = QStringLiteral("北京市海淀区");
        TheCompany->Zip = QStringLiteral("100080");
        TheOperator->LoginId = QStringLiteral("zhang");
        TProjRep host;
        QCOMPARE(host.VariableNames(),
            (QStringList{QStringLiteral("u_Company"), QStringLiteral("u_Tel"),
                QStringLiteral("u_Fax"), QStringLiteral("u_Address"), QStringLiteral("u_Zip"),
                QStringLiteral("u_Operator")}));
        host.AddVariable(QString(), QStringLiteral("ignored"));
        host.AddVariable(QStringLiteral("u_Extra"), QStringLiteral("额外"));
        QCOMPARE(host.VariableNames().size(), 7);

        ReportTemplate t;
        t.bands << makeBand(BandType::Summary, 10,
            {textObject(0, 180,
                QStringLiteral(
                    "[u_Company]|[u_Fax]|[u.u_Fax]|[u.u_Operator]|[u.NoSuchVariable]|[u_Extra]"))});
        ReportRenderer r(t, host.Data());
        QCOMPARE(r.objectText(r.flow().first(), 0, 0),
            QStringLiteral("澄岚\"科技\"有限公司| | |zhang|NoSuchVariable|额外"));
        QString value;
        QVERIFY(!host.VariableValue(QStringLiteral("NoSuchVariable"), &value));
        TheOperator->Clear();
        FreeProjectObjects();
    }

    void catalogueWindowPlacement_data()
    {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QPoint>("expected");
        // A 400 x 300 window on a 1280 x 800 screen.
        QTest::newRow("centred on the pointer, a quarter above it")
            << QPoint(640, 400) << QPoint(440, 325);
        QTest::newRow("would cross the bottom: centred on the screen")
            << QPoint(640, 600) << QPoint(440, 250);
        QTest::newRow("would cross the right edge: centred on the screen")
            << QPoint(1000, 100) << QPoint(440, 250);
        QTest::newRow("left of the screen: left becomes 10") << QPoint(100, 100) << QPoint(10, 25);
        QTest::newRow("above the screen: top becomes 10") << QPoint(500, 40) << QPoint(300, 10);
        QTest::newRow("exactly fits at the bottom") << QPoint(640, 500) << QPoint(440, 425);
    }

    void catalogueWindowPlacement()
    {
        QFETCH(QPoint, cursor);
        QFETCH(QPoint, expected);
        QCOMPARE(
            TReporterFrm::PlacementFor(cursor, QSize(400, 300), QRect(0, 0, 1280, 800)), expected);
    }
};

QTEST_MAIN(tst_ReportEngine)
#include "tst_reportengine.moc"
