#include "DeptPick.h"
#include "Error.h"
#include "Operator.h"
#include "TestSupport.h"
#include "qmCtrls.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

void insertDepartments(const QList<QPair<QString, QString>> &rows)
{
    for (const auto &row : rows)
        TheDatabase->Execute(
            QStringLiteral("insert into department(Code, Name) values(:Code, :Name)"),
            {MakeParameter(QStringLiteral("Code"), row.first),
                MakeParameter(QStringLiteral("Name"), row.second)});
}

QStringList storedCodes()
{
    TDataSet set;
    TheDatabase->Fill(set, QStringLiteral("select Code from department order by Code"));
    QStringList codes;
    for (int row = 0; row < set.RecordCount(); ++row)
        codes << set.ValueAt(row, 0).toString();
    return codes;
}

QString storedName(const QString &code)
{
    TDataSet set;
    TheDatabase->Fill(set, QStringLiteral("select Name from department where Code=:Code"),
        {MakeParameter(QStringLiteral("Code"), code)});
    return set.IsEmpty() ? QStringLiteral("<none>") : set.ValueAt(0, 0).toString();
}

// The tree as "code:text" in pre-order, indented by depth.
QStringList treeShape(const QTreeWidget *tree)
{
    QStringList shape;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem *up = (*it)->parent(); up; up = up->parent())
            ++depth;
        shape << QString(depth * 2, QLatin1Char(' ')) + TDeptPickFrm::NodeRecord(*it).Code
                + QLatin1Char(':') + (*it)->text(0);
    }
    return shape;
}

const QString rightsMessage
    = QStringLiteral("\r\n对不起,您没有该功能的操作权限,请与管理员联系(11).\t");

} // namespace

class tst_DeptPick : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { addEngineRows(); }
    void init()
    {
        QM_INIT_ENGINE(m_fixture);
        m_prompter = std::make_unique<ScriptedPrompter>();
        CreateDepartments();
        TheOperator->Clear();
        TheOperator->LoginId = QStringLiteral("li");
        TheOperator->Rights = QStringLiteral(",9,,11,");
        insertDepartments({{"01", "总公司"}, {"0100", "人力资源部"}, {"010000", "招聘组"},
            {"0101", "财务部"}, {"02", "分公司"}});
    }
    void cleanup()
    {
        SetModalRunner(nullptr);
        TheOperator->Clear();
        FreeDepartments();
        m_prompter.reset();
        m_fixture.reset();
    }

    void showsTheTree();
    void emptyTreeOffersOnlyATopLevelAdd();
    void addThroughTheWindow_data();
    void addThroughTheWindow();
    void blankNameIsRefused();
    void failedAddShowsWhyAndAddsNoNode();
    void editRenamesAndRefreshesTheBranch();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void referencedDeleteIsRefusedWithTheReason();
    void changesNeedRightEleven_data();
    void changesNeedRightEleven();
    void pickModeReturnsTheChoice_data();
    void pickModeReturnsTheChoice();
    void menuEntryNeedsRightEleven();

private:
    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_DeptPick::showsTheTree()
{
    TDeptPickFrm frm;
    frm.show();
    QCOMPARE(frm.windowTitle(), QStringLiteral("部门机构"));
    QCOMPARE(treeShape(frm.TreeView1),
        (QStringList{
            "01:总公司", "  0100:人力资源部", "    010000:招聘组", "  0101:财务部", "02:分公司"}));

    // The first node is selected and opened one level.
    QTreeWidgetItem *first = frm.TreeView1->topLevelItem(0);
    QCOMPARE(frm.Selected(), first);
    QVERIFY(first->isExpanded());
    QVERIFY(!first->child(0)->isExpanded());
    QCOMPARE(frm.Edit1->text(), QStringLiteral("01"));
    QCOMPARE(frm.Edit2->text(), QStringLiteral("总公司"));
    QCOMPARE(frm.AddSubAction1->text(), QStringLiteral("添加 \"总公司\" 的子项..."));
    QCOMPARE(frm.AddAction1->text(), QStringLiteral("添加 \"总公司\" 的同级项目..."));
    QVERIFY(frm.AddSubAction1->isEnabled() && frm.EditAction1->isEnabled()
        && frm.DeleAction1->isEnabled());

    // Each node carries its parent and its full name.
    QVERIFY(frm.SelectCode(QStringLiteral("010000")));
    const RDepartment record = TDeptPickFrm::NodeRecord(frm.Selected());
    QCOMPARE(record.FatherCode, QStringLiteral("0100"));
    QCOMPARE(record.FatherPath, QStringLiteral("总公司/人力资源部"));
    QCOMPARE(record.Path, QStringLiteral("总公司/人力资源部/招聘组"));
    QCOMPARE(frm.Edit2->text(), QStringLiteral("招聘组"));

    // Maintenance only: nothing to pick with.
    QVERIFY(frm.Button1->isHidden());
    QVERIFY(frm.Button6->isHidden());
    QVERIFY(frm.Button2->isVisible());
    QCOMPARE(frm.Button3->menu(), frm.PopupMenu2);
}

