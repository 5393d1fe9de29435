#include "RecordList.h"

#include "Error.h"
#include "FieldLabels.h"
#include "Pub.h"
#include "Utils.h"
#include "qmDBCtrls.h"
#include "qmDBGrids.h"
#include "qmRep.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

QPushButton *button(QWidget *owner, const char *name, const char *caption)
{
    auto *b = new QPushButton(S(caption), owner);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QToolButton *dropDown(QWidget *owner, const char *name, const char *caption, QMenu *menu)
{
    auto *b = new QToolButton(owner);
    b->setObjectName(QLatin1String(name));
    b->setText(S(caption));
    b->setMenu(menu);
    b->setPopupMode(QToolButton::InstantPopup);
    return b;
}

} // namespace

void ReleaseGridData(TqmGridcx *grid)
{
    if (grid)
        grid->SetDataSet(nullptr);
}

TRecordListFrm::TRecordListFrm(const TModuleInfo &info, QWidget *parent)
    : TWinFrm(parent)
    , m_info(info)
{
    setObjectName(info.Name + QStringLiteral("ListFrm"));
    setWindowTitle(info.ListCaption);
    resize(900, 560);
}

TRecordListFrm::~TRecordListFrm() = default;

QAction *TRecordListFrm::makeAction(
    const char *name, const char *caption, void (TRecordListFrm::*handler)())
{
    auto *action = new QAction(S(caption), this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this,
        [this, handler] { RunUserAction([this, handler] { (this->*handler)(); }); });
    return action;
}

