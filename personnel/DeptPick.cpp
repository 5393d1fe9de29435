#include "DeptPick.h"

#include "Error.h"
#include "Operator.h"
#include "Pub.h"
#include "Utils.h"
#include "qmCtrls.h"

#include <QAction>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int DepartmentRight = 11;
constexpr int NoteWidth = 50;

// A tree node with its own copy of its department.
class DeptNode : public QTreeWidgetItem
{
public:
    static constexpr int NodeType = QTreeWidgetItem::UserType + 31;

    explicit DeptNode(const RDepartment &record)
        : QTreeWidgetItem(NodeType)
        , Record(record)
    {
        setText(0, record.Name);
    }

    RDepartment Record;
};

DeptNode *asNode(QTreeWidgetItem *item)
{
    return item && item->type() == DeptNode::NodeType ? static_cast<DeptNode *>(item) : nullptr;
}

const DeptNode *asNode(const QTreeWidgetItem *item)
{
    return item && item->type() == DeptNode::NodeType ? static_cast<const DeptNode *>(item)
                                                      : nullptr;
}

TqmEdit *makeEdit(QWidget *parent, const QString &name, bool readOnly, int maxLength = 0)
{
    auto *edit = new TqmEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

TqmMemo *makeMemo(QWidget *parent, const QString &name, bool readOnly)
{
    auto *memo = new TqmMemo(parent);
    memo->setObjectName(name);
    memo->setReadOnly(readOnly);
    memo->setMaximumHeight(80);
    return memo;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Enter in an edit box must never press a button by surprise.
    button->setAutoDefault(false);
    return button;
}

void checkDepartmentRight()
{
    TheOperator->CheckRight(DepartmentRight, true);
}

} // namespace

TDeptPickFrm::TDeptPickFrm(TDeptPickHandler handler, QWidget *parent)
    : TaDlgBase(parent, TFormPosition::OwnerCenter)
    , m_handler(std::move(handler))
{
    setObjectName(QStringLiteral("DeptPickFrm"));
    setWindowTitle(QStringLiteral("部门机构"));
    resize(620, 440);

    m_panels = new QStackedWidget(ClientArea());
    m_panels->setObjectName(QStringLiteral("Panels1"));
    auto *layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panels);

    buildView();
    buildEdit();
    m_panels->addWidget(pnlView1);
    m_panels->addWidget(pnlEdit1);
    m_panels->setCurrentWidget(pnlView1);

    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("选定"));
    Button6 = makeButton(this, QStringLiteral("Button6"), QStringLiteral("不选"));
    Button2 = makeButton(this, QStringLiteral("Button2"), QStringLiteral("关闭"));
    const int help = ButtonRow()->indexOf(HelpBtn1);
    ButtonRow()->insertWidget(help, Button1);
    ButtonRow()->insertWidget(help + 1, Button6);
    ButtonRow()->insertWidget(help + 2, Button2);
    Button1->setVisible(bool(m_handler));
    Button6->setVisible(bool(m_handler));

    auto action = [this](void (TDeptPickFrm::*handler)()) {
        return [this, handler] {
            RunUserAction([this, handler] { (this->*handler)(); });
        };
    };
    connect(AddSubAction1, &QAction::triggered, this, action(&TDeptPickFrm::AddSubClick));
    connect(AddAction1, &QAction::triggered, this, action(&TDeptPickFrm::AddClick));
    connect(EditAction1, &QAction::triggered, this, action(&TDeptPickFrm::EditClick));
    connect(DeleAction1, &QAction::triggered, this, action(&TDeptPickFrm::DeleClick));
    connect(Button4, &QPushButton::clicked, this, action(&TDeptPickFrm::EditClick));
    connect(Button5, &QPushButton::clicked, this, action(&TDeptPickFrm::DeleClick));
    connect(OkBtn1, &QPushButton::clicked, this, action(&TDeptPickFrm::OkBtn1Click));
    connect(CancelBtn1, &QPushButton::clicked, this, action(&TDeptPickFrm::CancelBtn1Click));
    connect(Button1, &QPushButton::clicked, this, action(&TDeptPickFrm::Button1Click));
    connect(Button6, &QPushButton::clicked, this, action(&TDeptPickFrm::Button6Click));
    connect(Button2, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this,
        action(&TDeptPickFrm::TreeView1Change));
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *node, int) {
        RunUserAction([this, node] { TreeView1DblClick(node); });
    });
    connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (QTreeWidgetItem *node = TreeView1->itemAt(pos))
            TreeView1->setCurrentItem(node);
        PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(pos));
    });

    FillTree();
    TreeView1Change();
}

