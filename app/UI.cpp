#include "UI.h"

#include "DeptPick.h"
#include "Pub.h"
#include "qmProj.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPersistentModelIndex>
#include <QRegularExpression>
#include <QStyle>
#include <memory>

namespace {

// A node that owns its record, so the record goes wherever the node goes.
class TNodeItem : public QTreeWidgetItem
{
public:
    static constexpr int Type = QTreeWidgetItem::UserType + 1;
    TNodeItem()
        : QTreeWidgetItem(Type)
        , alive(std::make_shared<bool>(true))
    { }
    ~TNodeItem() override { *alive = false; }
    TNodeItem(const TNodeItem &) = delete;
    TNodeItem &operator=(const TNodeItem &) = delete;

    TNodeRecord record;
    // Tells a running handler whether the node outlived it.
    std::shared_ptr<bool> alive;
};

bool isWithin(const QTreeWidgetItem *node, const QTreeWidgetItem *ancestor)
{
    for (; node; node = node->parent())
        if (node == ancestor)
            return true;
    return false;
}

// Keeps the wait cursor up exactly while a handler runs, also when it throws.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

TqmTreeView::TqmTreeView(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    header()->setStretchLastSection(true);
    // A handler may change the tree, which Qt does not allow while it is
    // still announcing the new current node; so a choice made in the tree
    // runs its handler once the announcement is over, and only if the node
    // is still the current one by then (quick keyboard moves run the last).
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (!current || m_quiet)
            return;
        const QPersistentModelIndex chosen(indexFromItem(current));
        QMetaObject::invokeMethod(
            this,
            [this, chosen] {
                QTreeWidgetItem *node = chosen.isValid() ? itemFromIndex(chosen) : nullptr;
                if (node && node == currentItem())
                    runHandler(node);
            },
            Qt::QueuedConnection);
    });
}

QTreeWidgetItem *TqmTreeView::AddNode(QTreeWidgetItem *parent, const QString &caption,
    const QVariant &value, TNodeHandler handler, QObject *object, int index)
{
    auto *node = new TNodeItem;
    node->setText(0, caption);
    node->record.Handler = std::move(handler);
    node->record.Object = object;
    node->record.HasObject = object != nullptr;
    node->record.Value = value;
    const int count = parent ? parent->childCount() : topLevelItemCount();
    const bool insert = index >= 0 && index < count;
    if (parent) {
        if (insert)
            parent->insertChild(index, node);
        else
            parent->addChild(node);
    } else {
        if (insert)
            insertTopLevelItem(index, node);
        else
            addTopLevelItem(node);
    }
    return node;
}

void TqmTreeView::DeleteNode(QTreeWidgetItem *node)
{
    if (!node)
        return;
    if (isWithin(currentItem(), node))
        ClearChoice();
    delete node;
}

TNodeRecord *TqmTreeView::NodeRecord(QTreeWidgetItem *node)
{
    if (!node || node->type() != TNodeItem::Type)
        return nullptr;
    return &static_cast<TNodeItem *>(node)->record;
}

QVariant TqmTreeView::NodeValue(QTreeWidgetItem *node)
{
    const TNodeRecord *record = NodeRecord(node);
    return record ? record->Value : QVariant();
}

void TqmTreeView::ChooseNode(QTreeWidgetItem *node)
{
    if (!node)
        return;
    m_quiet = true;
    setCurrentItem(node);
    m_quiet = false;
    runHandler(node);
}

void TqmTreeView::ClearChoice()
{
    m_quiet = true;
    clearSelection();
    setCurrentItem(nullptr);
    m_quiet = false;
}

void TqmTreeView::runHandler(QTreeWidgetItem *node)
{
    if (node->type() != TNodeItem::Type) {
        m_text = node->text(0);
        emit nodeChosen(node);
        return;
    }
    auto *item = static_cast<TNodeItem *>(node);
    const TNodeRecord &record = item->record;
    // The handler may rebuild the tree and delete this very node, so it runs
    // on copies and the node is looked at afterwards only if it survived.
    const std::shared_ptr<bool> alive = item->alive;
    if (record.Handler && !(record.HasObject && !record.Object)) {
        const TNodeHandler handler = record.Handler;
        const QVariant value = record.Value;
        WaitCursor wait;
        RunUserAction([&] { handler(value); });
    }
    if (*alive) {
        m_text = node->text(0);
        emit nodeChosen(node);
    }
}

TDeptEdit::TDeptEdit(QWidget *parent)
    : TqmEdit(parent)
    , m_picker([](const QString &code, RDepartment *picked, QWidget *owner) {
        return PickDepartment(code, picked, owner);
    })
{
    QAction *choose = addAction(
        style()->standardIcon(QStyle::SP_FileDialogContentsView), QLineEdit::TrailingPosition);
    choose->setObjectName(QStringLiteral("ChooseAction1"));
    choose->setToolTip(QStringLiteral("选择部门"));
    connect(choose, &QAction::triggered, this, [this] { RunUserAction([this] { Choose(); }); });
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (!HasDepartment())
            return;
        m_department = RDepartment();
        setToolTip(QString());
        emit departmentChanged();
    });
}

void TDeptEdit::SetDepartment(const RDepartment &record)
{
    m_department = record;
    setText(record.Code.isEmpty() ? QString() : record.Name);
    setToolTip(record.Code);
    emit departmentChanged();
}

void TDeptEdit::SetCode(const QString &code)
{
    RDepartment record;
    if (!code.isEmpty() && TheDepartments)
        TheDepartments->Find(code, &record);
    SetDepartment(record);
}

void TDeptEdit::ClearDepartment()
{
    SetDepartment(RDepartment());
}

bool TDeptEdit::Choose()
{
    if (!m_picker || isReadOnly())
        return false;
    RDepartment picked;
    if (!m_picker(Code(), &picked, this))
        return false;
    SetDepartment(picked);
    return true;
}

void TDeptEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    TqmEdit::mouseDoubleClickEvent(event);
    RunUserAction([this] { Choose(); });
}

void TDeptEdit::keyPressEvent(QKeyEvent *event)
{
    const bool chooseKey = (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier)
        || (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier);
    if (chooseKey) {
        event->accept();
        RunUserAction([this] { Choose(); });
        return;
    }
    TqmEdit::keyPressEvent(event);
}

TPickListComboBox::TPickListComboBox(QWidget *parent)
    : TqmComboBox(parent)
{
    setEditable(true);
}

void TPickListComboBox::SetListIndex(int index)
{
    m_listIndex = index;
    Reload();
}

void TPickListComboBox::Reload()
{
    const QString typed = currentText();
    const QStringList entries = m_listIndex >= 0 && ThePickLists
        ? PickListLines(ThePickLists->GetList(m_listIndex))
        : QStringList();
    clear();
    addItems(entries);
    setCurrentIndex(-1);
    setCurrentText(typed);
}