void tst_DeptPick::emptyTreeOffersOnlyATopLevelAdd()
{
    TheDatabase->Execute(QStringLiteral("delete from department"));
    TDeptPickFrm frm;
    frm.show();
    QCOMPARE(frm.TreeView1->topLevelItemCount(), 0);
    QVERIFY(!frm.Selected());
    QVERIFY(!frm.AddSubAction1->isEnabled());
    QVERIFY(!frm.EditAction1->isEnabled());
    QVERIFY(!frm.DeleAction1->isEnabled());
    QVERIFY(!frm.Button4->isEnabled() && !frm.Button5->isEnabled());
    QVERIFY(frm.AddAction1->isEnabled());
    QCOMPARE(frm.AddAction1->text(), QStringLiteral("添加同级项目"));
    QVERIFY(!frm.Edit1->isVisible());

    frm.AddAction1->trigger();
    QVERIFY(frm.Editing());
    QVERIFY(frm.edtParent1->text().isEmpty());
    frm.edtName1->setText(QStringLiteral("总公司"));
    frm.OkBtn1->click();

    QVERIFY(!frm.Editing());
    QCOMPARE(treeShape(frm.TreeView1), QStringList{"00:总公司"});
    QCOMPARE(frm.Edit1->text(), QStringLiteral("00"));
    QCOMPARE(storedCodes(), QStringList{"00"});
}

void tst_DeptPick::addThroughTheWindow_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("child");
    QTest::addColumn<QString>("parentShown");
    QTest::addColumn<QString>("newCode");
    QTest::addColumn<QString>("newPath");
    QTest::addColumn<QString>("underCode");

    QTest::newRow("child of a top-level")
        << QStringLiteral("01") << true << QStringLiteral("总公司") << QStringLiteral("0102")
        << QStringLiteral("总公司/行政部") << QStringLiteral("01");
    QTest::newRow("sibling of a child")
        << QStringLiteral("0100") << false << QStringLiteral("总公司") << QStringLiteral("0102")
        << QStringLiteral("总公司/行政部") << QStringLiteral("01");
    QTest::newRow("child of a grandchild")
        << QStringLiteral("010000") << true << QStringLiteral("总公司/人力资源部/招聘组")
        << QStringLiteral("01000000") << QStringLiteral("总公司/人力资源部/招聘组/行政部")
        << QStringLiteral("010000");
    QTest::newRow("sibling of a top-level")
        << QStringLiteral("01") << false << QString() << QStringLiteral("03")
        << QStringLiteral("行政部") << QString();
}

void tst_DeptPick::addThroughTheWindow()
{
    QFETCH(QString, selected);
    QFETCH(bool, child);
    QFETCH(QString, parentShown);
    QFETCH(QString, newCode);
    QFETCH(QString, newPath);
    QFETCH(QString, underCode);

    TDeptPickFrm frm;
    frm.show();
    QVERIFY(frm.SelectCode(selected));
    const int before = treeShape(frm.TreeView1).size();
    (child ? frm.AddSubAction1 : frm.AddAction1)->trigger();

    QVERIFY(frm.Editing());
    QCOMPARE(frm.edtParent1->text(), parentShown);
    QVERIFY(frm.edtName1->text().isEmpty());
    frm.edtName1->setText(QStringLiteral(" 行政部 "));
    frm.edtManager1->setText(QStringLiteral("王五"));
    frm.edtTel1->setText(QStringLiteral("0571-88"));
    frm.edtAddress1->setText(QStringLiteral("三楼"));
    frm.memDescribe1->setPlainText(QStringLiteral("负责后勤"));
    frm.OkBtn1->click();

    QVERIFY(!frm.Editing());
    QCOMPARE(m_prompter->shown().size(), 0);
    QCOMPARE(treeShape(frm.TreeView1).size(), before + 1);
    QTreeWidgetItem *node = frm.Selected();
    QVERIFY(node);
    const RDepartment record = TDeptPickFrm::NodeRecord(node);
    QCOMPARE(record.Code, newCode);
    QCOMPARE(node->text(0), QStringLiteral("行政部"));
    QCOMPARE(record.Path, newPath);
    QCOMPARE(TDeptPickFrm::NodeRecord(node->parent()).Code, underCode);
    QCOMPARE(frm.Edit1->text(), newCode);
    QCOMPARE(frm.Edit3->text(), QStringLiteral("王五"));
    QCOMPARE(frm.Memo1->toPlainText(), QStringLiteral("负责后勤"));
    QCOMPARE(storedName(newCode), QStringLiteral("行政部"));
    QCOMPARE(TheDepartments->PathOf(newCode), newPath);
}

