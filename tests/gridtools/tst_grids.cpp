#include "GridExport.h"
#include "GridFixture.h"
#include "Operator.h"
#include "Sort.h"
#include "TestSupport.h"
#include "a.h"
#include "qmCtrls.h"
#include "qmDBGrids.h"
#include "xVisible.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

QString rightsMessage(int right)
{
    return QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(%1).\t").arg(right);
}

QStringList captions(const TqmGridBase &grid)
{
    QStringList list;
    for (int i = 0; i < grid.ColumnCount(); ++i)
        list << grid.ColumnCaption(i);
    return list;
}

// Installs a modal runner for one test and counts the dialogs it was given.
class DialogScript
{
public:
    explicit DialogScript(std::function<int(QDialog &)> script = {})
        : m_script(std::move(script))
    {
        m_previous = SetModalRunner([this](QDialog &dialog) {
            ++runs;
            titles << dialog.windowTitle();
            return m_script ? m_script(dialog) : int(QDialog::Rejected);
        });
    }
    ~DialogScript() { SetModalRunner(m_previous); }
    int runs = 0;
    QStringList titles;

private:
    std::function<int(QDialog &)> m_script;
    ModalRunner m_previous;
};

std::unique_ptr<TqmGridBase> makeGrid(const QString &kind)
{
    if (kind == QLatin1String("cx"))
        return std::make_unique<TqmGridcx>();
    return std::make_unique<TqmDBGrid>();
}

} // namespace

class tst_Grids : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void columnsComeFromVisibleFields();
    void columnWidthsFromDisplayWidths();
    void rowsNumberedFromOne();
    void cursorAndViewMoveTogether();
    void footerSums();
    void footerFormats_data();
    void footerFormats();
    void evenRowsTinted();
    void titleClickSorts();
    void shiftClickAddsKey();
    void mouseOnTitleSorts();
    void titleMarksGoWhenSortedElsewhere();
    void sortDialogReadsSortText_data();
    void sortDialogReadsSortText();
    void sortDialogListsSortableFields();
    void sortDialogButtonsAndCycle();
    void sortCommandRoundTrip();
    void columnChooserHidesAndShows_data();
    void columnChooserHidesAndShows();
    void refusedWithoutRight_data();
    void refusedWithoutRight();
    void needsOpenDataSet_data();
    void needsOpenDataSet();
    void popupMenuAndActions();
    void refreshCaptionsAndCounts();
    void draggedColumnKeepsItsPlace();

private:
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<TStaffSet> m_set;
};

void tst_Grids::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_set = std::make_unique<TStaffSet>();
    m_set->fillSample();
    TheOperator->Clear();
    TheOperator->LoginId = QStringLiteral("sa");
}

void tst_Grids::cleanup()
{
    m_set.reset();
    m_prompter.reset();
    TheOperator->Clear();
}

void tst_Grids::columnsComeFromVisibleFields()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    // Id is hidden; the memo is a visible field, so it gets a column.
    QCOMPARE(
        captions(grid), (QStringList{"编号", "姓名", "部门", "工资", "年龄", "入职日期", "备注"}));
    QCOMPARE(grid.ColumnFieldName(1), QStringLiteral("Name"));
    const QAbstractItemModel *model = grid.TableView()->model();
    QCOMPARE(model->columnCount(), 7);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("姓名"));
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("007"));
    QCOMPARE(model->index(0, 5).data().toString(), QStringLiteral("2010-03-01"));
    QCOMPARE(model->index(3, 3).data().toString(), QString());

    // Columns are bound by name: after a refill with the same fields they
    // still show the same fields.
    m_set->DataSet()->Close();
    m_set->CreateDataSet();
    m_set->add(
        9, QStringLiteral("099"), QStringLiteral("钱七"), QStringLiteral("人事部"), 1, 2, QDate());
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("钱七"));
}

