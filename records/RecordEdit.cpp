#include "RecordEdit.h"

#include "EmpPick.h"
#include "FieldLabels.h"
#include "PickListSet.h"
#include "Pub.h"
#include "Utils.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

void FillPickCombo(QComboBox *combo, int pickList)
{
    auto fill = [combo, pickList] {
        const QString shown = combo->currentText();
        combo->clear();
        combo->addItems(PickListEntries(pickList));
        combo->setCurrentIndex(combo->findText(shown));
        if (combo->isEditable())
            combo->setEditText(shown);
    };
    fill();
    QObject::connect(&LabelNotifier::instance(), &LabelNotifier::pickListsChanged, combo, fill);
}

TRecordEditFrm::TRecordEditFrm(const TModuleInfo &info, QWidget *parent)
    : TWinFrm(parent)
    , m_info(info)
{
    setObjectName(info.Name + QStringLiteral("EditFrm"));
    setWindowTitle(info.EditCaption);
    resize(460, 420);

    Panels = new QStackedWidget(this);
    pnlView1 = new QWidget(Panels);
    pnlView1->setObjectName(QStringLiteral("pnlView1"));
    pnlEdit1 = new QWidget(Panels);
    pnlEdit1->setObjectName(QStringLiteral("pnlEdit1"));
    Panels->addWidget(pnlView1);
    Panels->addWidget(pnlEdit1);

    ToolBar1 = new QToolBar(pnlView1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    NewAction1 = addTool("NewAction1", " 新建 ", &TRecordEditFrm::NewAction1Execute);
    EditAction1 = addTool("EditAction1", "修改", &TRecordEditFrm::EditAction1Execute);
    DeleteAction1 = addTool("DeleteAction1", "删除", &TRecordEditFrm::DeleteAction1Execute);
    ToolBar1->addSeparator();
    PriorAction1 = addTool("PriorAction1", "前一个", &TRecordEditFrm::PriorAction1Execute);
    NextAction1 = addTool("NextAction1", "后一个", &TRecordEditFrm::NextAction1Execute);
    RefreshAction1 = addTool("RefreshAction1", "刷新", &TRecordEditFrm::RefreshAction1Execute);
    ToolBar1->addSeparator();
    PrintAction1 = addTool("PrintAction1", "打印", &TRecordEditFrm::PrintAction1Execute);
    PrintAction1->setEnabled(info.RecordReportGroup > 0);
    ExitAction1 = new QAction(S("退出"), this);
    ExitAction1->setObjectName(QStringLiteral("ExitAction1"));
    connect(ExitAction1, &QAction::triggered, this, &QWidget::close);
    ToolBar1->addAction(ExitAction1);
    PriorAction1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    NextAction1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    RefreshAction1->setShortcut(QKeySequence(Qt::Key_F5));

    auto *viewFields = new QWidget(pnlView1);
    m_viewForm = new QFormLayout(viewFields);
    auto *viewLayout = new QVBoxLayout(pnlView1);
    viewLayout->setContentsMargins(0, 0, 0, 0);
    viewLayout->addWidget(ToolBar1);
    viewLayout->addWidget(viewFields, 1);

    auto *editFields = new QWidget(pnlEdit1);
    m_editForm = new QFormLayout(editFields);
    OkBtn1 = new QPushButton(S("确定"), pnlEdit1);
    OkBtn1->setObjectName(QStringLiteral("OkBtn1"));
    CancelBtn1 = new QPushButton(S("取消"), pnlEdit1);
    CancelBtn1->setObjectName(QStringLiteral("CancelBtn1"));
    for (QPushButton *b : {OkBtn1, CancelBtn1})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn1);
    buttons->addWidget(CancelBtn1);
    auto *editLayout = new QVBoxLayout(pnlEdit1);
    editLayout->addWidget(editFields, 1);
    editLayout->addLayout(buttons);
    connect(
        OkBtn1, &QPushButton::clicked, this, [this] { RunUserAction([this] { OkBtn1Click(); }); });
    connect(CancelBtn1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { CancelBtn1Click(); }); });
    // Ctrl+Enter confirms and Esc cancels while editing.
    auto *confirm = new QAction(pnlEdit1);
    confirm->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    confirm->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(confirm, &QAction::triggered, OkBtn1, &QPushButton::click);
    pnlEdit1->addAction(confirm);
    auto *cancel = new QAction(pnlEdit1);
    cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    cancel->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(cancel, &QAction::triggered, CancelBtn1, &QPushButton::click);
    pnlEdit1->addAction(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Panels);
}