TDeptPickFrm::~TDeptPickFrm() = default;

void TDeptPickFrm::reject()
{
    // Escape while editing gives up the edit, not the window.
    if (Editing()) {
        CancelBtn1Click();
        return;
    }
    TaDlgBase::reject();
}

void TDeptPickFrm::buildView()
{
    pnlView1 = new QWidget(m_panels);
    pnlView1->setObjectName(QStringLiteral("pnlView1"));

    TreeView1 = new QTreeWidget(pnlView1);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    TreeView1->setIconSize(QSize(16, 16));
    TreeView1->setMinimumWidth(240);

    AddSubAction1 = new QAction(QStringLiteral("添加子项目"), this);
    AddSubAction1->setObjectName(QStringLiteral("AddSubAction1"));
    AddAction1 = new QAction(QStringLiteral("添加同级项目"), this);
    AddAction1->setObjectName(QStringLiteral("AddAction1"));
    EditAction1 = new QAction(QStringLiteral("修改"), this);
    EditAction1->setObjectName(QStringLiteral("EditAction1"));
    DeleAction1 = new QAction(QStringLiteral("删除"), this);
    DeleAction1->setObjectName(QStringLiteral("DeleAction1"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(AddSubAction1);
    PopupMenu1->addAction(AddAction1);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(EditAction1);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(DeleAction1);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->addAction(AddSubAction1);
    PopupMenu2->addAction(AddAction1);

    Button3 = makeButton(pnlView1, QStringLiteral("Button3"), QStringLiteral("添加"));
    Button3->setMenu(PopupMenu2);
    Button4 = makeButton(pnlView1, QStringLiteral("Button4"), QStringLiteral("修改"));
    Button5 = makeButton(pnlView1, QStringLiteral("Button5"), QStringLiteral("删除"));

    m_details = new QStackedWidget(pnlView1);
    m_details->setObjectName(QStringLiteral("pnlDetails1"));
    auto *empty = new QWidget(m_details);
    empty->setObjectName(QStringLiteral("pnlEmpty1"));
    auto *details = new QWidget(m_details);
    details->setObjectName(QStringLiteral("pnlDetail1"));
    Edit1 = makeEdit(details, QStringLiteral("Edit1"), true);
    Edit2 = makeEdit(details, QStringLiteral("Edit2"), true);
    Edit3 = makeEdit(details, QStringLiteral("Edit3"), true);
    Edit4 = makeEdit(details, QStringLiteral("Edit4"), true);
    Edit5 = makeEdit(details, QStringLiteral("Edit5"), true);
    Edit6 = makeEdit(details, QStringLiteral("Edit6"), true);
    Memo1 = makeMemo(details, QStringLiteral("Memo1"), true);
    auto *form = new QFormLayout(details);
    form->addRow(QStringLiteral("编码"), Edit1);
    form->addRow(QStringLiteral("名称"), Edit2);
    form->addRow(QStringLiteral("联系人"), Edit3);
    form->addRow(QStringLiteral("电话"), Edit4);
    form->addRow(QStringLiteral("传真"), Edit5);
    form->addRow(QStringLiteral("地址"), Edit6);
    form->addRow(QStringLiteral("描述"), Memo1);
    m_details->addWidget(empty);
    m_details->addWidget(details);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);
    buttons->addWidget(Button5);
    auto *right = new QVBoxLayout;
    right->addWidget(m_details, 1);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(pnlView1);
    layout->addWidget(TreeView1, 1);
    layout->addLayout(right, 1);
}

void TDeptPickFrm::buildEdit()
{
    pnlEdit1 = new QWidget(m_panels);
    pnlEdit1->setObjectName(QStringLiteral("pnlEdit1"));
    edtParent1 = makeEdit(pnlEdit1, QStringLiteral("edtParent1"), true);
    edtName1 = makeEdit(pnlEdit1, QStringLiteral("edtName1"), false, 30);
    edtManager1 = makeEdit(pnlEdit1, QStringLiteral("edtManager1"), false, 30);
    edtTel1 = makeEdit(pnlEdit1, QStringLiteral("edtTel1"), false, 30);
    edtFax1 = makeEdit(pnlEdit1, QStringLiteral("edtFax1"), false, 30);
    edtAddress1 = makeEdit(pnlEdit1, QStringLiteral("edtAddress1"), false, 50);
    memDescribe1 = makeMemo(pnlEdit1, QStringLiteral("memDescribe1"), false);
    OkBtn1 = makeButton(pnlEdit1, QStringLiteral("OkBtn1"), QStringLiteral("确定"));
    CancelBtn1 = makeButton(pnlEdit1, QStringLiteral("CancelBtn1"), QStringLiteral("取消"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("上级"), edtParent1);
    form->addRow(QStringLiteral("名称"), edtName1);
    form->addRow(QStringLiteral("联系人"), edtManager1);
    form->addRow(QStringLiteral("电话"), edtTel1);
    form->addRow(QStringLiteral("传真"), edtFax1);
    form->addRow(QStringLiteral("联系"), edtAddress1);
    form->addRow(QStringLiteral("描述"), memDescribe1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn1);
    buttons->addWidget(CancelBtn1);
    auto *layout = new QVBoxLayout(pnlEdit1);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);
}

// ---------------------------------------------------------------- tree

void TDeptPickFrm::FillTree()
{
    TreeView1->clear();
    CreateDepartments()->Load();

    QIcon icon;
    icon.addPixmap(style()->standardIcon(QStyle::SP_DirClosedIcon).pixmap(16, 16), QIcon::Normal);
    icon.addPixmap(style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16, 16), QIcon::Selected);

    // Rows come parent first, so the node of row FatherIdx - 1 exists already.
    std::vector<DeptNode *> nodes;
    nodes.reserve(static_cast<size_t>(TheDepartments->Count()));
    for (const RDepartment &row : TheDepartments->Rows()) {
        RDepartment record = row;
        auto *node = new DeptNode(record);
        node->setIcon(0, icon);
        if (record.FatherIdx > 0) {
            DeptNode *parent = nodes[static_cast<size_t>(record.FatherIdx - 1)];
            node->Record.FatherCode = parent->Record.Code;
            node->Record.FatherPath = parent->Record.Path;
            parent->addChild(node);
        } else {
            TreeView1->addTopLevelItem(node);
        }
        nodes.push_back(node);
    }
    if (QTreeWidgetItem *first = TreeView1->topLevelItem(0)) {
        TreeView1->setCurrentItem(first);
        first->setExpanded(true);
    }
}

