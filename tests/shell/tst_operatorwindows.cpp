#include "Operator.h"
#include "OperatorEditor.h"
#include "OperatorList.h"
#include "PasswordChanger.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

// The operator editor, the operator list window and the password change,
// offscreen with scripted dialogs, on both engines.
class tst_OperatorWindows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void initTestCase();
    void init();
    void cleanup();

    void editorRefusesIncompleteEntries_data();
    void editorRefusesIncompleteEntries();
    void editorTicksFollowTheRightsString();

    void listShowsOperatorsButSa();
    void addThroughTheList();
    void addOfTakenNameShowsEditorAgain();
    void addThatCannotStoreVisibilityStoresNothing();
    void editThroughTheList_data();
    void editThroughTheList();
    void editOfVanishedOperatorShowsEditorAgain();
    void deptPageWritesVisibilityThroughTheList();
    void deleteThroughTheList_data();
    void deleteThroughTheList();

    void changePassword_data();
    void changePassword();
    void changerRefusesDifferentNewPasswords();

private:
    // One show of a dialog: a function that fills and presses it.
    using Show = std::function<void(QDialog &)>;
    void scriptShows(const QString &dialogName, QList<Show> shows);
    static QListWidgetItem *rightItem(QDialog &editor, int number);
    static QListWidgetItem *listItem(TOperatorsFrm &frm, const QString &loginId);
    static void press(QDialog &dialog, const char *button);
    static void setText(QDialog &dialog, const char *edit, const QString &text);
    static QString column(const QString &loginId, const QString &name);
    static bool passwordIs(const QString &loginId, const QString &password);
    static void doubleClick(QWidget *widget, const QPoint &pos);

    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    int m_shows = 0;
};

void tst_OperatorWindows::initTestCase()
{
    PasswordHash::SetIterations(1000);
}

void tst_OperatorWindows::init()
{
    // A skipped row leaves the previous prompter in place; it must go before
    // the next one installs itself.
    m_prompter.reset();
    m_prompter = std::make_unique<ScriptedPrompter>();
    QM_INIT_ENGINE(m_fixture);
    m_shows = 0;
    TOperatorSet set;
    set.AddOperator(QStringLiteral("alice"), QStringLiteral("pw-a"), QStringLiteral(",9,,10002,"),
        QStringLiteral("note"), QStringLiteral("555"), QStringLiteral("Alice"));
    set.AddOperator(
        QStringLiteral("bob"), QStringLiteral("pw-b"), QString(), QString(), QString(), QString());
}

void tst_OperatorWindows::cleanup()
{
    SetModalRunner(nullptr);
    TheOperator->Clear();
    m_fixture.reset();
    m_prompter.reset();
}

void tst_OperatorWindows::scriptShows(const QString &dialogName, QList<Show> shows)
{
    SetModalRunner([this, dialogName, shows](QDialog &dialog) mutable {
        ++m_shows;
        if (dialog.objectName() != dialogName || shows.isEmpty()) {
            qWarning("unexpected show of %s", qPrintable(dialog.objectName()));
            return int(QDialog::Rejected);
        }
        dialog.show();
        shows.takeFirst()(dialog);
        dialog.hide();
        return dialog.result();
    });
}

QListWidgetItem *tst_OperatorWindows::rightItem(QDialog &editor, int number)
{
    auto *list = editor.findChild<QListWidget *>(QStringLiteral("CheckListBox1"));
    for (int i = 0; list && i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toInt() == number)
            return list->item(i);
    return nullptr;
}

QListWidgetItem *tst_OperatorWindows::listItem(TOperatorsFrm &frm, const QString &loginId)
{
    const auto items = frm.ListView1->findItems(loginId, Qt::MatchExactly);
    return items.isEmpty() ? nullptr : items.first();
}

void tst_OperatorWindows::press(QDialog &dialog, const char *button)
{
    auto *b = dialog.findChild<QPushButton *>(QLatin1String(button));
    QVERIFY2(b, button);
    QTest::mouseClick(b, Qt::LeftButton);
}

