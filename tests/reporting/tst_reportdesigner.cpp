// The designer, driven the way a user drives it: keys and the mouse on the
// canvas, the field palette, the property panel and closing with changes.
#include "ReportData.h"
#include "ReportDesignCanvas.h"
#include "ReportDesigner.h"
#include "ReportFixtures.h"
#include "ReportPropertyPanel.h"
#include "ReportTemplate.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using namespace ReportFixtures;

namespace {

ReportBand band(BandType type, double height, const QString &dataSet = QString())
{
    ReportBand b;
    b.type = type;
    b.height = height;
    b.dataSet = dataSet;
    return b;
}

// Column header, master and page footer; the master holds one text at
// (10, 5) sized 20 x 6.
ReportTemplate listTemplate()
{
    ReportTemplate t;
    t.name = QStringLiteral("设计测试");
    t.bands << band(BandType::ColumnHeader, 8) << band(BandType::Master, 20, QStringLiteral("d0"))
            << band(BandType::PageFooter, 8);
    ReportObject o;
    o.x = 10;
    o.y = 5;
    o.w = 20;
    o.h = 6;
    o.text = QStringLiteral("[d0.Code]");
    t.bands[1].objects << o;
    return t;
}

QTreeWidgetItem *paletteItem(QTreeWidget *tree, const QString &text)
{
    const QList<QTreeWidgetItem *> found
        = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QRectF objectRect(const ReportObject &o)
{
    return QRectF(o.x, o.y, o.w, o.h);
}

struct Fixture
{
    std::unique_ptr<TDataSet> set = employees(2);
    ReportData data;
    ReportTemplate report = listTemplate();
    std::unique_ptr<ReportDesigner> designer;

    Fixture()
    {
        data.addDataSet(QStringLiteral("d0"), set.get());
        addCompanyVariables(data);
        designer = std::make_unique<ReportDesigner>(report, data);
        designer->show();
    }
    ReportDesignCanvas *canvas() const { return designer->Canvas(); }
    ReportObject &object() { return report.bands[1].objects[0]; }
};

} // namespace

Q_DECLARE_METATYPE(MessageButton)

class tst_ReportDesigner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(QFont(ReportTemplate::DefaultFontFamily)); }

    void newReportIsNotOfferedHere()
    {
        Fixture f;
        QVERIFY(!f.designer->NewAction1->isEnabled());
        QVERIFY(f.designer->LoadAction1->isEnabled());
        QVERIFY(f.designer->SaveAction1->isEnabled());
        QVERIFY(f.designer->SaveAsAction1->isEnabled());
        QVERIFY(!f.designer->Modified());
    }

    void keysMoveAndResize_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("times");
        QTest::addColumn<QRectF>("expected");
        const int none = Qt::NoModifier;
        QTest::newRow("right") << int(Qt::Key_Right) << none << 1 << QRectF(11, 5, 20, 6);
        QTest::newRow("left") << int(Qt::Key_Left) << none << 1 << QRectF(9, 5, 20, 6);
        QTest::newRow("down") << int(Qt::Key_Down) << none << 2 << QRectF(10, 7, 20, 6);
        QTest::newRow("up") << int(Qt::Key_Up) << none << 1 << QRectF(10, 4, 20, 6);
        QTest::newRow("fine step with ctrl")
            << int(Qt::Key_Right) << int(Qt::ControlModifier) << 3 << QRectF(10.3, 5, 20, 6);
        QTest::newRow("shift right widens")
            << int(Qt::Key_Right) << int(Qt::ShiftModifier) << 1 << QRectF(10, 5, 21, 6);
        QTest::newRow("shift down heightens")
            << int(Qt::Key_Down) << int(Qt::ShiftModifier) << 1 << QRectF(10, 5, 20, 7);
        QTest::newRow("shift left narrows")
            << int(Qt::Key_Left) << int(Qt::ShiftModifier) << 5 << QRectF(10, 5, 15, 6);
        QTest::newRow("stops at the left margin")
            << int(Qt::Key_Left) << none << 15 << QRectF(0, 5, 20, 6);
        QTest::newRow("stops at the top of the band")
            << int(Qt::Key_Up) << none << 9 << QRectF(10, 0, 20, 6);
        QTest::newRow("cannot shrink below nothing")
            << int(Qt::Key_Up) << int(Qt::ShiftModifier) << 9 << QRectF(10, 5, 20, 0);
    }

    void keysMoveAndResize()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, times);
        QFETCH(QRectF, expected);
        Fixture f;
        f.canvas()->Select(1, 0);
        for (int i = 0; i < times; ++i)
            QTest::keyClick(f.canvas(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        const QRectF r = objectRect(f.object());
        QVERIFY2(qAbs(r.x() - expected.x()) < 1e-9 && qAbs(r.y() - expected.y()) < 1e-9
                && qAbs(r.width() - expected.width()) < 1e-9
                && qAbs(r.height() - expected.height()) < 1e-9,
            qPrintable(QStringLiteral("%1,%2 %3x%4")
                           .arg(r.x())
                           .arg(r.y())
                           .arg(r.width())
                           .arg(r.height())));
        QVERIFY(f.designer->Modified());
        QCOMPARE(f.designer->Properties()->LeftEdit1->value(), qRound(expected.x() * 10) / 10.0);
    }

    void keysWithoutASelectionChangeNothing()
    {
        Fixture f;
        const ReportTemplate before = f.report;
        f.canvas()->Select(1, -1);
        QTest::keyClick(f.canvas(), Qt::Key_Right);
        QTest::keyClick(f.canvas(), Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(f.report == before);
        QVERIFY(!f.designer->Modified());
    }

    void mouseMovesResizesAndCarriesIntoAnotherBand()
    {
        Fixture f;
        ReportDesignCanvas *canvas = f.canvas();
        const double scale = canvas->Scale();
        const QPoint inside = canvas->ObjectRect(1, 0).center().toPoint();
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, inside);
        QCOMPARE(canvas->SelectedBand(), 1);
        QCOMPARE(canvas->SelectedObject(), 0);
        QTest::mouseMove(canvas, inside + QPoint(qRound(5 * scale), 0));
        QTest::mouseRelease(
            canvas, Qt::LeftButton, Qt::NoModifier, inside + QPoint(qRound(5 * scale), 0));
        QCOMPARE(f.object().x, 15.0);
        QCOMPARE(f.object().y, 5.0);

        const QRectF r = canvas->ObjectRect(1, 0);
        const QPoint handle(qRound(r.right()), qRound(r.bottom()));
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, handle);
        QTest::mouseMove(canvas, handle + QPoint(qRound(10 * scale), qRound(2 * scale)));
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier,
            handle + QPoint(qRound(10 * scale), qRound(2 * scale)));
        QCOMPARE(f.object().w, 30.0);
        QCOMPARE(f.object().h, 8.0);
        QCOMPARE(f.object().x, 15.0);

        // Dragged up into the column header, the object moves there.
        const QPoint start = canvas->ObjectRect(1, 0).topLeft().toPoint() + QPoint(3, 3);
        const int up
            = canvas->BandTop(1) + qRound(5 * scale) - canvas->BandTop(0) - qRound(1 * scale);
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(canvas, start - QPoint(0, up));
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, start - QPoint(0, up));
        QCOMPARE(f.report.bands[1].objects.size(), 0);
        QCOMPARE(f.report.bands[0].objects.size(), 1);
        QCOMPARE(canvas->SelectedBand(), 0);
        QCOMPARE(f.report.bands[0].objects[0].text, QStringLiteral("[d0.Code]"));
        QVERIFY(qAbs(f.report.bands[0].objects[0].y - 1.0) <= 0.5);
    }

    void bandBottomDragsItsHeight()
    {
        Fixture f;
        ReportDesignCanvas *canvas = f.canvas();
        const double scale = canvas->Scale();
        const QPoint edge(canvas->width() / 2, canvas->BandTop(1) + qRound(20 * scale));
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, edge);
        QCOMPARE(canvas->SelectedBand(), 1);
        QCOMPARE(canvas->SelectedObject(), -1);
        QTest::mouseMove(canvas, edge + QPoint(0, qRound(10 * scale)));
        QTest::mouseRelease(
            canvas, Qt::LeftButton, Qt::NoModifier, edge + QPoint(0, qRound(10 * scale)));
        QCOMPARE(f.report.bands[1].height, 30.0);
        QCOMPARE(f.designer->Properties()->BandHeight1->value(), 30.0);
    }

    void deleteAndTabWorkOnTheSelection()
    {
        Fixture f;
        ReportObject second = f.object();
        second.x = 40;
        f.report.bands[1].objects << second;
        f.canvas()->Select(1, 0);
        QTest::keyClick(f.canvas(), Qt::Key_Tab);
        QCOMPARE(f.canvas()->SelectedObject(), 1);
        QTest::keyClick(f.canvas(), Qt::Key_Tab);
        QCOMPARE(f.canvas()->SelectedObject(), 0);
        QTest::keyClick(f.canvas(), Qt::Key_Delete);
        QCOMPARE(f.report.bands[1].objects.size(), 1);
        QCOMPARE(f.report.bands[1].objects[0].x, 40.0);
        QCOMPARE(f.canvas()->SelectedObject(), -1);
        QTest::keyClick(f.canvas(), Qt::Key_Delete);
        QCOMPARE(f.report.bands.size(), 2);
        QCOMPARE(f.report.bands[1].type, BandType::PageFooter);
    }

    void paletteOffersFieldsVariablesAndPageNumbers()
    {
        Fixture f;
        QTreeWidget *tree = f.designer->FieldTree1;
        QVERIFY(paletteItem(tree, QStringLiteral("d0")));
        QTreeWidgetItem *name = paletteItem(tree, QStringLiteral("Name"));
        QVERIFY(name);
        QCOMPARE(name->text(1), QStringLiteral("姓名"));
        QVERIFY(paletteItem(tree, QStringLiteral("u_Company")));
        QCOMPARE(paletteItem(tree, QStringLiteral("u_Company"))->text(1),
            QStringLiteral("澄岚测试有限公司"));
        QVERIFY(paletteItem(tree, QStringLiteral("第[Page]页 共[TotalPages]页")));

        // A field put into the master band also gets its caption in the
        // column header, in the same column.
        f.canvas()->Select(1, -1);
        f.designer->InsertPaletteItem(name);
        QCOMPARE(f.report.bands[1].objects.size(), 2);
        const ReportObject &field = f.report.bands[1].objects[1];
        QCOMPARE(field.text, QStringLiteral("[d0.Name]"));
        QCOMPARE(field.x, 30.0);
        QCOMPARE(f.report.bands[0].objects.size(), 1);
        const ReportObject &caption = f.report.bands[0].objects[0];
        QCOMPARE(caption.text, QStringLiteral("姓名"));
        QCOMPARE(caption.x, field.x);
        QCOMPARE(caption.w, field.w);
        QVERIFY(caption.font.bold);

        // A variable is text only; no caption anywhere.
        f.designer->InsertPaletteItem(paletteItem(tree, QStringLiteral("u_Company")));
        QCOMPARE(f.report.bands[1].objects.last().text, QStringLiteral("[u_Company]"));
        QCOMPARE(f.report.bands[0].objects.size(), 1);
        QVERIFY(f.designer->Modified());
    }

    void paletteDragDropsAText()
    {
        Fixture f;
        ReportDesignCanvas *canvas = f.canvas();
        auto *mime = new QMimeData;
        mime->setText(QStringLiteral("[d0.Sex]"));
        const QPoint at(canvas->ObjectRect(1, 0).right() + qRound(20 * canvas->Scale()),
            canvas->BandTop(1) + 4);
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &drop);
        delete mime;
        QCOMPARE(f.report.bands[1].objects.size(), 2);
        QCOMPARE(f.report.bands[1].objects[1].text, QStringLiteral("[d0.Sex]"));
        QCOMPARE(canvas->SelectedObject(), 1);
    }

    void bandsKeepPrintOrder()
    {
        ReportTemplate report;
        ReportData data;
        ReportDesigner designer(report, data);
        designer.AddBand(int(BandType::PageFooter));
        designer.AddBand(int(BandType::Master));
        designer.AddBand(int(BandType::ReportTitle));
        const int detail = designer.AddBand(int(BandType::Detail));
        report.bands[detail].dataSet = QStringLiteral("d3");
        designer.Canvas()->Select(detail, -1);
        const int header = designer.AddBand(int(BandType::DetailHeader));
        QCOMPARE(report.bands[header].dataSet, QStringLiteral("d3"));
        const int group = designer.AddBand(int(BandType::GroupHeader));
        report.bands[group].condition = QStringLiteral("d0.DutyDeptName");
        designer.Canvas()->Select(group, -1);
        const int footer = designer.AddBand(int(BandType::GroupFooter));
        QCOMPARE(report.bands[footer].condition, QStringLiteral("d0.DutyDeptName"));
        QList<BandType> order;
        for (const ReportBand &b : report.bands)
            order << b.type;
        QCOMPARE(order,
            (QList<BandType>{BandType::ReportTitle, BandType::GroupHeader, BandType::Master,
                BandType::DetailHeader, BandType::Detail, BandType::GroupFooter,
                BandType::PageFooter}));
        QVERIFY(!designer.Canvas()->grab().isNull());
    }

    void propertyPanelEditsWhatIsSelected()
    {
        Fixture f;
        ReportPropertyPanel *panel = f.designer->Properties();
        f.canvas()->Select(1, 0);
        panel->LeftEdit1->setValue(42.5);
        panel->TextEdit1->setPlainText(QStringLiteral("[d0.Name]"));
        panel->FrameLeft1->setChecked(true);
        panel->FrameBottom1->setChecked(true);
        panel->GrowCheck1->setChecked(true);
        panel->AlignBox1->setCurrentIndex(2);
        emit panel->AlignBox1->activated(2);
        QCOMPARE(f.object().x, 42.5);
        QCOMPARE(f.object().text, QStringLiteral("[d0.Name]"));
        QCOMPARE(f.object().frame, QStringLiteral("LB"));
        QVERIFY(f.object().grow);
        QCOMPARE(f.object().align, HAlign::Right);

        f.canvas()->Select(1, -1);
        QCOMPARE(panel->BandType1->text(), QStringLiteral("主数据"));
        panel->BandHeight1->setValue(12);
        panel->NewPageCheck1->setChecked(true);
        QCOMPARE(f.report.bands[1].height, 12.0);
        QVERIFY(f.report.bands[1].newPage);

        f.canvas()->Select(-1, -1);
        QCOMPARE(panel->NameEdit1->text(), QStringLiteral("设计测试"));
        panel->OrientationBox1->setCurrentIndex(1);
        emit panel->OrientationBox1->activated(1);
        QVERIFY(f.report.page.landscape);
        QCOMPARE(panel->PaperWidth1->value(), 297.0);
        QVERIFY(f.designer->Modified());
    }

    void picturesAreKeptInTheTemplate()
    {
        Fixture f;
        QTemporaryDir dir;
        const QString logo = dir.filePath(QStringLiteral("徽标.png"));
        const QString notes = dir.filePath(QStringLiteral("说明.txt"));
        const QByteArray png = pngBytes(8, 4, Qt::red);
        for (const auto &[path, bytes] :
            {std::pair{logo, png}, std::pair{notes, QByteArray("不是图片")}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        f.canvas()->Select(1, -1);
        f.designer->AddImageAction1->trigger();
        ReportObject &image = f.report.bands[1].objects.last();
        QCOMPARE(image.type, ObjectType::Image);
        QString next = logo;
        ReportPropertyPanel::SetImageFileAsker([&](QWidget *) { return next; });
        ScriptedPrompter prompter;
        f.designer->Properties()->ImageEmbedBtn1->click();
        QCOMPARE(image.data, png);
        next = notes;
        f.designer->Properties()->ImageEmbedBtn1->click();
        QCOMPARE(image.data, png);
        QCOMPARE(prompter.shown().size(), 1);
        QVERIFY(prompter.lastText().contains(QStringLiteral("不是能识别的图片")));
        ReportPropertyPanel::SetImageFileAsker(nullptr);

        ReportTemplate reread;
        QString error;
        QVERIFY(reread.fromJson(f.report.toJson(), &error));
        QCOMPARE(reread.bands[1].objects.last().data, png);
    }

    void closingWithChangesAsks_data()
    {
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<bool>("saveSucceeds");
        QTest::addColumn<int>("saves");
        QTest::addColumn<bool>("closes");
        QTest::newRow("yes saves and closes") << MessageButton::Yes << true << 1 << true;
        QTest::newRow("yes but the save fails stays") << MessageButton::Yes << false << 1 << false;
        QTest::newRow("no closes without saving") << MessageButton::No << true << 0 << true;
        QTest::newRow("cancel stays") << MessageButton::Cancel << true << 0 << false;
    }

    void closingWithChangesAsks()
    {
        QFETCH(MessageButton, answer);
        QFETCH(bool, saveSucceeds);
        QFETCH(int, saves);
        QFETCH(bool, closes);
        Fixture f;
        int saved = 0;
        f.designer->OnSave = [&](bool saveAs) {
            if (!saveAs)
                ++saved;
            return saveSucceeds;
        };
        f.canvas()->Select(1, 0);
        QTest::keyClick(f.canvas(), Qt::Key_Right);
        ScriptedPrompter prompter;
        prompter.answer(answer);
        f.designer->CloseAction1->trigger();
        QCOMPARE(prompter.shown().size(), 1);
        QCOMPARE(prompter.shown().first().buttons,
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
        QCOMPARE(saved, saves);
        QCOMPARE(f.designer->isVisible(), !closes);
    }

    void closingUnchangedAsksNothing()
    {
        Fixture f;
        ScriptedPrompter prompter;
        f.designer->CloseAction1->trigger();
        QVERIFY(prompter.shown().isEmpty());
        QVERIFY(!f.designer->isVisible());
    }

    void loadHookReplacesTheTemplateShown()
    {
        Fixture f;
        f.canvas()->Select(1, 0);
        f.designer->OnLoad = [&] {
            f.report.clear();
            f.report.name = QStringLiteral("从文件");
            f.report.bands << band(BandType::Summary, 10);
            return true;
        };
        f.designer->LoadAction1->trigger();
        QCOMPARE(f.canvas()->SelectedBand(), -1);
        QCOMPARE(f.designer->Properties()->NameEdit1->text(), QStringLiteral("从文件"));
        QVERIFY(f.designer->Modified());
        QCOMPARE(f.canvas()->BandAt(f.canvas()->BandTop(0) + 2), 0);
        QCOMPARE(f.canvas()->BandAt(f.canvas()->BandTop(0) + 200), -1);
    }
};

QTEST_MAIN(tst_ReportDesigner)
#include "tst_reportdesigner.moc"