QTreeWidgetItem *TDeptPickFrm::AddNode(const RDepartment &record)
{
    auto *node = new DeptNode(record);
    QIcon icon;
    icon.addPixmap(style()->standardIcon(QStyle::SP_DirClosedIcon).pixmap(16, 16), QIcon::Normal);
    icon.addPixmap(style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16, 16), QIcon::Selected);
    node->setIcon(0, icon);

    QTreeWidgetItem *parent = record.FatherCode.isEmpty() ? nullptr : NodeOf(record.FatherCode);
    const int count = parent ? parent->childCount() : TreeView1->topLevelItemCount();
    // Siblings stay in code order, whatever stands at the top by mistake.
    int at = count;
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem *sibling = parent ? parent->child(i) : TreeView1->topLevelItem(i);
        if (QString::compare(NodeRecord(sibling).Code, record.Code) > 0) {
            at = i;
            break;
        }
    }
    if (parent) {
        parent->insertChild(at, node);
        parent->setExpanded(true);
    } else {
        TreeView1->insertTopLevelItem(at, node);
    }
    return node;
}

QTreeWidgetItem *TDeptPickFrm::NodeOf(const QString &code) const
{
    if (code.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
        if (NodeRecord(*it).Code == code)
            return *it;
    }
    return nullptr;
}