void tst_OperatorWindows::setText(QDialog &dialog, const char *edit, const QString &text)
{
    auto *e = dialog.findChild<QLineEdit *>(QLatin1String(edit));
    QVERIFY2(e, edit);
    e->setText(text);
}

QString tst_OperatorWindows::column(const QString &loginId, const QString &name)
{
    TDataSet set;
    TheDatabase->Fill(set,
        QStringLiteral("select %1 from operator where LoginId=:LoginId").arg(name),
        {MakeParameter(QStringLiteral("LoginId"), loginId)});
    return set.IsEmpty() ? QStringLiteral("<no row>") : set.Fields(0)->AsString();
}

bool tst_OperatorWindows::passwordIs(const QString &loginId, const QString &password)
{
    TOperator op;
    return op.Load(loginId) && op.CheckPassword(password);
}

// A double click as the mouse delivers it: the first click, then the
// double-click press and its release (item views ignore a lone double click).
void tst_OperatorWindows::doubleClick(QWidget *widget, const QPoint &pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

// ---------------------------------------------------------------- editor

void tst_OperatorWindows::editorRefusesIncompleteEntries_data()
{
    QTest::addColumn<QString>("loginId");
    QTest::addColumn<QString>("password1");
    QTest::addColumn<QString>("password2");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no login name") << ""
                                   << "a"
                                   << "a"
                                   << "必须填写登陆名."
                                   << "edtUserId1";
    QTest::newRow("blank login name") << "  "
                                      << "a"
                                      << "a"
                                      << "必须填写登陆名."
                                      << "edtUserId1";
    QTest::newRow("passwords differ") << "carol"
                                      << "a"
                                      << "b"
                                      << "两次输入的密码不一样,请重新输入."
                                      << "edtPassword1";
    QTest::newRow("second password missing") << "carol"
                                             << "a"
                                             << ""
                                             << "两次输入的密码不一样,请重新输入."
                                             << "edtPassword1";
    QTest::newRow("complete") << "carol"
                              << "a"
                              << "a"
                              << ""
                              << "";
    QTest::newRow("no password") << "carol"
                                 << ""
                                 << ""
                                 << ""
                                 << "";
}

void tst_OperatorWindows::editorRefusesIncompleteEntries()
{
    QFETCH(QString, loginId);
    QFETCH(QString, password1);
    QFETCH(QString, password2);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TOperatorEditorFrm editor;
    editor.Clear();
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.edtUserId1->setText(loginId);
    editor.edtPassword1->setText(password1);
    editor.edtPassword2->setText(password2);
    QTest::mouseClick(editor.OkBtn1, Qt::LeftButton);

    if (message.isEmpty()) {
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY(m_prompter->shown().isEmpty());
        QCOMPARE(editor.Password(), password1);
        return;
    }
    QVERIFY(editor.isVisible());
    QVERIFY(editor.result() != QDialog::Accepted);
    QCOMPARE(m_prompter->shown().size(), 1);
    QCOMPARE(m_prompter->lastText().trimmed(), message);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    if (focus == QLatin1String("edtPassword1")) {
        QVERIFY(editor.edtPassword1->text().isEmpty());
        QVERIFY(editor.edtPassword2->text().isEmpty());
    }
}

void tst_OperatorWindows::editorTicksFollowTheRightsString()
{
    TOperatorEditorFrm editor;
    QCOMPARE(editor.CheckListBox1->count(), RightsCatalogue().size());
    // 51 has no entry; 100001 must not tick 10001-like neighbours.
    editor.SetRightsValue(QStringLiteral(",38,,35,,51,,100001,"));
    QCOMPARE(editor.RightsValue(), QStringLiteral(",35,,38,,100001,"));

    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QListWidgetItem *item = rightItem(editor, 9);
    QVERIFY(item);
    editor.CheckListBox1->scrollToItem(item);
    const QPoint centre = editor.CheckListBox1->visualItemRect(item).center();
    doubleClick(editor.CheckListBox1->viewport(), centre);
    QCOMPARE(editor.RightsValue(), QStringLiteral(",9,,35,,38,,100001,"));
    doubleClick(editor.CheckListBox1->viewport(), centre);
    QCOMPARE(editor.RightsValue(), QStringLiteral(",35,,38,,100001,"));

    editor.SetRightsValue(QString());
    QCOMPARE(editor.RightsValue(), QString());
}

// ---------------------------------------------------------------- list window

void tst_OperatorWindows::listShowsOperatorsButSa()
{
    TOperatorsFrm frm;
    QCOMPARE(frm.windowTitle(), QStringLiteral("操作员及权限"));
    QStringList shown;
    for (int i = 0; i < frm.ListView1->count(); ++i)
        shown << frm.ListView1->item(i)->text();
    QCOMPARE(shown, (QStringList{"alice", "bob"}));
    QVERIFY(!frm.btnProp1->isEnabled());
    QVERIFY(!frm.btnDelete1->isEnabled());
    listItem(frm, QStringLiteral("alice"))->setSelected(true);
    QVERIFY(frm.btnProp1->isEnabled());
    QVERIFY(frm.btnDelete1->isEnabled());
    frm.ListView1->clearSelection();
    QVERIFY(!frm.btnProp1->isEnabled());
    QVERIFY(!frm.btnDelete1->isEnabled());
}

void tst_OperatorWindows::addThroughTheList()
{
    TOperatorsFrm frm;
    scriptShows(QStringLiteral("OperatorEditorFrm"), {[](QDialog &editor) {
        QVERIFY(!editor.findChild<QLineEdit *>(QStringLiteral("edtUserId1"))->isReadOnly());
        setText(editor, "edtUserId1", QStringLiteral("carol"));
        setText(editor, "edtName1", QStringLiteral("Carol"));
        setText(editor, "edtContact1", QStringLiteral("666"));
        setText(editor, "edtNote1", QStringLiteral("new"));
        setText(editor, "edtPassword1", QStringLiteral("pw-c"));
        setText(editor, "edtPassword2", QStringLiteral("pw-c"));
        rightItem(editor, 10002)->setCheckState(Qt::Checked);
        rightItem(editor, 38)->setCheckState(Qt::Checked);
        press(editor, "OkBtn1");
    }});
    QTest::mouseClick(frm.btnAdd1, Qt::LeftButton);

    QCOMPARE(m_shows, 1);
    QVERIFY(m_prompter->shown().isEmpty());
    QListWidgetItem *item = listItem(frm, QStringLiteral("carol"));
    QVERIFY(item);
    QVERIFY(item->isSelected());
    QCOMPARE(column(QStringLiteral("carol"), QStringLiteral("Name")), QStringLiteral("Carol"));
    QCOMPARE(column(QStringLiteral("carol"), QStringLiteral("Contact")), QStringLiteral("666"));
    QCOMPARE(column(QStringLiteral("carol"), QStringLiteral("Note")), QStringLiteral("new"));
    QCOMPARE(
        column(QStringLiteral("carol"), QStringLiteral("Rights")), QStringLiteral(",38,,10002,"));
    QCOMPARE(column(QStringLiteral("carol"), QStringLiteral("XRights")),
        QStringLiteral("EmpViewAllDept=1"));
    QVERIFY(passwordIs(QStringLiteral("carol"), QStringLiteral("pw-c")));
}

void tst_OperatorWindows::addOfTakenNameShowsEditorAgain()
{
    TOperatorsFrm frm;
    scriptShows(QStringLiteral("OperatorEditorFrm"),
        {[](QDialog &editor) {
             setText(editor, "edtUserId1", QStringLiteral("ALICE"));
             setText(editor, "edtName1", QStringLiteral("Impostor"));
             press(editor, "OkBtn1");
         },
            [](QDialog &editor) {
                // What the user typed is still there to correct.
                QCOMPARE(editor.findChild<QLineEdit *>(QStringLiteral("edtUserId1"))->text(),
                    QStringLiteral("ALICE"));
                press(editor, "CancelBtn1");
            }});
    QTest::mouseClick(frm.btnAdd1, Qt::LeftButton);

    QCOMPARE(m_shows, 2);
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY2(m_prompter->lastText().contains(QStringLiteral("已经存在")),
        qPrintable(m_prompter->lastText()));
    QCOMPARE(frm.ListView1->count(), 2);
    QCOMPARE(column(QStringLiteral("alice"), QStringLiteral("Name")), QStringLiteral("Alice"));
    QCOMPARE(column(QStringLiteral("ALICE"), QStringLiteral("Name")), QStringLiteral("<no row>"));
}

void tst_OperatorWindows::addThatCannotStoreVisibilityStoresNothing()
{
    // Any write of the visibility lines fails.
    if (TheDatabase->IsSqlServer()) {
        TheDatabase->Execute(
            QStringLiteral("create function qm_refuse() returns trigger as "
                           "'begin raise exception ''refused''; end' language plpgsql"));
        TheDatabase->Execute(QStringLiteral(
            "create trigger qm_refuse before update on [operator] for each row "
            "when (new.XRights is distinct from old.XRights) execute function qm_refuse()"));
    } else {
        TheDatabase->Execute(
            QStringLiteral("create trigger qm_refuse before update of XRights on "
                           "[operator] begin select raise(abort, 'refused'); end"));
    }
    TOperatorsFrm frm;
    scriptShows(QStringLiteral("OperatorEditorFrm"),
        {[](QDialog &editor) {
             setText(editor, "edtUserId1", QStringLiteral("carol"));
             setText(editor, "edtName1", QStringLiteral("Carol"));
             press(editor, "OkBtn1");
         },
            [](QDialog &editor) {
                QCOMPARE(editor.findChild<QLineEdit *>(QStringLiteral("edtUserId1"))->text(),
                    QStringLiteral("carol"));
                press(editor, "CancelBtn1");
            }});
    QTest::mouseClick(frm.btnAdd1, Qt::LeftButton);

    QCOMPARE(m_shows, 2);
    QVERIFY2(m_prompter->lastText().contains(QStringLiteral("refused")),
        qPrintable(m_prompter->lastText()));
    QCOMPARE(column(QStringLiteral("carol"), QStringLiteral("Name")), QStringLiteral("<no row>"));
    QVERIFY(!listItem(frm, QStringLiteral("carol")));
}

void tst_OperatorWindows::editThroughTheList_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::newRow("password boxes left empty") << "";
    QTest::newRow("new password") << "pw-new";
}

