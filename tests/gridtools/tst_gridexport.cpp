#include "Error.h"
#include "GridExport.h"
#include "GridFixture.h"
#include "Operator.h"
#include "TestSupport.h"
#include "XlsxReader.h"
#include "qmDBGrids.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>
#include <minizip/zip.h>

namespace {

// The save dialog and the desktop opener of one test: answers with a fixed
// path and records what was asked and opened.
class FileScript
{
public:
    explicit FileScript(QString answer)
        : m_answer(std::move(answer))
    {
        m_asker = GridExport::SetSaveFileAsker(
            [this](QWidget *, const QString &filter, const QString &suffix) {
                filters << filter + QLatin1Char('|') + suffix;
                return m_answer;
            });
        m_opener = GridExport::SetFileOpener([this](const QString &path) {
            opened << path;
            return true;
        });
    }
    ~FileScript()
    {
        GridExport::SetSaveFileAsker(m_asker);
        GridExport::SetFileOpener(m_opener);
    }
    QStringList filters;
    QStringList opened;

private:
    QString m_answer;
    GridExport::SaveFileAsker m_asker;
    GridExport::FileOpener m_opener;
};

QString readUtf8(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The cell texts of the first table of an HTML page, as a browser reads them.
QList<QStringList> htmlTable(const QString &html)
{
    QTextDocument document;
    document.setHtml(html);
    QList<QStringList> rows;
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        for (int r = 0; r < table->rows(); ++r) {
            QStringList row;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                QString text = cursor.selectedText();
                if (text.endsWith(QChar(0x00A0)))
                    text.chop(1);
                row << text;
            }
            rows << row;
        }
        break;
    }
    return rows;
}

// What the grid shows: captions of the shown columns, then each row's texts.
QList<QStringList> gridTable(const TqmGridBase &grid)
{
    QList<QStringList> rows;
    QStringList header;
    QVector<int> fields;
    for (int i = 0; i < grid.ColumnCount(); ++i) {
        if (!grid.ColumnVisible(i))
            continue;
        header << grid.ColumnCaption(i);
        fields << grid.ColumnField(i)->Index();
    }
    rows << header;
    const TDataSet *set = grid.DataSet();
    for (int r = 0; r < set->RecordCount(); ++r) {
        QStringList row;
        for (int f : fields)
            row << set->DisplayTextAt(r, f);
        rows << row;
    }
    return rows;
}

QList<QStringList> sheetTable(const XlsxReader::Sheet &sheet, int columns)
{
    QList<QStringList> rows;
    for (int r = 0; r < sheet.RowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row << sheet.Text(r, c);
        rows << row;
    }
    return rows;
}

// A stored part of a hand-made workbook.
struct Part
{
    const char *name;
    QByteArray content;
};

bool writeZip(const QString &path, const QList<Part> &parts)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    for (const Part &part : parts) {
        if (zipOpenNewFileInZip64(zip, part.name, nullptr, nullptr, 0, nullptr, 0, nullptr,
                Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0)
            != ZIP_OK)
            return false;
        zipWriteInFileInZip(
            zip, part.content.constData(), static_cast<unsigned>(part.content.size()));
        zipCloseFileInZip(zip);
    }
    return zipClose(zip, nullptr) == ZIP_OK;
}

class CancelAt : public TExportProgress
{
public:
    explicit CancelAt(int row)
        : m_row(row)
    { }
    bool Update(int done, int) override
    {
        ++calls;
        return done < m_row;
    }
    int calls = 0;

private:
    int m_row;
};

} // namespace

class tst_GridExport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void xlsxHoldsShownColumnsAsText();
    void xlsxOfEmptySetHasHeaderOnly();
    void openQuestionPerGridKind_data();
    void openQuestionPerGridKind();
    void cancelledSaveWritesNothing_data();
    void cancelledSaveWritesNothing();
    void unwritableFileIsReported_data();
    void unwritableFileIsReported();
    void cancelledExportLeavesNoFile_data();
    void cancelledExportLeavesNoFile();
    void longExportWithProgress();
    void htmlOfEmptySet();
    void htmlEscapesTexts();
    void htmlGetsDefaultSuffix();

    void readerReadsHandMadeWorkbook();
    void readerRejectsNonWorkbook();
    void serialDates_data();
    void serialDates();
    void columnReferences_data();
    void columnReferences();

