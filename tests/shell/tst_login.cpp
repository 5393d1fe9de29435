#include "Configer.h"
#include "Login.h"
#include "Operator.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The login window and Login(), offscreen, with scripted answers, on both
// engines.
class tst_Login : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase_data() { addEngineRows(); }
    void initTestCase();
    void init();
    void cleanup();

    void rightPasswordLogsIn_data();
    void rightPasswordLogsIn();
    void wrongEntryKeepsWindowOpen_data();
    void wrongEntryKeepsWindowOpen();
    void failedLookupForgetsThePreviousName();
    void enterInPasswordBoxActsAsOk_data();
    void enterInPasswordBoxActsAsOk();
    void cancelKeepsCurrentOperator_data();
    void cancelKeepsCurrentOperator();
    void offersOperatorsAndLastName_data();
    void offersOperatorsAndLastName();
    void emptyPasswordIsPointedOut_data();
    void emptyPasswordIsPointedOut();

private:
    enum class Press { Ok, Enter, Cancel, Escape };
    // Makes Login() type into its window and press as told.
    void scriptLogin(const QString &loginId, const QString &password, Press press);
    static void fillAndPress(
        QDialog &dialog, const QString &loginId, const QString &password, Press press);
    static void loginAsSa();

    std::unique_ptr<EngineFixture> m_fixture;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<QTemporaryDir> m_cfgDir;
};

void tst_Login::initTestCase()
{
    PasswordHash::SetIterations(1000);
}

void tst_Login::init()
{
    // A skipped row leaves the previous prompter in place; it must go before
    // the next one installs itself.
    m_prompter.reset();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_cfgDir = std::make_unique<QTemporaryDir>();
    TConfiger::SetDefaultFolder(m_cfgDir->path());
    QM_INIT_ENGINE(m_fixture);
    TheOperator->Clear();
    TheOperatorRight = ROperatorRight();
    TOperatorSet set;
    set.AddOperator(QStringLiteral("alice"), QStringLiteral("pw-a"), QStringLiteral(",9,"),
        QString(), QString(), QStringLiteral("Alice"));
    set.AddOperator(
        QStringLiteral("bob"), QStringLiteral("pw-b"), QString(), QString(), QString(), QString());
    TheDatabase->Execute(
        QStringLiteral("update operator set XRights='EmpViewDept=01' where LoginId='alice'"));
}

void tst_Login::cleanup()
{
    SetModalRunner(nullptr);
    TheOperator->Clear();
    TheOperatorRight = ROperatorRight();
    m_fixture.reset();
    TConfiger::SetDefaultFolder(QString());
    m_cfgDir.reset();
    m_prompter.reset();
}

void tst_Login::fillAndPress(
    QDialog &dialog, const QString &loginId, const QString &password, Press press)
{
    auto *name = dialog.findChild<QComboBox *>(QStringLiteral("edtLoginId1"));
    auto *pw = dialog.findChild<QLineEdit *>(QStringLiteral("edtPassword1"));
    QVERIFY(name && pw);
    name->setCurrentText(loginId);
    pw->setText(password);
    switch (press) {
    case Press::Ok:
        QTest::mouseClick(
            dialog.findChild<QPushButton *>(QStringLiteral("OkBtn1")), Qt::LeftButton);
        break;
    case Press::Enter:
        QTest::keyClick(pw, Qt::Key_Return);
        break;
    case Press::Cancel:
        QTest::mouseClick(
            dialog.findChild<QPushButton *>(QStringLiteral("CancelBtn1")), Qt::LeftButton);
        break;
    case Press::Escape:
        QTest::keyClick(pw, Qt::Key_Escape);
        break;
    }
}

void tst_Login::scriptLogin(const QString &loginId, const QString &password, Press press)
{
    SetModalRunner([=](QDialog &dialog) {
        [&] {
            QCOMPARE(dialog.objectName(), QStringLiteral("LoginFrm"));
            dialog.show();
            fillAndPress(dialog, loginId, password, press);
        }();
        // A refused entry leaves the window open; a real modal loop would go
        // on waiting, here it ends as a cancel.
        dialog.hide();
        return dialog.result();
    });
}