void tst_OperatorWindows::editThroughTheList()
{
    QFETCH(QString, newPassword);
    TOperatorsFrm frm;
    listItem(frm, QStringLiteral("alice"))->setSelected(true);
    scriptShows(QStringLiteral("OperatorEditorFrm"), {[newPassword](QDialog &editor) {
        auto *login = editor.findChild<QLineEdit *>(QStringLiteral("edtUserId1"));
        QCOMPARE(login->text(), QStringLiteral("alice"));
        QVERIFY(login->isReadOnly());
        // The stored password is never shown, not even as its hash.
        QVERIFY(editor.findChild<QLineEdit *>(QStringLiteral("edtPassword1"))->text().isEmpty());
        QVERIFY(editor.findChild<QLineEdit *>(QStringLiteral("edtPassword2"))->text().isEmpty());
        QCOMPARE(editor.findChild<QLineEdit *>(QStringLiteral("edtName1"))->text(),
            QStringLiteral("Alice"));
        QCOMPARE(editor.findChild<QLineEdit *>(QStringLiteral("edtContact1"))->text(),
            QStringLiteral("555"));
        QCOMPARE(editor.findChild<QLineEdit *>(QStringLiteral("edtNote1"))->text(),
            QStringLiteral("note"));
        QCOMPARE(rightItem(editor, 9)->checkState(), Qt::Checked);
        QCOMPARE(rightItem(editor, 10002)->checkState(), Qt::Checked);
        QCOMPARE(rightItem(editor, 10)->checkState(), Qt::Unchecked);

        setText(editor, "edtName1", QStringLiteral("Alice L."));
        setText(editor, "edtPassword1", newPassword);
        setText(editor, "edtPassword2", newPassword);
        rightItem(editor, 9)->setCheckState(Qt::Unchecked);
        rightItem(editor, 10)->setCheckState(Qt::Checked);
        press(editor, "OkBtn1");
    }});
    QTest::mouseClick(frm.btnProp1, Qt::LeftButton);

    QCOMPARE(m_shows, 1);
    QVERIFY(m_prompter->shown().isEmpty());
    QCOMPARE(column(QStringLiteral("alice"), QStringLiteral("Name")), QStringLiteral("Alice L."));
    QCOMPARE(
        column(QStringLiteral("alice"), QStringLiteral("Rights")), QStringLiteral(",10,,10002,"));
    QCOMPARE(passwordIs(QStringLiteral("alice"), QStringLiteral("pw-a")), newPassword.isEmpty());
    if (!newPassword.isEmpty())
        QVERIFY(passwordIs(QStringLiteral("alice"), newPassword));
}