RDepartment TDeptPickFrm::NodeRecord(const QTreeWidgetItem *node)
{
    const DeptNode *n = asNode(node);
    return n ? n->Record : RDepartment();
}

void TDeptPickFrm::setNodeRecord(QTreeWidgetItem *node, const RDepartment &record)
{
    if (DeptNode *n = asNode(node)) {
        n->Record = record;
        n->setText(0, record.Name);
    }
}

QTreeWidgetItem *TDeptPickFrm::Selected() const
{
    const QList<QTreeWidgetItem *> selected = TreeView1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

bool TDeptPickFrm::SelectCode(const QString &code)
{
    QTreeWidgetItem *node = NodeOf(code);
    if (!node)
        return false;
    TreeView1->setCurrentItem(node);
    node->setSelected(true);
    TreeView1->scrollToItem(node);
    return true;
}

bool TDeptPickFrm::Editing() const
{
    return m_panels->currentWidget() == pnlEdit1;
}

// A rename changes the full name of every department below it, and the set
// has just been reloaded with the new names.
void TDeptPickFrm::refreshPaths()
{
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
        DeptNode *node = asNode(*it);
        if (!node)
            continue;
        RDepartment stored;
        if (TheDepartments->Find(node->Record.Code, &stored))
            node->Record.Path = stored.Path;
        const RDepartment parent = NodeRecord(node->parent());
        node->Record.FatherPath = parent.Path;
    }
}

// ---------------------------------------------------------------- view panel

void TDeptPickFrm::TreeView1Change()
{
    QTreeWidgetItem *node = Selected();
    const bool selected = node != nullptr;
    AddSubAction1->setEnabled(selected);
    EditAction1->setEnabled(selected);
    DeleAction1->setEnabled(selected);
    Button4->setEnabled(selected);
    Button5->setEnabled(selected);
    Button1->setEnabled(selected);
    if (!selected) {
        AddSubAction1->setText(QStringLiteral("添加子项目"));
        AddAction1->setText(QStringLiteral("添加同级项目"));
        m_details->setCurrentIndex(0);
        return;
    }
    const RDepartment record = NodeRecord(node);
    AddSubAction1->setText(QStringLiteral("添加 \"%1\" 的子项...").arg(record.Name));
    AddAction1->setText(QStringLiteral("添加 \"%1\" 的同级项目...").arg(record.Name));
    Edit1->setText(record.Code);
    Edit2->setText(record.Name);
    Edit3->setText(record.Manager);
    Edit4->setText(record.Tel);
    Edit5->setText(record.Fax);
    Edit6->setText(record.Address);
    Memo1->setPlainText(record.Note);
    m_details->setCurrentIndex(1);
}

void TDeptPickFrm::AddClick()
{
    checkDepartmentRight();
    QTreeWidgetItem *node = Selected();
    const RDepartment parent = NodeRecord(node ? node->parent() : nullptr);
    RDepartment record;
    record.FatherCode = parent.Code;
    record.FatherPath = parent.Path;
    openEditor(record, Confirm::Insert);
}

void TDeptPickFrm::AddSubClick()
{
    QTreeWidgetItem *node = Selected();
    if (!node)
        return;
    checkDepartmentRight();
    const RDepartment parent = NodeRecord(node);
    RDepartment record;
    record.FatherCode = parent.Code;
    record.FatherPath = parent.Path;
    openEditor(record, Confirm::Insert);
}

