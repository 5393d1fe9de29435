#pragma once

#include "EmpPick.h"
#include "ModuleSet.h"
#include "RecordEdit.h"
#include "Win.h"

#include <QHash>
#include <memory>

class QAction;
class QGridLayout;
class QMenu;
class QMenuBar;
class QPushButton;
class QToolBar;
class QToolButton;
class TqmGridcx;

// The list window of an event module: a find panel bound to the module's
// criteria record, the grid over its set, a tool bar and the menus. This
// part is the same for every module; TModuleListFrm adds the typed set and
// the module's edit window.
class TRecordListFrm : public TWinFrm
{
    Q_OBJECT
public:
    TRecordListFrm(const TModuleInfo &info, QWidget *parent);
    ~TRecordListFrm() override;

    const TModuleInfo &Info() const { return m_info; }

    QWidget *FindPanel1;
    QPushButton *Button1;
    QPushButton *btnClear1;
    QPushButton *Button2;
    TqmGridcx *Grid1;
    QToolBar *ToolBar1;
    QMenuBar *MenuBar1;
    QMenu *EditMenu1;
    QMenu *ViewMenu1;
    QToolButton *ExportButton1;
    QToolButton *SetupButton1;
    QAction *NewAction1;
    QAction *EditAction1;
    QAction *DeleteAction1;
    QAction *RefreshAction1;
    QAction *PrintAction1;
    QAction *ExitAction1;
    QAction *ToolBarAction1;
    QAction *FindBarAction1;

    // The find panel's control bound to a criteria field (null if none).
    QWidget *FindControl(const QString &field) const { return m_findControls.value(field); }

    // "查询", "重置" and the actions; each may raise (callers run them as user actions).
    void Button1Click();
    void btnClear1Click();
    void NewAction1Execute();
    void EditAction1Execute();
    void DeleteAction1Execute();
    void RefreshAction1Execute();
    void PrintAction1Execute();
    // Lists the records of every employee whose code contains code.
    void FilterByCode(const QString &code);

protected:
    // What the typed layer provides.
    virtual TModuleWhere &Where() const = 0;
    virtual TQuerySet &Set() const = 0;
    virtual QString KeyField() const = 0;
    virtual int LoadRows() = 0;
    virtual bool DeleteCurrentRow() = 0;
    virtual void OpenNewFor(const REmployee &employee) = 0;
    virtual void OpenCurrent() = 0;

    // Builds the find panel, grid, tool bar and menus, then runs the first
    // query (unless the module's window does it later). Called by the
    // typed layer once its criteria and set exist.
    void Build(bool firstQuery = true);

private:
    QAction *makeAction(const char *name, const char *caption, void (TRecordListFrm::*handler)());
    void buildFindPanel();
    void buildToolBar();
    void buildMenus();
    void extendGridMenu();

    const TModuleInfo &m_info;
    QHash<QString, QWidget *> m_findControls;
};

// The list window of the module whose record is R and whose edit window is
// Edit (a TModuleEditFrm<R> with a constructor taking the parent). The edit
// windows it opens are its children, bound to its set: they close with it.
template <typename R, typename Edit> class TModuleListFrm : public TRecordListFrm
{
public:
    TModuleListFrm(const TModuleSpec<R> &spec, QWidget *parent, bool firstQuery = true)
        : TRecordListFrm(spec, parent)
        , m_where(spec.MakeWhere())
        , m_set(std::make_unique<TModuleSet<R>>(spec))
    {
        Build(firstQuery);
    }
    ~TModuleListFrm() override { ReleaseGrid(); }

    TModuleSet<R> &ModuleSet() const { return *m_set; }
    TModuleWhere &Criteria() const { return *m_where; }

    // An edit window bound to the list's set.
    Edit *CreateEditor()
    {
        auto *editor = new Edit(this);
        editor->SetHooks(m_set->Hooks(), this);
        editor->ViewVisible = true;
        return editor;
    }

protected:
    TModuleWhere &Where() const override { return *m_where; }
    TQuerySet &Set() const override { return *m_set; }
    QString KeyField() const override { return m_set->Spec().KeyField(); }
    int LoadRows() override { return m_set->Load(*m_where); }
    bool DeleteCurrentRow() override { return m_set->DeleteCurrent(); }

    void OpenNewFor(const REmployee &employee) override
    {
        Edit *editor = CreateEditor();
        editor->NewFor(employee);
        editor->show();
    }

    void OpenCurrent() override
    {
        R record;
        m_set->ReadRecord(record);
        Edit *editor = CreateEditor();
        editor->ShowView(record);
        editor->show();
    }

private:
    // Unbinds the grid before the set goes.
    void ReleaseGrid();

    std::unique_ptr<TModuleWhere> m_where;
    std::unique_ptr<TModuleSet<R>> m_set;
};

// Lets a grid forget its data set (the grid is a child widget and outlives
// the set's owner members).
void ReleaseGridData(TqmGridcx *grid);

template <typename R, typename Edit> void TModuleListFrm<R, Edit>::ReleaseGrid()
{
    ReleaseGridData(Grid1);
}