void tst_OperatorWindows::editOfVanishedOperatorShowsEditorAgain()
{
    TOperatorsFrm frm;
    listItem(frm, QStringLiteral("bob"))->setSelected(true);
    TheDatabase->Execute(QStringLiteral("delete from operator where LoginId='bob'"));
    scriptShows(QStringLiteral("OperatorEditorFrm"),
        {[](QDialog &editor) {
             setText(editor, "edtName1", QStringLiteral("Bob"));
             press(editor, "OkBtn1");
         },
            [](QDialog &editor) {
                press(editor, "CancelBtn1");
            }});
    frm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frm));
    doubleClick(frm.ListView1->viewport(),
        frm.ListView1->visualItemRect(listItem(frm, QStringLiteral("bob"))).center());

    QCOMPARE(m_shows, 2);
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY2(m_prompter->lastText().contains(QStringLiteral("没有返回operator的成功标记")),
        qPrintable(m_prompter->lastText()));
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("Name")), QStringLiteral("<no row>"));
}

void tst_OperatorWindows::deptPageWritesVisibilityThroughTheList()
{
    for (const char *dept : {"01", "0101", "02", "0203", "020301", "99"})
        TheDatabase->Execute(
            QStringLiteral("insert into department(Code, Name) values('%1', 'd%1')")
                .arg(QLatin1String(dept)));
    // 0501's parent is missing; 05 is a code the table does not list.
    TheDatabase->Execute(QStringLiteral("insert into department(Code, Name) values('0501', 'x')"));
    TheDatabase->Execute(
        QStringLiteral("update operator set XRights=:XRights where LoginId='alice'"),
        {MakeParameter(QStringLiteral("XRights"),
            QStringLiteral(
                "GzViewAllDept=1\r\nEmpViewAllDept=0\r\nEmpViewDept=05\r\nGzViewDept=05"))});

    TOperatorsFrm frm;
    listItem(frm, QStringLiteral("alice"))->setSelected(true);
    const auto treeItem = [](QDialog &editor, const QString &code) -> QTreeWidgetItem * {
        auto *tree = editor.findChild<QTreeWidget *>(QStringLiteral("DeptTree1"));
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if ((*it)->text(0) == code)
                return *it;
        return nullptr;
    };
    scriptShows(QStringLiteral("OperatorEditorFrm"),
        {[this, treeItem](QDialog &editor) {
             auto *all = editor.findChild<QCheckBox *>(QStringLiteral("chkAllDepts1"));
             auto *tree = editor.findChild<QTreeWidget *>(QStringLiteral("DeptTree1"));
             QVERIFY(editor.findChild<QWidget *>(QStringLiteral("DeptPage1")));
             QVERIFY(all && tree);
             QVERIFY(!all->isChecked());
             QVERIFY(tree->isEnabled());
             // 01, 02, 99, the orphan 0501 and the unlisted 05.
             QCOMPARE(tree->topLevelItemCount(), 5);
             QCOMPARE(treeItem(editor, QStringLiteral("020301"))->parent(),
                 treeItem(editor, QStringLiteral("0203")));
             QCOMPARE(treeItem(editor, QStringLiteral("0501"))->parent(), nullptr);
             QCOMPARE(treeItem(editor, QStringLiteral("05"))->checkState(0), Qt::Checked);
             all->setChecked(true);
             QVERIFY(!tree->isEnabled());
             all->setChecked(false);
             QVERIFY(tree->isEnabled());

             // Nothing ticked would let the reader show every department.
             treeItem(editor, QStringLiteral("05"))->setCheckState(0, Qt::Unchecked);
             press(editor, "OkBtn1");
             QCOMPARE(m_prompter->shown().size(), 1);
             QVERIFY(editor.isVisible());

             treeItem(editor, QStringLiteral("01"))->setCheckState(0, Qt::Checked);
             treeItem(editor, QStringLiteral("0203"))->setCheckState(0, Qt::Checked);
             press(editor, "OkBtn1");
         },
            [treeItem](QDialog &editor) {
                QVERIFY(
                    !editor.findChild<QCheckBox *>(QStringLiteral("chkAllDepts1"))->isChecked());
                QStringList ticked;
                auto *tree = editor.findChild<QTreeWidget *>(QStringLiteral("DeptTree1"));
                for (QTreeWidgetItemIterator it(tree); *it; ++it)
                    if ((*it)->checkState(0) == Qt::Checked)
                        ticked << (*it)->text(0);
                QCOMPARE(ticked, QStringList({"01", "0203"}));
                QVERIFY(!treeItem(editor, QStringLiteral("05")));
                press(editor, "CancelBtn1");
            }});
    QTest::mouseClick(frm.btnProp1, Qt::LeftButton);
    QCOMPARE(m_shows, 1);

    const QString xrights = column(QStringLiteral("alice"), QStringLiteral("XRights"));
    QCOMPARE(xrights.split(QStringLiteral("\r\n")),
        QStringList({"GzViewAllDept=1", "GzViewDept=05", "EmpViewAllDept=0", "EmpViewDept=01",
            "EmpViewDept=0203"}));
    const ROperatorRights loaded = LoadOperatorRight(QStringLiteral("alice"));
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(DeptRestriction(loaded.first().EmpRight),
        QStringLiteral(" and (DutyDeptId like '01%' or DutyDeptId like '0203%')"));

    QTest::mouseClick(frm.btnProp1, Qt::LeftButton);
    QCOMPARE(m_shows, 2);

    // A new operator starts out seeing every department.
    frm.Editor()->Clear();
    QVERIFY(frm.Editor()->chkAllDepts1->isChecked());
    QVERIFY(frm.Editor()->DeptRights().AllDepts);
}