void tst_DeptPick::blankNameIsRefused()
{
    TDeptPickFrm frm;
    frm.show();
    frm.AddSubAction1->trigger();
    frm.edtName1->setText(QStringLiteral("   "));
    frm.OkBtn1->click();

    QCOMPARE(m_prompter->texts(), QStringList{"\r对不起, 名称必须填写.\t"});
    QCOMPARE(m_prompter->shown().first().kind, MessageKind::Information);
    QVERIFY(frm.Editing());
    QCOMPARE(storedCodes().size(), 5);

    // Cancel goes back to the tree without saving.
    frm.CancelBtn1->click();
    QVERIFY(!frm.Editing());
    QCOMPARE(storedCodes().size(), 5);
    QCOMPARE(treeShape(frm.TreeView1).size(), 5);

    // Escape gives up the edit too, but keeps the window open.
    frm.AddAction1->trigger();
    frm.edtName1->setText(QStringLiteral("不要了"));
    QTest::keyClick(frm.edtName1, Qt::Key_Escape);
    QVERIFY(!frm.Editing());
    QVERIFY(frm.isVisible());
    QCOMPARE(storedCodes().size(), 5);
}

void tst_DeptPick::failedAddShowsWhyAndAddsNoNode()
{
    insertDepartments({{"0199", "最后一个"}});
    TDeptPickFrm frm;
    frm.show();
    QVERIFY(frm.SelectCode(QStringLiteral("01")));
    const QStringList before = treeShape(frm.TreeView1);
    frm.AddSubAction1->trigger();
    frm.edtName1->setText(QStringLiteral("第一百零一个"));
    frm.OkBtn1->click();

    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->lastText().contains(QStringLiteral("99")));
    QVERIFY(frm.Editing());
    QCOMPARE(treeShape(frm.TreeView1), before);
    QCOMPARE(storedCodes().size(), 6);
}

void tst_DeptPick::editRenamesAndRefreshesTheBranch()
{
    TDeptPickFrm frm;
    frm.show();
    QVERIFY(frm.SelectCode(QStringLiteral("0100")));
    frm.Button4->click();

    QVERIFY(frm.Editing());
    QCOMPARE(frm.edtParent1->text(), QStringLiteral("总公司"));
    QCOMPARE(frm.edtName1->text(), QStringLiteral("人力资源部"));
    frm.edtName1->setText(QStringLiteral("人事部"));
    frm.edtFax1->setText(QStringLiteral("0571-99"));
    frm.OkBtn1->click();

    QVERIFY(!frm.Editing());
    QCOMPARE(m_prompter->shown().size(), 0);
    QCOMPARE(frm.Selected()->text(0), QStringLiteral("人事部"));
    QCOMPARE(frm.Edit2->text(), QStringLiteral("人事部"));
    QCOMPARE(frm.Edit5->text(), QStringLiteral("0571-99"));
    QCOMPARE(frm.AddSubAction1->text(), QStringLiteral("添加 \"人事部\" 的子项..."));
    QCOMPARE(storedName(QStringLiteral("0100")), QStringLiteral("人事部"));
    QCOMPARE(storedCodes().size(), 5);

    // The department below now carries the new full name, and editing it
    // shows the renamed parent.
    QVERIFY(frm.SelectCode(QStringLiteral("010000")));
    QCOMPARE(TDeptPickFrm::NodeRecord(frm.Selected()).Path, QStringLiteral("总公司/人事部/招聘组"));
    frm.EditAction1->trigger();
    QCOMPARE(frm.edtParent1->text(), QStringLiteral("总公司/人事部"));
}

