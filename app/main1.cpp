#include "main1.h"

#include "DeptPick.h"
#include "EmpFind.h"
#include "EmpLabelOptionU.h"
#include "EmployeeSet.h"
#include "EmployeeWhere.h"
#include "Facade.h"
#include "Feedback.h"
#include "FieldLabels.h"
#include "HelpBrowser.h"
#include "Login.h"
#include "MainActions.h"
#include "Operator.h"
#include "OperatorList.h"
#include "PasswordChanger.h"
#include "PostmoveEditor.h"
#include "PostmoveList.h"
#include "Pub.h"
#include "UI.h"
#include "Utils.h"
#include "VacationEditor.h"
#include "VacationList.h"
#include "about.h"
#include "qmProj.h"
#include "qmRep.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

QColor DismissedTextColor(const QDateTime &disDate, const QDateTime &now)
{
    if (!disDate.isValid())
        return QColor();
    return disDate > now ? QColor(Qt::red) : QColor(Qt::blue);
}

TEmployeeGrid::TEmployeeGrid(QWidget *parent)
    : TqmGridcx(parent)
{
    setObjectName(QStringLiteral("cxGrid1"));
}

void TEmployeeGrid::StyleCell(int row, QStyleOptionViewItem &option)
{
    const TDataSet *set = DataSet();
    const TField *disDate = set ? set->FindField(QStringLiteral("DisDate")) : nullptr;
    if (!disDate || row < 0 || row >= set->RecordCount() || set->IsNullAt(row, disDate->Index()))
        return;
    const QColor text = DismissedTextColor(
        set->ValueAt(row, disDate->Index()).toDateTime(), QDateTime::currentDateTime());
    option.palette.setColor(QPalette::Text, text);
    option.palette.setColor(QPalette::HighlightedText, text);
    option.palette.setColor(QPalette::Highlight, DismissedSelectionColor);
}

void TEmployeeGrid::PrepareCell(TField *field, int row, QStyleOptionViewItem &option)
{
    TqmGridcx::PrepareCell(field, row, option);
    StyleCell(row, option);
}

// ---------------------------------------------------------------- creation

Tmain1Frm::Tmain1Frm(QWidget *parent)
    : QMainWindow(parent)
    , m_where(std::make_unique<TEmployeeWhere>())
    , m_set(std::make_unique<TEmployeeSet>())
    , m_helper(this, TFormPosition::ScreenCenter)
{
    setObjectName(QStringLiteral("main1Frm"));
    setWindowTitle(QStringLiteral("%1 - %2").arg(ProductTitle, ProductVersion));
    setWindowState(windowState() | Qt::WindowMaximized);
    // The tool bar is switched from the view menu only.
    setContextMenuPolicy(Qt::NoContextMenu);
    TFormHelper::SetMainForm(this);
    for (const TGroupInfo &info : Groups()) {
        const TGroup group = info.Group;
        m_events[static_cast<size_t>(group)] = [this, group](const QString &value) {
            ShowGroupValue(group, value);
        };
    }

    createList();
    createActions();
    createMenus();
    extendGridMenu();
    createToolBar();
    createLayout();

    addStatusNodes();
    ReadGroupSwitches();
    RebuildGroups();
    m_statusNodes[0]->setExpanded(true);
    addReminderNodes();

    TDataSet *rows = m_set->Query();
    connect(rows, &TDataSet::dataReset, this, &Tmain1Frm::UpdateActions);
    connect(rows, &TDataSet::rowRemoved, this, &Tmain1Frm::UpdateActions);
    connect(rows, &TDataSet::rowInserted, this, &Tmain1Frm::UpdateActions);
    connect(rows, &TDataSet::currentRowChanged, this, &Tmain1Frm::UpdateActions);
    // A dismissal saved into the row changes what "离职" may do.
    connect(rows, &TDataSet::rowChanged, this, &Tmain1Frm::UpdateActions);
    connect(m_grid, &TqmGridBase::OnDblClick, this, [this] {
        if (OpenAction1->isEnabled())
            OpenAction1->trigger();
    });
    connect(TreeView1, &TqmTreeView::nodeChosen, this,
        [this] { lblNode1->setText(TreeView1->Text()); });

    connect(&LabelNotifier::instance(), &LabelNotifier::labelsChanged, this,
        [this] { RunUserAction([this] { RefreshCaptions(); }); });
    connect(&LabelNotifier::instance(), &LabelNotifier::pickListsChanged, this,
        [this] { RunUserAction([this] { ReloadGroups(); }); });
    if (TheDepartments)
        connect(TheDepartments->Notifier(), &TDepartmentNotifier::reloaded, this, [this] {
            RunUserAction([this] {
                if (m_groupNodes[static_cast<size_t>(TGroup::Dept)])
                    ReloadGroups();
            });
        });
    UpdateActions();
}

