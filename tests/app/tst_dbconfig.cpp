#include "Configer.h"
#include "ConnectionString.h"
#include "DBConfig.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

class tst_DBConfig : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controlsShowTheConfiguration();
    void providerSelectsItsPage_data();
    void providerSelectsItsPage();
    void defaultConnectionDisablesTheFileControls();
    void okSavesWhatTheControlsShow();
    void badPortKeepsTheDialogOpen_data();
    void badPortKeepsTheDialogOpen();
    void unusedPortFieldDoesNotBlock();
    void failedSaveKeepsTheDialogOpen();
    void cancelSavesNothing();
    void enterMovesToTheNextControl();

private:
    template <typename W> W *child(const QWidget &dialog, const char *name)
    {
        W *w = dialog.findChild<W *>(QLatin1String(name));
        if (!w)
            qWarning("no control %s", name);
        return w;
    }
    QString iniPath() const { return m_dir->filePath(QStringLiteral("cfg.ini")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
};

void tst_DBConfig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompter = std::make_unique<ScriptedPrompter>();
}

void tst_DBConfig::cleanup()
{
    m_prompter.reset();
    m_dir.reset();
}

void tst_DBConfig::controlsShowTheConfiguration()
{
    {
        TConfiger saved(m_dir->path());
        saved.ProviderIdx = 1;
        saved.DefaultCon = false;
        saved.MssqlServer = QStringLiteral("db1");
        saved.MssqlPort = 6543;
        saved.MssqlDb = QStringLiteral("hr");
        saved.MssqlUser = QStringLiteral("clerk");
        saved.MssqlPw = QStringLiteral("secret");
        saved.JetFile = QStringLiteral("/data/人事.db");
        saved.VizUrl = QStringLiteral("http://dir/viz");
        saved.VizUser = QStringLiteral("张三");
        saved.Save();
    }
    TConfiger cfg(m_dir->path());
    TDBConfigFrm dialog(cfg);
    QCOMPARE(child<QLineEdit>(dialog, "mssqlServerEdit1")->text(), QStringLiteral("db1"));
    QCOMPARE(child<QLineEdit>(dialog, "mssqlPortEdit1")->text(), QStringLiteral("6543"));
    QCOMPARE(child<QLineEdit>(dialog, "mssqlDbEdit1")->text(), QStringLiteral("hr"));
    QCOMPARE(child<QLineEdit>(dialog, "mssqlUserEdit1")->text(), QStringLiteral("clerk"));
    QLineEdit *pw = child<QLineEdit>(dialog, "mssqlPwEdit1");
    QCOMPARE(pw->text(), QStringLiteral("secret"));
    QCOMPARE(pw->echoMode(), QLineEdit::Password);
    QCOMPARE(child<QLineEdit>(dialog, "jetfileEdit1")->text(), QStringLiteral("/data/人事.db"));
    QCOMPARE(child<QCheckBox>(dialog, "jetDefaultCheckBox1")->isChecked(), false);
    QCOMPARE(child<QLineEdit>(dialog, "edtVizUrl1")->text(), QStringLiteral("http://dir/viz"));
    QCOMPARE(child<QLineEdit>(dialog, "edtVizUser1")->text(), QStringLiteral("张三"));
    QCOMPARE(child<QComboBox>(dialog, "ComboBox1")->currentIndex(), 1);
    QCOMPARE(child<QStackedWidget>(dialog, "Notebook1")->currentWidget()->objectName(),
        QStringLiteral("jet4"));
    QCOMPARE(child<QPushButton>(dialog, "Button1")->text(), QStringLiteral("确定(&Y)"));
    QCOMPARE(child<QPushButton>(dialog, "Button2")->text(), QStringLiteral("取消"));

    // No file at all: the defaults, port 5432 on the server page.
    TConfiger empty(m_dir->filePath(QStringLiteral("none")));
    TDBConfigFrm fresh(empty);
    QCOMPARE(child<QLineEdit>(fresh, "mssqlPortEdit1")->text(), QStringLiteral("5432"));
    QCOMPARE(child<QStackedWidget>(fresh, "Notebook1")->currentWidget()->objectName(),
        QStringLiteral("mssql"));
    QCOMPARE(child<QCheckBox>(fresh, "jetDefaultCheckBox1")->isChecked(), true);
}