void TDeptPickFrm::EditClick()
{
    QTreeWidgetItem *node = Selected();
    if (!node)
        return;
    checkDepartmentRight();
    RDepartment record = NodeRecord(node);
    if (node->parent()) {
        const RDepartment parent = NodeRecord(node->parent());
        record.FatherCode = parent.Code;
        record.FatherPath = parent.Path;
    }
    openEditor(record, Confirm::Update);
}

void TDeptPickFrm::DeleClick()
{
    QTreeWidgetItem *node = Selected();
    if (!node)
        return;
    checkDepartmentRight();
    if (!AskDelete(node->text(0)))
        return;
    const QString code = NodeRecord(node).Code;
    try {
        TheDepartments->DeleteBranch(code);
    } catch (const QmError &e) {
        ShowInfo(TDepartmentSet::DeleteFailedText + e.message());
        return;
    }

    // Everything under the code went, including rows that stood at the top
    // because their parent was missing.
    QSet<QTreeWidgetItem *> removed;
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
        const QString c = NodeRecord(*it).Code;
        if (c == code || TDepartmentSet::IsBelow(c, code))
            removed.insert(*it);
    }
    auto sibling = [&](int step) -> QTreeWidgetItem * {
        QTreeWidgetItem *parent = node->parent();
        int i = parent ? parent->indexOfChild(node) : TreeView1->indexOfTopLevelItem(node);
        const int count = parent ? parent->childCount() : TreeView1->topLevelItemCount();
        for (i += step; i >= 0 && i < count; i += step) {
            QTreeWidgetItem *candidate = parent ? parent->child(i) : TreeView1->topLevelItem(i);
            if (!removed.contains(candidate))
                return candidate;
        }
        return nullptr;
    };
    QTreeWidgetItem *next = sibling(1);
    if (!next)
        next = sibling(-1);
    if (!next)
        next = node->parent();

    TreeView1->blockSignals(true);
    TreeView1->clearSelection();
    // Deleting a node deletes its subtree, so only the outermost ones go
    // explicitly, and all of them are found before the first one goes.
    QList<QTreeWidgetItem *> outermost;
    for (QTreeWidgetItem *item : std::as_const(removed)) {
        bool inside = false;
        for (QTreeWidgetItem *up = item->parent(); up && !inside; up = up->parent())
            inside = removed.contains(up);
        if (!inside)
            outermost.append(item);
    }
    qDeleteAll(outermost);
    if (next) {
        TreeView1->setCurrentItem(next);
        next->setSelected(true);
    }
    TreeView1->blockSignals(false);
    TreeView1Change();
}

// ---------------------------------------------------------------- edit panel

void TDeptPickFrm::openEditor(const RDepartment &record, Confirm confirm)
{
    m_confirm = confirm;
    m_editing = record;
    showRecordInEditor(record);
    Button1->setEnabled(false);
    Button6->setEnabled(false);
    m_panels->setCurrentWidget(pnlEdit1);
    edtName1->setFocus();
}

void TDeptPickFrm::showRecordInEditor(const RDepartment &record)
{
    edtParent1->setText(record.FatherPath);
    edtParent1->setToolTip(record.FatherCode);
    edtName1->setText(record.Name);
    edtName1->setToolTip(record.Code);
    edtManager1->setText(record.Manager);
    edtTel1->setText(record.Tel);
    edtFax1->setText(record.Fax);
    edtAddress1->setText(record.Address);
    memDescribe1->setPlainText(record.Note);
}

RDepartment TDeptPickFrm::recordFromEditor() const
{
    RDepartment record = m_editing;
    record.Name = edtName1->text().trimmed();
    record.Manager = edtManager1->text();
    record.Tel = edtTel1->text();
    record.Fax = edtFax1->text();
    record.Address = edtAddress1->text();
    record.Note = memDescribe1->toPlainText();
    record.Path = TDepartmentSet::JoinPath(record.FatherPath, record.Name);
    return record;
}

