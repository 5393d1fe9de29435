#include "Database.h"
#include "GridLayout.h"
#include "Operator.h"
#include "RecordSet.h"
#include "TestSupport.h"
#include "qmDBGrids.h"

#include <QApplication>
#include <QHeaderView>
#include <QLayout>
#include <QtTest>
#include <memory>

namespace {

// The three-column list the layouts are written for.
class TTrio : public TQmClientDataSet
{
public:
    TTrio()
    {
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Name"), 20, true, QStringLiteral("姓名"));
        AddFieldDef(FieldKind::String, QStringLiteral("Code"), 20, true, QStringLiteral("编号"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Dept"), 30, true, QStringLiteral("部门"));
        AddFieldDef(
            FieldKind::WideString, QStringLiteral("Secret"), 30, false, QStringLiteral("隐藏"));
        CreateDataSet();
    }
};

std::unique_ptr<TqmGridBase> makeGrid(const QString &kind)
{
    if (kind == QLatin1String("cx"))
        return std::make_unique<TqmGridcx>();
    return std::make_unique<TqmDBGrid>();
}

// The columns as "Name=True90,Code=False*": in column order, "*" where the
// width is still the field's starting width.
QString summary(const TqmGridBase &grid)
{
    QStringList parts;
    for (int i = 0; i < grid.ColumnCount(); ++i) {
        const TField *field = grid.ColumnField(i);
        const int start = TqmGridBase::DefaultColumnWidth(field, grid.TableView()->fontMetrics());
        parts << grid.ColumnFieldName(i) + QLatin1Char('=')
                + (grid.ColumnVisible(i) ? "True" : "False")
                + (grid.ColumnWidth(i) == start ? QStringLiteral("*")
                                                : QString::number(grid.ColumnWidth(i)));
    }
    return parts.join(QLatin1Char(','));
}

// What the view really shows: the captions of the shown columns, left to right.
QStringList shownCaptions(const TqmGridBase &grid)
{
    const QHeaderView *header = grid.TableView()->horizontalHeader();
    QStringList captions;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            captions << grid.TableView()->model()->headerData(logical, Qt::Horizontal).toString();
    }
    return captions;
}

} // namespace

// Applying and writing layout texts; no database needed.
class tst_GridLayoutText : public QObject
{
    Q_OBJECT
private slots:
    void appliesLayout_data();
    void appliesLayout();
    void viewShowsAppliedLayout();
    void writesWhatItApplied();
    void roundTripsUserChanges_data();
    void roundTripsUserChanges();
};

void tst_GridLayoutText::appliesLayout_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("expected");

    const QString named = QStringLiteral("Name=True90\r\nCode=False60");
    QTest::newRow("cx: no layout shows every visible field")
        << "cx" << QString() << "Name=True*,Code=True*,Dept=True*";
    QTest::newRow("db: no layout shows every visible field")
        << "db" << QString() << "Name=True*,Code=True*,Dept=True*";
    QTest::newRow("cx: a field the layout does not name is hidden")
        << "cx" << named << "Name=True90,Code=False60,Dept=False*";
    QTest::newRow("db: a field the layout does not name stays shown")
        << "db" << named << "Name=True90,Code=False60,Dept=True*";
    QTest::newRow("cx: lines give the order") << "cx"
                                              << "Dept=True50\r\nName=True90\r\nCode=True60"
                                              << "Dept=True50,Name=True90,Code=True60";
    QTest::newRow("db: named columns first, the rest behind in field order")
        << "db"
        << "Dept=True50"
        << "Dept=True50,Name=True*,Code=True*";
    QTest::newRow("cx: bad width stops there, order untouched")
        << "cx"
        << "Dept=True40\r\nName=True90\r\nCode=TrueAB"
        << "Name=True90,Code=True*,Dept=False*";
    QTest::newRow("db: bad width stops there, order untouched")
        << "db"
        << "Dept=True40\r\nName=True90\r\nCode=TrueAB"
        << "Name=True90,Code=True*,Dept=True*";
    QTest::newRow("cx: a width missing altogether is malformed too")
        << "cx"
        << "Name=True\r\nCode=True60"
        << "Name=True*,Code=False*,Dept=False*";
    QTest::newRow("cx: a line for a field the set lacks takes no position")
        << "cx"
        << "Gone=True10\r\nCode=True60\r\nName=True90"
        << "Code=True60,Name=True90,Dept=False*";
    QTest::newRow("db: a line for a field the set lacks takes no position")
        << "db"
        << "Gone=True10\r\nDept=True70\r\nName=True90"
        << "Dept=True70,Name=True90,Code=True*";
    QTest::newRow("cx: names ignore case and the first line wins")
        << "cx"
        << "name=True90\r\nNAME=False10\r\nCode=True60"
        << "Name=True90,Code=True60,Dept=False*";
    QTest::newRow("cx: only \"True\" spelled so shows the column")
        << "cx"
        << "Name=true90\r\nCode=TRUE60"
        << "Name=False90,Code=False60,Dept=False*";
    QTest::newRow("cx: bare LF lines read as well") << "cx"
                                                    << "Code=True60\nName=False90"
                                                    << "Code=True60,Name=False90,Dept=False*";
    QTest::newRow("cx: a hidden field never gets a column")
        << "cx"
        << "Secret=True50\r\nName=True90"
        << "Name=True90,Code=False*,Dept=False*";
}