void tst_Grids::columnWidthsFromDisplayWidths()
{
    const QFontMetrics metrics(QApplication::font());
    TQmClientDataSet set;
    TField *plain = set.AddFieldDef(FieldKind::WideString, QStringLiteral("A"), 30);
    TField *wide = set.AddFieldDef(FieldKind::WideString, QStringLiteral("B"), 30);
    TField *narrow = set.AddFieldDef(
        FieldKind::WideString, QStringLiteral("C"), 30, true, QStringLiteral("很长很长的列标题"));
    wide->SetDisplayWidth(75);
    narrow->SetDisplayWidth(2);
    // 75 characters is the record sets' blanket value: the field's own size caps it.
    QCOMPARE(TqmGridBase::DefaultColumnWidth(wide, metrics),
        TqmGridBase::DefaultColumnWidth(plain, metrics));
    QVERIFY(TqmGridBase::DefaultColumnWidth(plain, metrics) < 400);
    // A tiny display width still leaves the caption readable.
    QVERIFY(TqmGridBase::DefaultColumnWidth(narrow, metrics)
        >= metrics.horizontalAdvance(narrow->DisplayLabel()));
    QVERIFY(TqmGridBase::DefaultColumnWidth(narrow, metrics)
        < TqmGridBase::DefaultColumnWidth(plain, metrics));

    set.CreateDataSet();
    TqmDBGrid grid;
    grid.SetDataSet(set.DataSet());
    QCOMPARE(grid.ColumnWidth(2),
        TqmGridBase::DefaultColumnWidth(narrow, grid.TableView()->fontMetrics()));
    QCOMPARE(grid.TableView()->horizontalHeader()->sectionSize(2), grid.ColumnWidth(2));
}

void tst_Grids::rowsNumberedFromOne()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    const QAbstractItemModel *model = grid.View()->model();
    QCOMPARE(model->headerData(0, Qt::Vertical).toInt(), 1);
    QCOMPARE(model->headerData(4, Qt::Vertical).toInt(), 5);
    auto *corner = grid.View()->findChild<QAbstractButton *>(QStringLiteral("IndicatorCorner"));
    QVERIFY(corner);
    QCOMPARE(corner->text(), QStringLiteral("NO"));
    QVERIFY(grid.View()->verticalHeader()->width() >= 30
        || grid.View()->verticalHeader()->minimumWidth() >= 30);

    // The focused row's number is bold, and only that one.
    m_set->DataSet()->SetCurrentRow(2);
    QVERIFY(model->headerData(2, Qt::Vertical, Qt::FontRole).value<QFont>().bold());
    QVERIFY(!model->headerData(0, Qt::Vertical, Qt::FontRole).value<QFont>().bold());
}

void tst_Grids::cursorAndViewMoveTogether()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    QTableView *view = grid.View();
    TDataSet *set = m_set->DataSet();
    QSignalSpy selects(&grid, &TqmGridBase::OnSelectChanged);

    set->SetCurrentRow(3);
    QCOMPARE(view->currentIndex().row(), 3);
    QCOMPARE(grid.SelectedCount(), 1);

    view->setCurrentIndex(view->model()->index(1, 2));
    QCOMPARE(set->CurrentRow(), 1);
    QCOMPARE(m_set->Name->AsString(), QStringLiteral("李四"));
    QVERIFY(!selects.isEmpty());
    QCOMPARE(selects.last().at(0).toBool(), true);

    // Sorting moves the rows; the cursor stays on its record and the view
    // follows it there.
    DataSetSort::ApplySort(set, QStringLiteral("Name ASC"));
    QCOMPARE(m_set->Name->AsString(), QStringLiteral("李四"));
    QCOMPARE(view->currentIndex().row(), set->CurrentRow());
    QCOMPARE(view->model()->index(view->currentIndex().row(), 1).data().toString(),
        QStringLiteral("李四"));

    // A row appended in the set becomes current in the view too.
    m_set->add(6, QStringLiteral("030"), QStringLiteral("孙八"), QStringLiteral("人事部"), 100, 20,
        QDate());
    QCOMPARE(grid.RowCount(), 6);
    QCOMPARE(view->currentIndex().row(), 5);
}