private:
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<TStaffSet> m_set;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_GridExport::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_dir = std::make_unique<QTemporaryDir>();
    m_set = std::make_unique<TStaffSet>();
    m_set->fillSample();
    m_set->add(6, QStringLiteral("000"), QStringLiteral("李<四>"), QStringLiteral("R&D \"一部\""),
        1.5, 33, QDate(2020, 2, 29), QStringLiteral("<b>粗体</b> & 'x'"));
    TheOperator->Clear();
    TheOperator->LoginId = QStringLiteral("sa");
    GridExport::SetProgressShown(false);
}

void tst_GridExport::cleanup()
{
    m_set.reset();
    m_prompter.reset();
    m_dir.reset();
    TheOperator->Clear();
}

void tst_GridExport::xlsxHoldsShownColumnsAsText()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    grid.SetColumnVisible(grid.ColumnOf(QStringLiteral("Age")), false);
    grid.MoveColumn(grid.ColumnOf(QStringLiteral("Dept")), 0);
    m_set->DataSet()->SetCurrentRow(2);

    const QString path = m_dir->filePath(QStringLiteral("名单.xlsx"));
    FileScript files(path);
    m_prompter->answer(MessageButton::No);
    grid.ActionExport2Excel->trigger();
    QCOMPARE(m_prompter->texts(),
        QStringList{QStringLiteral("\r\n导出成功, 共 6 条记录,是否现在就打开?    ")});
    QCOMPARE(m_prompter->shown().first().buttons, MessageButton::Yes | MessageButton::No);
    QVERIFY(files.opened.isEmpty());
    // The export reads rows by position: the cursor has not moved.
    QCOMPARE(m_set->DataSet()->CurrentRow(), 2);

    XlsxReader reader;
    QVERIFY2(reader.Open(path), qPrintable(reader.ErrorString()));
    XlsxReader::Sheet sheet;
    QVERIFY(reader.ReadSheet(0, &sheet));
    const QList<QStringList> expected = gridTable(grid);
    const int columns = static_cast<int>(expected.first().size());
    QCOMPARE(expected.first().first(), QStringLiteral("部门"));
    QVERIFY(!expected.first().contains(QStringLiteral("年龄")));
    QCOMPARE(sheetTable(sheet, columns), expected);
    QCOMPARE(sheet.ColumnCount(), columns);

    // Every cell, empty ones and the header included, is text-formatted.
    for (int r = 0; r < sheet.RowCount(); ++r)
        for (int c = 0; c < columns; ++c)
            QVERIFY2(sheet.CellAt(r, c).IsTextFormat(),
                qPrintable(QStringLiteral("cell %1,%2").arg(r).arg(c)));
    const int code = static_cast<int>(expected.first().indexOf(QStringLiteral("编号")));
    QCOMPARE(sheet.CellAt(1, code).Text, QStringLiteral("007"));
    QCOMPARE(sheet.CellAt(1, code).Type, XlsxReader::CellType::String);
    const int salary = static_cast<int>(expected.first().indexOf(QStringLiteral("工资")));
    QCOMPARE(sheet.CellAt(1, salary).Type, XlsxReader::CellType::String);
    QCOMPARE(sheet.CellAt(4, salary).Type, XlsxReader::CellType::Empty);
}

void tst_GridExport::xlsxOfEmptySetHasHeaderOnly()
{
    TStaffSet empty;
    TqmDBGrid grid;
    grid.SetDataSet(empty.DataSet());
    const QString path = m_dir->filePath(QStringLiteral("empty.xlsx"));
    FileScript files(path);
    grid.ActionExport2Excel->trigger();
    XlsxReader reader;
    QVERIFY(reader.Open(path));
    XlsxReader::Sheet sheet;
    QVERIFY(reader.ReadSheet(0, &sheet));
    QCOMPARE(sheet.RowCount(), 1);
    QCOMPARE(sheet.Rows.first().size(), 7);
    QCOMPARE(sheet.Text(0, 1), QStringLiteral("姓名"));
}