void TRecordListFrm::Build(bool firstQuery)
{
    NewAction1 = makeAction("NewAction1", "新建", &TRecordListFrm::NewAction1Execute);
    EditAction1 = makeAction("EditAction1", "修改", &TRecordListFrm::EditAction1Execute);
    DeleteAction1 = makeAction("DeleteAction1", "删除", &TRecordListFrm::DeleteAction1Execute);
    RefreshAction1 = makeAction("RefreshAction1", "刷新", &TRecordListFrm::RefreshAction1Execute);
    PrintAction1 = makeAction("PrintAction1", "打印", &TRecordListFrm::PrintAction1Execute);
    ExitAction1 = new QAction(S("退出"), this);
    ExitAction1->setObjectName(QStringLiteral("ExitAction1"));
    connect(ExitAction1, &QAction::triggered, this, &QWidget::close);
    NewAction1->setShortcut(QKeySequence::New);
    RefreshAction1->setShortcut(QKeySequence(Qt::Key_F5));
    PrintAction1->setShortcut(QKeySequence::Print);
    DeleteAction1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    for (QAction *a : {NewAction1, RefreshAction1, PrintAction1, DeleteAction1})
        a->setShortcutContext(Qt::WindowShortcut);
    addActions({NewAction1, RefreshAction1, PrintAction1, DeleteAction1});

    buildFindPanel();

    Grid1 = new TqmGridcx(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->SetTag(m_info.ListTag);
    Grid1->SetDataSet(Set().Query());
    Grid1->LoadLayout(m_info.ListTag);
    connect(Grid1, &TqmGridBase::OnDblClick, this,
        [this] { RunUserAction([this] { EditAction1Execute(); }); });
    extendGridMenu();

    buildToolBar();
    buildMenus();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->setMenuBar(MenuBar1);
    layout->addWidget(ToolBar1);
    layout->addWidget(FindPanel1);
    layout->addWidget(Grid1, 1);

    if (firstQuery)
        RunUserAction([this] { LoadRows(); });
}

void TRecordListFrm::buildFindPanel()
{
    FindPanel1 = new QWidget(this);
    FindPanel1->setObjectName(QStringLiteral("FindPanel1"));
    auto *grid = new QGridLayout(FindPanel1);
    grid->setContentsMargins(0, 4, 0, 4);
    const QVector<TFindItem> items = m_info.FindPanel ? m_info.FindPanel() : QVector<TFindItem>();
    TDataSet *criteria = Where().DataSet();
    const int pairsPerRow = 4;
    int index = 0;
    for (const TFindItem &item : items) {
        QWidget *control = nullptr;
        switch (item.Control) {
        case TFindControl::Edit: {
            auto *edit = new TqmDBEdit(FindPanel1);
            edit->Bind(criteria, item.Field);
            connect(edit, &QLineEdit::returnPressed, this,
                [this] { RunUserAction([this] { Button1Click(); }); });
            control = edit;
            break;
        }
        case TFindControl::PickList: {
            auto *combo = new TqmDBComboBox(FindPanel1);
            combo->setEditable(true);
            FillPickCombo(combo, item.PickList);
            combo->Bind(criteria, item.Field);
            control = combo;
            break;
        }
        case TFindControl::Date: {
            auto *date = new TqmDBDateTimeEdit(FindPanel1);
            date->SetShowCheckbox(true);
            date->setDisplayFormat(QmText::DateFormat);
            date->Bind(criteria, item.Field);
            control = date;
            break;
        }
        }
        control->setObjectName(QStringLiteral("edt%1").arg(item.Field) + QLatin1Char('1'));
        auto *label = new QLabel(item.Caption, FindPanel1);
        label->setObjectName(QStringLiteral("lbl%1").arg(item.Field) + QLatin1Char('1'));
        label->setBuddy(control);
        const int row = index / pairsPerRow;
        const int column = (index % pairsPerRow) * 2;
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(control, row, column + 1);
        m_findControls.insert(item.Field, control);
        ++index;
    }
    for (int c = 1; c < pairsPerRow * 2; c += 2)
        grid->setColumnStretch(c, 1);

    Button1 = button(FindPanel1, "Button1", "查询");
    btnClear1 = button(FindPanel1, "btnClear1", "重置");
    Button2 = button(FindPanel1, "Button2", "功能▼");
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(btnClear1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    const int rows = std::max(1, (index + pairsPerRow - 1) / pairsPerRow);
    grid->addLayout(buttons, 0, pairsPerRow * 2, rows, 1);
    connect(Button1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { Button1Click(); }); });
    connect(btnClear1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { btnClear1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { Grid1->PopupButtonClick(Button2); });
}

void TRecordListFrm::extendGridMenu()
{
    // Each goes in at the top, so they end up as 添加, 修改, 删除..., separator.
    TqmPopupMenu *menu = Grid1->PopupMenuQm();
    menu->AddSeparator(0);
    auto *remove = new QAction(S("删除..."), menu);
    connect(remove, &QAction::triggered, DeleteAction1, &QAction::trigger);
    menu->AddActionItem(remove, 0);
    auto *edit = new QAction(S("修改"), menu);
    connect(edit, &QAction::triggered, EditAction1, &QAction::trigger);
    menu->AddActionItem(edit, 0);
    auto *add = new QAction(S("添加"), menu);
    connect(add, &QAction::triggered, NewAction1, &QAction::trigger);
    menu->AddActionItem(add, 0);
}

void TRecordListFrm::buildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar1->addActions({NewAction1, EditAction1, DeleteAction1});
    ToolBar1->addSeparator();
    ToolBar1->addActions({RefreshAction1, PrintAction1});

    auto *exportMenu = new QMenu(this);
    exportMenu->setObjectName(QStringLiteral("ExportMenu1"));
    exportMenu->addActions({Grid1->ActionExport2Excel, Grid1->ActionExport2Html});
    ExportButton1 = dropDown(ToolBar1, "ExportButton1", "导出", exportMenu);
    ToolBar1->addWidget(ExportButton1);

    auto *setupMenu = new QMenu(this);
    setupMenu->setObjectName(QStringLiteral("SetupMenu1"));
    setupMenu->addActions({Grid1->ActionColVisible, Grid1->ActionTableStyleSave});
    SetupButton1 = dropDown(ToolBar1, "SetupButton1", "设置", setupMenu);
    ToolBar1->addWidget(SetupButton1);

    ToolBar1->addSeparator();
    ToolBar1->addAction(ExitAction1);
}