void tst_Grids::footerSums()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    QVERIFY(!grid.FooterVisible());
    grid.AddFooterSum(m_set->Salary);
    grid.AddFooterSum(m_set->Age);
    grid.SetFooterText(QStringLiteral("Name"), QStringLiteral("合计:"));
    QVERIFY(grid.FooterVisible());
    // NULLs count as nothing; the float sum keeps two decimals at most.
    QCOMPARE(grid.FooterText(QStringLiteral("Salary")), QStringLiteral("15100.75"));
    QCOMPARE(grid.FooterText(QStringLiteral("Age")), QStringLiteral("148"));
    QCOMPARE(grid.FooterText(QStringLiteral("Name")), QStringLiteral("合计:"));
    QCOMPARE(grid.FooterText(QStringLiteral("Dept")), QString());

    // The sums follow edits, appends and deletes of the cached rows.
    TDataSet *set = m_set->DataSet();
    set->SetCurrentRow(3);
    set->Edit();
    m_set->Salary->SetValue(99.25);
    set->Post();
    QCOMPARE(grid.FooterText(QStringLiteral("Salary")), QStringLiteral("15200"));
    set->SetCurrentRow(0);
    set->Delete();
    QCOMPARE(grid.FooterText(QStringLiteral("Age")), QStringLiteral("118"));
    m_set->add(7, QStringLiteral("040"), QStringLiteral("周九"), QString(), 0.5, 2, QDate());
    QCOMPARE(grid.FooterText(QStringLiteral("Salary")), QStringLiteral("12000"));

    // The footer strip paints without the view losing its place.
    grid.resize(600, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QVERIFY(grid.Footer()->isVisible());
    QVERIFY(grid.Footer()->geometry().top() >= grid.View()->geometry().bottom());
}

void tst_Grids::footerFormats_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer rounds") << "0" << 12.5 << "13";
    QTest::newRow("integer of a whole") << "0" << 40.0 << "40";
    QTest::newRow("optional decimals used") << "0.##" << 12.5 << "12.5";
    QTest::newRow("optional decimals dropped") << "0.##" << 12.0 << "12";
    QTest::newRow("optional decimals rounded") << "0.##" << 2.0 / 3 << "0.67";
    QTest::newRow("fixed decimals") << "0.00" << 3.0 << "3.00";
    QTest::newRow("point without digits") << "0." << 7.4 << "7";
    QTest::newRow("thousands") << "#,##0" << 1234567.0 << "1,234,567";
    QTest::newRow("negative") << "0.##" << -2.25 << "-2.25";
    QTest::newRow("negative rounding to zero") << "0" << -0.4 << "0";
}

void tst_Grids::footerFormats()
{
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(TqmGridBase::FormatFloat(format, value), text);
}

void tst_Grids::evenRowsTinted()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    grid.resize(700, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QTableView *view = grid.View();
    // Row 0 is current and selected; rows 1 and 2 are not.
    const QImage image = view->viewport()->grab().toImage();
    auto background = [&](int row) {
        const QRect cell = view->visualRect(view->model()->index(row, 0));
        return QColor(image.pixel(cell.right() - 3, cell.center().y()));
    };
    QCOMPARE(background(2), TqmGridcx::EvenRowColor);
    QCOMPARE(background(4), TqmGridcx::EvenRowColor);
    QVERIFY(background(1) != TqmGridcx::EvenRowColor);
    QVERIFY(background(0) != TqmGridcx::EvenRowColor);

    TqmDBGrid plain;
    plain.SetDataSet(m_set->DataSet());
    plain.resize(700, 300);
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    const QImage other = plain.TableView()->viewport()->grab().toImage();
    const QRect cell = plain.TableView()->visualRect(plain.TableView()->model()->index(2, 0));
    QVERIFY(QColor(other.pixel(cell.right() - 3, cell.center().y())) != TqmGridcx::EvenRowColor);
}