void tst_DeptPick::deleteAsksFirst_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("shapeAfter");
    QTest::addColumn<QString>("selectedAfter");

    const QStringList all{
        "01:总公司", "  0100:人力资源部", "    010000:招聘组", "  0101:财务部", "02:分公司"};
    QTest::newRow("cancelled") << QStringLiteral("01") << int(MessageButton::Cancel) << all
                               << QStringLiteral("01");
    QTest::newRow("branch, next sibling selected")
        << QStringLiteral("0100") << int(MessageButton::Ok)
        << QStringList{"01:总公司", "  0101:财务部", "02:分公司"} << QStringLiteral("0101");
    QTest::newRow("last child, previous sibling selected")
        << QStringLiteral("0101") << int(MessageButton::Ok)
        << QStringList{"01:总公司", "  0100:人力资源部", "    010000:招聘组", "02:分公司"}
        << QStringLiteral("0100");
    QTest::newRow("only child, parent selected")
        << QStringLiteral("010000") << int(MessageButton::Ok)
        << QStringList{"01:总公司", "  0100:人力资源部", "  0101:财务部", "02:分公司"}
        << QStringLiteral("0100");
    QTest::newRow("top level with its branch") << QStringLiteral("01") << int(MessageButton::Ok)
                                               << QStringList{"02:分公司"} << QStringLiteral("02");
}

void tst_DeptPick::deleteAsksFirst()
{
    QFETCH(QString, code);
    QFETCH(int, answer);
    QFETCH(QStringList, shapeAfter);
    QFETCH(QString, selectedAfter);

    TDeptPickFrm frm;
    frm.show();
    QVERIFY(frm.SelectCode(code));
    const QString name = frm.Selected()->text(0);
    m_prompter->answer(MessageButton(answer));
    frm.Button5->click();

    QCOMPARE(m_prompter->shown().size(), 1);
    QCOMPARE(m_prompter->shown().first().text, QStringLiteral("\r您确定要删除 %1 吗?\t").arg(name));
    QCOMPARE(m_prompter->shown().first().kind, MessageKind::Warning);
    QCOMPARE(treeShape(frm.TreeView1), shapeAfter);
    QCOMPARE(TDeptPickFrm::NodeRecord(frm.Selected()).Code, selectedAfter);
    QCOMPARE(frm.Edit1->text(), selectedAfter);

    QStringList codes;
    for (const QString &line : shapeAfter)
        codes << line.trimmed().section(QLatin1Char(':'), 0, 0);
    QCOMPARE(storedCodes(), codes);
}

void tst_DeptPick::referencedDeleteIsRefusedWithTheReason()
{
    TheDatabase->Execute(QStringLiteral(
        "insert into empjoin(EmpId, DutyDeptId, JoinDeptId) values(1, '010000', '02')"));
    TDeptPickFrm frm;
    frm.show();
    QVERIFY(frm.SelectCode(QStringLiteral("0100")));
    const QStringList before = treeShape(frm.TreeView1);
    m_prompter->answer(MessageButton::Ok);
    frm.DeleAction1->trigger();

    QCOMPARE(m_prompter->shown().size(), 2);
    QCOMPARE(m_prompter->lastText(),
        QStringLiteral("\r\n") + TDepartmentSet::DeleteFailedText
            + QStringLiteral("\r\n部门 招聘组 有 1 名职员\t"));
    QCOMPARE(treeShape(frm.TreeView1), before);
    QCOMPARE(TDeptPickFrm::NodeRecord(frm.Selected()).Code, QStringLiteral("0100"));
    QCOMPARE(storedCodes().size(), 5);
}

void tst_DeptPick::changesNeedRightEleven_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("add sibling") << QStringLiteral("AddAction1");
    QTest::newRow("add child") << QStringLiteral("AddSubAction1");
    QTest::newRow("edit") << QStringLiteral("EditAction1");
    QTest::newRow("delete") << QStringLiteral("DeleAction1");
}