void TRecordListFrm::buildMenus()
{
    MenuBar1 = new QMenuBar(this);
    MenuBar1->setObjectName(QStringLiteral("MenuBar1"));
    QMenu *file = MenuBar1->addMenu(S("文件(&F)"));
    file->setObjectName(QStringLiteral("FileMenu1"));
    file->addAction(PrintAction1);
    file->addSeparator();
    file->addAction(ExitAction1);

    EditMenu1 = MenuBar1->addMenu(S("编辑(&E)"));
    EditMenu1->setObjectName(QStringLiteral("EditMenu1"));
    EditMenu1->addActions({NewAction1, EditAction1, DeleteAction1});

    ToolBarAction1 = new QAction(S("工具栏"), this);
    ToolBarAction1->setObjectName(QStringLiteral("ToolBarAction1"));
    ToolBarAction1->setCheckable(true);
    connect(ToolBarAction1, &QAction::triggered, this,
        [this] { ToolBar1->setVisible(!ToolBar1->isVisible()); });
    FindBarAction1 = new QAction(S("查找栏"), this);
    FindBarAction1->setObjectName(QStringLiteral("FindBarAction1"));
    FindBarAction1->setCheckable(true);
    connect(FindBarAction1, &QAction::triggered, this,
        [this] { FindPanel1->setVisible(!FindPanel1->isVisible()); });

    ViewMenu1 = MenuBar1->addMenu(S("视图(&V)"));
    ViewMenu1->setObjectName(QStringLiteral("ViewMenu1"));
    ViewMenu1->addActions({ToolBarAction1, FindBarAction1});
    ViewMenu1->addSeparator();
    ViewMenu1->addAction(RefreshAction1);
    ViewMenu1->addSeparator();
    ViewMenu1->addActions(
        {Grid1->ActionSort, Grid1->ActionColVisible, Grid1->ActionTableStyleSave});
    // isHidden, not isVisible: the marks must be right before the window is shown too.
    connect(ViewMenu1, &QMenu::aboutToShow, this, [this] {
        ToolBarAction1->setChecked(!ToolBar1->isHidden());
        FindBarAction1->setChecked(!FindPanel1->isHidden());
    });
}

void TRecordListFrm::Button1Click()
{
    LoadRows();
}

void TRecordListFrm::btnClear1Click()
{
    Where().Reset();
    RefreshDataControls(Where().DataSet());
}

void TRecordListFrm::FilterByCode(const QString &code)
{
    Where().Reset();
    Where().EmpCodeFld->SetValue(code);
    RefreshDataControls(Where().DataSet());
    LoadRows();
}

void TRecordListFrm::NewAction1Execute()
{
    CheckModuleRight(m_info.NewRight);
    PickEmployee(
        0,
        [this](const REmployee &employee) {
            OpenNewFor(employee);
            return true;
        },
        this, this);
}

void TRecordListFrm::EditAction1Execute()
{
    TDataSet *rows = Set().Query();
    if (!rows->Active() || rows->IsEmpty())
        return;
    OpenCurrent();
}

void TRecordListFrm::DeleteAction1Execute()
{
    TDataSet *rows = Set().Query();
    if (!rows->Active() || rows->IsEmpty())
        return;
    CheckModuleRight(m_info.DeleteRight);
    if (!AskDelete(QString()))
        return;
    if (!DeleteCurrentRow())
        ShowInfo(m_info.DeleteFailed);
}

void TRecordListFrm::RefreshAction1Execute()
{
    if (Set().Active())
        Set().Reopen(KeyField());
    else
        LoadRows();
}

void TRecordListFrm::PrintAction1Execute()
{
    const std::unique_ptr<TDataSet> criteria = Where().Snapshot();
    PrintReports({Set().Query(), criteria.get()}, m_info.ListReportGroup);
}
