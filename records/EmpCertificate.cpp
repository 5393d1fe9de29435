#include "EmpCertificate.h"

#include "Pub.h"
#include "qmCtrls.h"
#include "qmDBGrids.h"

#include <QAction>
#include <QPushButton>
#include <QResizeEvent>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

const int ButtonWidth = 75;
const int ButtonHeight = 25;
// The space the button column takes beside the grid, its margins included.
const int ButtonColumn = ButtonWidth + 60;

} // namespace

TEmpCertificate_Fra::TEmpCertificate_Fra(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("EmpCertificate_Fra"));
    Grid1 = new TqmGridcx(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));

    struct Item
    {
        QPushButton **button;
        const char *name;
        const char *caption;
        void (TEmpCertificate_Fra::*operation)();
    };
    const Item items[] = {
        {&Button1, "Button1", "添加", &TEmpCertificate_Fra::AddRecord},
        {&Button2, "Button2", "修改", &TEmpCertificate_Fra::EditRecord},
        {&Button3, "Button3", "删除", &TEmpCertificate_Fra::DeleteRecord},
        {&Button4, "Button4", "查询", &TEmpCertificate_Fra::OpenList},
    };
    for (const Item &item : items) {
        auto *b = new QPushButton(S(item.caption), this);
        b->setObjectName(QLatin1String(item.name));
        b->setAutoDefault(false);
        b->resize(ButtonWidth, ButtonHeight);
        // Virtual calls, so that the module's frame answers.
        connect(b, &QPushButton::clicked, this,
            [this, op = item.operation] { RunUserAction([this, op] { (this->*op)(); }); });
        *item.button = b;
    }

    // Menu: 添加, 修改, separator at the top; separator, 删除... at the bottom.
    TqmPopupMenu *menu = Grid1->PopupMenuQm();
    menu->AddSeparator(0);
    auto *edit = new QAction(S("修改"), menu);
    connect(edit, &QAction::triggered, Button2, &QPushButton::click);
    menu->AddActionItem(edit, 0);
    auto *add = new QAction(S("添加"), menu);
    connect(add, &QAction::triggered, Button1, &QPushButton::click);
    menu->AddActionItem(add, 0);
    menu->AddSeparator();
    auto *remove = new QAction(S("删除..."), menu);
    connect(remove, &QAction::triggered, Button3, &QPushButton::click);
    menu->AddActionItem(remove);
    connect(Grid1, &TqmGridBase::OnDblClick, Button2, &QPushButton::click);

    resize(600, 300);
    placeControls();
}

TEmpCertificate_Fra::~TEmpCertificate_Fra() = default;

void TEmpCertificate_Fra::ShowEmployee(const REmployees &) { }
void TEmpCertificate_Fra::AddRecord() { }
void TEmpCertificate_Fra::EditRecord() { }
void TEmpCertificate_Fra::DeleteRecord() { }
void TEmpCertificate_Fra::OpenList() { }

void TEmpCertificate_Fra::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    placeControls();
}

void TEmpCertificate_Fra::placeControls()
{
    const int gridWidth = std::max(0, width() - ButtonColumn);
    Grid1->setGeometry(0, 0, gridWidth, height());
    int top = 8;
    for (QPushButton *b : {Button1, Button2, Button3, Button4}) {
        b->move(gridWidth + (ButtonColumn - ButtonWidth) / 2, top);
        top += ButtonHeight + 8;
    }
}

void BindFrameGrid(TqmGridcx *grid, TDataSet *set, int tag)
{
    grid->SetDataSet(set);
    if (!set)
        return;
    grid->SetTag(tag);
    grid->LoadLayout(tag);
}