void tst_OperatorWindows::deleteThroughTheList_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("confirmed") << true;
    QTest::newRow("declined") << false;
}

void tst_OperatorWindows::deleteThroughTheList()
{
    QFETCH(bool, confirmed);
    TOperatorsFrm frm;
    listItem(frm, QStringLiteral("alice"))->setSelected(true);
    m_prompter->answer(confirmed ? MessageButton::Ok : MessageButton::Cancel);
    QTest::mouseClick(frm.btnDelete1, Qt::LeftButton);

    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->lastText().contains(QStringLiteral("alice")));
    QCOMPARE(listItem(frm, QStringLiteral("alice")) == nullptr, confirmed);
    QCOMPARE(column(QStringLiteral("alice"), QStringLiteral("LoginId")),
        confirmed ? QStringLiteral("<no row>") : QStringLiteral("alice"));
    QCOMPARE(column(QStringLiteral("bob"), QStringLiteral("LoginId")), QStringLiteral("bob"));
    QCOMPARE(frm.btnDelete1->isEnabled(), !confirmed);
}

// ---------------------------------------------------------------- password change

struct PasswordEntry
{
    QString current;
    QString new1;
    QString new2;
};
Q_DECLARE_METATYPE(QList<PasswordEntry>)

void tst_OperatorWindows::changePassword_data()
{
    // Each show of the dialog gets one entry; an empty current password with
    // empty new ones stands for Cancel.
    QTest::addColumn<QList<PasswordEntry>>("shows");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QStringList>("messages");
    const QString wrong = QStringLiteral("当前密码验证失败,请确认并重新输入.");
    const QString done = QStringLiteral("密码更改成功! 下次登陆时请使用新密码.");
    const PasswordEntry cancel{};
    QTest::newRow("right current password")
        << QList<PasswordEntry>{{"pw-a", "pw-n", "pw-n"}} << true << QStringList{done};
    QTest::newRow("wrong current, then cancel")
        << QList<PasswordEntry>{{"PW-A", "pw-n", "pw-n"}, cancel} << false << QStringList{wrong};
    QTest::newRow("wrong current, then right") << QList<PasswordEntry>{{"nope", "pw-n", "pw-n"},
        {"pw-a", "pw-n", "pw-n"}} << true << QStringList{wrong, done};
    QTest::newRow("cancel") << QList<PasswordEntry>{cancel} << false << QStringList{};
}