Tmain1Frm::~Tmain1Frm()
{
    // The tree and the grid go before the set and criteria they show, and
    // the tree chooses no node on its way out.
    TreeView1->blockSignals(true);
    delete takeCentralWidget();
}

QString DefaultListLayout(const TDataSet &set, const QFontMetrics &metrics)
{
    // Each column as wide as a long value of its kind (or its caption).
    static const struct
    {
        const char *field;
        const char *sample;
    } shown[] = {{"Code", "A0000001"}, {"Name", "欧阳明月"}, {"Sex", "男"},
        {"Birthday", "0000-00-00"}, {"Age", "000"}, {"Folk", "维吾尔族"}, {"Diploma", "硕士研究生"},
        {"Party", "中共党员"}, {"DutyDeptName", "人力资源部门"}, {"DutyName", "部门副经理"},
        {"JobTitle", "高级工程师"}, {"Joindate", "0000-00-00"}, {"AgeOfWork", "000"},
        {"EmployType", "劳务派遣"}, {"Tel", "00000000000"}, {"IdCode", "000000000000000000"},
        {"DisDate", "0000-00-00"}};
    TGridColumnStates columns;
    for (const auto &column : shown) {
        const TField *field = set.FindField(QLatin1String(column.field));
        if (!field)
            continue;
        const int width = std::max(metrics.horizontalAdvance(QString::fromUtf8(column.sample)),
                              metrics.horizontalAdvance(field->DisplayLabel()))
            + 16;
        columns.append({field->FieldName(), true, width});
    }
    return GridLayout::LayoutText(columns);
}

void Tmain1Frm::createList()
{
    m_grid = new TEmployeeGrid(this);
    m_grid->SetDataSet(m_set->Query());
    m_grid->SetTag(13);
    // Until the user saves a layout of their own, the list opens on the
    // columns people look for first rather than on all 80, ids first.
    if (!m_grid->LoadLayout(13))
        m_grid->SetLayout(DefaultListLayout(*m_set->Query(), m_grid->TableView()->fontMetrics()));
}

void Tmain1Frm::createLayout()
{
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    TreeView1 = new TqmTreeView(splitter);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));

    auto *list = new QWidget(splitter);
    list->setObjectName(QStringLiteral("pnlList1"));
    SearchBar1 = new QWidget(list);
    SearchBar1->setObjectName(QStringLiteral("SearchBar1"));
    auto *title = new QLabel(QStringLiteral("快速搜索"), SearchBar1);
    title->setObjectName(QStringLiteral("lblSearch1"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *keyword = new QLabel(QStringLiteral("关键字"), SearchBar1);
    keyword->setObjectName(QStringLiteral("lblKeyword1"));
    Edit1 = new QLineEdit(SearchBar1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(220);
    Edit1->setToolTip(
        QStringLiteral("档案号、姓名、曾用名、性别、电话、民族、籍贯、毕业学校或身份证号"));
    keyword->setBuddy(Edit1);
    Button1 = new QPushButton(QStringLiteral("查找"), SearchBar1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("高级"), SearchBar1);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto *bar = new QHBoxLayout(SearchBar1);
    bar->setContentsMargins(6, 4, 6, 4);
    bar->addWidget(title);
    bar->addSpacing(12);
    bar->addWidget(keyword);
    bar->addWidget(Edit1);
    bar->addWidget(Button1);
    bar->addWidget(Button2);
    bar->addStretch();

    auto *column = new QVBoxLayout(list);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(SearchBar1);
    m_grid->setParent(list);
    column->addWidget(m_grid, 1);

    splitter->addWidget(TreeView1);
    splitter->addWidget(list);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 1060});
    setCentralWidget(splitter);

    lblNode1 = new QLabel(this);
    lblNode1->setObjectName(QStringLiteral("lblNode1"));
    lblRec1 = new QLabel(this);
    lblRec1->setObjectName(QStringLiteral("lblRec1"));
    lblRec1->setMinimumWidth(120);
    lblRec1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(lblNode1, 1);
    statusBar()->addPermanentWidget(lblRec1);

    connect(Button1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { Button1Click(); }); });
    connect(Edit1, &QLineEdit::returnPressed, this,
        [this] { RunUserAction([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { Button2Click(); }); });
}