void tst_GridExport::openQuestionPerGridKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("yes");
    const int yesNo = int(MessageButton::Yes | MessageButton::No);
    const int okCancel = int(MessageButton::Ok | MessageButton::Cancel);
    const QString cx = QStringLiteral("\r\n导出成功, 共 6 条记录,是否现在就打开?    ");
    const QString db = QStringLiteral("\r\n导出成功,是否现在就打开?    ");
    QTest::newRow("cx xlsx") << "cx"
                             << "xlsx" << cx << yesNo << int(MessageButton::Yes);
    QTest::newRow("db xlsx") << "db"
                             << "xlsx" << db << yesNo << int(MessageButton::Yes);
    QTest::newRow("cx html") << "cx"
                             << "html" << cx << okCancel << int(MessageButton::Ok);
    QTest::newRow("db html") << "db"
                             << "html" << db << okCancel << int(MessageButton::Ok);
}

void tst_GridExport::openQuestionPerGridKind()
{
    QFETCH(QString, kind);
    QFETCH(QString, format);
    QFETCH(QString, question);
    QFETCH(int, buttons);
    QFETCH(int, yes);
    std::unique_ptr<TqmGridBase> grid;
    if (kind == QLatin1String("cx"))
        grid = std::make_unique<TqmGridcx>();
    else
        grid = std::make_unique<TqmDBGrid>();
    grid->SetDataSet(m_set->DataSet());
    const QString path = m_dir->filePath(QStringLiteral("list.") + format);
    FileScript files(path);
    m_prompter->answer(static_cast<MessageButton>(yes));
    (format == QLatin1String("xlsx") ? grid->ActionExport2Excel : grid->ActionExport2Html)
        ->trigger();
    QCOMPARE(m_prompter->texts(), QStringList{question});
    QCOMPARE(int(m_prompter->shown().first().buttons), buttons);
    QCOMPARE(files.opened, QStringList{path});
    QCOMPARE(files.filters.size(), 1);
    QVERIFY(files.filters.first().endsWith(QLatin1Char('|') + format));
}

void tst_GridExport::cancelledSaveWritesNothing_data()
{
    QTest::addColumn<bool>("xlsx");
    QTest::newRow("xlsx") << true;
    QTest::newRow("html") << false;
}