QAction *TRecordEditFrm::addTool(
    const char *name, const char *caption, void (TRecordEditFrm::*handler)())
{
    auto *action = new QAction(S(caption), this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this,
        [this, handler] { RunUserAction([this, handler] { (this->*handler)(); }); });
    ToolBar1->addAction(action);
    return action;
}

bool TRecordEditFrm::Viewing() const
{
    return Panels->currentWidget() == pnlView1;
}

QLineEdit *TRecordEditFrm::AddViewLine(const QString &name, const QString &caption)
{
    auto *box = new QLineEdit(pnlView1);
    box->setObjectName(name);
    box->setReadOnly(true);
    m_viewForm->addRow(caption, box);
    return box;
}

QPlainTextEdit *TRecordEditFrm::AddViewMemo(const QString &name, const QString &caption)
{
    auto *box = new QPlainTextEdit(pnlView1);
    box->setObjectName(name);
    box->setReadOnly(true);
    m_viewForm->addRow(caption, box);
    return box;
}

void TRecordEditFrm::AddEditRow(const QString &caption, QWidget *control)
{
    control->setParent(pnlEdit1);
    m_editForm->addRow(caption, control);
}

void TRecordEditFrm::BringViewToFront()
{
    Panels->setCurrentWidget(pnlView1);
}

void TRecordEditFrm::BringEditToFront()
{
    Panels->setCurrentWidget(pnlEdit1);
}

bool TRecordEditFrm::Reject(const QString &message, QWidget *control)
{
    prompter().message(MessageKind::Information, messageCaption(MessageKind::Information),
        QStringLiteral("\r") + message + QStringLiteral("\t"), MessageButton::Ok,
        MessageButton::Ok);
    if (control)
        control->setFocus();
    return false;
}

void TRecordEditFrm::NewAction1Execute()
{
    CheckModuleRight(m_info.NewRight);
    PickEmployee(
        CurrentEmpId(),
        [this](const REmployee &employee) {
            StartNew(employee);
            return true;
        },
        this, this);
}

void TRecordEditFrm::EditAction1Execute()
{
    EditCurrent();
}

void TRecordEditFrm::DeleteAction1Execute()
{
    CheckModuleRight(m_info.DeleteRight);
    if (prompter().message(MessageKind::Confirmation, messageCaption(MessageKind::Confirmation),
            m_info.DeleteQuestion, MessageButton::Ok | MessageButton::Cancel, MessageButton::Cancel)
        != MessageButton::Ok)
        return;
    if (!DropCurrent()) {
        ShowInfo(m_info.DeleteFailed);
        return;
    }
    m_discard = true;
    if (m_info.NeighbourAfterDelete && (ShowNeighbour(1) || ShowNeighbour(-1))) {
        m_discard = false;
        return;
    }
    close();
}

void TRecordEditFrm::PriorAction1Execute()
{
    ShowNeighbour(-1);
}

void TRecordEditFrm::NextAction1Execute()
{
    ShowNeighbour(1);
}

void TRecordEditFrm::RefreshAction1Execute()
{
    RefreshCurrent();
}

void TRecordEditFrm::PrintAction1Execute()
{
    PrintCurrent();
}

bool TRecordEditFrm::saveEdits()
{
    CheckModuleRight(m_info.SaveRight);
    switch (PostEdits()) {
    case TPostResult::Invalid:
        return false;
    case TPostResult::Failed:
        ShowErrorBox(m_info.SaveFailed);
        return false;
    case TPostResult::Saved:
        break;
    }
    return true;
}

void TRecordEditFrm::OkBtn1Click()
{
    if (!saveEdits())
        return;
    if (ViewVisible) {
        ViewCurrent();
    } else {
        m_discard = true;
        close();
    }
}

void TRecordEditFrm::CancelBtn1Click()
{
    if (CurrentId() > 0 && ViewVisible) {
        ViewCurrent();
        return;
    }
    m_discard = true;
    close();
}

bool TRecordEditFrm::saveBeforeClose()
{
    bool saved = false;
    RunUserAction([&] { saved = saveEdits(); });
    return saved;
}

void TRecordEditFrm::closeEvent(QCloseEvent *event)
{
    // Unsaved edits are not dropped without asking; "取消" and a finished
    // save or delete close without the question.
    if (!m_discard && !m_info.CloseQuestion.isEmpty() && EditsPending()) {
        const MessageButton answer = prompter().message(MessageKind::Confirmation,
            messageCaption(MessageKind::Confirmation), m_info.CloseQuestion,
            MessageButton::Yes | MessageButton::No | MessageButton::Cancel, MessageButton::Cancel);
        if (answer == MessageButton::Cancel
            || (answer == MessageButton::Yes && !saveBeforeClose())) {
            event->ignore();
            return;
        }
    }
    m_discard = false;
    TWinFrm::closeEvent(event);
}
