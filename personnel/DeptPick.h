#pragma once

#include "DepartmentSet.h"
#include "aDlg.h"

#include <QString>
#include <functional>

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TqmEdit;
class TqmMemo;

// Called with the picked department (an empty record for "不选"); a non-zero
// result closes the window with that result.
using TDeptPickHandler = std::function<int(const RDepartment &)>;

// The department window "部门机构": the tree of TheDepartments with its
// details, where the operator adds, edits and deletes departments (right 11)
// and, when opened with a pick handler, picks one. Each tree node carries its
// own copy of its department; the tree is built once from the set and then
// changed node by node while the set is reloaded after every change.
class TDeptPickFrm : public TaDlgBase
{
    Q_OBJECT
public:
    explicit TDeptPickFrm(TDeptPickHandler handler = {}, QWidget *parent = nullptr);
    ~TDeptPickFrm() override;

    // Selects the node of code; with no such node the selection stays.
    bool SelectCode(const QString &code);
    QTreeWidgetItem *NodeOf(const QString &code) const;
    // The department of node (an empty record for nullptr).
    static RDepartment NodeRecord(const QTreeWidgetItem *node);
    QTreeWidgetItem *Selected() const;
    // True while the edit panel is shown.
    bool Editing() const;

    // View panel
    QWidget *pnlView1;
    QTreeWidget *TreeView1;
    QMenu *PopupMenu1;
    QMenu *PopupMenu2;
    QAction *AddSubAction1;
    QAction *AddAction1;
    QAction *EditAction1;
    QAction *DeleAction1;
    QPushButton *Button3;
    QPushButton *Button4;
    QPushButton *Button5;
    TqmEdit *Edit1;
    TqmEdit *Edit2;
    TqmEdit *Edit3;
    TqmEdit *Edit4;
    TqmEdit *Edit5;
    TqmEdit *Edit6;
    TqmMemo *Memo1;
    QPushButton *Button1;
    QPushButton *Button6;
    QPushButton *Button2;

    // Edit panel
    QWidget *pnlEdit1;
    TqmEdit *edtParent1;
    TqmEdit *edtName1;
    TqmEdit *edtManager1;
    TqmEdit *edtTel1;
    TqmEdit *edtFax1;
    TqmEdit *edtAddress1;
    TqmMemo *memDescribe1;
    QPushButton *OkBtn1;
    QPushButton *CancelBtn1;

    // The handlers, public so that a caller can drive the window without a
    // modal loop.
    void TreeView1Change();
    void AddClick();
    void AddSubClick();
    void EditClick();
    void DeleClick();
    void OkBtn1Click();
    void CancelBtn1Click();
    void Button1Click();
    void Button6Click();
    void TreeView1DblClick(QTreeWidgetItem *node);

    // Escape leaves the edit panel first, the window only from the tree.
    void reject() override;

private:
    enum class Confirm { Insert, Update };

    void buildView();
    void buildEdit();
    void FillTree();
    QTreeWidgetItem *AddNode(const RDepartment &record);
    void openEditor(const RDepartment &record, Confirm confirm);
    void showRecordInEditor(const RDepartment &record);
    RDepartment recordFromEditor() const;
    bool insertConfirmed(RDepartment &record);
    bool updateConfirmed(RDepartment &record);
    void refreshPaths();
    void pick(const RDepartment &record);
    void setNodeRecord(QTreeWidgetItem *node, const RDepartment &record);

    TDeptPickHandler m_handler;
    QStackedWidget *m_panels;
    QStackedWidget *m_details;
    Confirm m_confirm = Confirm::Insert;
    RDepartment m_editing;
};

// Opens the department window on code, modally. Without a handler it only
// maintains the tree; with one it offers "选定" and "不选". Returns the
// window's result (0 when closed).
int PickDepartment(
    const QString &code, const TDeptPickHandler &handler = {}, QWidget *parent = nullptr);
// Picks a department into *picked; false when the window was closed without
// a choice. "不选" returns true with an empty record.
bool PickDepartment(const QString &code, RDepartment *picked, QWidget *parent = nullptr);
// The main menu's "部门设置": right 11, then the window in maintenance mode.
void EditDepartments(QWidget *parent = nullptr);