void tst_DBConfig::providerSelectsItsPage_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("page");
    QTest::newRow("server") << 0 << QStringLiteral("mssql");
    QTest::newRow("file") << 1 << QStringLiteral("jet4");
    QTest::newRow("directory") << 2 << QStringLiteral("qmdip");
}

void tst_DBConfig::providerSelectsItsPage()
{
    QFETCH(int, index);
    QFETCH(QString, page);
    TConfiger cfg(m_dir->path());
    cfg.ProviderIdx = (index + 1) % 3;
    TDBConfigFrm dialog(cfg);
    child<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(index);
    QCOMPARE(child<QStackedWidget>(dialog, "Notebook1")->currentWidget()->objectName(), page);
}

void tst_DBConfig::defaultConnectionDisablesTheFileControls()
{
    TConfiger cfg(m_dir->path());
    cfg.DefaultCon = true;
    TDBConfigFrm dialog(cfg);
    auto *box = child<QCheckBox>(dialog, "jetDefaultCheckBox1");
    auto *file = child<QLineEdit>(dialog, "jetfileEdit1");
    auto *button = child<QPushButton>(dialog, "jetFileButton1");
    QVERIFY(!file->isEnabled());
    QVERIFY(!button->isEnabled());
    box->click();
    QVERIFY(file->isEnabled());
    QVERIFY(button->isEnabled());
    box->click();
    QVERIFY(!file->isEnabled());
    QVERIFY(!button->isEnabled());
}

void tst_DBConfig::okSavesWhatTheControlsShow()
{
    TConfiger cfg(m_dir->path());
    TDBConfigFrm dialog(cfg);
    dialog.show();
    child<QLineEdit>(dialog, "mssqlServerEdit1")->setText(QStringLiteral("db2"));
    child<QLineEdit>(dialog, "mssqlPortEdit1")->setText(QStringLiteral(" 6544 "));
    child<QLineEdit>(dialog, "mssqlDbEdit1")->setText(QStringLiteral("hr"));
    child<QLineEdit>(dialog, "mssqlUserEdit1")->setText(QStringLiteral("clerk"));
    child<QLineEdit>(dialog, "mssqlPwEdit1")->setText(QStringLiteral("a;b"));
    child<QLineEdit>(dialog, "edtVizUser1")->setText(QStringLiteral("张三"));
    child<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(0);
    child<QPushButton>(dialog, "Button1")->click();

    QCOMPARE(m_prompter->shown().size(), 0);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    // The caller's configuration is the one that changed, ready for the next
    // attempt, and the file holds the same.
    QCOMPARE(ConnectionString::value(cfg.GetConnectionString(), QStringLiteral("Password")),
        QStringLiteral("a;b"));
    TConfiger reread(m_dir->path());
    QCOMPARE(reread.ProviderIdx, 0);
    QCOMPARE(reread.MssqlServer, QStringLiteral("db2"));
    QCOMPARE(reread.MssqlPort, 6544);
    QCOMPARE(reread.MssqlDb, QStringLiteral("hr"));
    QCOMPARE(reread.MssqlUser, QStringLiteral("clerk"));
    QCOMPARE(reread.MssqlPw, QStringLiteral("a;b"));
    QCOMPARE(reread.VizUser, QStringLiteral("张三"));
    QCOMPARE(reread.DefaultCon, true);
    QCOMPARE(reread.GetConnectionString(), cfg.GetConnectionString());
}