void tst_GridExport::cancelledSaveWritesNothing()
{
    QFETCH(bool, xlsx);
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    FileScript files{QString()};
    (xlsx ? grid.ActionExport2Excel : grid.ActionExport2Html)->trigger();
    QCOMPARE(files.filters.size(), 1);
    QVERIFY(m_prompter->shown().isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void tst_GridExport::unwritableFileIsReported_data()
{
    QTest::addColumn<bool>("xlsx");
    QTest::newRow("xlsx") << true;
    QTest::newRow("html") << false;
}

void tst_GridExport::unwritableFileIsReported()
{
    QFETCH(bool, xlsx);
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    const QString path
        = m_dir->filePath(QStringLiteral("no-such-folder/list.") + (xlsx ? "xlsx" : "html"));
    FileScript files(path);
    (xlsx ? grid.ActionExport2Excel : grid.ActionExport2Html)->trigger();
    // One message naming the file, and no "导出成功" question.
    QCOMPARE(m_prompter->shown().size(), 1);
    QCOMPARE(m_prompter->shown().first().kind, MessageKind::Information);
    QVERIFY(m_prompter->lastText().contains(path));
    QVERIFY(!m_prompter->lastText().contains(QStringLiteral("成功")));
    QVERIFY(files.opened.isEmpty());
}

void tst_GridExport::cancelledExportLeavesNoFile_data()
{
    QTest::addColumn<bool>("xlsx");
    QTest::newRow("xlsx") << true;
    QTest::newRow("html") << false;
}

void tst_GridExport::cancelledExportLeavesNoFile()
{
    QFETCH(bool, xlsx);
    TStaffSet big;
    for (int i = 0; i < 1200; ++i)
        big.add(i, QString::number(i), QStringLiteral("员工%1").arg(i), QString(), i, i, QDate());
    const TExportColumns columns{{QStringLiteral("编号"), QStringLiteral("Code")}};
    const QString path
        = m_dir->filePath(xlsx ? QStringLiteral("big.xlsx") : QStringLiteral("big.html"));
    CancelAt cancel(500);
    const bool written = xlsx ? GridExport::WriteXlsx(path, *big.DataSet(), columns, &cancel)
                              : GridExport::WriteHtml(path, *big.DataSet(), columns, &cancel);
    QVERIFY(!written);
    QCOMPARE(cancel.calls, 2);
    QVERIFY(!QFile::exists(path));
}

void tst_GridExport::longExportWithProgress()
{
    TStaffSet big;
    for (int i = 0; i < 2500; ++i)
        big.add(i, QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')),
            QStringLiteral("员工%1").arg(i), QStringLiteral("部门%1").arg(i % 7), i * 1.5, i % 60,
            QDate(2000, 1, 1).addDays(i));
    TqmGridcx grid;
    grid.SetDataSet(big.DataSet());
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    GridExport::SetProgressShown(true);
    const QString path = m_dir->filePath(QStringLiteral("long.xlsx"));
    FileScript files(path);
    grid.ActionExport2Excel->trigger();
    QCOMPARE(m_prompter->texts(),
        QStringList{QStringLiteral("\r\n导出成功, 共 2500 条记录,是否现在就打开?    ")});
    XlsxReader reader;
    QVERIFY(reader.Open(path));
    XlsxReader::Sheet sheet;
    QVERIFY(reader.ReadSheet(0, &sheet));
    QCOMPARE(sheet.RowCount(), 2501);
    QCOMPARE(sheet.Text(2500, 0), QStringLiteral("002499"));
    QCOMPARE(sheet.Text(1, 5), QStringLiteral("2000-01-01"));
}

void tst_GridExport::htmlOfEmptySet()
{
    TStaffSet empty;
    TqmGridcx grid;
    grid.SetDataSet(empty.DataSet());
    grid.SetLayout(QStringLiteral("Name=True90\r\nCode=True60"));
    const QString path = m_dir->filePath(QStringLiteral("empty.html"));
    FileScript files(path);
    grid.ActionExport2Html->trigger();
    QCOMPARE(readUtf8(path),
        QStringLiteral("<html>\r\n<head>\r\n<meta "
                       "charset=\"utf-8\">\r\n<title></title>\r\n</head>\r\n<body>\r\n"
                       "<table>\r\n<tr>\r\n<td nowrap>姓名&nbsp;</td>\r\n<td "
                       "nowrap>编号&nbsp;</td>\r\n</tr>\r\n"
                       "</table>\r\n</body>\r\n</html>\r\n"));
}

void tst_GridExport::htmlEscapesTexts()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    const QString path = m_dir->filePath(QStringLiteral("list.html"));
    FileScript files(path);
    grid.ActionExport2Html->trigger();
    const QString html = readUtf8(path);
    QVERIFY(html.contains(QStringLiteral("\r\n<td nowrap>李&lt;四&gt;&nbsp;</td>\r\n")));
    QVERIFY(html.contains(QStringLiteral("<td nowrap>R&amp;D &quot;一部&quot;&nbsp;</td>")));
    QVERIFY(html.contains(
        QStringLiteral("<td nowrap>&lt;b&gt;粗体&lt;/b&gt; &amp; &#39;x&#39;&nbsp;</td>")));
    QVERIFY(!html.contains(QStringLiteral("<b>")));
    // Read back as a browser would, every cell holds exactly the grid's text.
    QCOMPARE(htmlTable(html), gridTable(grid));
}

void tst_GridExport::htmlGetsDefaultSuffix()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    FileScript files(m_dir->filePath(QStringLiteral("list")));
    m_prompter->answer(MessageButton::Cancel);
    grid.ActionExport2Html->trigger();
    QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("list.html"))));
    QCOMPARE(files.filters, QStringList{QStringLiteral("网页文件 (*.htm *.html)|html")});
    QVERIFY(files.opened.isEmpty());
}