void tst_OperatorWindows::changePassword()
{
    QFETCH(QList<PasswordEntry>, shows);
    QFETCH(bool, changed);
    QFETCH(QStringList, messages);
    QVERIFY(TheOperator->Load(QStringLiteral("alice")));
    QList<Show> script;
    for (const PasswordEntry &entry : shows) {
        script << [entry](QDialog &dialog) {
            auto *user = dialog.findChild<QLineEdit *>(QStringLiteral("edtUserId1"));
            QCOMPARE(user->text(), QStringLiteral("alice"));
            QVERIFY(!user->isEnabled());
            if (entry.current.isEmpty()) {
                press(dialog, "CancelBtn1");
                return;
            }
            setText(dialog, "edtPassword1", entry.current);
            setText(dialog, "edtNewPassword1", entry.new1);
            setText(dialog, "edtNewPassword2", entry.new2);
            press(dialog, "OkBtn1");
        };
    }
    scriptShows(QStringLiteral("PasswordChangerFrm"), script);

    QCOMPARE(ChangePassword(), changed);
    QCOMPARE(m_shows, shows.size());
    QStringList shown;
    for (const QString &text : m_prompter->texts())
        shown << text.trimmed();
    QCOMPARE(shown, messages);
    QCOMPARE(passwordIs(QStringLiteral("alice"), QStringLiteral("pw-n")), changed);
    QCOMPARE(passwordIs(QStringLiteral("alice"), QStringLiteral("pw-a")), !changed);
    QCOMPARE(TheOperator->CheckPassword(QStringLiteral("pw-n")), changed);
    QVERIFY(passwordIs(QStringLiteral("bob"), QStringLiteral("pw-b")));
}

