// What the exports and the printer get, read back from the files, and the
// preview window that offers them.
#include "GridExport.h"
#include "ReportExport.h"
#include "ReportFixtures.h"
#include "ReportPreview.h"
#include "ReportRenderer.h"
#include "ReportTemplate.h"
#include "TestSupport.h"
#include "XlsxReader.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportFixtures;

namespace {

ReportObject cell(double x, double w, const QString &text)
{
    ReportObject o;
    o.x = x;
    o.w = w;
    o.h = 7;
    o.text = text;
    o.frame = QStringLiteral("LTRB");
    return o;
}

ReportBand band(
    BandType type, double height, QVector<ReportObject> objects, const QString &dataSet = QString())
{
    ReportBand b;
    b.type = type;
    b.height = height;
    b.objects = std::move(objects);
    b.dataSet = dataSet;
    return b;
}

// A landscape list: title, column captions over three of the four master
// columns (the fourth shows its field caption), rows, page numbers.
ReportTemplate listTemplate()
{
    ReportTemplate t;
    t.name = QStringLiteral("导出测试");
    t.page.landscape = true;
    ReportObject title = cell(0, 267, QStringLiteral("[u_Company] 职员名单"));
    title.frame.clear();
    title.align = HAlign::Center;
    title.font.size = 16;
    t.bands << band(BandType::ReportTitle, 12, {title})
            << band(BandType::ColumnHeader, 7,
                   {cell(0, 30, QStringLiteral("档案号")), cell(30, 40, QStringLiteral("姓名")),
                       cell(70, 40, QStringLiteral("出生\n日期"))})
            << band(BandType::Master, 7,
                   {cell(30, 40, QStringLiteral("[d0.Name]")),
                       cell(0, 30, QStringLiteral("[d0.Code]")),
                       cell(70, 40, QStringLiteral("[d0.Birthday|yyyy年M月d日]")),
                       cell(110, 60, QStringLiteral("[d0.IdCode]"))},
                   QStringLiteral("d0"))
            << band(BandType::PageFooter, 8,
                   {cell(0, 267, QStringLiteral("第 [Page] 页 共 [TotalPages] 页"))});
    return t;
}

struct Prepared
{
    std::unique_ptr<TDataSet> set;
    ReportData data;
    std::unique_ptr<ReportRenderer> renderer;

    explicit Prepared(int rows, const ReportTemplate &t = listTemplate())
        : set(employees(rows))
    {
        // Archive numbers with leading zeros must survive every export.
        for (int r = 0; r < qMin(rows, 2); ++r) {
            set->SetCurrentRow(r);
            set->Edit();
            set->FieldByName(QStringLiteral("Code"))
                ->SetAsString(QStringLiteral("00%1").arg(r + 7));
            set->Post();
        }
        set->First();
        data.addDataSet(QStringLiteral("d0"), set.get());
        addCompanyVariables(data);
        renderer = std::make_unique<ReportRenderer>(t, data);
    }
};

QString pdfInfo(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class tst_ReportExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setFont(QFont(ReportTemplate::DefaultFontFamily));
        QVERIFY(m_dir.isValid());
    }

    void cleanup()
    {
        GridExport::SetSaveFileAsker(nullptr);
        ReportExport::SetPrintDialogRunner(nullptr);
    }

