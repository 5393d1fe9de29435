#pragma once

#include "DataSet.h"
#include "MainTree.h"
#include "a.h"
#include "qmDBGrids.h"

#include <QDateTime>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class QTreeWidgetItem;
class TEmployeeSet;
class TEmployeeWhere;
class TqmTreeView;
struct TMainActionSpec;

// The colours of a dismissed employee's row: the text is red while the
// dismissal date lies ahead, blue once it has come; selected cells of such
// rows are light green. No colour (invalid) for a row without a dismissal.
QColor DismissedTextColor(const QDateTime &disDate, const QDateTime &now);
inline const QColor DismissedSelectionColor = QColor(192, 220, 192);

// The columns the employee list shows while no layout is stored under its
// key: the common personal and post data, each as wide as the grid makes it.
QString DefaultListLayout(const TDataSet &set, const QFontMetrics &metrics);

// The employee list of the main window: the common grid with dismissed
// employees' rows coloured.
class TEmployeeGrid : public TqmGridcx
{
    Q_OBJECT
public:
    explicit TEmployeeGrid(QWidget *parent = nullptr);

    // What a data cell of row looks like, as the grid draws it.
    void StyleCell(int row, QStyleOptionViewItem &option);

protected:
    void PrepareCell(TField *field, int row, QStyleOptionViewItem &option) override;
};

// The main window: the tree of employment states, attribute groups and
// reminders on the left, the employee list on the right, and the menus and
// tool bar that reach every module. It owns its criteria record, employee
// set and grid; the list always shows the set's last result. The list and
// the reminder counts belong to the operator logged in: they are filled by
// OperatorChanged after each login, never while the window is created.
class Tmain1Frm : public QMainWindow
{
    Q_OBJECT
public:
    explicit Tmain1Frm(QWidget *parent = nullptr);
    ~Tmain1Frm() override;

    // After a successful login or re-login: counts the reminders and shows
    // the employees on duty, both as the new operator may see them.
    void OperatorChanged();

    // The advanced search's callback: lists the employees of where; tells the
    // user when there are none. Clears the tree's choice; true when rows came.
    bool ShowResult(TEmployeeWhere &where);
    // The handler of the status and reminder nodes.
    void ShowWhere(const RWhere &where);
    // The handler of the groups' value nodes: employees on duty whose
    // attribute of group is value.
    void ShowGroupValue(TGroup group, const QString &value);
    // Quick search with the keyword in Edit1.
    void Button1Click();
    // The advanced search dialog.
    void Button2Click();

    // Adds the groups that are switched on and not built, removes those
    // switched off; the built ones keep their place in the group order.
    void RebuildGroups();
    // Builds every group afresh (after the pick lists or departments changed).
    void ReloadGroups();
    bool GroupVisible(TGroup group) const { return m_visible[static_cast<size_t>(group)]; }
    // Changes the switch only; RebuildGroups shows the change.
    void SetGroupVisible(TGroup group, bool visible);
    TGroupSwitches GroupSwitches() const { return m_visible; }
    // The group's node, or nullptr while it is not built.
    QTreeWidgetItem *GroupNode(TGroup group) const;
    // Switches read from and written to settings keys 17 to 24.
    void ReadGroupSwitches();
    void WriteGroupSwitches();

    bool DeptVisible() const { return GroupVisible(TGroup::Dept); }
    void SetDeptVisible(bool v) { SetGroupVisible(TGroup::Dept, v); }
    bool DutyVisible() const { return GroupVisible(TGroup::Duty); }
    void SetDutyVisible(bool v) { SetGroupVisible(TGroup::Duty, v); }
    bool JobtitleVisible() const { return GroupVisible(TGroup::Jobtitle); }
    void SetJobtitleVisible(bool v) { SetGroupVisible(TGroup::Jobtitle, v); }
    bool DiplomaVisible() const { return GroupVisible(TGroup::Diploma); }
    void SetDiplomaVisible(bool v) { SetGroupVisible(TGroup::Diploma, v); }
    bool MarryVisible() const { return GroupVisible(TGroup::Marry); }
    void SetMarryVisible(bool v) { SetGroupVisible(TGroup::Marry, v); }
    bool PartyVisible() const { return GroupVisible(TGroup::Party); }
    void SetPartyVisible(bool v) { SetGroupVisible(TGroup::Party, v); }
    bool ComefromVisible() const { return GroupVisible(TGroup::Comefrom); }
    void SetComefromVisible(bool v) { SetGroupVisible(TGroup::Comefrom, v); }
    bool EmployTypeVisible() const { return GroupVisible(TGroup::EmployType); }
    void SetEmployTypeVisible(bool v) { SetGroupVisible(TGroup::EmployType, v); }

    // What choosing a value node of a group runs (ShowGroupValue unless replaced).
    using TGroupEvent = std::function<void(const QString &value)>;
    TGroupEvent GroupEvent(TGroup group) const { return m_events[static_cast<size_t>(group)]; }
    void SetGroupEvent(TGroup group, TGroupEvent event);

    // Counts the five reminders again and puts the counts into their captions.
    void RefreshReminders();
    QTreeWidgetItem *ReminderNode(TReminder reminder) const;
    QTreeWidgetItem *StatusNode(int index) const;

