// The report catalogue on both engines: table report's entries, the window
// "打印" with its handlers and rights, templates through the blob and the
// designer's hooks.
#include "Error.h"
#include "GridExport.h"
#include "Operator.h"
#include "ProjRep.h"
#include "Pub.h"
#include "RecordSet.h"
#include "ReportDesignCanvas.h"
#include "ReportDesigner.h"
#include "ReportFixtures.h"
#include "ReportPreview.h"
#include "ReportRenderer.h"
#include "Reporter.h"
#include "TestSupport.h"
#include "a.h"
#include "qmProj.h"
#include "qmRep.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace ReportFixtures;

namespace {

struct Entry
{
    int id;
    int group;
    QString title;
    bool operator==(const Entry &o) const
    {
        return id == o.id && group == o.group && title == o.title;
    }
};

QList<Entry> entries()
{
    TDataSet set;
    TheDatabase->Fill(set, QStringLiteral("select Id, GrpId, Title from report order by Id"));
    QList<Entry> list;
    for (int r = 0; r < set.RecordCount(); ++r)
        list.append(
            {set.ValueAt(r, 0).toInt(), set.ValueAt(r, 1).toInt(), set.DisplayTextAt(r, 2)});
    return list;
}

QByteArray blobOf(int id)
{
    TDataSet set;
    TheDatabase->Fill(set, QStringLiteral("select Fr3File from report where Id=:Id"),
        {MakeParameter(QStringLiteral("Id"), id)});
    return set.IsEmpty() ? QByteArray() : set.Fields(0)->AsBytes();
}

int storeEntry(int group, const QString &title, const QByteArray &blob)
{
    const int id = TRep::AddReport(title, group);
    TheDatabase->Execute(QStringLiteral("update report set Fr3File=:Fr3File where Id=:Id"),
        {MakeParameter(QStringLiteral("Id"), id)},
        {TxDBParameter{QStringLiteral("Fr3File"), blob}});
    return id;
}

QStringList listed(const TReporterFrm &frm)
{
    QStringList titles;
    for (int i = 0; i < frm.ListBox1->count(); ++i)
        titles << frm.ListBox1->item(i)->text();
    return titles;
}

// A template that prints the first data set's names and the company.
QByteArray namesTemplate(const QString &name = QStringLiteral("名单"))
{
    ReportTemplate t;
    t.name = name;
    ReportBand title;
    title.type = BandType::ReportTitle;
    ReportObject company;
    company.w = 100;
    company.text = QStringLiteral("[u_Company]");
    title.objects << company;
    ReportBand master;
    master.dataSet = QStringLiteral("d0");
    ReportObject field;
    field.w = 60;
    field.text = QStringLiteral("[d0.Name]");
    master.objects << field;
    t.bands << title << master;
    return t.toJson();
}

// Runs the modal windows of one user action: each dialog shown goes to the
// handler for its class, and is rejected when there is none.
class ModalScript
{
public:
    ModalScript()
    {
        SetModalRunner([this](QDialog &dialog) {
            shown << dialog.metaObject()->className();
            if (auto *frm = qobject_cast<TReporterFrm *>(&dialog); frm && onCatalogue)
                return onCatalogue(*frm);
            if (auto *preview = qobject_cast<ReportPreview *>(&dialog); preview && onPreview)
                return onPreview(*preview);
            if (auto *designer = qobject_cast<ReportDesigner *>(&dialog); designer && onDesigner)
                return onDesigner(*designer);
            return int(QDialog::Rejected);
        });
    }
    ~ModalScript() { SetModalRunner(nullptr); }

    std::function<int(TReporterFrm &)> onCatalogue;
    std::function<int(ReportPreview &)> onPreview;
    std::function<int(ReportDesigner &)> onDesigner;
    QStringList shown;
};

// Remembers the text an input box was opened with.
class PrefillPrompter : public ScriptedPrompter
{
public:
    bool inputText(const QString &caption, const QString &label, QString &value) override
    {
        prefills << value;
        return ScriptedPrompter::inputText(caption, label, value);
    }
    QStringList prefills;
};

} // namespace

Q_DECLARE_METATYPE(MessageButton)