    void pdfKeepsPaperAndText()
    {
        Prepared p(45);
        QCOMPARE(p.renderer->pageCount(), 2);
        const QString path = m_dir.filePath(QStringLiteral("名单.pdf"));
        QString error;
        QVERIFY2(ReportExport::WritePdf(*p.renderer, path, &error), qPrintable(error));
        const QString info = pdfInfo(path);
        QVERIFY2(info.contains(QStringLiteral("842 x 595 pts (A4)")), qPrintable(info));
        QVERIFY2(
            info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("导出测试")), qPrintable(info));
        const QString text = pdfText(path, &error);
        QVERIFY2(text.contains(QStringLiteral("0007")), qPrintable(text.left(400)));
        QVERIFY(text.contains(QStringLiteral("1980年1月1日")));
        QVERIFY(text.contains(QStringLiteral("A0045")));
        QVERIFY(QString(text).remove(QLatin1Char(' ')).contains(QStringLiteral("共2页")));
    }

    void picturesOnePerPage_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("one page png")
            << 3 << int(ReportExport::Format::Png) << "list.png" << QStringList{"list.png"};
        QTest::newRow("two pages png") << 45 << int(ReportExport::Format::Png) << "list.png"
                                       << QStringList{"list-1.png", "list-2.png"};
        QTest::newRow("two pages jpeg") << 45 << int(ReportExport::Format::Jpeg) << "名单.jpg"
                                        << QStringList{"名单-1.jpg", "名单-2.jpg"};
    }

    void picturesOnePerPage()
    {
        QFETCH(int, rows);
        QFETCH(int, format);
        QFETCH(QString, name);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        Prepared p(rows);
        QStringList written;
        QString error;
        QVERIFY2(ReportExport::WriteImages(*p.renderer, dir.filePath(name),
                     ReportExport::Format(format), 100, &written, &error),
            qPrintable(error));
        QStringList expected;
        for (const QString &f : files)
            expected << dir.filePath(f);
        QCOMPARE(written, expected);
        for (const QString &f : written) {
            QImageReader reader(f);
            QCOMPARE(reader.format(),
                format == int(ReportExport::Format::Png) ? QByteArray("png") : QByteArray("jpeg"));
            // A4 landscape at 100 dpi.
            QCOMPARE(reader.size(), QSize(1169, 827));
            const QImage image = reader.read();
            QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
            // The title is drawn: some dark pixels in its line.
            bool ink = false;
            for (int x = 300; x < 900 && !ink; ++x)
                for (int y = 50; y < 90 && !ink; ++y)
                    ink = qGray(image.pixel(x, y)) < 100;
            QVERIFY(ink || f != written.first());
        }
    }

    void spreadsheetHoldsTheMasterRows()
    {
        Prepared p(30);
        const QString path = m_dir.filePath(QStringLiteral("名单.xlsx"));
        QString error;
        QVERIFY2(ReportExport::WriteXlsx(*p.renderer, path, &error), qPrintable(error));
        XlsxReader reader;
        QVERIFY2(reader.Open(path), qPrintable(reader.ErrorString()));
        XlsxReader::Sheet sheet;
        QVERIFY2(reader.ReadSheet(0, &sheet), qPrintable(reader.ErrorString()));
        QCOMPARE(sheet.RowCount(), 31);
        QCOMPARE(sheet.ColumnCount(), 4);
        // Columns in page order; captions from the column header above each,
        // the uncaptioned one by its field's caption.
        QCOMPARE(sheet.Text(0, 0), QStringLiteral("档案号"));
        QCOMPARE(sheet.Text(0, 1), QStringLiteral("姓名"));
        QCOMPARE(sheet.Text(0, 2), QStringLiteral("出生 日期"));
        QCOMPARE(sheet.Text(0, 3), QStringLiteral("身份证号"));
        QCOMPARE(sheet.Text(1, 0), QStringLiteral("007"));
        QCOMPARE(sheet.Text(1, 1), QStringLiteral("王晓明"));
        QCOMPARE(sheet.Text(1, 2), QStringLiteral("1980年1月1日"));
        QCOMPARE(sheet.Text(30, 3), QStringLiteral("110108198001010029"));
        for (int r = 0; r < sheet.RowCount(); ++r)
            for (int c = 0; c < sheet.ColumnCount(); ++c)
                QVERIFY2(sheet.CellAt(r, c).Type == XlsxReader::CellType::String
                        && sheet.CellAt(r, c).IsTextFormat(),
                    qPrintable(QStringLiteral("cell %1,%2").arg(r).arg(c)));
    }

    void spreadsheetOfATemplateWithoutRows()
    {
        ReportTemplate t = listTemplate();
        t.bands.removeAt(2);
        Prepared p(3, t);
        const QString path = m_dir.filePath(QStringLiteral("empty.xlsx"));
        QString error;
        QVERIFY2(ReportExport::WriteXlsx(*p.renderer, path, &error), qPrintable(error));
        XlsxReader reader;
        QVERIFY(reader.Open(path));
        XlsxReader::Sheet sheet;
        QVERIFY(reader.ReadSheet(0, &sheet));
        QCOMPARE(sheet.RowCount(), 0);
    }

    void wordProcessorDocument()
    {
        ReportTemplate t = listTemplate();
        ReportObject photo;
        photo.type = ObjectType::Image;
        photo.data = pngBytes(20, 20, Qt::green);
        photo.x = 200;
        photo.y = 8;
        photo.w = 20;
        photo.h = 20;
        t.bands[0].height = 30;
        t.bands[0].objects << photo;
        t.bands[1].objects << cell(110, 60, QStringLiteral("身份证号"));
        Prepared p(4, t);
        const QString path = m_dir.filePath(QStringLiteral("名单.odt"));
        QString error;
        QVERIFY2(ReportExport::WriteOdt(*p.renderer, path, &error), qPrintable(error));
        QCOMPARE(zipEntry(path, QStringLiteral("mimetype")),
            QByteArray("application/vnd.oasis.opendocument.text"));
        const QString content = QString::fromUtf8(zipEntry(path, QStringLiteral("content.xml")));
        QVERIFY2(content.contains(QStringLiteral("澄岚测试有限公司 职员名单")),
            qPrintable(content.left(500)));
        // The column header and the rows make one table of 1 + 4 rows.
        QCOMPARE(content.count(QStringLiteral("<table:table ")), 1);
        QCOMPARE(content.count(QStringLiteral("<table:table-row")), 5);
        QVERIFY(content.indexOf(QStringLiteral("档案号")) < content.indexOf(QStringLiteral("007")));
        QVERIFY(content.contains(QStringLiteral("110108198001010003")));
        QVERIFY(!content.contains(QStringLiteral("第 1 页")));
        QVERIFY(content.contains(QStringLiteral("draw:image")));
    }

    void unwritablePlaceIsReported_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("pdf") << int(ReportExport::Format::Pdf);
        QTest::newRow("png") << int(ReportExport::Format::Png);
        QTest::newRow("xlsx") << int(ReportExport::Format::Xlsx);
        QTest::newRow("odt") << int(ReportExport::Format::Odt);
    }

    void unwritablePlaceIsReported()
    {
        QFETCH(int, format);
        Prepared p(2);
        const QString path = m_dir.filePath(QStringLiteral("no/such/folder/out.")
            + ReportExport::DefaultSuffix(ReportExport::Format(format)));
        QString error;
        QStringList written;
        bool ok = true;
        switch (ReportExport::Format(format)) {
        case ReportExport::Format::Pdf:
            ok = ReportExport::WritePdf(*p.renderer, path, &error);
            break;
        case ReportExport::Format::Png:
        case ReportExport::Format::Jpeg:
            ok = ReportExport::WriteImages(
                *p.renderer, path, ReportExport::Format(format), 50, &written, &error);
            break;
        case ReportExport::Format::Xlsx:
            ok = ReportExport::WriteXlsx(*p.renderer, path, &error);
            break;
        case ReportExport::Format::Odt:
            ok = ReportExport::WriteOdt(*p.renderer, path, &error);
            break;
        }
        QVERIFY(!ok);
        QVERIFY2(error.contains(QStringLiteral("无法写入文件")), qPrintable(error));
        QVERIFY(!QFileInfo::exists(path));
    }

    void printsTheChosenPages()
    {
        Prepared p(45);
        const QString path = m_dir.filePath(QStringLiteral("printed.pdf"));
        int asked = 0;
        ReportExport::SetPrintDialogRunner([&](QPrinter &printer, QWidget *) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(2, 2);
            return true;
        });
        QVERIFY(ReportExport::Print(*p.renderer, nullptr));
        QCOMPARE(asked, 1);
        QString error;
        const QString text = pdfText(path, &error);
        QCOMPARE(pdfPageCount(text), 1);
        QVERIFY2(QString(text).remove(QLatin1Char(' ')).contains(QStringLiteral("第2页共2页")),
            qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("职员名单")));
    }

    void cancelledPrintDialogPrintsNothing()
    {
        Prepared p(3);
        ReportExport::SetPrintDialogRunner([](QPrinter &, QWidget *) { return false; });
        QVERIFY(!ReportExport::Print(*p.renderer, nullptr));
    }

    void previewPagesThrough()
    {
        Prepared p(45);
        ReportPreview preview(listTemplate(), p.data);
        preview.show();
        QCOMPARE(preview.PageCount(), 2);
        QCOMPARE(preview.PageInfo1->text(), QStringLiteral(" / 2 页 "));
        QVERIFY(!preview.PriorAction1->isEnabled());
        QVERIFY(preview.NextAction1->isEnabled());
        preview.NextAction1->trigger();
        QCOMPARE(preview.CurrentPage(), 1);
        QCOMPARE(preview.PageEdit1->value(), 2);
        QVERIFY(!preview.NextAction1->isEnabled());
        preview.SetPage(7);
        QCOMPARE(preview.CurrentPage(), 1);
        preview.PageEdit1->setValue(1);
        QCOMPARE(preview.CurrentPage(), 0);
        QTest::keyClick(&preview, Qt::Key_PageDown);
        QCOMPARE(preview.CurrentPage(), 1);

        preview.SetZoom(1.0);
        const int width = preview.PageView1->pixmap().width();
        preview.SetZoom(2.0);
        QVERIFY(qAbs(preview.PageView1->pixmap().width() - 2 * width) <= 2);
    }

    void previewExportsWhereTheUserChose()
    {
        Prepared p(3);
        ReportPreview preview(listTemplate(), p.data);
        const QString path = m_dir.filePath(QStringLiteral("from-preview.xlsx"));
        QString filter;
        GridExport::SetSaveFileAsker([&](QWidget *, const QString &f, const QString &) {
            filter = f;
            return path;
        });
        preview.ExportXlsxAction1->trigger();
        QCOMPARE(filter, QStringLiteral("Excel 工作簿 (*.xlsx)"));
        XlsxReader reader;
        QVERIFY(reader.Open(path));

        ScriptedPrompter prompter;
        GridExport::SetSaveFileAsker([&](QWidget *, const QString &, const QString &) {
            return m_dir.filePath(QStringLiteral("missing/x.pdf"));
        });
        preview.ExportPdfAction1->trigger();
        QCOMPARE(prompter.shown().size(), 1);
        QVERIFY(prompter.lastText().contains(QStringLiteral("无法写入文件")));

        GridExport::SetSaveFileAsker(
            [&](QWidget *, const QString &, const QString &) { return QString(); });
        preview.ExportOdtAction1->trigger();
        QCOMPARE(prompter.shown().size(), 1);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_ReportExport)
#include "tst_reportexport.moc"
