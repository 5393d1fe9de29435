#include "MainActions.h"

#include "Operator.h"
#include "Pub.h"
#include "main1.h"
#include "qmCtrls.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrlQuery>

using T = Tmain1Frm;

const std::vector<TMainActionSpec> &MainActionTable()
{
    using R = TRowRule;
    static const std::vector<TMainActionSpec> table{
        // The list and its employee.
        {&T::NewAction1, "NewAction1", "新建", -1, R::Always, nullptr,
            "the employee profile window, its eleven operations bound to the list's set, starting "
            "a new employee"},
        {&T::OpenAction1, "OpenAction1", "打开", -1, R::RowCurrent, nullptr,
            "the employee profile window on the current row (ReadEmployees), bound like 新建"},
        {&T::DeleteAction1, "DeleteAction1", "删除", -1, R::RowCurrent, &T::DeleteAction1Execute,
            nullptr},
        {&T::LoadAction1, "LoadAction1", "从Excel导入...", 9, R::Always, nullptr,
            "the employee import dialog; on OK the list is opened again"},
        {&T::PrintAction1, "PrintAction1", "打印", -1, R::Always, &T::PrintAction1Execute, nullptr},
        {&T::RefreshAction1, "RefreshAction1", "刷新", -1, R::Always, &T::RefreshAction1Execute,
            nullptr},
        {&T::ExitAction1, "ExitAction1", " 退出 ", -1, R::Always, &T::ExitAction1Execute, nullptr},
        {&T::JoutAction1, "JoutAction1", "离职", -1, R::RowNotDismissed, nullptr,
            "the dismissal editor for the current employee"},
        {&T::PostmoveAction1, "PostmoveAction1", "调职", -1, R::RowCurrent,
            &T::PostmoveAction1Execute, nullptr},
        {&T::VocationAction1, "VocationAction1", "休假", -1, R::RowCurrent,
            &T::VocationAction1Execute, nullptr},
        {&T::RewardAction1, "RewardAction1", "奖惩", -1, R::RowCurrent, nullptr,
            "the reward editor, without its list view"},
        {&T::TestAction1, "TestAction1", "考核", -1, R::RowCurrent, nullptr,
            "the assessment editor"},
        {&T::TrainAction1, "TrainAction1", "培训", -1, R::RowCurrent, nullptr,
            "the training record editor"},
        {&T::CountAction1, "CountAction1", "统计", -1, R::Always, nullptr,
            "the statistics window (not modal) on the list's set"},
        {&T::OptionAction1, "OptionAction1", "选项", -1, R::Always, &T::OptionAction1Execute,
            nullptr},
        {&T::SortAction1, "SortAction1", "排序", -1, R::Always, &T::SortAction1Execute, nullptr},
        // 文件
        {&T::CompanyInfoAction1, "CompanyInfoAction1", "公司信息", -1, R::Always,
            &T::CompanyInfoAction1Execute, nullptr},
        {&T::OperatorsAction1, "OperatorsAction1", "操作员及权限", -1, R::Always,
            &T::OperatorsAction1Execute, nullptr},
        {&T::DeptAction1, "DeptAction1", "部门设置", -1, R::Always, &T::DeptAction1Execute,
            nullptr},
        {&T::OptionEditAction1, "OptionEditAction1", "选项设置", -1, R::Always, nullptr,
            "the option editor with 31 pick lists (it tests right 6)"},
        {&T::ClearDataAction1, "ClearDataAction1", "初始化数据", -1, R::Always, nullptr,
            "ClearData of the facade: the data-clearing dialog (right 0)"},
        {&T::BackupAction1, "BackupAction1", "备份与恢复", -1, R::Always, nullptr,
            "BackupRestore of the facade: the backup and restore window (right 10005)"},
        {&T::UpgradeAction1, "UpgradeAction1", "数据升级...", -1, R::Always, nullptr,
            "nothing: the program has no data upgrade"},
        {&T::PasswordAction1, "PasswordAction1", "更改密码", -1, R::Always,
            &T::PasswordAction1Execute, nullptr},
        {&T::ReloginAction1, "ReloginAction1", "重新登陆", -1, R::Always, &T::ReloginAction1Execute,
            nullptr},
        {&T::CloseAction1, "CloseAction1", "退出系统", -1, R::Always, &T::ExitAction1Execute,
            nullptr},
        // 视图
        {&T::ToolBarAction1, "ToolBarAction1", "工具栏", -1, R::Always, &T::ToolBarAction1Execute,
            nullptr},
        {&T::SearchBarAction1, "SearchBarAction1", "查找栏", -1, R::Always,
            &T::SearchBarAction1Execute, nullptr},
        // 查询
        {&T::PostmoveListAction1, "PostmoveListAction1", "调职记录", -1, R::Always,
            &T::PostmoveListAction1Execute, nullptr},
        {&T::VocationListAction1, "VocationListAction1", "休假记录", -1, R::Always,
            &T::VocationListAction1Execute, nullptr},
        // 工具
        {&T::NotepadAction1, "NotepadAction1", "记事本", -1, R::Always, &T::NotepadAction1Execute,
            nullptr},
        {&T::CalcAction1, "CalcAction1", "计算器", -1, R::Always, &T::CalcAction1Execute, nullptr},
        // 帮助
        {&T::HelpFileAction1, "HelpFileAction1", "帮助文件", -1, R::Always,
            &T::HelpFileAction1Execute, nullptr},
        {&T::TipsAction1, "TipsAction1", "每日一贴", -1, R::Always, nullptr,
            "the tips of the day window"},
        {&T::ReadmeAction1, "ReadmeAction1", "自述文件", -1, R::Always, &T::ReadmeAction1Execute,
            nullptr},
        {&T::WhatsNewAction1, "WhatsNewAction1", "最新功能", -1, R::Always,
            &T::WhatsNewAction1Execute, nullptr},
        {&T::WebSiteAction1, "WebSiteAction1", "澄岚官方网站", -1, R::Always,
            &T::WebSiteAction1Execute, nullptr},
        {&T::MailAction1, "MailAction1", "给澄岚发电子邮件...", -1, R::Always,
            &T::MailAction1Execute, nullptr},
        {&T::FeedbackAction1, "FeedbackAction1", "在线反馈...", -1, R::Always,
            &T::FeedbackAction1Execute, nullptr},
        {&T::AboutAction1, "AboutAction1", "关于...", -1, R::Always, &T::AboutAction1Execute,
            nullptr},
    };
    return table;
}