void tst_Login::loginAsSa()
{
    QVERIFY(TheOperator->Load(QStringLiteral("sa")));
    TheOperatorRight = ROperatorRight{QStringLiteral("sa"), RDeptRit()};
}

void tst_Login::rightPasswordLogsIn_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("loginId");
    QTest::addColumn<QString>("restriction");
    QTest::newRow("as stored") << "alice"
                               << "pw-a"
                               << "alice"
                               << " and (DutyDeptId like '01%')";
    QTest::newRow("other letter case") << "ALICE"
                                       << "pw-a"
                                       << "alice"
                                       << " and (DutyDeptId like '01%')";
    QTest::newRow("blanks around the name") << " alice "
                                            << "pw-a"
                                            << "alice"
                                            << " and (DutyDeptId like '01%')";
    QTest::newRow("superuser in upper case") << "SA"
                                             << ""
                                             << "sa"
                                             << "";
}

void tst_Login::rightPasswordLogsIn()
{
    QFETCH(QString, typed);
    QFETCH(QString, password);
    QFETCH(QString, loginId);
    QFETCH(QString, restriction);
    scriptLogin(typed, password, Press::Ok);
    QVERIFY(Login());
    QCOMPARE(TheOperator->LoginId, loginId);
    QCOMPARE(TConfiger::ReadLastLoginId(), loginId);
    QCOMPARE(TheOperatorRight.LoginId, loginId);
    QCOMPARE(DeptRestriction(), restriction);
}

void tst_Login::wrongEntryKeepsWindowOpen_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("password");
    QTest::newRow("wrong password") << "alice"
                                    << "nope";
    QTest::newRow("password in other letter case") << "alice"
                                                   << "PW-A";
    QTest::newRow("unknown name with a known password") << "nobody"
                                                        << "pw-a";
    QTest::newRow("empty password") << "alice"
                                    << "";
    QTest::newRow("another operator's password") << "bob"
                                                 << "pw-a";
}

void tst_Login::wrongEntryKeepsWindowOpen()
{
    QFETCH(QString, typed);
    QFETCH(QString, password);
    // A re-login: sa is logged in, and the file remembers bob.
    loginAsSa();
    QVERIFY(TConfiger::WriteLastLoginId(QStringLiteral("bob")));

    TLoginFrm frm;
    frm.show();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    fillAndPress(frm, typed, password, Press::Ok);

    QVERIFY(frm.isVisible());
    QVERIFY(frm.result() != QDialog::Accepted);
    QVERIFY(frm.edtPassword1->hasFocus());
    QCOMPARE(frm.edtPassword1->selectedText(), password);
    QCOMPARE(TConfiger::ReadLastLoginId(), QStringLiteral("bob"));
    QCOMPARE(TheOperator->LoginId, QStringLiteral("sa"));
    QCOMPARE(TheOperatorRight.LoginId, QStringLiteral("sa"));
    QVERIFY(m_prompter->shown().isEmpty());

    // The same window then takes the right password.
    fillAndPress(frm, QStringLiteral("alice"), QStringLiteral("pw-a"), Press::Ok);
    QCOMPARE(frm.result(), int(QDialog::Accepted));
    QCOMPARE(TheOperator->LoginId, QStringLiteral("alice"));
}

void tst_Login::failedLookupForgetsThePreviousName()
{
    TLoginFrm frm;
    frm.show();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    fillAndPress(frm, QStringLiteral("alice"), QStringLiteral("nope"), Press::Ok);
    QVERIFY(frm.isVisible());
    // The window's candidate still knew alice; a name that is not found must
    // not be checked against her password.
    fillAndPress(frm, QStringLiteral("nobody"), QStringLiteral("pw-a"), Press::Ok);
    QVERIFY(frm.isVisible());
    QVERIFY(frm.result() != QDialog::Accepted);
    QVERIFY(TheOperator->LoginId.isEmpty());
    QCOMPARE(TConfiger::ReadLastLoginId(), QString());
}