void tst_DeptPick::changesNeedRightEleven()
{
    QFETCH(QString, action);
    TheOperator->Rights = QStringLiteral(",9,,10,,110,");
    TDeptPickFrm frm;
    frm.show();
    QVERIFY(frm.SelectCode(QStringLiteral("0100")));
    m_prompter->answer(MessageButton::Ok);
    QAction *a = frm.findChild<QAction *>(action);
    QVERIFY(a);
    a->trigger();

    QCOMPARE(m_prompter->texts(), QStringList{rightsMessage});
    QVERIFY(!frm.Editing());
    QCOMPARE(treeShape(frm.TreeView1).size(), 5);
    QCOMPARE(storedCodes().size(), 5);

    // The superuser passes.
    m_prompter->clear();
    TheOperator->LoginId = QStringLiteral("sa");
    a->trigger();
    QVERIFY(!m_prompter->texts().contains(rightsMessage));
}

void tst_DeptPick::pickModeReturnsTheChoice_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("pickedCode");
    QTest::addColumn<QString>("pickedPath");

    QTest::newRow("选定 on the initial department")
        << QStringLiteral("0101") << QStringLiteral("Button1") << 1 << QStringLiteral("0101")
        << QStringLiteral("总公司/财务部");
    QTest::newRow("double click on a leaf")
        << QStringLiteral("010000") << QStringLiteral("double click") << 1
        << QStringLiteral("010000") << QStringLiteral("总公司/人力资源部/招聘组");
    QTest::newRow("double click on a parent picks nothing")
        << QStringLiteral("0100") << QStringLiteral("double click") << 0 << QStringLiteral("<none>")
        << QString();
    QTest::newRow("选定 on a parent")
        << QStringLiteral("0100") << QStringLiteral("Button1") << 1 << QStringLiteral("0100")
        << QStringLiteral("总公司/人力资源部");
    QTest::newRow("不选 picks the empty department")
        << QStringLiteral("0101") << QStringLiteral("Button6") << 1 << QString() << QString();
    QTest::newRow("关闭") << QStringLiteral("0101") << QStringLiteral("Button2") << 0
                          << QStringLiteral("<none>") << QString();
    QTest::newRow("unknown initial code keeps the first")
        << QStringLiteral("77") << QStringLiteral("Button1") << 1 << QStringLiteral("01")
        << QStringLiteral("总公司");
}

void tst_DeptPick::pickModeReturnsTheChoice()
{
    QFETCH(QString, initial);
    QFETCH(QString, gesture);
    QFETCH(int, result);
    QFETCH(QString, pickedCode);
    QFETCH(QString, pickedPath);

    bool inWindow = false;
    SetModalRunner([&](QDialog &dialog) {
        auto *frm = qobject_cast<TDeptPickFrm *>(&dialog);
        if (!frm)
            return 0;
        inWindow = true;
        frm->show();
        if (!frm->Button1->isVisible() || !frm->Button6->isVisible())
            return -1;
        if (gesture == QLatin1String("double click"))
            emit frm->TreeView1->itemDoubleClicked(frm->Selected(), 0);
        else
            frm->findChild<QPushButton *>(gesture)->click();
        frm->hide();
        return frm->result();
    });

    RDepartment picked;
    picked.Code = QStringLiteral("<none>");
    picked.FatherIdx = -1;
    const int returned = PickDepartment(initial, [&](const RDepartment &record) {
        picked = record;
        return 1;
    });

    QVERIFY(inWindow);
    QCOMPARE(returned, result);
    QCOMPARE(picked.Code, pickedCode);
    QCOMPARE(picked.Path, pickedPath);
    if (pickedCode.isEmpty()) {
        QVERIFY(
            picked.Name.isEmpty() && picked.FatherCode.isEmpty() && picked.FatherPath.isEmpty());
        QCOMPARE(picked.FatherIdx, 0);
    }
}

void tst_DeptPick::menuEntryNeedsRightEleven()
{
    int opened = 0;
    SetModalRunner([&](QDialog &dialog) {
        if (auto *frm = qobject_cast<TDeptPickFrm *>(&dialog))
            opened += frm->Button1->isHidden() ? 1 : 100;
        return 0;
    });

    TheOperator->Rights = QStringLiteral(",9,");
    QVERIFY_THROWS_EXCEPTION(SilentAbort, EditDepartments());
    QCOMPARE(m_prompter->texts(), QStringList{rightsMessage});
    QCOMPARE(opened, 0);

    TheOperator->Rights = QStringLiteral(",11,");
    EditDepartments();
    QCOMPARE(opened, 1);
}

QTEST_MAIN(tst_DeptPick)
#include "tst_deptpick.moc"