QString FindProgram(const QStringList &candidates)
{
    for (const QString &name : candidates) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

QStringList TextEditorPrograms()
{
    return {QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"),
        QStringLiteral("mousepad"), QStringLiteral("kate"), QStringLiteral("kwrite"),
        QStringLiteral("xed"), QStringLiteral("pluma"), QStringLiteral("featherpad"),
        QStringLiteral("leafpad")};
}

QStringList CalculatorPrograms()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("galculator"),
        QStringLiteral("kcalc"), QStringLiteral("qalculate-gtk"), QStringLiteral("mate-calc"),
        QStringLiteral("xcalc")};
}

namespace {

TProgramStarter &programStarter()
{
    static TProgramStarter starter;
    return starter;
}

TUrlOpener &urlOpener()
{
    static TUrlOpener opener;
    return opener;
}

} // namespace

TProgramStarter SetProgramStarter(TProgramStarter starter)
{
    TProgramStarter previous = std::move(programStarter());
    programStarter() = std::move(starter);
    return previous;
}

TUrlOpener SetUrlOpener(TUrlOpener opener)
{
    TUrlOpener previous = std::move(urlOpener());
    urlOpener() = std::move(opener);
    return previous;
}

bool StartProgram(const QString &program, const QStringList &arguments)
{
    if (programStarter())
        return programStarter()(program, arguments);
    return QProcess::startDetached(program, arguments);
}

bool OpenUrl(const QUrl &url)
{
    if (urlOpener())
        return urlOpener()(url);
    return QDesktopServices::openUrl(url);
}

QUrl SalesMailUrl(const QString &address)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address.trimmed());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), ProductTitle + QStringLiteral(" 购买咨询"));
    url.setQuery(query);
    return url;
}

// ---------------------------------------------------------------- the window's actions and menus

