#include "DepartmentSet.h"
#include "Error.h"
#include "TestSupport.h"
#include "UI.h"
#include "qmProj.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

// The shared window components: the tree whose nodes carry handlers, the
// department edit box and the pick-list combo box.
class tst_UI : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void init();
    void cleanup();

    void pickListLines_data();
    void pickListLines();

    void choosingRunsTheNodesHandlerWithItsValue();
    void choosingTheCurrentNodeAgainRunsItAgain();
    void deletingTheCurrentBranchChoosesNoOtherNode();
    void aHandlerMayDeleteItsOwnNode();
    void aHandlerOfAGoneObjectIsNotCalled();
    void deletingNodesFreesTheirRecords();
    void aFailingHandlerIsShownAndTheCursorComesBack();

    void deptEditTakesThePickedDepartment();
    void deptEditPickerStartsAtTheCurrentCode();
    void deptEditForgetsOnTypingAndOnNoChoice();
    void deptEditShowsACodeByName();

    void comboOffersTheNonBlankLinesOfItsList();
    void comboKeepsTheTypedTextAcrossAReload();

private:
    void exec(const QString &sql, const TDBParameters &params = {});

    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_UI::init()
{
    QM_INIT_ENGINE(m_fixture);
    CreateProjectObjects();
    CreateDepartments();
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void tst_UI::cleanup()
{
    m_prompter.reset();
    FreeDepartments();
    FreeProjectObjects();
    installGlobals(nullptr);
    m_fixture.reset();
}

void tst_UI::exec(const QString &sql, const TDBParameters &params)
{
    TheDatabase->Execute(sql, params);
}

void tst_UI::pickListLines_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QStringLiteral("本科\r\n大专\r\n中专")
                           << QStringList{"本科", "大专", "中专"};
    QTest::newRow("LF and CR") << QStringLiteral("本科\n大专\r中专")
                               << QStringList{"本科", "大专", "中专"};
    QTest::newRow("blank lines dropped")
        << QStringLiteral("\r\n本科\r\n\r\n   \r\n大专\r\n") << QStringList{"本科", "大专"};
    QTest::newRow("blanks around an entry")
        << QStringLiteral("  本科 \t\r\n大专") << QStringList{"本科", "大专"};
    QTest::newRow("empty list") << QString() << QStringList{};
}

void tst_UI::pickListLines()
{
    QFETCH(QString, list);
    QFETCH(QStringList, lines);
    QCOMPARE(PickListLines(list), lines);
}

void tst_UI::choosingRunsTheNodesHandlerWithItsValue()
{
    TqmTreeView tree;
    QStringList calls;
    const TNodeHandler record = [&calls](const QVariant &value) {
        calls << value.toString();
    };
    QTreeWidgetItem *top
        = tree.AddNode(nullptr, QStringLiteral("在职人员"), QStringLiteral("all"), record);
    QTreeWidgetItem *child
        = tree.AddNode(top, QStringLiteral("销售部"), QStringLiteral("0101"), record);
    QTreeWidgetItem *group = tree.AddNode(top, QStringLiteral("岗位"));
    QSignalSpy chosen(&tree, &TqmTreeView::nodeChosen);

    // As a click does: the handler runs once the tree is done changing.
    tree.setCurrentItem(child);
    QTRY_COMPARE(calls, QStringList{"0101"});
    QCOMPARE(tree.Text(), QStringLiteral("销售部"));

    // A node without a handler is chosen all the same: only the text changes.
    tree.ChooseNode(group);
    QCOMPARE(calls, QStringList{"0101"});
    QCOMPARE(tree.Text(), QStringLiteral("岗位"));
    QCOMPARE(chosen.count(), 2);

    // Quick moves through the tree run only the node they end on.
    calls.clear();
    tree.setCurrentItem(top);
    tree.setCurrentItem(child);
    QTRY_COMPARE(calls, QStringList{"0101"});
    QTest::qWait(20);
    QCOMPARE(calls, QStringList{"0101"});

    // An inserted node takes the place it was given.
    QTreeWidgetItem *first = tree.AddNode(top, QStringLiteral("所在部门"), {}, {}, nullptr, 0);
    QCOMPARE(top->child(0), first);
    QCOMPARE(top->child(1), child);
}