void tst_Grids::titleClickSorts()
{
    TqmDBGrid grid;
    grid.SetDataSet(m_set->DataSet());
    TDataSet *set = m_set->DataSet();
    const int name = grid.ColumnOf(QStringLiteral("Name"));
    const QAbstractItemModel *model = grid.TableView()->model();

    grid.ClickTitle(name);
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Name"));
    QCOMPARE(columnTexts(set, QStringLiteral("Name")),
        (QStringList{"阿明", "李四", "王五", "张三", "赵六"}));
    QCOMPARE(model->headerData(name, Qt::Horizontal).toString(), QStringLiteral("姓名 ▼"));

    grid.ClickTitle(name);
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Name DESC "));
    QCOMPARE(columnTexts(set, QStringLiteral("Name")),
        (QStringList{"赵六", "张三", "王五", "李四", "阿明"}));
    QCOMPARE(model->headerData(name, Qt::Horizontal).toString(), QStringLiteral("姓名 ▲"));

    // The third click removes the mark and the rows return to their order of loading.
    grid.ClickTitle(name);
    QCOMPARE(DataSetSort::CurrentSort(set), QString());
    QCOMPARE(columnTexts(set, QStringLiteral("Name")),
        (QStringList{"张三", "李四", "王五", "赵六", "阿明"}));
    QCOMPARE(model->headerData(name, Qt::Horizontal).toString(), QStringLiteral("姓名"));

    // A plain click on another title sorts by that column alone.
    grid.ClickTitle(name);
    grid.ClickTitle(grid.ColumnOf(QStringLiteral("Code")));
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Code"));
    QCOMPARE(model->headerData(name, Qt::Horizontal).toString(), QStringLiteral("姓名"));
    QCOMPARE(
        columnTexts(set, QStringLiteral("Code")), (QStringList{"001", "003", "007", "012", "020"}));

    // The other grid kind does not sort on title clicks.
    TqmGridcx cx;
    TStaffSet other;
    other.fillSample();
    cx.SetDataSet(other.DataSet());
    cx.resize(600, 300);
    cx.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cx));
    QTest::mouseClick(cx.View()->horizontalHeader()->viewport(), Qt::LeftButton, {},
        QPoint(cx.View()->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(DataSetSort::CurrentSort(other.DataSet()), QString());
}

void tst_Grids::shiftClickAddsKey()
{
    TqmDBGrid grid;
    grid.SetDataSet(m_set->DataSet());
    TDataSet *set = m_set->DataSet();
    const int dept = grid.ColumnOf(QStringLiteral("Dept"));
    const int name = grid.ColumnOf(QStringLiteral("Name"));

    grid.ClickTitle(dept);
    grid.ClickTitle(name, true);
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Dept, Name"));
    // 财务部 before 销售部 in pinyin, names in pinyin within each.
    QCOMPARE(columnTexts(set, QStringLiteral("Name")),
        (QStringList{"李四", "赵六", "阿明", "王五", "张三"}));

    grid.ClickTitle(name, true);
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Dept, Name DESC "));
    QCOMPARE(columnTexts(set, QStringLiteral("Name")),
        (QStringList{"赵六", "李四", "张三", "王五", "阿明"}));

    grid.ClickTitle(dept, true);
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Dept DESC , Name DESC "));
    QCOMPARE(columnTexts(set, QStringLiteral("Name")),
        (QStringList{"张三", "王五", "阿明", "赵六", "李四"}));
    QCOMPARE(grid.TableView()->model()->headerData(dept, Qt::Horizontal).toString(),
        QStringLiteral("部门 ▲"));

    // Taking the first key away keeps the second.
    grid.ClickTitle(dept, true);
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Name DESC "));
}

void tst_Grids::mouseOnTitleSorts()
{
    TqmDBGrid grid;
    grid.SetDataSet(m_set->DataSet());
    grid.resize(800, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QHeaderView *header = grid.TableView()->horizontalHeader();
    auto titlePoint = [&](const QString &field) {
        const int column = grid.ColumnOf(field);
        return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
            header->height() / 2);
    };
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, titlePoint(QStringLiteral("Dept")));
    QTest::mouseClick(
        header->viewport(), Qt::LeftButton, Qt::ShiftModifier, titlePoint(QStringLiteral("Code")));
    QCOMPARE(DataSetSort::CurrentSort(m_set->DataSet()), QStringLiteral("Dept, Code"));
    QCOMPARE(columnTexts(m_set->DataSet(), QStringLiteral("Code")),
        (QStringList{"012", "020", "001", "003", "007"}));
    // A title click must not select the column's cells.
    QCOMPARE(grid.SelectedCount(), 1);
}