namespace {

QIcon standardIcon(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

void Tmain1Frm::createActions()
{
    for (const TMainActionSpec &spec : MainActionTable()) {
        auto *action = new QAction(QString::fromUtf8(spec.Caption), this);
        action->setObjectName(QLatin1String(spec.Name));
        this->*spec.Member = action;
        m_specs.insert(action, &spec);
        if (spec.Handler)
            m_handlers.insert(action, [this, handler = spec.Handler] { (this->*handler)(); });
        connect(action, &QAction::triggered, this, [this, action] { runAction(action); });
    }
    NewAction1->setIcon(standardIcon(QStyle::SP_FileIcon));
    OpenAction1->setIcon(standardIcon(QStyle::SP_DialogOpenButton));
    DeleteAction1->setIcon(standardIcon(QStyle::SP_TrashIcon));
    RefreshAction1->setIcon(standardIcon(QStyle::SP_BrowserReload));
    RefreshAction1->setShortcut(QKeySequence::Refresh);
    ExitAction1->setIcon(standardIcon(QStyle::SP_DialogCloseButton));
    HelpFileAction1->setIcon(standardIcon(QStyle::SP_DialogHelpButton));
    AboutAction1->setIcon(standardIcon(QStyle::SP_MessageBoxInformation));
    for (QAction *toggle : {ToolBarAction1, SearchBarAction1}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }

    for (const TGroupInfo &info : Groups()) {
        auto *action = new QAction(QString::fromUtf8(info.SwitchCaption), this);
        action->setObjectName(QLatin1String(info.SwitchName));
        action->setCheckable(true);
        const TGroup group = info.Group;
        connect(action, &QAction::toggled, this, [this, group](bool checked) {
            RunUserAction([&] {
                SetGroupVisible(group, checked);
                RebuildGroups();
            });
        });
        GroupActions[static_cast<size_t>(group)] = action;
    }

    // A tool the desktop does not have is offered disabled.
    m_notepad = FindProgram(TextEditorPrograms());
    m_calculator = FindProgram(CalculatorPrograms());
    if (m_notepad.isEmpty())
        m_handlers.remove(NotepadAction1);
    if (m_calculator.isEmpty())
        m_handlers.remove(CalcAction1);

    const TVendorLinks links = TVendorLinks::Read();
    m_webSite = links.WebSite;
    m_salesMail = links.SalesMail;
    WebSiteAction1->setVisible(!m_webSite.isEmpty());
    MailAction1->setVisible(!m_salesMail.isEmpty());
}

void Tmain1Frm::runAction(QAction *action)
{
    const std::function<void()> handler = m_handlers.value(action);
    if (!handler)
        return;
    const TMainActionSpec *spec = m_specs.value(action);
    RunUserAction([&] {
        if (spec && spec->Right >= 0)
            TheOperator->CheckRight(spec->Right);
        handler();
    });
}

void Tmain1Frm::SetActionHandler(QAction *action, std::function<void()> handler)
{
    if (handler)
        m_handlers.insert(action, std::move(handler));
    else
        m_handlers.remove(action);
    UpdateActions();
}

bool Tmain1Frm::HasActionHandler(QAction *action) const
{
    return m_handlers.contains(action);
}

void Tmain1Frm::extendGridMenu()
{
    TqmPopupMenu *popup = m_grid->PopupMenuQm();
    popup->AddActionItem(RefreshAction1, 0);
    popup->AddSeparator(1);
    popup->AddActionItem(PopupMenu3->menuAction(), 2);
    popup->AddSeparator(3);
    popup->AddActionItem(OpenAction1, 0);
    popup->AddSeparator();
    popup->AddActionItem(DeleteAction1);
}

void Tmain1Frm::createMenus()
{
    PopupMenu3 = new QMenu(QStringLiteral("人事"), this);
    PopupMenu3->setObjectName(QStringLiteral("PopupMenu3"));
    PopupMenu3->addActions(
        {PostmoveAction1, VocationAction1, RewardAction1, TestAction1, TrainAction1});
    PopupMenu3->addSeparator();
    PopupMenu3->addAction(JoutAction1);

    PopupMenu1 = new QMenu(QStringLiteral("输出"), this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(PrintAction1);
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({m_grid->ActionExport2Excel, m_grid->ActionExport2Html});

    PopupMenu2 = new QMenu(QStringLiteral("设置"), this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->addActions({m_grid->ActionColVisible, m_grid->ActionTableStyleSave});
    PopupMenu2->addSeparator();
    PopupMenu2->addAction(OptionAction1);

    PopupMenu4 = new QMenu(QStringLiteral("视图"), this);
    PopupMenu4->setObjectName(QStringLiteral("PopupMenu4"));
    for (QAction *action : GroupActions)
        PopupMenu4->addAction(action);
    PopupMenu4->addSeparator();
    PopupMenu4->addActions({SortAction1, RefreshAction1});

    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [bar](const char *title, const char *name) {
        QMenu *m = bar->addMenu(QString::fromUtf8(title));
        m->setObjectName(QLatin1String(name));
        return m;
    };
    FileMenu1 = menu("文件(&F)", "FileMenu1");
    FileMenu1->addActions({CompanyInfoAction1, OperatorsAction1});
    FileMenu1->addSeparator();
    FileMenu1->addActions({DeptAction1, OptionEditAction1});
    FileMenu1->addSeparator();
    FileMenu1->addActions({ClearDataAction1, BackupAction1, UpgradeAction1});
    FileMenu1->addSeparator();
    FileMenu1->addActions({PasswordAction1, ReloginAction1});
    FileMenu1->addSeparator();
    FileMenu1->addAction(CloseAction1);

    EditMenu1 = menu("编辑(&E)", "EditMenu1");
    EditMenu1->addActions({NewAction1, LoadAction1});
    EditMenu1->addSeparator();
    EditMenu1->addAction(OpenAction1);
    EditMenu1->addSeparator();
    EditMenu1->addActions(
        {PostmoveAction1, VocationAction1, RewardAction1, TestAction1, TrainAction1, JoutAction1});
    EditMenu1->addSeparator();
    EditMenu1->addAction(DeleteAction1);

    ViewMenu1 = menu("视图(&V)", "ViewMenu1");
    ViewMenu1->addActions({ToolBarAction1, SearchBarAction1});
    ViewMenu1->addSeparator();
    ViewMenu1->addActions({RefreshAction1, SortAction1});
    ViewMenu1->addSeparator();
    ViewMenu1->addActions({m_grid->ActionColVisible, m_grid->ActionTableStyleSave});

    QueryMenu1 = menu("查询(&I)", "QueryMenu1");
    QueryMenu1->addActions({PostmoveListAction1, VocationListAction1});

    CountMenu1 = menu("统计(&J)", "CountMenu1");
    CountMenu1->addAction(CountAction1);

    ToolsMenu1 = menu("工具(&T)", "ToolsMenu1");
    ToolsMenu1->addActions({NotepadAction1, CalcAction1});

    HelpMenu1 = menu("帮助(&H)", "HelpMenu1");
    HelpMenu1->addActions({HelpFileAction1, TipsAction1});
    HelpMenu1->addSeparator();
    HelpMenu1->addActions({ReadmeAction1, WhatsNewAction1});
    HelpMenu1->addSeparator();
    HelpMenu1->addActions({WebSiteAction1, MailAction1, FeedbackAction1});
    HelpMenu1->addSeparator();
    HelpMenu1->addAction(AboutAction1);
}

void Tmain1Frm::createToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("工具栏"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto dropDown = [this](QMenu *menu, const char *name, QStyle::StandardPixmap icon) {
        auto *button = new QToolButton(ToolBar1);
        button->setObjectName(QLatin1String(name));
        button->setText(menu->title());
        button->setIcon(standardIcon(icon));
        button->setMenu(menu);
        button->setPopupMode(QToolButton::InstantPopup);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        ToolBar1->addWidget(button);
    };
    ToolBar1->addAction(NewAction1);
    ToolBar1->addSeparator();
    ToolBar1->addAction(OpenAction1);
    dropDown(PopupMenu3, "PersonnelButton1", QStyle::SP_FileDialogDetailedView);
    ToolBar1->addSeparator();
    ToolBar1->addAction(DeleteAction1);
    ToolBar1->addSeparator();
    dropDown(PopupMenu4, "ViewButton1", QStyle::SP_FileDialogListView);
    ToolBar1->addSeparator();
    dropDown(PopupMenu1, "OutputButton1", QStyle::SP_DialogSaveButton);
    dropDown(PopupMenu2, "SetupButton1", QStyle::SP_FileDialogContentsView);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ExitAction1);
    for (QAction *action : ToolBar1->actions())
        if (QWidget *button = ToolBar1->widgetForAction(action))
            if (button->objectName().isEmpty() && !action->objectName().isEmpty())
                button->setObjectName(action->objectName() + QStringLiteral("Button"));
}
