#include "Company.h"
#include "CompanyInfo.h"
#include "TestSupport.h"
#include "qmProj.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

QString companyColumn(const QString &column)
{
    TDataSet set;
    TheDatabase->Fill(set, QStringLiteral("select %1 from Company where Id=1").arg(column));
    return set.IsEmpty() ? QStringLiteral("<no row>") : set.Fields(0)->AsString();
}

// What a user does in the dialog: type into every field and press a button
// (a disabled button ignores the click), then the dialog's result.
struct Entries
{
    QString company = QStringLiteral("澄岚\"科技\"有限公司");
    QString manager = QStringLiteral("O'Neil");
    QString tel = QStringLiteral("010-87654321");
    QString fax = QStringLiteral("010-87654322");
    QString address = QStringLiteral("北京市海淀区'中关村'");
    QString zip = QStringLiteral("100080");
    QString profile = QStringLiteral("第一行\n第二行");

    void typeInto(TCompanyInfoFrm &dialog) const
    {
        dialog.EdtCompany1->setText(company);
        dialog.EdtLawMan1->setText(manager);
        dialog.EdtTel1->setText(tel);
        dialog.EdtFax1->setText(fax);
        dialog.EdtAddress1->setText(address);
        dialog.edtZip1->setText(zip);
        dialog.MemIntrol1->setPlainText(profile);
    }
    bool shownIn(const TCompanyInfoFrm &dialog) const
    {
        return dialog.EdtCompany1->text() == company && dialog.EdtLawMan1->text() == manager
            && dialog.EdtTel1->text() == tel && dialog.EdtFax1->text() == fax
            && dialog.EdtAddress1->text() == address && dialog.edtZip1->text() == zip
            && dialog.MemIntrol1->toPlainText() == profile;
    }
};

int press(TCompanyInfoFrm &dialog, QPushButton *button)
{
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    button->click();
    dialog.hide();
    return dialog.result();
}

// Makes updates of the company table succeed without changing a row.
void ignoreCompanyUpdates(bool on)
{
    if (TheDatabase->IsSqlServer())
        TheDatabase->Execute(on
                ? QStringLiteral(
                    "create rule company_frozen as on update to Company do instead nothing")
                : QStringLiteral("drop rule company_frozen on Company"));
    else
        TheDatabase->Execute(on
                ? QStringLiteral("create trigger company_frozen before update on Company "
                                 "begin select raise(ignore); end")
                : QStringLiteral("drop trigger company_frozen"));
}

} // namespace

class tst_CompanyInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { addEngineRows(); }
    void init()
    {
        QM_INIT_ENGINE(m_fixture);
        TheDatabase->Execute(
            QStringLiteral("update Company set CompanyName='我的公司', Manager='张三', "
                           "Tel='0571-1', Fax='0571-2', Address='杭州', Zip='310000', "
                           "Profile='简介\n两行', Updated=1 where Id=1"));
        CreateProjectObjects();
        TheCompany->Load();
    }
    void cleanup()
    {
        FreeProjectObjects();
        m_fixture.reset();
    }

    void showsTheCompany();
    void okOnlyWhenEditable_data();
    void okOnlyWhenEditable();
    void okSavesTheEntries();
    void failedSaveShowsTheErrorAndKeepsTheEntries_data();
    void failedSaveShowsTheErrorAndKeepsTheEntries();
    void modalDialogAnswersItsButtons();

private:
    std::unique_ptr<EngineFixture> m_fixture;
};

void tst_CompanyInfo::showsTheCompany()
{
    int shown = 0;
    TheCompany->RunDialog = [&](TCompanyInfoFrm &dialog) {
        ++shown;
        [&] {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("公司信息"));
            QCOMPARE(dialog.EdtCompany1->text(), QStringLiteral("我的公司"));
            QCOMPARE(dialog.EdtLawMan1->text(), QStringLiteral("张三"));
            QCOMPARE(dialog.EdtTel1->text(), QStringLiteral("0571-1"));
            QCOMPARE(dialog.EdtFax1->text(), QStringLiteral("0571-2"));
            QCOMPARE(dialog.EdtAddress1->text(), QStringLiteral("杭州"));
            QCOMPARE(dialog.edtZip1->text(), QStringLiteral("310000"));
            QCOMPARE(dialog.MemIntrol1->toPlainText(), QStringLiteral("简介\n两行"));
            QCOMPARE(dialog.MemIntrol1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            for (const char *name : {"EdtCompany1", "EdtLawMan1", "EdtTel1", "EdtFax1",
                     "EdtAddress1", "edtZip1", "MemIntrol1"})
                QVERIFY2(dialog.findChild<QWidget *>(QLatin1String(name)), name);
            QStringList captions;
            for (const QLabel *label : dialog.findChildren<QLabel *>())
                captions << label->text();
            for (const char *caption :
                {"企业名称", "负责人", "联系电话", "传真号码", "地址", "邮编", "公司简介"})
                QVERIFY2(captions.contains(QString::fromUtf8(caption)), caption);
            auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("OkBtn1"));
            auto *cancel = dialog.findChild<QPushButton *>(QStringLiteral("CancelBtn1"));
            QVERIFY(ok && cancel);
            QCOMPARE(ok->text(), QStringLiteral("确定"));
            QCOMPARE(cancel->text(), QStringLiteral("取消"));
            // No help topic exists yet, so no help button that would do nothing.
            QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("HelpBtn1")));
        }();
        return press(dialog, dialog.CancelBtn1);
    };
    QVERIFY(!TheCompany->Edit(false));
    QCOMPARE(shown, 1);
}