// ---------------------------------------------------------------- the list

void Tmain1Frm::OperatorChanged()
{
    RunUserAction([this] { RefreshReminders(); });
    m_statusNodes[0]->setExpanded(true);
    TreeView1->ChooseNode(m_statusNodes[0]);
}

bool Tmain1Frm::ShowResult(TEmployeeWhere &where)
{
    const int rows = BuildEmployeeQuery(*m_set, where);
    if (rows == 0)
        ShowInfo(QStringLiteral("没有找到相关记录.\t"));
    TreeView1->ClearChoice();
    lblNode1->setText(QStringLiteral("查找结果"));
    return rows > 0;
}

void Tmain1Frm::Button1Click()
{
    m_where->Reset();
    m_where->KeywordFld->SetValue(Edit1->text().trimmed());
    BuildEmployeeQuery(*m_set, *m_where);
    // The list no longer shows what the tree's node selects.
    TreeView1->ClearChoice();
    lblNode1->setText(QStringLiteral("查找结果"));
}

void Tmain1Frm::Button2Click()
{
    TEmpFindFrm frm(this);
    frm.OnFind = [this](TEmployeeWhere &criteria) {
        return ShowResult(criteria);
    };
    RunModal(frm);
}

void Tmain1Frm::RefreshCaptions()
{
    const TFieldLabels &labels = FieldLabels;
    auto relabel = [this](const QString &name, const QString &label) {
        if (TField *field = m_set->FindField(name))
            field->SetDisplayLabel(label);
    };
    relabel(QStringLiteral("Code"), labels.Code);
    relabel(QStringLiteral("DutyName"), labels.DutyName);
    relabel(QStringLiteral("Party"), labels.Party);
    relabel(QStringLiteral("EmployType"), labels.EmployType);
    for (int i = 0; i < 12; ++i)
        relabel(QStringLiteral("S%1").arg(i + 1), labels.S[i]);
    for (int i = 0; i < 3; ++i) {
        relabel(QStringLiteral("F%1").arg(i + 1), labels.F[i]);
        relabel(QStringLiteral("D%1").arg(i + 1), labels.D[i]);
    }
    m_grid->RefreshCaptions();
    for (const TGroupInfo &info : Groups())
        if (QTreeWidgetItem *node = GroupNode(info.Group))
            node->setText(0, GroupCaption(info.Group));
}

void Tmain1Frm::UpdateActions()
{
    const TDataSet *rows = m_set->Query();
    const bool current = rows->Active() && !rows->IsEmpty() && rows->CurrentRow() >= 0;
    const bool onDuty = current && rows->FieldByName(QStringLiteral("DisDate"))->IsNull();
    for (auto it = m_specs.cbegin(); it != m_specs.cend(); ++it) {
        bool allowed = true;
        switch (it.value()->Rule) {
        case TRowRule::Always:
            break;
        case TRowRule::RowCurrent:
            allowed = current;
            break;
        case TRowRule::RowNotDismissed:
            allowed = onDuty;
            break;
        }
        it.key()->setEnabled(allowed && m_handlers.contains(it.key()));
    }
    updateRecordLabel();
}