void tst_Grids::titleMarksGoWhenSortedElsewhere()
{
    TqmDBGrid grid;
    grid.SetDataSet(m_set->DataSet());
    const int name = grid.ColumnOf(QStringLiteral("Name"));
    grid.ClickTitle(name);
    // The rows are refilled: the old marks no longer describe their order.
    m_set->DataSet()->Close();
    m_set->CreateDataSet();
    m_set->fillSample();
    QCOMPARE(grid.TableView()->model()->headerData(name, Qt::Horizontal).toString(),
        QStringLiteral("姓名"));
    // And the next click starts again from ascending.
    grid.ClickTitle(name);
    QCOMPARE(DataSetSort::CurrentSort(m_set->DataSet()), QStringLiteral("Name"));
}

void tst_Grids::sortDialogReadsSortText_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("sortString");
    QTest::addColumn<QString>("labels");
    QTest::newRow("dialog form") << "Name ASC,Code DESC"
                                 << "Name ASC,Code DESC"
                                 << "姓名 升序,编号 降序";
    QTest::newRow("title-click form") << "Name, Code DESC "
                                      << "Name ASC,Code DESC"
                                      << "姓名 升序,编号 降序";
    QTest::newRow("paired form") << "Name,ASC,Code,DESC"
                                 << "Name ASC,Code DESC"
                                 << "姓名 升序,编号 降序";
    QTest::newRow("letter case of names and orders") << "name desc,CODE asc"
                                                     << "Name DESC,Code ASC"
                                                     << "姓名 降序,编号 升序";
    QTest::newRow("unknown field takes no place") << "Gone ASC,Dept DESC"
                                                  << "Dept DESC"
                                                  << "部门 降序";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void tst_Grids::sortDialogReadsSortText()
{
    QFETCH(QString, current);
    QFETCH(QString, sortString);
    QFETCH(QString, labels);
    TSortFrm frm;
    frm.FillFields(m_set->DataSet(), true);
    frm.SetSortString(current);
    QCOMPARE(frm.SortString(), sortString);
    QCOMPARE(frm.SortLabels(), labels);
    // The sorted fields come first, in sort order.
    const QVector<DataSetSort::Item> items = DataSetSort::Parse(sortString);
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(frm.RowField(i), items[i].FieldName);
        QCOMPARE(frm.StringGrid1->item(i, 1)->text(),
            items[i].Descending ? QStringLiteral("降序") : QStringLiteral("升序"));
    }
    for (int row = static_cast<int>(items.size()); row < frm.RowCount(); ++row)
        QCOMPARE(frm.StringGrid1->item(row, 1)->text(), QString());
}

void tst_Grids::sortDialogListsSortableFields()
{
    TSortFrm frm;
    frm.FillFields(m_set->DataSet(), true);
    QStringList listed;
    for (int row = 0; row < frm.RowCount(); ++row)
        listed << frm.RowField(row);
    // The memo is never listed; the hidden Id only with hidden fields included.
    QCOMPARE(listed, (QStringList{"Id", "Code", "Name", "Dept", "Salary", "Age", "Joined"}));
    QCOMPARE(frm.StringGrid1->item(2, 0)->text(), QStringLiteral("姓名"));

    frm.FillFields(m_set->DataSet(), false);
    QCOMPARE(frm.RowField(0), QStringLiteral("Code"));
    QCOMPARE(frm.RowCount(), 6);
    QCOMPARE(frm.windowTitle(), QStringLiteral("排序"));
    QCOMPARE(frm.StringGrid1->toolTip(), QStringLiteral("双击可改变当前值"));
}

