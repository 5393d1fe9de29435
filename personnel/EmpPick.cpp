#include "EmpPick.h"

#include "EmpFind.h"
#include "EmployeeWhere.h"
#include "Error.h"
#include "Pub.h"
#include "Utils.h"
#include "qmCtrls.h"
#include "qmDBGrids.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

TEmpPickFrm::TProfileOpener &profileOpener()
{
    static TEmpPickFrm::TProfileOpener opener;
    return opener;
}

QPushButton *button(QWidget *owner, const char *name, const char *caption)
{
    auto *b = new QPushButton(S(caption), owner);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TEmpPickFrm::TEmpPickFrm(QWidget *parent)
    : TaFrm(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , m_where(std::make_unique<TEmployeeWhere>())
    , m_set(std::make_unique<TEmployeeSet>())
{
    setObjectName(S("EmpPickFrm"));
    setWindowTitle(S("职员查找"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(640, 420);

    Edit1 = new TqmEdit(this);
    Edit1->setObjectName(S("Edit1"));
    Edit1->SetTabOnEnter(false);
    Button1 = button(this, "Button1", "查找");
    Button6 = button(this, "Button6", "高级");
    DBGrid1 = new TqmDBGrid(this);
    DBGrid1->setObjectName(S("DBGrid1"));
    DBGrid1->SetReadOnly(true);
    DBGrid1->TableView()->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->TableView()->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->SetDataSet(m_set->Query());
    DBGrid1->SetLayoutId(2);
    Button3 = button(this, "Button3", "新建");
    btnOk1 = button(this, "btnOk1", "确定");
    Button2 = button(this, "Button2", "取消");
    btnOk1->setEnabled(false);
    Button3->setEnabled(bool(profileOpener()));

    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(S("输入关键字"), this));
    search->addWidget(Edit1, 1);
    search->addWidget(Button1);
    search->addWidget(Button6);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addStretch();
    buttons->addWidget(btnOk1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { Button1Click(); }); });
    connect(Edit1, &QLineEdit::returnPressed, this,
        [this] { RunUserAction([this] { Button1Click(); }); });
    connect(Button6, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { Button6Click(); }); });
    connect(
        btnOk1, &QPushButton::clicked, this, [this] { RunUserAction([this] { PickClick(); }); });
    connect(DBGrid1, &TqmGridBase::OnDblClick, this,
        [this] { RunUserAction([this] { PickClick(); }); });
    connect(Button3, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { Button3Click(); }); });
    connect(Button2, &QPushButton::clicked, this, &QWidget::close);
}

TEmpPickFrm::~TEmpPickFrm()
{
    // The grid goes with the window's children, after the set; let it forget
    // the set first.
    DBGrid1->SetDataSet(nullptr);
}

void TEmpPickFrm::SetHandler(TEmpPickHandler handler, QObject *context)
{
    m_handler = std::move(handler);
    m_hasContext = context != nullptr;
    m_context = context;
    if (context)
        connect(context, &QObject::destroyed, this, &QWidget::close);
    btnOk1->setEnabled(bool(m_handler));
}

void TEmpPickFrm::SetProfileOpener(TProfileOpener opener)
{
    profileOpener() = std::move(opener);
}

void TEmpPickFrm::Refresh()
{
    m_where->Reset();
    const QString keyword = Edit1->text().trimmed();
    if (!keyword.isEmpty())
        m_where->KeywordFld->SetValue(keyword);
    BuildEmployeeQuery(*m_set, *m_where);
}

void TEmpPickFrm::Button1Click()
{
    Refresh();
}

void TEmpPickFrm::Button6Click()
{
    TEmpFindFrm form(this);
    form.OnFind = [this](TEmployeeWhere &criteria) {
        if (BuildEmployeeQuery(*m_set, criteria) > 0)
            return true;
        prompter().message(MessageKind::Information, messageCaption(MessageKind::Information),
            S("\r\n没有找到相关记录.\t\t"), MessageButton::Ok, MessageButton::Ok);
        return false;
    };
    RunModal(form);
}

void TEmpPickFrm::PickClick()
{
    if (!m_handler || m_set->Query()->IsEmpty())
        return;
    if (m_hasContext && !m_context) {
        close();
        return;
    }
    // The handler may close this window (and so schedule its deletion) or
    // even delete its context; keep only what is needed on the stack.
    const QPointer<TEmpPickFrm> self(this);
    const TEmpPickHandler handler = m_handler;
    if (handler(m_set->ReadEmployee()) && self)
        close();
}

void TEmpPickFrm::Button3Click()
{
    if (profileOpener())
        profileOpener()(GuardedEmployeeHooks(m_set.get(), this));
}

TEmpPickFrm *PickEmployee(int, TEmpPickHandler handler, QObject *context, QWidget *parent)
{
    auto *picker = new TEmpPickFrm(parent);
    picker->SetHandler(std::move(handler), context);
    try {
        picker->Refresh();
    } catch (...) {
        delete picker;
        throw;
    }
    picker->show();
    return picker;
}