void tst_GridLayoutText::appliesLayout()
{
    QFETCH(QString, kind);
    QFETCH(QString, layout);
    QFETCH(QString, expected);
    TTrio set;
    auto grid = makeGrid(kind);
    grid->SetDataSet(set.DataSet());
    grid->SetLayout(layout);
    QCOMPARE(summary(*grid), expected);
}

void tst_GridLayoutText::viewShowsAppliedLayout()
{
    TTrio set;
    TqmGridcx grid;
    grid.SetDataSet(set.DataSet());
    grid.SetLayout(QStringLiteral("Dept=True50\r\nName=True90\r\nCode=False60"));
    QCOMPARE(shownCaptions(grid), (QStringList{QStringLiteral("部门"), QStringLiteral("姓名")}));
    const QHeaderView *header = grid.TableView()->horizontalHeader();
    QCOMPARE(header->sectionSize(header->logicalIndex(0)), 50);
    QCOMPARE(header->sectionSize(header->logicalIndex(1)), 90);

    // Rows refilled or re-sorted reset the model; the columns must survive it.
    set.DataSet()->Close();
    set.CreateDataSet();
    QCOMPARE(shownCaptions(grid), (QStringList{QStringLiteral("部门"), QStringLiteral("姓名")}));
    QCOMPARE(header->sectionSize(header->logicalIndex(0)), 50);
}

void tst_GridLayoutText::writesWhatItApplied()
{
    TTrio set;
    TqmDBGrid grid;
    grid.SetDataSet(set.DataSet());
    grid.SetLayout(QStringLiteral("Code=False60\r\nName=True90\r\nDept=True75"));
    QCOMPARE(grid.Layout(), QStringLiteral("Code=False60\r\nName=True90\r\nDept=True75"));
}

void tst_GridLayoutText::roundTripsUserChanges_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("cx") << "cx";
    QTest::newRow("db") << "db";
}

void tst_GridLayoutText::roundTripsUserChanges()
{
    QFETCH(QString, kind);
    TTrio set;
    auto first = makeGrid(kind);
    first->SetDataSet(set.DataSet());
    first->SetColumnWidth(0, 123);
    first->SetColumnVisible(1, false);
    first->MoveColumn(2, 0);
    // The user drags a column border in the view itself.
    first->TableView()->horizontalHeader()->resizeSection(0, 77);
    const QString text = first->Layout();
    QCOMPARE(text,
        QStringLiteral("Dept=True77\r\nName=True123\r\nCode=False%1").arg(first->ColumnWidth(2)));

    auto second = makeGrid(kind);
    second->SetDataSet(set.DataSet());
    second->SetLayout(text);
    QCOMPARE(summary(*second), summary(*first));
    QCOMPARE(second->Layout(), text);
}

// The layouts in table syscols, on both engines.
class tst_GridLayoutStore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void init();
    void cleanup();

    void missingKeyShowsAllFields();
    void saveInsertsThenUpdates();
    void saveThenLoadRoundTrip_data();
    void saveThenLoadRoundTrip();
    void duplicateRowsAllTakeTheSave();
    void saveCommandReportsResult();
    void layoutWaitsForFieldsOfUndeclaredSet();
    void createOnPanelLoadsItsLayout();

private:
    int rowsUnder(int key);
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_GridLayoutStore::init()
{
    QM_INIT_ENGINE(m_fixture);
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void tst_GridLayoutStore::cleanup()
{
    m_prompter.reset();
    m_fixture.reset();
    TheOperator->Clear();
}

int tst_GridLayoutStore::rowsUnder(int key)
{
    TRecordSet probe;
    return probe.Open(QStringLiteral("select F02 from syscols where F02=:K"),
        {MakeParameter(QStringLiteral("K"), key)});
}

void tst_GridLayoutStore::missingKeyShowsAllFields()
{
    TTrio set;
    TqmGridcx grid;
    grid.SetDataSet(set.DataSet());
    QVERIFY(!grid.LoadLayout(4711));
    QCOMPARE(summary(grid), QStringLiteral("Name=True*,Code=True*,Dept=True*"));
}

void tst_GridLayoutStore::saveInsertsThenUpdates()
{
    QCOMPARE(rowsUnder(901), 0);
    QVERIFY(GridLayout::SaveLayoutText(901, QStringLiteral("Name=True90")));
    QCOMPARE(rowsUnder(901), 1);
    QVERIFY(GridLayout::SaveLayoutText(901, QStringLiteral("Name=False30")));
    QCOMPARE(rowsUnder(901), 1);
    bool found = false;
    QCOMPARE(GridLayout::LoadLayoutText(901, &found), QStringLiteral("Name=False30"));
    QVERIFY(found);
}

void tst_GridLayoutStore::saveThenLoadRoundTrip_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("cx") << "cx";
    QTest::newRow("db") << "db";
}

