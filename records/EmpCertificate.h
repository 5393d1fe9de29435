#pragma once

#include "EmployeeSet.h"
#include "ModuleSet.h"
#include "RecordEdit.h"
#include "Utils.h"

#include <QFrame>
#include <memory>

class QPushButton;
class TqmGridcx;

// A page of the employee profile window: one employee's records of an event
// module in a grid, with "添加", "修改", "删除" and "查询" on its right. The
// five operations do nothing here; every module's frame overrides them.
class TEmpCertificate_Fra : public QFrame
{
    Q_OBJECT
public:
    explicit TEmpCertificate_Fra(QWidget *parent = nullptr);
    ~TEmpCertificate_Fra() override;

    // Lists the employee's records (only when it is another employee than
    // the one listed).
    virtual void ShowEmployee(const REmployees &employee);
    virtual void AddRecord();
    virtual void EditRecord();
    virtual void DeleteRecord();
    virtual void OpenList();

    TqmGridcx *Grid1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    QPushButton *Button4;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeControls();
};

// The frame of the module whose record is R, edit window Edit and list
// window List. It owns its criteria record and set; the edit windows it
// opens are bound to that set and never call it once the frame is gone.
template <typename R, typename Edit, typename List> class TModuleFra : public TEmpCertificate_Fra
{
public:
    TModuleFra(const TModuleSpec<R> &spec, QWidget *parent)
        : TEmpCertificate_Fra(parent)
        , m_spec(spec)
        , m_where(spec.MakeWhere())
        , m_set(std::make_unique<TModuleSet<R>>(spec))
    {
        setObjectName(QStringLiteral("Emp") + spec.Name + QStringLiteral("Fra"));
        bindGrid(m_set->Query(), spec.FrameTag);
    }
    ~TModuleFra() override { bindGrid(nullptr, 0); }

    TModuleSet<R> &ModuleSet() const { return *m_set; }
    TModuleWhere &Criteria() const { return *m_where; }
    const REmployees &Employee() const { return m_employee; }

    void ShowEmployee(const REmployees &employee) override
    {
        if (employee.Employee.Id == m_employee.Employee.Id && m_set->Active())
            return;
        m_employee = employee;
        m_where->Reset();
        // An employee id of 0 would be a blank criterion and list everyone's.
        m_where->EmpIdFld->SetValue(employee.Employee.Id > 0 ? employee.Employee.Id : -1);
        if (employee.Employee.Id > 0)
            m_set->Load(*m_where);
        else
            m_set->Close();
    }

    void AddRecord() override
    {
        if (m_employee.Employee.Id <= 0)
            return;
        Edit *editor = createEditor();
        editor->NewFor(m_employee.Employee);
        editor->show();
    }

    void EditRecord() override
    {
        if (!m_set->Active() || m_set->Query()->IsEmpty())
            return;
        R record;
        m_set->ReadRecord(record);
        Edit *editor = createEditor();
        editor->ShowEdit(record);
        editor->show();
    }

    void DeleteRecord() override
    {
        if (!m_set->Active() || m_set->Query()->IsEmpty())
            return;
        CheckModuleRight(m_spec.FrameDeleteRight);
        if (!ConfirmDelete())
            return;
        if (!m_set->DeleteCurrent())
            ShowInfo(m_spec.DeleteFailed);
    }

    void OpenList() override
    {
        auto *list = new List(nullptr);
        list->show();
    }

private:
    Edit *createEditor()
    {
        auto *editor = new Edit(this);
        editor->SetHooks(m_set->Hooks(), this);
        editor->ViewVisible = false;
        return editor;
    }
    void bindGrid(TDataSet *set, int tag);

    const TModuleSpec<R> &m_spec;
    std::unique_ptr<TModuleWhere> m_where;
    std::unique_ptr<TModuleSet<R>> m_set;
    REmployees m_employee;
};

// Binds the frame's grid to set and loads the layout stored under tag
// (null unbinds it).
void BindFrameGrid(TqmGridcx *grid, TDataSet *set, int tag);

template <typename R, typename Edit, typename List>
void TModuleFra<R, Edit, List>::bindGrid(TDataSet *set, int tag)
{
    BindFrameGrid(Grid1, set, tag);
}