class tst_ReportCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { addEngineRows(); }
    void initTestCase()
    {
        QApplication::setFont(QFont(ReportTemplate::DefaultFontFamily));
        CreateProjectObjects();
    }
    void cleanupTestCase() { FreeProjectObjects(); }

    void init()
    {
        QM_INIT_ENGINE(m_fixture);
        TheCompany->Load();
        TheOperator->Clear();
        TheOperator->LoginId = QStringLiteral("sa");
    }

    void cleanup()
    {
        TheOperator->Clear();
        GridExport::SetSaveFileAsker(nullptr);
        TRep::SetOpenFileAsker(nullptr);
        m_fixture.reset();
    }

    void freshDatabaseHoldsTheDefaultTemplates()
    {
        const QList<Entry> list = entries();
        QSet<int> groups;
        for (const Entry &e : list) {
            groups << e.group;
            bool ok;
            QString error;
            const ReportTemplate t = ReportTemplate::fromBlob(blobOf(e.id), &error, &ok);
            QVERIFY2(ok && !t.isEmpty(), qPrintable(e.title + ": " + error));
            QCOMPARE(e.title, t.name);
        }
        for (int group : {1, 3, 4, 7, 11, 12, 13, 14, 20, 21, 22, 23, 24, 25, 31, 32, 33, 38})
            QVERIFY2(groups.contains(group), qPrintable(QString::number(group)));
        QCOMPARE(list.first().id, 1);
    }

    void newIdsFollowTheHighestWhateverTheGroup()
    {
        TheDatabase->Execute(QStringLiteral("delete from report"));
        QCOMPARE(TRep::AddReport(QStringLiteral("第一"), 5), 1);
        QCOMPARE(TRep::AddReport(QStringLiteral("第二"), 9), 2);
        TheDatabase->Execute(QStringLiteral("insert into report(Id,GrpId,Title)values(40,3,'旧')"));
        QCOMPARE(TRep::AddReport(QString(), 5), 41);
        QCOMPARE(entries(),
            (QList<Entry>{{1, 5, QStringLiteral("第一")}, {2, 9, QStringLiteral("第二")},
                {40, 3, QStringLiteral("旧")}, {41, 5, QString()}}));
        QVERIFY(blobOf(41).isEmpty());
    }

    void renameAndDeleteTouchOneEntry()
    {
        const int a = TRep::AddReport(QStringLiteral("甲"), 70);
        const int b = TRep::AddReport(QStringLiteral("乙"), 70);
        TRep::RenameReport(a, QStringLiteral("甲表 (新)"));
        TRep::DeleteReport(b);
        TRepSet set;
        set.OpenGroup(70);
        QCOMPARE(set.DataSet()->RecordCount(), 1);
        QCOMPARE(set.IdField()->AsInteger(), a);
        QCOMPARE(set.TitleField()->AsString(), QStringLiteral("甲表 (新)"));
        QCOMPARE(set.TitleField()->DisplayLabel(), QStringLiteral("标题"));
    }

    void windowListsTheGroupByTitle()
    {
        for (const QString &title : {QStringLiteral("乙表"), QStringLiteral("甲表"),
                 QStringLiteral("B"), QStringLiteral("a")})
            TRep::AddReport(title, 71);
        TRep::AddReport(QStringLiteral("别组"), 72);
        TProjRep host;
        TReporterFrm frm;
        frm.SetReper(&host);
        frm.SetGroupId(71);
        QCOMPARE(frm.windowTitle(), QStringLiteral("打印"));
        QCOMPARE(listed(frm),
            (QStringList{QStringLiteral("B"), QStringLiteral("a"), QStringLiteral("乙表"),
                QStringLiteral("甲表")}));
        QCOMPARE(frm.ListBox1->currentRow(), 0);
        QString title;
        int id = 0;
        QVERIFY(frm.SelectedReport(&title, &id));
        QCOMPARE(title, QStringLiteral("B"));
        QCOMPARE(entries().at(id - 1).title, QStringLiteral("B"));
    }

    void emptyGroupAsksForASelection()
    {
        ScriptedPrompter prompter;
        ModalScript modal;
        TProjRep host;
        TReporterFrm frm;
        frm.SetReper(&host);
        frm.SetGroupId(73);
        QCOMPARE(frm.ListBox1->count(), 0);
        for (QAction *action : {frm.tbDelete1, frm.tbRename1, frm.tbDesign1})
            action->trigger();
        frm.Button4->click();
        QCOMPARE(prompter.texts(),
            QStringList(4, QStringLiteral("请先从左框列表中选中您要操作的项目.")));
        QCOMPARE(prompter.shown().first().caption, ProductTitle);
        QCOMPARE(prompter.shown().first().buttons, MessageButtons(MessageButton::Ok));
        QVERIFY(modal.shown.isEmpty());
    }

    void newAndRenameAskForTheTitle()
    {
        PrefillPrompter prompter;
        TProjRep host;
        TReporterFrm frm;
        frm.SetReper(&host);
        frm.SetGroupId(74);
        prompter.answerInput(QStringLiteral("月报"));
        frm.tbNew1->trigger();
        prompter.answerInput(QString());
        frm.tbNew1->trigger();
        QCOMPARE(listed(frm), (QStringList{QString(), QStringLiteral("月报")}));
        QCOMPARE(prompter.shown().at(0).caption, QStringLiteral("添加报表"));
        QCOMPARE(prompter.shown().at(0).text, QStringLiteral("请输入报表名称:\t\t"));

        frm.tbNew1->trigger(); // cancelled: nothing added
        QCOMPARE(frm.ListBox1->count(), 2);

        frm.ListBox1->setCurrentRow(1);
        prompter.answerInput(QStringLiteral("年报"));
        frm.tbRename1->trigger();
        QCOMPARE(prompter.shown().last().caption, QStringLiteral("修改报表标题"));
        QCOMPARE(prompter.shown().last().text, QStringLiteral("请输入新的报表名称:\t\t"));
        QCOMPARE(listed(frm), (QStringList{QString(), QStringLiteral("年报")}));
        QCOMPARE(prompter.prefills,
            (QStringList{QString(), QString(), QString(), QStringLiteral("月报")}));
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("OK deletes") << MessageButton::Ok << QStringList{QStringLiteral("工资表")};
        QTest::newRow("Cancel keeps")
            << MessageButton::Cancel
            << QStringList{QStringLiteral("工资表"), QStringLiteral("花名册")};
    }

    void deleteAsksFirst()
    {
        QFETCH(MessageButton, answer);
        QFETCH(QStringList, left);
        ScriptedPrompter prompter;
        TRep::AddReport(QStringLiteral("花名册"), 75);
        TRep::AddReport(QStringLiteral("工资表"), 75);
        TProjRep host;
        TReporterFrm frm;
        frm.SetReper(&host);
        frm.SetGroupId(75);
        frm.ListBox1->setCurrentRow(1);
        prompter.answer(answer);
        frm.tbDelete1->trigger();
        QCOMPARE(prompter.shown().size(), 1);
        QCOMPARE(prompter.lastText(), QStringLiteral("确定要删除花名册吗?"));
        QCOMPARE(prompter.shown().first().kind, MessageKind::Warning);
        QCOMPARE(prompter.shown().first().buttons, MessageButton::Ok | MessageButton::Cancel);
        QCOMPARE(listed(frm), left);
    }

    void printingNeedsItsRight_data()
    {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("canDesign");
        QTest::newRow("no print right") << QStringLiteral(",10003,") << false << false;
        QTest::newRow("print only") << QStringLiteral(",10002,") << true << false;
        QTest::newRow("print and design") << QStringLiteral(",10002,10003,") << true << true;
    }

    void printingNeedsItsRight()
    {
        QFETCH(QString, rights);
        QFETCH(bool, opens);
        QFETCH(bool, canDesign);
        TheOperator->LoginId = QStringLiteral("clerk");
        TheOperator->Rights = rights;
        ScriptedPrompter prompter;
        ModalScript modal;
        QStringList names;
        QStringList titles;
        QList<bool> designButtons;
        modal.onCatalogue = [&](TReporterFrm &frm) {
            names = frm.Reper()->Data().dataSetNames();
            titles = listed(frm);
            for (QAction *action : {frm.tbNew1, frm.tbDelete1, frm.tbRename1, frm.tbDesign1})
                designButtons << action->isEnabled();
            return int(QDialog::Rejected);
        };
        const auto list = employees(2);
        const auto criteria = employees(1);
        QCOMPARE(PrintReports({list.get(), criteria.get()}, 1), opens);
        QCOMPARE(modal.shown.size(), opens ? 1 : 0);
        if (!opens) {
            QCOMPARE(prompter.shown().size(), 1);
            QVERIFY(prompter.lastText().contains(
                QStringLiteral("对不起,您没有该功能的操作权限,请与管理员联系(10002).")));
            return;
        }
        QVERIFY(prompter.shown().isEmpty());
        QCOMPARE(names, (QStringList{QStringLiteral("d0"), QStringLiteral("d1")}));
        QCOMPARE(titles, QStringList{QStringLiteral("职员花名册")});
        QCOMPARE(designButtons, QList<bool>(4, canDesign));
    }

    void previewShowsTheDataAndClosesTheWindow()
    {
        TheCompany->CompanyName = QStringLiteral("预览公司");
        storeEntry(80, QStringLiteral("名单"), namesTemplate());
        ModalScript modal;
        QStringList printed;
        int pages = 0;
        modal.onPreview = [&](ReportPreview &preview) {
            pages = preview.PageCount();
            const ReportRenderer &r = preview.Renderer();
            for (const ReportBandInstance &instance : r.flow())
                printed << r.objectText(instance, 0, 0);
            return int(QDialog::Accepted);
        };
        bool stillOpen = true;
        modal.onCatalogue = [&](TReporterFrm &frm) {
            frm.show();
            frm.Button4->click();
            stillOpen = frm.isVisible();
            return frm.result();
        };
        const auto list = employees(3);
        QVERIFY(PrintReports({list.get()}, 80));
        QCOMPARE(modal.shown,
            (QStringList{QStringLiteral("TReporterFrm"), QStringLiteral("ReportPreview")}));
        QCOMPARE(pages, 1);
        QCOMPARE(printed,
            (QStringList{QStringLiteral("预览公司"), QStringLiteral("王晓明"),
                QStringLiteral("李娜"), QStringLiteral("张伟")}));
        QVERIFY(!stillOpen);
    }

    void emptyTemplatePreviewsAnEmptyReport()
    {
        const int id = TRep::AddReport(QStringLiteral("空"), 81);
        TProjRep host;
        host.Report().name = QStringLiteral("上次的");
        host.LoadTemplate(id);
        QVERIFY(host.Report().isEmpty());
        QVERIFY(host.Report().name.isEmpty());
        QCOMPARE(host.ReportTag(), id);
        ModalScript modal;
        int pages = -1;
        modal.onPreview = [&](ReportPreview &preview) {
            pages = preview.PageCount();
            return int(QDialog::Accepted);
        };
        host.Preview(id);
        QCOMPARE(pages, 1);
    }

    void unreadableTemplateIsReported()
    {
        const int id
            = storeEntry(82, QStringLiteral("坏"), QByteArray("<TfrxReport Version=\"4.9\"/>"));
        ScriptedPrompter prompter;
        ModalScript modal;
        TProjRep host;
        TReporterFrm frm;
        frm.SetReper(&host);
        frm.SetGroupId(82);
        frm.Button4->click();
        QVERIFY(!modal.shown.contains(QStringLiteral("ReportPreview")));
        QCOMPARE(prompter.shown().size(), 1);
        QVERIFY2(
            prompter.lastText().contains(QStringLiteral("报表模板无法读取: 不是本程序的报表模板.")),
            qPrintable(prompter.lastText()));

        // Designing it still works: the user starts over or loads a file.
        bool designerEmpty = false;
        modal.onDesigner = [&](ReportDesigner &) {
            designerEmpty = host.Report().isEmpty() && host.ReportTag() == id;
            return int(QDialog::Rejected);
        };
        frm.tbDesign1->trigger();
        QVERIFY(designerEmpty);
        QCOMPARE(prompter.shown().size(), 2);
    }

    void templateTravelsThroughTheBlob()
    {
        const int id = storeEntry(83, QStringLiteral("名单"), namesTemplate());
        TProjRep host;
        host.LoadTemplate(id);
        QCOMPARE(host.Report().name, QStringLiteral("名单"));
        host.Report().name = QStringLiteral("改过的名单");
        host.Report().bands[1].objects[0].text = QStringLiteral("[d0.Code] [d0.Name]");
        QVERIFY(host.StoreTemplate());
        QCOMPARE(blobOf(id), host.Report().toJson());

        const ReportTemplate stored = host.Report();
        TProjRep other;
        other.LoadTemplate(id);
        QVERIFY(other.Report() == stored);
        QCOMPARE(entries().size(), 18 + 1);
    }

    void storingIntoADeletedEntryInsertsNothing()
    {
        const int id = storeEntry(84, QStringLiteral("将被删除"), namesTemplate());
        TProjRep host;
        host.LoadTemplate(id);
        TRep::DeleteReport(id);
        host.Report().name = QStringLiteral("未保存的修改");
        const QList<Entry> before = entries();
        ScriptedPrompter prompter;
        QVERIFY(!host.StoreTemplate());
        QCOMPARE(entries(), before);
        QCOMPARE(prompter.shown().size(), 1);
        QVERIFY(prompter.lastText().contains(QStringLiteral("模板没有保存")));
        QVERIFY(prompter.lastText().contains(QStringLiteral("另存为")));
        QCOMPARE(host.Report().name, QStringLiteral("未保存的修改"));
    }

    void designerSavesIntoTheEntryAndAsAFile()
    {
        const int id = storeEntry(85, QStringLiteral("名单"), namesTemplate());
        const int other
            = storeEntry(85, QStringLiteral("另一张"), namesTemplate(QStringLiteral("另一张")));
        const QByteArray otherBlob = blobOf(other);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("名单 副本.qmr"));
        GridExport::SetSaveFileAsker([&](QWidget *, const QString &filter, const QString &suffix) {
            return filter.contains(QStringLiteral("报表模板 (*.qmr)"))
                    && suffix == QStringLiteral("qmr")
                ? file
                : QString();
        });
        ModalScript modal;
        QByteArray afterSaveAs;
        bool modifiedAfterSave = true;
        modal.onDesigner = [&](ReportDesigner &designer) {
            designer.Canvas()->Select(1, 0);
            designer.Canvas()->Nudge(5, 0, false);
            designer.SaveAsAction1->trigger();
            afterSaveAs = blobOf(id);
            designer.SaveAction1->trigger();
            modifiedAfterSave = designer.Modified();
            return int(QDialog::Accepted);
        };
        TProjRep host;
        TReporterFrm frm;
        frm.SetReper(&host);
        frm.SetGroupId(85);
        QCOMPARE(listed(frm), (QStringList{QStringLiteral("另一张"), QStringLiteral("名单")}));
        frm.ListBox1->setCurrentRow(1);
        frm.tbDesign1->trigger();

        QCOMPARE(afterSaveAs, namesTemplate());
        ReportTemplate saved;
        QString error;
        QVERIFY2(saved.loadFromFile(file, &error), qPrintable(error));
        QCOMPARE(saved.bands[1].objects[0].x, 5.0);
        QCOMPARE(blobOf(id), saved.toJson());
        QCOMPARE(blobOf(other), otherBlob);
        QVERIFY(!modifiedAfterSave);
    }

    void templateLoadedFromAFileSavesIntoTheDesignedEntry()
    {
        const int id = storeEntry(86, QStringLiteral("名单"), namesTemplate());
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("外来.qmr"));
        ReportTemplate outside;
        outside.name = QStringLiteral("外来模板");
        outside.bands.append(ReportBand());
        QString error;
        QVERIFY(outside.saveToFile(file, &error));
        QString askedFilter;
        TRep::SetOpenFileAsker([&](QWidget *, const QString &filter) {
            askedFilter = filter;
            return file;
        });
        ModalScript modal;
        modal.onDesigner = [&](ReportDesigner &designer) {
            designer.LoadAction1->trigger();
            designer.SaveAction1->trigger();
            return int(QDialog::Accepted);
        };
        TProjRep host;
        host.Design(id);
        QVERIFY(askedFilter.startsWith(QStringLiteral("报表模板 (*.qmr)")));
        QCOMPARE(host.ReportTag(), id);
        QCOMPARE(blobOf(id), outside.toJson());
        QCOMPARE(entries().size(), 18 + 1);
    }

    void topMostWindowsStepBackWhileDesigning_data()
    {
        QTest::addColumn<bool>("designerFails");
        QTest::newRow("designer closes") << false;
        QTest::newRow("designer fails") << true;
    }

    void topMostWindowsStepBackWhileDesigning()
    {
        QFETCH(bool, designerFails);
        const int id = storeEntry(87, QStringLiteral("名单"), namesTemplate());
        QWidget tips;
        tips.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        tips.show();
        ModalScript modal;
        bool onTopMeanwhile = true;
        modal.onDesigner = [&](ReportDesigner &) -> int {
            onTopMeanwhile = tips.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            if (designerFails)
                throw QmError(QStringLiteral("设计器出错"));
            return int(QDialog::Rejected);
        };
        TProjRep host;
        try {
            host.Design(id);
            QVERIFY(!designerFails);
        } catch (const QmError &e) {
            QCOMPARE(e.message(), QStringLiteral("设计器出错"));
        }
        QVERIFY(!onTopMeanwhile);
        QVERIFY(tips.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(tips.isVisible());
    }

private:
    std::unique_ptr<EngineFixture> m_fixture;
};

QTEST_MAIN(tst_ReportCatalogue)
#include "tst_reportcatalogue.moc"