void tst_GridLayoutStore::saveThenLoadRoundTrip()
{
    QFETCH(QString, kind);
    TTrio set;
    auto first = makeGrid(kind);
    first->SetDataSet(set.DataSet());
    first->SetLayout(QStringLiteral("Dept=True50\r\nName=True90\r\nCode=False60"));
    QVERIFY(first->SaveLayout(13));

    auto second = makeGrid(kind);
    second->SetDataSet(set.DataSet());
    QVERIFY(second->LoadLayout(13));
    QCOMPARE(summary(*second), QStringLiteral("Dept=True50,Name=True90,Code=False60"));
}

void tst_GridLayoutStore::duplicateRowsAllTakeTheSave()
{
    // A database whose syscols has no key can hold two rows under one key.
    TheDatabase->Execute(QStringLiteral("drop table syscols"));
    TheDatabase->Execute(QStringLiteral("create table syscols (F02 integer, F06 text)"));
    TheDatabase->Execute(QStringLiteral("insert into syscols (F02,F06) values (7, 'Name=True10')"));
    TheDatabase->Execute(QStringLiteral("insert into syscols (F02,F06) values (7, 'Name=True20')"));

    QVERIFY(GridLayout::SaveLayoutText(7, QStringLiteral("Name=True90")));
    QCOMPARE(rowsUnder(7), 2);
    TRecordSet rows;
    rows.Open(QStringLiteral("select F06 from syscols where F02=7"));
    QCOMPARE(rows.JoinValues(QStringLiteral("F06"), QStringLiteral("|")),
        QStringLiteral("Name=True90|Name=True90"));
    QCOMPARE(GridLayout::LoadLayoutText(7), QStringLiteral("Name=True90"));
}

void tst_GridLayoutStore::saveCommandReportsResult()
{
    TTrio set;
    TqmDBGrid grid;
    grid.SetDataSet(set.DataSet());
    grid.SetTag(3);
    grid.SetLayoutId(17);
    TheOperator->LoginId = QStringLiteral("clerk");
    TheOperator->Rights = QStringLiteral(",10006,");
    grid.ActionTableStyleSave->trigger();
    QCOMPARE(m_prompter->lastText(), QStringLiteral("\r\n列样式保存成功.\t"));
    // Stored under LayoutId, which wins over the tag.
    QCOMPARE(rowsUnder(17), 1);
    QCOMPARE(rowsUnder(3), 0);

    // A statement that fails is shown as what it is, never as a success.
    TheDatabase->Execute(QStringLiteral("drop table syscols"));
    m_prompter->clear();
    grid.ActionTableStyleSave->trigger();
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(!m_prompter->lastText().contains(QStringLiteral("成功")));
    QVERIFY(m_prompter->lastText().contains(QStringLiteral("syscols")));
}

void tst_GridLayoutStore::layoutWaitsForFieldsOfUndeclaredSet()
{
    GridLayout::SaveLayoutText(40, QStringLiteral("F06=True80"));
    // A plain record set has its fields only once a select filled it.
    TRecordSet rows;
    TqmGridcx grid;
    grid.SetDataSet(rows.DataSet());
    QVERIFY(grid.LoadLayout(40));
    QCOMPARE(grid.ColumnCount(), 0);
    rows.Open(QStringLiteral("select F02, F06 from syscols order by F02"));
    // The engines differ in the letter case of the names they return.
    QCOMPARE(summary(grid).toLower(), QStringLiteral("f06=true80,f02=false*"));
    QCOMPARE(
        grid.TableView()->model()->index(0, 0).data().toString(), QStringLiteral("F06=True80"));
}

void tst_GridLayoutStore::createOnPanelLoadsItsLayout()
{
    GridLayout::SaveLayoutText(25, QStringLiteral("Code=True60\r\nName=True90"));
    TTrio set;
    QWidget window;
    auto *panel = new QWidget(&window);
    TqmGridcx *grid = TqmGridcx::CreateOnPanel(&window, 25, set.DataSet(), panel);
    QCOMPARE(grid->parentWidget(), panel);
    QVERIFY(panel->layout() && panel->layout()->indexOf(grid) >= 0);
    QCOMPARE(grid->Tag(), 25);
    QCOMPARE(grid->DataSet(), set.DataSet());
    QCOMPARE(summary(*grid), QStringLiteral("Code=True60,Name=True90,Dept=False*"));
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int status = 0;
    {
        tst_GridLayoutText text;
        status |= QTest::qExec(&text, argc, argv);
    }
    {
        tst_GridLayoutStore store;
        status |= QTest::qExec(&store, argc, argv);
    }
    return status;
}

#include "tst_gridlayout.moc"