void TDeptPickFrm::OkBtn1Click()
{
    RDepartment record = recordFromEditor();
    if (record.Name.isEmpty()) {
        prompter().message(MessageKind::Information, messageCaption(MessageKind::Information),
            QStringLiteral("\r对不起, 名称必须填写.\t"), MessageButton::Ok, MessageButton::Ok);
        edtName1->setFocus();
        return;
    }
    // The column holds 50 characters; cutting the text short would lose it.
    if (record.Note.size() > NoteWidth) {
        ShowInfo(QStringLiteral("对不起, 描述最多只能填写 %1 个字.").arg(NoteWidth));
        memDescribe1->setFocus();
        return;
    }
    const bool done
        = m_confirm == Confirm::Insert ? insertConfirmed(record) : updateConfirmed(record);
    if (!done)
        return;
    m_panels->setCurrentWidget(pnlView1);
    TreeView1Change();
    Button6->setEnabled(true);
    TreeView1->setFocus();
}

void TDeptPickFrm::CancelBtn1Click()
{
    m_panels->setCurrentWidget(pnlView1);
    TreeView1Change();
    Button6->setEnabled(true);
    TreeView1->setFocus();
}

bool TDeptPickFrm::insertConfirmed(RDepartment &record)
{
    try {
        if (!TheDepartments->AddDepartment(record)) {
            ShowInfo(QStringLiteral("没有返回department的成功标记."));
            return false;
        }
    } catch (const QmError &e) {
        ShowInfo(e.message());
        return false;
    }
    RDepartment stored;
    if (TheDepartments->Find(record.Code, &stored)) {
        stored.FatherCode = record.FatherCode;
        stored.FatherPath = record.FatherPath;
        record = stored;
    }
    QTreeWidgetItem *node = AddNode(record);
    TreeView1->setCurrentItem(node);
    node->setSelected(true);
    TreeView1->scrollToItem(node);
    return true;
}

bool TDeptPickFrm::updateConfirmed(RDepartment &record)
{
    try {
        if (!TheDepartments->UpdateDepartment(record)) {
            ShowInfo(QStringLiteral("没有返回department的成功标记."));
            return false;
        }
    } catch (const QmError &e) {
        ShowInfo(e.message());
        return false;
    }
    RDepartment stored;
    if (TheDepartments->Find(record.Code, &stored))
        record.Path = stored.Path;
    QTreeWidgetItem *node = NodeOf(record.Code);
    setNodeRecord(node, record);
    refreshPaths();
    return true;
}

// ---------------------------------------------------------------- picking

void TDeptPickFrm::pick(const RDepartment &record)
{
    if (!m_handler)
        return;
    const int result = m_handler(record);
    if (result != 0)
        done(result);
}

void TDeptPickFrm::Button1Click()
{
    if (QTreeWidgetItem *node = Selected())
        pick(NodeRecord(node));
}

void TDeptPickFrm::Button6Click()
{
    pick(RDepartment());
}

void TDeptPickFrm::TreeView1DblClick(QTreeWidgetItem *node)
{
    // A department with sub-departments opens and closes on a double click;
    // only a leaf is picked that way.
    if (node && node->childCount() == 0 && !Editing())
        pick(NodeRecord(node));
}

// ---------------------------------------------------------------- entries

int PickDepartment(const QString &code, const TDeptPickHandler &handler, QWidget *parent)
{
    CreateDepartments();
    TDeptPickFrm frm(handler, parent);
    frm.SelectCode(code);
    return RunModal(frm);
}

bool PickDepartment(const QString &code, RDepartment *picked, QWidget *parent)
{
    bool chosen = false;
    PickDepartment(
        code,
        [&](const RDepartment &record) {
            if (picked)
                *picked = record;
            chosen = true;
            return 1;
        },
        parent);
    return chosen;
}

void EditDepartments(QWidget *parent)
{
    checkDepartmentRight();
    PickDepartment(QString(), TDeptPickHandler(), parent);
}