    // Gives the list's fields and columns, and the groups, the current texts
    // of FieldLabels.
    void RefreshCaptions();
    // Enables the list's actions by whether a row is current and its state.
    void UpdateActions();

    // Binds the handler an action runs; an action without one stays
    // disabled. The modules that open their windows from here bind them.
    void SetActionHandler(QAction *action, std::function<void()> handler);
    bool HasActionHandler(QAction *action) const;

    TEmployeeSet *EmployeeSet() const { return m_set.get(); }
    TEmployeeWhere *Where() const { return m_where.get(); }
    TEmployeeGrid *Grid() const { return m_grid; }

    // Tree, search bar, list and status.
    TqmTreeView *TreeView1;
    QWidget *SearchBar1;
    QLineEdit *Edit1;
    QPushButton *Button1;
    QPushButton *Button2;
    QLabel *lblRec1;
    QLabel *lblNode1;
    QToolBar *ToolBar1;

    // Menus: the tool bar's drop-downs (output, setup, HR events, view) and
    // the menu bar's.
    QMenu *PopupMenu1;
    QMenu *PopupMenu2;
    QMenu *PopupMenu3;
    QMenu *PopupMenu4;
    QMenu *FileMenu1;
    QMenu *EditMenu1;
    QMenu *ViewMenu1;
    QMenu *QueryMenu1;
    QMenu *CountMenu1;
    QMenu *ToolsMenu1;
    QMenu *HelpMenu1;

    // The list's actions.
    QAction *NewAction1;
    QAction *OpenAction1;
    QAction *DeleteAction1;
    QAction *LoadAction1;
    QAction *PrintAction1;
    QAction *RefreshAction1;
    QAction *ExitAction1;
    QAction *JoutAction1;
    QAction *PostmoveAction1;
    QAction *VocationAction1;
    QAction *RewardAction1;
    QAction *TestAction1;
    QAction *TrainAction1;
    QAction *CountAction1;
    QAction *OptionAction1;
    QAction *SortAction1;
    // The menu bar's own items.
    QAction *CompanyInfoAction1;
    QAction *OperatorsAction1;
    QAction *DeptAction1;
    QAction *OptionEditAction1;
    QAction *ClearDataAction1;
    QAction *BackupAction1;
    QAction *UpgradeAction1;
    QAction *PasswordAction1;
    QAction *ReloginAction1;
    QAction *CloseAction1;
    QAction *ToolBarAction1;
    QAction *SearchBarAction1;
    QAction *PostmoveListAction1;
    QAction *VocationListAction1;
    QAction *NotepadAction1;
    QAction *CalcAction1;
    QAction *HelpFileAction1;
    QAction *TipsAction1;
    QAction *ReadmeAction1;
    QAction *WhatsNewAction1;
    QAction *WebSiteAction1;
    QAction *MailAction1;
    QAction *FeedbackAction1;
    QAction *AboutAction1;
    // The view menu's group switches, in group order.
    std::array<QAction *, GroupCount> GroupActions{};

    // The handlers of the actions this window carries out itself.
    void DeleteAction1Execute();
    // The post-move and vacation editors for the current employee, and
    // their lists for the current employee's code.
    void PostmoveAction1Execute();
    void VocationAction1Execute();
    void PostmoveListAction1Execute();
    void VocationListAction1Execute();
    void RefreshAction1Execute();
    void PrintAction1Execute();
    void ExitAction1Execute();
    void OptionAction1Execute();
    void SortAction1Execute();
    void CompanyInfoAction1Execute();
    void OperatorsAction1Execute();
    void DeptAction1Execute();
    void PasswordAction1Execute();
    void ReloginAction1Execute();
    void ToolBarAction1Execute();
    void SearchBarAction1Execute();
    void NotepadAction1Execute();
    void CalcAction1Execute();
    void HelpFileAction1Execute();
    void ReadmeAction1Execute();
    void WhatsNewAction1Execute();
    void WebSiteAction1Execute();
    void MailAction1Execute();
    void FeedbackAction1Execute();
    void AboutAction1Execute();

signals:
    // The window was closed: the program ends.
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createList();
    void createLayout();
    void createActions();
    void createMenus();
    void createToolBar();
    void extendGridMenu();
    void addStatusNodes();
    void addReminderNodes();
    void buildGroup(TGroup group);
    void runAction(QAction *action);
    void showSelectedList(const std::function<void()> &query);
    void updateRecordLabel();
    void openShippedFile(const QString &name);
    // Puts the employee's present department and post, as empjoin now
    // holds them, into the employee's row of the list.
    void showPresentPost(int empId);

    std::unique_ptr<TEmployeeWhere> m_where;
    std::unique_ptr<TEmployeeSet> m_set;
    TEmployeeGrid *m_grid = nullptr;
    TFormHelper m_helper;
    TGroupSwitches m_visible{};
    std::array<TGroupEvent, GroupCount> m_events;
    std::array<QTreeWidgetItem *, GroupCount> m_groupNodes{};
    std::array<QTreeWidgetItem *, ReminderCount> m_reminderNodes{};
    std::array<QTreeWidgetItem *, 3> m_statusNodes{};
    QHash<QAction *, std::function<void()>> m_handlers;
    QHash<QAction *, const TMainActionSpec *> m_specs;
    QString m_notepad;
    QString m_calculator;
    QString m_webSite;
    QString m_salesMail;
};