void tst_Login::enterInPasswordBoxActsAsOk_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("right password") << "pw-a" << true;
    QTest::newRow("wrong password") << "pw-b" << false;
}

void tst_Login::enterInPasswordBoxActsAsOk()
{
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    TLoginFrm frm;
    frm.show();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    fillAndPress(frm, QStringLiteral("alice"), password, Press::Enter);
    QCOMPARE(frm.result() == QDialog::Accepted, accepted);
    QCOMPARE(frm.isVisible(), !accepted);
    QCOMPARE(TheOperator->LoginId, accepted ? QStringLiteral("alice") : QString());
    QCOMPARE(TConfiger::ReadLastLoginId(), accepted ? QStringLiteral("alice") : QString());
    if (!accepted)
        QCOMPARE(frm.edtPassword1->selectedText(), password);
}

void tst_Login::cancelKeepsCurrentOperator_data()
{
    QTest::addColumn<int>("press");
    QTest::newRow("cancel button") << int(Press::Cancel);
    QTest::newRow("escape key") << int(Press::Escape);
}

void tst_Login::cancelKeepsCurrentOperator()
{
    QFETCH(int, press);
    loginAsSa();
    // Even with the right password typed, cancelling logs nobody in.
    scriptLogin(QStringLiteral("alice"), QStringLiteral("pw-a"), Press(press));
    QVERIFY(!Login());
    QCOMPARE(TheOperator->LoginId, QStringLiteral("sa"));
    QCOMPARE(TheOperatorRight.LoginId, QStringLiteral("sa"));
    QCOMPARE(TConfiger::ReadLastLoginId(), QString());
    QVERIFY(m_prompter->shown().isEmpty());
}

void tst_Login::offersOperatorsAndLastName_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("shown");
    QTest::newRow("remembered name") << "bob"
                                     << "bob";
    QTest::newRow("nothing remembered") << ""
                                        << "sa";
}

void tst_Login::offersOperatorsAndLastName()
{
    QFETCH(QString, last);
    QFETCH(QString, shown);
    if (!last.isEmpty())
        QVERIFY(TConfiger::WriteLastLoginId(last));
    TLoginFrm frm;
    QStringList offered;
    for (int i = 0; i < frm.edtLoginId1->count(); ++i)
        offered << frm.edtLoginId1->itemText(i);
    QCOMPARE(offered, (QStringList{"alice", "bob"}));
    QCOMPARE(frm.edtLoginId1->currentText(), shown);
    QCOMPARE(frm.windowTitle(), QStringLiteral("登陆"));
    QCOMPARE(frm.lblTitle1->text(), QStringLiteral("澄岚人事档案管理系统"));
    QCOMPARE(frm.edtPassword1->echoMode(), QLineEdit::Password);
}

void tst_Login::emptyPasswordIsPointedOut_data()
{
    QTest::addColumn<QString>("loginId");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("notice");
    QTest::newRow("new database's sa") << "sa"
                                       << "" << true;
    QTest::newRow("operator with a password") << "alice"
                                              << "pw-a" << false;
}

void tst_Login::emptyPasswordIsPointedOut()
{
    QFETCH(QString, loginId);
    QFETCH(QString, password);
    QFETCH(bool, notice);
    scriptLogin(loginId, password, Press::Ok);
    QVERIFY(Login());
    QCOMPARE(m_prompter->shown().size(), notice ? 1 : 0);
    if (notice) {
        QCOMPARE(m_prompter->shown().first().kind, MessageKind::Information);
        QVERIFY2(m_prompter->lastText().contains(QStringLiteral("更改密码")),
            qPrintable(m_prompter->lastText()));
    }
}

QTEST_MAIN(tst_Login)
#include "tst_login.moc"