void tst_OperatorWindows::changerRefusesDifferentNewPasswords()
{
    TPasswordChangerFrm frm;
    frm.show();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    frm.edtPassword1->setText(QStringLiteral("pw-a"));
    frm.edtNewPassword1->setText(QStringLiteral("one"));
    frm.edtNewPassword2->setText(QStringLiteral("two"));
    QTest::mouseClick(frm.OkBtn1, Qt::LeftButton);

    QVERIFY(frm.isVisible());
    QVERIFY(frm.result() != QDialog::Accepted);
    QCOMPARE(m_prompter->shown().size(), 1);
    QCOMPARE(m_prompter->shown().first().caption, QStringLiteral("澄岚人事档案管理系统"));
    QCOMPARE(m_prompter->lastText(), QStringLiteral("两次输入的新密码不一样,请确认并重新输入."));
    QVERIFY(frm.edtNewPassword1->text().isEmpty());
    QVERIFY(frm.edtNewPassword2->text().isEmpty());
    QCOMPARE(frm.edtPassword1->text(), QStringLiteral("pw-a"));
    QVERIFY(frm.edtNewPassword1->hasFocus());

    frm.edtNewPassword1->setText(QStringLiteral("two"));
    frm.edtNewPassword2->setText(QStringLiteral("two"));
    QTest::mouseClick(frm.OkBtn1, Qt::LeftButton);
    QCOMPARE(frm.result(), int(QDialog::Accepted));
}

QTEST_MAIN(tst_OperatorWindows)
#include "tst_operatorwindows.moc"