void tst_Grids::sortDialogButtonsAndCycle()
{
    TSortFrm frm;
    QVERIFY(!frm.upBtn1->isEnabled());
    frm.FillFields(m_set->DataSet(), false);
    frm.SetSortString(QStringLiteral("Name ASC,Code DESC"));
    QVERIFY(!frm.upBtn1->isEnabled());
    QVERIFY(frm.downBtn1->isEnabled());

    // Down moves the selected row, both lists with it, and keeps it selected.
    frm.downBtn1->click();
    QCOMPARE(frm.SortString(), QStringLiteral("Code DESC,Name ASC"));
    QCOMPARE(frm.StringGrid1->currentRow(), 1);
    QVERIFY(frm.upBtn1->isEnabled());
    frm.upBtn1->click();
    QCOMPARE(frm.SortString(), QStringLiteral("Name ASC,Code DESC"));

    frm.StringGrid1->setCurrentCell(frm.RowCount() - 1, 0);
    QVERIFY(!frm.downBtn1->isEnabled());

    // A double click cycles none, ascending, descending, none.
    const int dept = 2;
    QCOMPARE(frm.RowField(dept), QStringLiteral("Dept"));
    emit frm.StringGrid1->cellDoubleClicked(dept, 1);
    QCOMPARE(frm.StringGrid1->item(dept, 1)->text(), QStringLiteral("升序"));
    emit frm.StringGrid1->cellDoubleClicked(dept, 1);
    QCOMPARE(frm.StringGrid1->item(dept, 1)->text(), QStringLiteral("降序"));
    QCOMPARE(frm.SortString(), QStringLiteral("Name ASC,Code DESC,Dept DESC"));
    emit frm.StringGrid1->cellDoubleClicked(dept, 1);
    QCOMPARE(frm.SortString(), QStringLiteral("Name ASC,Code DESC"));
}

void tst_Grids::sortCommandRoundTrip()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    TDataSet *set = m_set->DataSet();
    DataSetSort::ApplySort(set, QStringLiteral("Name ASC,Code DESC"));

    QString seen;
    {
        DialogScript script([&](QDialog &dialog) {
            auto &frm = static_cast<TSortFrm &>(dialog);
            seen = frm.SortString();
            frm.CycleOrder(0); // Name: ASC to DESC
            frm.CycleOrder(1); // Code: DESC to none
            return int(QDialog::Accepted);
        });
        grid.ActionSort->trigger();
        QCOMPARE(script.runs, 1);
        QCOMPARE(script.titles.value(0), QStringLiteral("排序"));
    }
    QCOMPARE(seen, QStringLiteral("Name ASC,Code DESC"));
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Name DESC"));
    QCOMPARE(columnTexts(set, QStringLiteral("Name")),
        (QStringList{"赵六", "张三", "王五", "李四", "阿明"}));

    // Cancel changes nothing.
    {
        DialogScript script([](QDialog &dialog) {
            static_cast<TSortFrm &>(dialog).CycleOrder(0);
            return int(QDialog::Rejected);
        });
        grid.ActionSort->trigger();
    }
    QCOMPARE(DataSetSort::CurrentSort(set), QStringLiteral("Name DESC"));

    // Clearing every mark sets an empty sort.
    {
        DialogScript script([](QDialog &dialog) {
            auto &frm = static_cast<TSortFrm &>(dialog);
            frm.CycleOrder(0);
            return int(QDialog::Accepted);
        });
        grid.ActionSort->trigger();
    }
    QCOMPARE(DataSetSort::CurrentSort(set), QString());
    QVERIFY(m_prompter->shown().isEmpty());
}

void tst_Grids::columnChooserHidesAndShows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::newRow("cx") << "cx"
                        << "";
    QTest::newRow("db") << "db"
                        << "列选择";
}

void tst_Grids::columnChooserHidesAndShows()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);
    auto grid = makeGrid(kind);
    grid->SetDataSet(m_set->DataSet());
    grid->SetColumnVisible(3, false);

    QStringList rows;
    DialogScript script([&](QDialog &dialog) {
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog))
            return int(QDialog::Rejected);
        auto *table = dialog.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 0)->text() + QLatin1Char('|') + table->item(row, 1)->text();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
            table->visualItemRect(table->item(1, 1)).center());
        static_cast<TxVisibleFrm &>(dialog).ToggleRow(3);
        return int(QDialog::Accepted);
    });
    grid->ActionColVisible->trigger();
    QCOMPARE(script.titles, QStringList{title});
    QCOMPARE(rows.mid(0, 4), (QStringList{"编号|√", "姓名|√", "部门|√", "工资|"}));
    QVERIFY(!grid->ColumnVisible(1));
    QVERIFY(grid->TableView()->isColumnHidden(1));
    QVERIFY(grid->ColumnVisible(3));
    QVERIFY(!grid->TableView()->isColumnHidden(3));
    // The chooser never reorders columns.
    QCOMPARE(grid->ColumnFieldName(1), QStringLiteral("Name"));
    QVERIFY(grid->Layout().contains(QStringLiteral("Name=False")));
}