void tst_UI::choosingTheCurrentNodeAgainRunsItAgain()
{
    TqmTreeView tree;
    int calls = 0;
    QTreeWidgetItem *node = tree.AddNode(
        nullptr, QStringLiteral("在职人员"), 1, [&calls](const QVariant &) { ++calls; });
    tree.ChooseNode(node);
    tree.ChooseNode(node);
    QCOMPARE(calls, 2);

    // Clearing the choice runs nothing; choosing afterwards runs once.
    tree.ClearChoice();
    QVERIFY(!tree.currentItem());
    QVERIFY(tree.selectedItems().isEmpty());
    QCOMPARE(calls, 2);
    tree.setCurrentItem(node);
    QTRY_COMPARE(calls, 3);
}

void tst_UI::deletingTheCurrentBranchChoosesNoOtherNode()
{
    TqmTreeView tree;
    QStringList calls;
    const TNodeHandler record = [&calls](const QVariant &value) {
        calls << value.toString();
    };
    QTreeWidgetItem *top
        = tree.AddNode(nullptr, QStringLiteral("在职人员"), QStringLiteral("top"), record);
    QTreeWidgetItem *group
        = tree.AddNode(top, QStringLiteral("岗位"), QStringLiteral("group"), record);
    QTreeWidgetItem *value
        = tree.AddNode(group, QStringLiteral("经理"), QStringLiteral("value"), record);
    tree.AddNode(top, QStringLiteral("学历"), QStringLiteral("sibling"), record);
    tree.expandAll();
    tree.ChooseNode(value);
    calls.clear();

    // Qt would move the current node to a neighbour and so run its handler,
    // listing something nobody chose.
    tree.DeleteNode(group);
    QTest::qWait(20);
    QVERIFY(calls.isEmpty());
    QVERIFY(!tree.currentItem());
    QCOMPARE(top->childCount(), 1);
}

void tst_UI::aHandlerMayDeleteItsOwnNode()
{
    TqmTreeView tree;
    QTreeWidgetItem *top = tree.AddNode(nullptr, QStringLiteral("在职人员"));
    QTreeWidgetItem *doomed = nullptr;
    doomed = tree.AddNode(top, QStringLiteral("经理"), QStringLiteral("x"), [&](const QVariant &) {
        tree.DeleteNode(doomed);
        doomed = nullptr;
    });
    tree.expandAll();
    QSignalSpy chosen(&tree, &TqmTreeView::nodeChosen);
    tree.setCurrentItem(doomed);
    QTRY_VERIFY(!doomed);
    QCOMPARE(top->childCount(), 0);
    QCOMPARE(chosen.count(), 0);
}

void tst_UI::aHandlerOfAGoneObjectIsNotCalled()
{
    TqmTreeView tree;
    int calls = 0;
    auto owner = std::make_unique<QObject>();
    QTreeWidgetItem *node = tree.AddNode(
        nullptr, QStringLiteral("在职人员"), 1, [&calls](const QVariant &) { ++calls; },
        owner.get());
    tree.ChooseNode(node);
    QCOMPARE(calls, 1);
    owner.reset();
    tree.ChooseNode(node);
    QCOMPARE(calls, 1);
    QCOMPARE(tree.Text(), QStringLiteral("在职人员"));
}

void tst_UI::deletingNodesFreesTheirRecords()
{
    auto captured = std::make_shared<int>(0);
    {
        TqmTreeView tree;
        QTreeWidgetItem *top = tree.AddNode(
            nullptr, QStringLiteral("在职人员"), {}, [captured](const QVariant &) {});
        QTreeWidgetItem *group
            = tree.AddNode(top, QStringLiteral("岗位"), {}, [captured](const QVariant &) {});
        tree.AddNode(group, QStringLiteral("经理"), {}, [captured](const QVariant &) {});
        QCOMPARE(captured.use_count(), 4L);
        QCOMPARE(TqmTreeView::NodeRecord(group)->Value, QVariant());
        tree.DeleteNode(group);
        QCOMPARE(captured.use_count(), 2L);
    }
    QCOMPARE(captured.use_count(), 1L);
}

void tst_UI::aFailingHandlerIsShownAndTheCursorComesBack()
{
    TqmTreeView tree;
    QTreeWidgetItem *node
        = tree.AddNode(nullptr, QStringLiteral("在职人员"), {}, [](const QVariant &) {
              QVERIFY(QApplication::overrideCursor());
              QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
              throw QmError(QStringLiteral("查询失败"));
          });
    tree.ChooseNode(node);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->lastText().contains(QStringLiteral("查询失败")));
}