void Tmain1Frm::updateRecordLabel()
{
    const TDataSet *rows = m_set->Query();
    lblRec1->setText(QStringLiteral("%1 / %2").arg(rows->RecNo()).arg(rows->RecordCount()));
}

void Tmain1Frm::keyPressEvent(QKeyEvent *event)
{
    if (TFormHelper::IsHelpKey(event)) {
        event->accept();
        ShowHelpTopic(m_helper.HelpTopic(QString()));
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void Tmain1Frm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

// ---------------------------------------------------------------- action handlers

void Tmain1Frm::DeleteAction1Execute()
{
    if (!m_set->Active() || m_set->Query()->IsEmpty())
        return;
    const REmployee employee = m_set->ReadEmployee();
    const MessageButton answer
        = prompter().message(MessageKind::Warning, messageCaption(MessageKind::Warning),
            QStringLiteral("\r\n您确定要删除%1的所有信息吗?").arg(employee.Name),
            MessageButton::Ok | MessageButton::Cancel, MessageButton::Cancel);
    if (answer != MessageButton::Ok)
        return;
    m_set->DeleteAndSync(employee);
}

void Tmain1Frm::PostmoveAction1Execute()
{
    if (!m_set->Active() || m_set->Query()->IsEmpty())
        return;
    auto *editor = new TPostmoveEditFrm(this);
    editor->ViewVisible = false;
    TRecordHooks<RPostmove> hooks;
    hooks.OnPost = [this](RPostmove &move) {
        if (!TPostmoveSet::StoreRecord(move))
            return false;
        showPresentPost(move.EmpId);
        ShowInfo(QStringLiteral("数据已成功保存.\t"));
        return true;
    };
    editor->SetHooks(hooks, this);
    editor->NewFor(m_set->ReadEmployee());
    editor->show();
}

void Tmain1Frm::VocationAction1Execute()
{
    if (!m_set->Active() || m_set->Query()->IsEmpty())
        return;
    auto *editor = new TVacationEditFrm(this);
    editor->ViewVisible = false;
    TRecordHooks<RVacation> hooks;
    hooks.OnPost = [](RVacation &vacation) {
        if (!TVacationSet::StoreRecord(vacation))
            return false;
        ShowInfo(QStringLiteral("数据已成功保存.\t"));
        return true;
    };
    editor->SetHooks(hooks, this);
    editor->NewFor(m_set->ReadEmployee());
    editor->show();
}

namespace {

// The list of an event module for the current employee's code (every record
// when no employee is current).
template <typename List> void openListForCurrent(Tmain1Frm *main, TEmployeeSet &set)
{
    const bool current = set.Active() && !set.Query()->IsEmpty();
    auto *list = new List(main, false);
    list->show();
    if (current)
        RunUserAction([&] { list->FilterByCode(set.ReadEmployee().Code); });
    else
        RunUserAction([&] { list->Button1Click(); });
}

} // namespace

void Tmain1Frm::PostmoveListAction1Execute()
{
    openListForCurrent<TPostmoveListFrm>(this, *m_set);
}

void Tmain1Frm::VocationListAction1Execute()
{
    openListForCurrent<TVacationListFrm>(this, *m_set);
}

void Tmain1Frm::showPresentPost(int empId)
{
    TDataSet post;
    TheDatabase->Fill(post,
        QStringLiteral("select DutyDeptId, DutyName, DutyDate from empjoin where EmpId=:EmpId"),
        {MakeParameter(QStringLiteral("EmpId"), empId)});
    TDataSet *rows = m_set->Query();
    if (post.IsEmpty() || !rows->Active())
        return;
    const int current = rows->CurrentRow();
    if (!rows->Locate(QStringLiteral("Id"), empId))
        return;
    rows->Edit();
    for (int i = 0; i < post.FieldCount(); ++i)
        if (TField *field = rows->FindField(post.Fields(i)->FieldName()))
            field->SetValue(post.Fields(i)->Value());
    rows->Post();
    rows->SetCurrentRow(current);
}

void Tmain1Frm::RefreshAction1Execute()
{
    if (m_set->Active())
        m_set->Reopen(QStringLiteral("Id"));
}

void Tmain1Frm::PrintAction1Execute()
{
    // The roster prints the list as it stands, with the criteria that made it.
    const std::unique_ptr<TDataSet> criteria = m_where->Snapshot();
    PrintReports({m_set->Query(), criteria.get()}, 1);
}

void Tmain1Frm::ExitAction1Execute()
{
    close();
}

void Tmain1Frm::OptionAction1Execute()
{
    TEmpListOptionFrm frm(this);
    QStringList captions;
    QVector<bool> shown;
    for (const TGroupInfo &info : Groups()) {
        captions << GroupCaption(info.Group);
        shown << GroupVisible(info.Group);
    }
    frm.SetGroups(captions, shown);
    if (RunModal(frm) != QDialog::Accepted)
        return;
    const QVector<bool> chosen = frm.Shown();
    for (const TGroupInfo &info : Groups())
        SetGroupVisible(info.Group, chosen.value(static_cast<int>(info.Group)));
    RebuildGroups();
    WriteGroupSwitches();
}

void Tmain1Frm::SortAction1Execute()
{
    m_grid->SortClick();
}

void Tmain1Frm::CompanyInfoAction1Execute()
{
    if (TheFacade) {
        TheFacade->EditCompanyInfo();
        return;
    }
    TmallX facade;
    facade.EditCompanyInfo();
}

void Tmain1Frm::OperatorsAction1Execute()
{
    EditOperators(this);
}

void Tmain1Frm::DeptAction1Execute()
{
    EditDepartments(this);
}

void Tmain1Frm::PasswordAction1Execute()
{
    ChangePassword(this);
}

void Tmain1Frm::ReloginAction1Execute()
{
    if (Login(this))
        OperatorChanged();
}

void Tmain1Frm::ToolBarAction1Execute()
{
    ToolBar1->setVisible(ToolBarAction1->isChecked());
}

void Tmain1Frm::SearchBarAction1Execute()
{
    SearchBar1->setVisible(SearchBarAction1->isChecked());
}

void Tmain1Frm::NotepadAction1Execute()
{
    if (!StartProgram(m_notepad))
        ShowInfo(QStringLiteral("无法启动%1.").arg(QFileInfo(m_notepad).fileName()));
}

void Tmain1Frm::CalcAction1Execute()
{
    if (!StartProgram(m_calculator))
        ShowInfo(QStringLiteral("无法启动%1.").arg(QFileInfo(m_calculator).fileName()));
}

void Tmain1Frm::HelpFileAction1Execute()
{
    ShowHelpTopic(QStringLiteral("index"));
}

void Tmain1Frm::ReadmeAction1Execute()
{
    openShippedFile(QStringLiteral("readme.txt"));
}

void Tmain1Frm::WhatsNewAction1Execute()
{
    openShippedFile(QStringLiteral("whatsnew.txt"));
}

void Tmain1Frm::openShippedFile(const QString &name)
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    if (!QFileInfo::exists(path)) {
        ShowInfo(QStringLiteral("找不到文件%1.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!OpenUrl(QUrl::fromLocalFile(path)))
        ShowInfo(QStringLiteral("无法打开文件%1.").arg(QDir::toNativeSeparators(path)));
}

void Tmain1Frm::WebSiteAction1Execute()
{
    OpenUrl(QUrl::fromUserInput(m_webSite));
}

void Tmain1Frm::MailAction1Execute()
{
    OpenUrl(SalesMailUrl(m_salesMail));
}

void Tmain1Frm::FeedbackAction1Execute()
{
    ShowFeedback(this);
}

void Tmain1Frm::AboutAction1Execute()
{
    TaboutFrm frm(this);
    RunModal(frm);
}