void tst_Grids::refusedWithoutRight_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("right");
    QTest::newRow("cx column chooser") << "cx"
                                       << "ActionColVisible" << 10008;
    QTest::newRow("db column chooser") << "db"
                                       << "ActionColVisible" << 10008;
    QTest::newRow("cx layout save") << "cx"
                                    << "ActionTableStyleSave" << 10006;
    QTest::newRow("db layout save") << "db"
                                    << "ActionTableStyleSave" << 10006;
    QTest::newRow("cx spreadsheet export") << "cx"
                                           << "ActionExport2Excel" << 10004;
    QTest::newRow("cx HTML export") << "cx"
                                    << "ActionExport2Html" << 10004;
    QTest::newRow("db spreadsheet export") << "db"
                                           << "ActionExport2Excel" << 10004;
    QTest::newRow("db export wizard") << "db"
                                      << "ActionExport" << 10004;
}

void tst_Grids::refusedWithoutRight()
{
    QFETCH(QString, kind);
    QFETCH(QString, action);
    QFETCH(int, right);
    auto grid = makeGrid(kind);
    grid->SetDataSet(m_set->DataSet());
    int asked = 0;
    const auto previousAsker
        = GridExport::SetSaveFileAsker([&](QWidget *, const QString &, const QString &) {
              ++asked;
              return QString();
          });
    int wizards = 0;
    TqmDBGrid::SetExportWizard([&](QWidget *, TDataSet *) { ++wizards; });
    DialogScript script;

    TheOperator->Clear();
    TheOperator->LoginId = QStringLiteral("clerk");
    TheOperator->Rights = QStringLiteral(",9,,10,,10000,");
    grid->findChild<QAction *>(action)->trigger();
    QCOMPARE(m_prompter->texts(), QStringList{rightsMessage(right)});
    QCOMPARE(script.runs + asked + wizards, 0);

    // With the right the command goes ahead (each stops at its first dialog).
    TheOperator->Rights += QStringLiteral(",%1,").arg(right);
    m_prompter->clear();
    grid->findChild<QAction *>(action)->trigger();
    QVERIFY(!m_prompter->texts().contains(rightsMessage(right)));
    if (action != QLatin1String("ActionTableStyleSave"))
        QCOMPARE(script.runs + asked + wizards, 1);
    GridExport::SetSaveFileAsker(previousAsker);
    TqmDBGrid::SetExportWizard(nullptr);
}

void tst_Grids::needsOpenDataSet_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("bound");
    QTest::addColumn<QString>("message");
    QTest::newRow("cx without data set")
        << "cx" << false << "系统错误: 没有为TqmGridcx.DataSource指定DataSet对象,请与作者联系!";
    QTest::newRow("db without data set")
        << "db" << false << "系统错误: 没有为DBGrid.DataSource指定DataSet对象,请与作者联系!";
    QTest::newRow("cx with a closed set") << "cx" << true << "系统提示: 请先打开数据再操作!";
    QTest::newRow("db with a closed set") << "db" << true << "系统提示: 请先打开数据再操作!";
}