void tst_UI::deptEditTakesThePickedDepartment()
{
    TDeptEdit edit;
    RDepartment sales;
    sales.Code = QStringLiteral("0101");
    sales.Name = QStringLiteral("销售部");
    edit.SetPicker([&](const QString &, RDepartment *picked, QWidget *) {
        *picked = sales;
        return true;
    });
    QSignalSpy changed(&edit, &TDeptEdit::departmentChanged);
    QVERIFY(edit.Choose());
    QCOMPARE(edit.text(), QStringLiteral("销售部"));
    QCOMPARE(edit.toolTip(), QStringLiteral("0101"));
    QCOMPARE(edit.Code(), QStringLiteral("0101"));
    QCOMPARE(edit.Department().Name, QStringLiteral("销售部"));
    QCOMPARE(changed.count(), 1);

    // A read-only box never opens the picker.
    edit.setReadOnly(true);
    sales.Code = QStringLiteral("02");
    QVERIFY(!edit.Choose());
    QCOMPARE(edit.Code(), QStringLiteral("0101"));
}

void tst_UI::deptEditPickerStartsAtTheCurrentCode()
{
    TDeptEdit edit;
    QStringList startedAt;
    edit.SetPicker([&](const QString &code, RDepartment *, QWidget *) {
        startedAt << code;
        return false;
    });
    RDepartment factory;
    factory.Code = QStringLiteral("02");
    factory.Name = QStringLiteral("分厂");
    edit.SetDepartment(factory);
    // Closing the picker without a choice keeps the box as it was.
    QVERIFY(!edit.Choose());
    QTest::keyClick(&edit, Qt::Key_F4);
    QCOMPARE(startedAt, (QStringList{"02", "02"}));
    QCOMPARE(edit.text(), QStringLiteral("分厂"));
    QCOMPARE(edit.Code(), QStringLiteral("02"));
}

void tst_UI::deptEditForgetsOnTypingAndOnNoChoice()
{
    TDeptEdit edit;
    RDepartment sales;
    sales.Code = QStringLiteral("0101");
    sales.Name = QStringLiteral("销售部");
    edit.SetDepartment(sales);

    // "不选" hands back an empty record: the box empties.
    edit.SetPicker([](const QString &, RDepartment *picked, QWidget *) {
        *picked = RDepartment();
        return true;
    });
    QVERIFY(edit.Choose());
    QVERIFY(!edit.HasDepartment());
    QVERIFY(edit.text().isEmpty());
    QVERIFY(edit.toolTip().isEmpty());

    // A typed text names no department, so the box must not keep one.
    edit.SetDepartment(sales);
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QVERIFY(!edit.HasDepartment());
    QVERIFY(edit.toolTip().isEmpty());
    QCOMPARE(edit.text(), QStringLiteral("销售部x"));
}

void tst_UI::deptEditShowsACodeByName()
{
    exec(QStringLiteral("insert into department(Code, Name) values ('01', '总部')"));
    exec(QStringLiteral("insert into department(Code, Name) values ('0101', '销售部')"));
    TheDepartments->Load();
    TDeptEdit edit;
    edit.SetCode(QStringLiteral("0101"));
    QCOMPARE(edit.text(), QStringLiteral("销售部"));
    QCOMPARE(edit.toolTip(), QStringLiteral("0101"));
    edit.SetCode(QStringLiteral("09"));
    QVERIFY(!edit.HasDepartment());
    QVERIFY(edit.text().isEmpty());
}

void tst_UI::comboOffersTheNonBlankLinesOfItsList()
{
    ThePickLists->SetList(3, QStringLiteral("工程师\r\n\r\n  \r\n高级工程师\r\n"), true);
    TPickListComboBox combo;
    combo.SetListIndex(3);
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.itemText(0), QStringLiteral("工程师"));
    QCOMPARE(combo.itemText(1), QStringLiteral("高级工程师"));
    QVERIFY(combo.currentText().isEmpty());

    // An index without a list gives no items rather than an error.
    combo.SetListIndex(500);
    QCOMPARE(combo.count(), 0);
    QVERIFY(m_prompter->shown().isEmpty());
}

void tst_UI::comboKeepsTheTypedTextAcrossAReload()
{
    ThePickLists->SetList(1, QStringLiteral("本科\r\n大专"), true);
    TPickListComboBox combo;
    combo.SetListIndex(1);
    combo.setCurrentText(QStringLiteral("博士"));
    ThePickLists->SetList(1, QStringLiteral("本科\r\n大专\r\n博士"), true);
    combo.Reload();
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.currentText(), QStringLiteral("博士"));
}

QTEST_MAIN(tst_UI)
#include "tst_ui.moc"