void tst_GridExport::readerReadsHandMadeWorkbook()
{
    const QByteArray rels = R"(<?xml version="1.0"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>)";
    const QByteArray workbook = R"(<?xml version="1.0"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:rel="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<workbookPr date1904="false"/>
<sheets><sheet name="名单" sheetId="1" rel:id="rId7"/><sheet name="第二页" sheetId="2" rel:id="rId8"/></sheets>
</workbook>)";
    const QByteArray workbookRels = R"(<?xml version="1.0"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/sheets/two.xml"/>
<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="sheets/list.xml"/>
<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/>
<Relationship Id="rId10" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="./styles.xml"/>
</Relationships>)";
    const QByteArray strings = R"(<?xml version="1.0"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<si><t>工号</t></si>
<si><r><t>张</t></r><r><rPr><b/></rPr><t>三</t></r><rPh sb="0" eb="1"><t>ZHANG</t></rPh></si>
<si><t xml:space="preserve"> 007 </t></si>
<si><t>line_x000D_break</t></si>
</sst>)";
    const QByteArray styles = R"(<?xml version="1.0"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts>
<cellStyleXfs count="1"><xf numFmtId="3"/></cellStyleXfs>
<cellXfs count="5"><xf numFmtId="0"/><xf numFmtId="49"/><xf numFmtId="164"/><xf numFmtId="14"/><xf numFmtId="4"/></cellXfs>
</styleSheet>)";
    const QByteArray list = R"(<?xml version="1.0"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
<row r="1"><c r="A1" t="s" s="1"><v>0</v></c><c r="C1" t="inlineStr"><is><t>内联</t></is></c></row>
<row r="2"><c r="A2" t="s"><v>1</v></c><c r="B2" s="2"><v>40909</v></c><c r="C2" t="b"><v>1</v></c></row>
<row r="4"><c t="s" s="1"><v>2</v></c><c t="str"><f>A1</f><v>公式</v></c><c s="3"><v>12.5</v></c><c t="e"><v>#DIV/0!</v></c><c s="4"><v>1234.5</v></c></row>
<row><c r="AA5" t="s"><v>3</v></c></row>
</sheetData></worksheet>)";
    const QByteArray two = R"(<?xml version="1.0"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
<row r="1"><c r="B1"><v>3</v></c></row></sheetData></worksheet>)";
    const QString path = m_dir->filePath(QStringLiteral("hand.xlsx"));
    QVERIFY(writeZip(path,
        {{"_rels/.rels", rels}, {"xl/workbook.xml", workbook},
            {"xl/_rels/workbook.xml.rels", workbookRels}, {"xl/strings.xml", strings},
            {"xl/styles.xml", styles}, {"xl/sheets/list.xml", list}, {"xl/sheets/two.xml", two}}));

    XlsxReader reader;
    QVERIFY2(reader.Open(path), qPrintable(reader.ErrorString()));
    QCOMPARE(reader.SheetNames(), (QStringList{"名单", "第二页"}));
    QVERIFY(!reader.Date1904());
    XlsxReader::Sheet sheet;
    QVERIFY2(reader.ReadSheet(0, &sheet), qPrintable(reader.ErrorString()));
    QCOMPARE(sheet.Name, QStringLiteral("名单"));
    QCOMPARE(sheet.RowCount(), 5);

    QCOMPARE(sheet.Text(0, 0), QStringLiteral("工号"));
    QVERIFY(sheet.CellAt(0, 0).IsTextFormat());
    QVERIFY(sheet.CellAt(0, 1).IsEmpty());
    QCOMPARE(sheet.Text(0, 2), QStringLiteral("内联"));
    // Runs are joined; the phonetic guide is not part of the text.
    QCOMPARE(sheet.Text(1, 0), QStringLiteral("张三"));
    QVERIFY(!sheet.CellAt(1, 0).IsTextFormat());
    const XlsxReader::Cell date = sheet.CellAt(1, 1);
    QCOMPARE(date.Type, XlsxReader::CellType::Number);
    QVERIFY(date.IsDate());
    QCOMPARE(XlsxReader::SerialToDateTime(date.Text.toDouble()).date(), QDate(2012, 1, 1));
    QCOMPARE(sheet.CellAt(1, 2).Type, XlsxReader::CellType::Boolean);
    QCOMPARE(sheet.Text(1, 2), QStringLiteral("TRUE"));
    QVERIFY(sheet.Rows[2].isEmpty());
    QCOMPARE(sheet.Text(3, 0), QStringLiteral(" 007 "));
    QVERIFY(sheet.CellAt(3, 0).IsTextFormat());
    QCOMPARE(sheet.Text(3, 1), QStringLiteral("公式"));
    QCOMPARE(sheet.CellAt(3, 1).Type, XlsxReader::CellType::String);
    QVERIFY(sheet.CellAt(3, 2).IsDate());
    QCOMPARE(sheet.CellAt(3, 3).Type, XlsxReader::CellType::Error);
    QCOMPARE(sheet.Text(3, 3), QStringLiteral("#DIV/0!"));
    QCOMPARE(sheet.Text(3, 4), QStringLiteral("1234.5"));
    QVERIFY(!sheet.CellAt(3, 4).IsDate());
    QCOMPARE(sheet.Text(4, 26), QStringLiteral("line\rbreak"));

    QVERIFY(reader.ReadSheet(1, &sheet));
    QCOMPARE(sheet.Text(0, 1), QStringLiteral("3"));
    QVERIFY(!reader.ReadSheet(2, &sheet));
}