void tst_CompanyInfo::okOnlyWhenEditable_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("editable") << false;
    QTest::newRow("read-only") << true;
}

void tst_CompanyInfo::okOnlyWhenEditable()
{
    QFETCH(bool, readOnly);
    const Entries typed;
    int shown = 0;
    TheCompany->RunDialog = [&](TCompanyInfoFrm &dialog) {
        if (++shown > 1) // a failed save brings the dialog back; give up
            return press(dialog, dialog.CancelBtn1);
        typed.typeInto(dialog);
        const int result = press(dialog, dialog.OkBtn1);
        // A read-only dialog ignores OK; the user then has to cancel.
        return result == QDialog::Accepted ? result : press(dialog, dialog.CancelBtn1);
    };
    QCOMPARE(TheCompany->Edit(readOnly), !readOnly);
    QCOMPARE(shown, 1);
    QCOMPARE(companyColumn(QStringLiteral("CompanyName")),
        readOnly ? QStringLiteral("我的公司") : typed.company);
    QCOMPARE(TheCompany->CompanyName, readOnly ? QStringLiteral("我的公司") : typed.company);
}

void tst_CompanyInfo::okSavesTheEntries()
{
    const Entries typed;
    int shown = 0;
    TheCompany->RunDialog = [&](TCompanyInfoFrm &dialog) {
        if (++shown > 1)
            return press(dialog, dialog.CancelBtn1);
        typed.typeInto(dialog);
        return press(dialog, dialog.OkBtn1);
    };
    QVERIFY(TheCompany->Edit(false));
    QCOMPARE(shown, 1);

    TCompany stored;
    stored.Load();
    QCOMPARE(stored.Id, 1);
    QCOMPARE(stored.CompanyName, typed.company);
    QCOMPARE(stored.Manager, typed.manager);
    QCOMPARE(stored.Tel, typed.tel);
    QCOMPARE(stored.Fax, typed.fax);
    QCOMPARE(stored.Address, typed.address);
    QCOMPARE(stored.Zip, typed.zip);
    QCOMPARE(stored.Profile, typed.profile);
    QVERIFY(stored.Updated);
    QCOMPARE(TheCompany->Profile, typed.profile);
}

void tst_CompanyInfo::failedSaveShowsTheErrorAndKeepsTheEntries_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("table missing") << "table"
                                   << "select 1 from Company where Id=:Id";
    QTest::newRow("update changes no row") << "update"
                                           << "没有返回Company的成功标记";
}

void tst_CompanyInfo::failedSaveShowsTheErrorAndKeepsTheEntries()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    auto breakSaving = [&](bool on) {
        if (fault == QLatin1String("table"))
            TheDatabase->Execute(on ? QStringLiteral("alter table Company rename to Company_gone")
                                    : QStringLiteral("alter table Company_gone rename to Company"));
        else
            ignoreCompanyUpdates(on);
    };

    ScriptedPrompter prompter;
    const Entries typed;
    int shown = 0;
    bool entriesKept = false;
    QString recordWhileShownAgain;
    TheCompany->RunDialog = [&](TCompanyInfoFrm &dialog) {
        ++shown;
        if (shown == 1) {
            typed.typeInto(dialog);
            breakSaving(true);
            return press(dialog, dialog.OkBtn1);
        }
        entriesKept = typed.shownIn(dialog);
        recordWhileShownAgain = TheCompany->CompanyName;
        if (shown == 2) { // the second try, with saving possible again, succeeds
            breakSaving(false);
            return press(dialog, dialog.OkBtn1);
        }
        return press(dialog, dialog.CancelBtn1);
    };

    QVERIFY(TheCompany->Edit(false));
    QCOMPARE(shown, 2);
    QVERIFY(entriesKept);
    QVERIFY2(!prompter.shown().isEmpty() && prompter.shown().first().text.contains(message),
        qPrintable(prompter.texts().join(QLatin1String("\n---\n"))));
    // Between the two tries the record holds what is stored, not the unsaved entries.
    QCOMPARE(recordWhileShownAgain, QStringLiteral("我的公司"));
    QCOMPARE(companyColumn(QStringLiteral("CompanyName")), typed.company);
    QCOMPARE(companyColumn(QStringLiteral("Profile")), typed.profile);
    QCOMPARE(TheCompany->CompanyName, typed.company);
}

void tst_CompanyInfo::modalDialogAnswersItsButtons()
{
    // The real modal loop, answered by a timer. Any later showing (a failed
    // save) and a dialog that never shows up are rejected, so the test cannot hang.
    int answered = 0;
    int polls = 0;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<TCompanyInfoFrm *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && ++answered == 1) {
            dialog->EdtTel1->setText(QStringLiteral("400-000-0000"));
            QTest::mouseClick(dialog->OkBtn1, Qt::LeftButton);
        } else if (dialog || ++polls > 250) {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<QDialog *>(w))
                    d->reject();
        }
    });
    timer.start();
    QVERIFY(TheCompany->Edit(false));
    QCOMPARE(answered, 1);
    QCOMPARE(companyColumn(QStringLiteral("Tel")), QStringLiteral("400-000-0000"));
}

QTEST_MAIN(tst_CompanyInfo)
#include "tst_companyinfo.moc"
