#include "Reporter.h"

#include "Error.h"
#include "HelpBrowser.h"
#include "Pub.h"
#include "Utils.h"
#include "a.h"
#include "qmRep.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <functional>

namespace {

// A handler's failure is shown and ends only that handler; the window stays.
void guarded(const std::function<void()> &action)
{
    try {
        action();
    } catch (const SilentAbort &) {
    } catch (const QmError &e) {
        ShowInfo(e.message());
    }
}

} // namespace

TReporterFrm::TReporterFrm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ReporterFrm"));
    setWindowTitle(QStringLiteral("打印"));

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [this](const char *name, const QString &caption) {
        QAction *a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        ToolBar1->addAction(a);
        return a;
    };
    tbNew1 = action("tbNew1", QStringLiteral("新建"));
    ToolBar1->addSeparator();
    tbDelete1 = action("tbDelete1", QStringLiteral("删除"));
    tbRename1 = action("tbRename1", QStringLiteral("重命名"));
    tbDesign1 = action("tbDesign1", QStringLiteral("设计"));

    Label1 = new QLabel(QStringLiteral("请选择一种打印样式"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    Button4 = new QPushButton(QStringLiteral("预览"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button4->setDefault(true);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Button4);
    buttons->addStretch();
    auto *body = new QHBoxLayout;
    body->addWidget(ListBox1, 1);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 0, 8, 8);
    layout->setMenuBar(ToolBar1);
    layout->addWidget(Label1);
    layout->addLayout(body, 1);
    setFixedSize(360, 280);

    connect(Button4, &QPushButton::clicked, this, &TReporterFrm::Button4Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TReporterFrm::Button4Click);
    connect(tbDesign1, &QAction::triggered, this, &TReporterFrm::Button3Click);
    connect(tbNew1, &QAction::triggered, this, &TReporterFrm::Button1Click);
    connect(tbRename1, &QAction::triggered, this, &TReporterFrm::Button5Click);
    connect(tbDelete1, &QAction::triggered, this, &TReporterFrm::Button2Click);
}

void TReporterFrm::SetGroupId(int group)
{
    m_groupId = group;
    ReloadList();
}

void TReporterFrm::SetCanDesign(bool can)
{
    for (QAction *a : {tbNew1, tbDelete1, tbRename1, tbDesign1})
        a->setEnabled(can);
}

void TReporterFrm::ReloadList()
{
    ListBox1->clear();
    TRepSet set;
    set.OpenGroup(m_groupId);
    TDataSet *rows = set.DataSet();
    for (int r = 0; r < rows->RecordCount(); ++r) {
        auto *item
            = new QListWidgetItem(rows->DisplayTextAt(r, set.TitleField()->Index()), ListBox1);
        item->setData(Qt::UserRole, rows->ValueAt(r, set.IdField()->Index()).toInt());
    }
    set.Close();
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
}

bool TReporterFrm::SelectedReport(QString *title, int *id)
{
    QListWidgetItem *item = ListBox1->currentItem();
    if (!item || !item->isSelected()) {
        ShowPlainMessage(QStringLiteral("请先从左框列表中选中您要操作的项目."));
        return false;
    }
    *title = item->text();
    *id = item->data(Qt::UserRole).toInt();
    return true;
}

void TReporterFrm::Button4Click()
{
    guarded([this] {
        QString title;
        int id;
        if (!SelectedReport(&title, &id))
            return;
        m_reper->Preview(id);
        close();
    });
}

void TReporterFrm::Button3Click()
{
    guarded([this] {
        QString title;
        int id;
        if (!SelectedReport(&title, &id))
            return;
        m_reper->Design(id);
    });
}

void TReporterFrm::Button1Click()
{
    guarded([this] {
        QString title;
        if (!prompter().inputText(
                QStringLiteral("添加报表"), QStringLiteral("请输入报表名称:\t\t"), title))
            return;
        TRep::AddReport(title, m_groupId);
        ReloadList();
    });
}

void TReporterFrm::Button5Click()
{
    guarded([this] {
        QString title;
        int id;
        if (!SelectedReport(&title, &id))
            return;
        if (!prompter().inputText(
                QStringLiteral("修改报表标题"), QStringLiteral("请输入新的报表名称:\t\t"), title))
            return;
        TRep::RenameReport(id, title);
        ReloadList();
    });
}

void TReporterFrm::Button2Click()
{
    guarded([this] {
        QString title;
        int id;
        if (!SelectedReport(&title, &id))
            return;
        const MessageButton answer
            = prompter().message(MessageKind::Warning, messageCaption(MessageKind::Warning),
                QStringLiteral("确定要删除") + title + QStringLiteral("吗?"),
                MessageButton::Ok | MessageButton::Cancel, MessageButton::Cancel);
        if (answer != MessageButton::Ok)
            return;
        TRep::DeleteReport(id);
        ReloadList();
    });
}

QPoint TReporterFrm::PlacementFor(const QPoint &cursor, const QSize &size, const QRect &screen)
{
    const int w = size.width(), h = size.height();
    QPoint at;
    if (cursor.y() + h > screen.bottom() + 1 || cursor.x() + w > screen.right() + 1)
        at = QPoint(
            screen.left() + (screen.width() - w) / 2, screen.top() + (screen.height() - h) / 2);
    else
        at = QPoint(cursor.x() - w / 2, cursor.y() - h / 4);
    if (at.y() < 0)
        at.setY(10);
    if (at.x() < 0)
        at.setX(10);
    if (at.y() + h > screen.bottom() + 1)
        at.setY(screen.bottom() + 1 - h);
    if (at.x() + w > screen.right() + 1)
        at.setX(screen.right() + 1 - w);
    return at;
}

void TReporterFrm::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        const QPoint cursor = QCursor::pos();
        const QScreen *screen = QGuiApplication::screenAt(cursor);
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen)
            move(PlacementFor(cursor, frameGeometry().size(), screen->geometry()));
    }
    QDialog::showEvent(event);
}

void TReporterFrm::keyPressEvent(QKeyEvent *event)
{
    QDialog::keyPressEvent(event);
    if (TFormHelper::IsHelpKey(event)) {
        event->accept();
        ShowHelpTopic(QStringLiteral("Reporter"));
    }
}