void tst_GridExport::readerRejectsNonWorkbook()
{
    XlsxReader reader;
    QVERIFY(!reader.Open(m_dir->filePath(QStringLiteral("missing.xlsx"))));
    QVERIFY(!reader.ErrorString().isEmpty());

    const QString text = m_dir->filePath(QStringLiteral("text.xlsx"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a zip");
    file.close();
    QVERIFY(!reader.Open(text));

    const QString noWorkbook = m_dir->filePath(QStringLiteral("other.zip"));
    QVERIFY(writeZip(noWorkbook, {{"readme.txt", "hello"}}));
    QVERIFY(!reader.Open(noWorkbook));
    QCOMPARE(reader.SheetCount(), 0);
}

void tst_GridExport::serialDates_data()
{
    QTest::addColumn<double>("serial");
    QTest::addColumn<bool>("date1904");
    QTest::addColumn<QDateTime>("expected");
    QTest::newRow("first day") << 1.0 << false << QDateTime(QDate(1900, 1, 1), QTime(0, 0));
    QTest::newRow("before the phantom leap day")
        << 59.0 << false << QDateTime(QDate(1900, 2, 28), QTime(0, 0));
    QTest::newRow("after the phantom leap day")
        << 61.0 << false << QDateTime(QDate(1900, 3, 1), QTime(0, 0));
    QTest::newRow("noon") << 40909.5 << false << QDateTime(QDate(2012, 1, 1), QTime(12, 0));
    QTest::newRow("1904 system") << 0.0 << true << QDateTime(QDate(1904, 1, 1), QTime(0, 0));
}

void tst_GridExport::serialDates()
{
    QFETCH(double, serial);
    QFETCH(bool, date1904);
    QFETCH(QDateTime, expected);
    QCOMPARE(XlsxReader::SerialToDateTime(serial, date1904), expected);
}

void tst_GridExport::columnReferences_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<int>("column");
    QTest::newRow("A1") << "A1" << 0;
    QTest::newRow("Z9") << "Z9" << 25;
    QTest::newRow("AA5") << "AA5" << 26;
    QTest::newRow("last column") << "XFD1048576" << 16383;
    QTest::newRow("no letters") << "12" << -1;
}

void tst_GridExport::columnReferences()
{
    QFETCH(QString, reference);
    QFETCH(int, column);
    QCOMPARE(XlsxReader::ColumnIndex(reference), column);
}

QTEST_MAIN(tst_GridExport)
#include "tst_gridexport.moc"