void tst_Grids::needsOpenDataSet()
{
    QFETCH(QString, kind);
    QFETCH(bool, bound);
    QFETCH(QString, message);
    auto grid = makeGrid(kind);
    if (bound) {
        grid->SetDataSet(m_set->DataSet());
        m_set->DataSet()->Close();
    }
    int asked = 0;
    const auto previousAsker
        = GridExport::SetSaveFileAsker([&](QWidget *, const QString &, const QString &) {
              ++asked;
              return QString();
          });
    DialogScript script;
    const QString framed = QStringLiteral("\r\n") + message + QStringLiteral("\t");
    for (QAction *action : {grid->ActionSort, grid->ActionExport2Excel, grid->ActionExport2Html}) {
        m_prompter->clear();
        action->trigger();
        QCOMPARE(m_prompter->texts(), QStringList{framed});
    }
    QCOMPARE(script.runs + asked, 0);
    GridExport::SetSaveFileAsker(previousAsker);
}

void tst_Grids::popupMenuAndActions()
{
    TqmGridcx cx;
    TqmDBGrid db;
    for (TqmGridBase *grid : {static_cast<TqmGridBase *>(&cx), static_cast<TqmGridBase *>(&db)}) {
        QStringList items;
        for (const QAction *a : grid->PopupMenuQm()->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(items,
            (QStringList{"排序", "-", "列选择", "保存表格样式", "-", "导出到Excel文档",
                "导出到Html网页文件"}));
        QCOMPARE(grid->ActionExport->text(), QStringLiteral("导出"));
        QCOMPARE(grid->PopupMenuQm()->objectName(), QStringLiteral("PopupMenuQm"));
    }
    // On this grid kind "导出" has no command at all, not even a rights test.
    TheOperator->Clear();
    cx.ActionExport->trigger();
    QVERIFY(m_prompter->shown().isEmpty());

    // The windows' "功能" buttons drop the menu down just below themselves.
    QWidget window;
    auto *button = new QPushButton(QStringLiteral("功能"), &window);
    button->setGeometry(40, 30, 80, 24);
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    db.PopupButtonClick(button);
    QTRY_VERIFY(db.PopupMenuQm()->isVisible());
    QCOMPARE(
        db.PopupMenuQm()->geometry().topLeft(), button->mapToGlobal(QPoint(0, button->height())));
    db.PopupMenuQm()->hide();
}

void tst_Grids::refreshCaptionsAndCounts()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    m_set->Code->SetDisplayLabel(QStringLiteral("工号"));
    QCOMPARE(grid.ColumnCaption(0), QStringLiteral("编号"));
    grid.RefreshCaptions();
    QCOMPARE(grid.ColumnCaption(0), QStringLiteral("工号"));
    QCOMPARE(
        grid.View()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("工号"));
    QCOMPARE(grid.RowCount(), 5);

    // Clicks report the clicked column's field.
    grid.resize(700, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy cells(&grid, &TqmGridBase::OnCellClick);
    QSignalSpy doubles(&grid, &TqmGridBase::OnCellDblClick);
    QTableView *view = grid.View();
    const QPoint point = view->visualRect(view->model()->index(2, 1)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
    QCOMPARE(cells.size(), 1);
    QCOMPARE(cells.at(0).at(0).value<TField *>(), m_set->Name);
    QCOMPARE(m_set->DataSet()->CurrentRow(), 2);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
    QCOMPARE(doubles.size(), 1);
    QCOMPARE(doubles.at(0).at(0).value<TField *>(), m_set->Name);
}

void tst_Grids::draggedColumnKeepsItsPlace()
{
    TqmGridcx grid;
    grid.SetDataSet(m_set->DataSet());
    QHeaderView *header = grid.View()->horizontalHeader();
    // The user drags the name column in front of the code.
    header->moveSection(1, 0);
    QTRY_COMPARE(grid.ColumnFieldName(0), QStringLiteral("Name"));
    QCOMPARE(grid.ColumnFieldName(1), QStringLiteral("Code"));
    QVERIFY(grid.Layout().startsWith(QStringLiteral("Name=True")));
    QCOMPARE(grid.View()->model()->index(0, 0).data().toString(), QStringLiteral("张三"));
    // A re-sort resets the model; the new order stays.
    DataSetSort::ApplySort(m_set->DataSet(), QStringLiteral("Code"));
    QCOMPARE(grid.View()->model()->headerData(header->logicalIndex(0), Qt::Horizontal).toString(),
        QStringLiteral("姓名"));
}

QTEST_MAIN(tst_Grids)
#include "tst_grids.moc"