void tst_DBConfig::badPortKeepsTheDialogOpen_data()
{
    QTest::addColumn<QString>("port");
    QTest::newRow("letters") << QStringLiteral("abc");
    QTest::newRow("empty") << QString();
    QTest::newRow("zero") << QStringLiteral("0");
    QTest::newRow("negative") << QStringLiteral("-1");
    QTest::newRow("too large") << QStringLiteral("65536");
    QTest::newRow("fraction") << QStringLiteral("54.3");
    QTest::newRow("with server") << QStringLiteral("host:5432");
}

void tst_DBConfig::badPortKeepsTheDialogOpen()
{
    QFETCH(QString, port);
    TConfiger cfg(m_dir->path());
    TDBConfigFrm dialog(cfg);
    dialog.show();
    child<QLineEdit>(dialog, "mssqlServerEdit1")->setText(QStringLiteral("db2"));
    child<QLineEdit>(dialog, "mssqlPortEdit1")->setText(port);
    child<QPushButton>(dialog, "Button1")->click();

    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_prompter->texts(),
        QStringList{QStringLiteral("\r\n端口必须是 1 到 65535 之间的整数.\t")});
    QVERIFY(!QFile::exists(iniPath()));
    QCOMPARE(cfg.MssqlServer, QString());

    // Mended, the same dialog closes and saves.
    child<QLineEdit>(dialog, "mssqlPortEdit1")->setText(QStringLiteral("65535"));
    child<QPushButton>(dialog, "Button1")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(TConfiger(m_dir->path()).MssqlPort, 65535);
}

void tst_DBConfig::unusedPortFieldDoesNotBlock()
{
    TConfiger cfg(m_dir->path());
    cfg.MssqlPort = 6543;
    TDBConfigFrm dialog(cfg);
    dialog.show();
    child<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(1);
    child<QLineEdit>(dialog, "mssqlPortEdit1")->setText(QStringLiteral("abc"));
    child<QPushButton>(dialog, "Button1")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    TConfiger reread(m_dir->path());
    QCOMPARE(reread.ProviderIdx, 1);
    QCOMPARE(reread.MssqlPort, 6543);
}

void tst_DBConfig::failedSaveKeepsTheDialogOpen()
{
    TConfiger cfg(m_dir->filePath(QStringLiteral("missing")));
    TDBConfigFrm dialog(cfg);
    dialog.show();
    child<QPushButton>(dialog, "Button1")->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(m_prompter->lastText().contains(QStringLiteral("cfg.ini")));

    m_prompter->clear();
    TConfiger good(m_dir->path());
    TDBConfigFrm second(good);
    second.show();
    child<QLineEdit>(second, "mssqlPwEdit1")->setText(QStringLiteral("tab\there"));
    child<QPushButton>(second, "Button1")->click();
    QVERIFY(second.isVisible());
    QCOMPARE(m_prompter->shown().size(), 1);
    QVERIFY(!QFile::exists(iniPath()));
}

void tst_DBConfig::cancelSavesNothing()
{
    TConfiger cfg(m_dir->path());
    TDBConfigFrm dialog(cfg);
    dialog.show();
    child<QLineEdit>(dialog, "mssqlServerEdit1")->setText(QStringLiteral("db2"));
    child<QPushButton>(dialog, "Button2")->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QVERIFY(!QFile::exists(iniPath()));
    QCOMPARE(cfg.MssqlServer, QString());
}

void tst_DBConfig::enterMovesToTheNextControl()
{
    TConfiger cfg(m_dir->path());
    TDBConfigFrm dialog(cfg);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *server = child<QLineEdit>(dialog, "mssqlServerEdit1");
    server->setFocus();
    QTRY_VERIFY(server->hasFocus());
    QTest::keyClick(server, Qt::Key_Return);
    QVERIFY(child<QLineEdit>(dialog, "mssqlPortEdit1")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QVERIFY(child<QLineEdit>(dialog, "mssqlDbEdit1")->hasFocus());
    // Enter in a field is not OK: nothing was saved and the dialog stays.
    QVERIFY(dialog.isVisible());
    QVERIFY(!QFile::exists(iniPath()));
}

QTEST_MAIN(tst_DBConfig)
#include "tst_dbconfig.moc"
