#pragma once

#include "EmployeeSet.h"
#include "a.h"

#include <QPointer>
#include <functional>
#include <memory>

class QPushButton;
class TEmployeeWhere;
class TqmDBGrid;
class TqmEdit;

// Called with the picked employee; true closes the picker, false keeps it
// open for further picks.
using TEmpPickHandler = std::function<bool(const REmployee &employee)>;

// The employee picker "职员查找": a modeless, always-on-top list of the
// employees the operator may see, searched by keyword or through the advanced
// search, from which the opener's handler receives one employee at a time.
// It owns its criteria and its set and frees itself when closed. The handler
// belongs to the opener: once the opener's context object is gone the picker
// closes instead of calling it, and the hooks it gives a profile window fall
// back to the set-free operations once the picker itself is gone.
class TEmpPickFrm : public TaFrm
{
    Q_OBJECT
public:
    explicit TEmpPickFrm(QWidget *parent = nullptr);
    ~TEmpPickFrm() override;

    // Handler and the object it calls into (none: the handler is self-contained).
    void SetHandler(TEmpPickHandler handler, QObject *context = nullptr);
    TEmployeeSet &Set() const { return *m_set; }
    TEmployeeWhere &Criteria() const { return *m_where; }

    // All visible employees, or those matching the keyword box.
    void Refresh();
    void Button1Click();
    void Button6Click();
    void PickClick();
    void Button3Click();

    // Opens a profile window for a new employee with the hooks bound to the
    // picker's list; installed by the profile window's unit ("新建" stays
    // disabled without one). The window must not become the picker's child:
    // it outlives the picker.
    using TProfileOpener = std::function<void(const TEmployeeHooks &hooks)>;
    static void SetProfileOpener(TProfileOpener opener);

    TqmEdit *Edit1;
    QPushButton *Button1;
    QPushButton *Button6;
    TqmDBGrid *DBGrid1;
    QPushButton *btnOk1;
    QPushButton *Button3;
    QPushButton *Button2;

private:
    std::unique_ptr<TEmployeeWhere> m_where;
    std::unique_ptr<TEmployeeSet> m_set;
    TEmpPickHandler m_handler;
    bool m_hasContext = false;
    QPointer<QObject> m_context;
};

// Opens the picker on every employee the operator may see and returns it
// (it frees itself when closed). The employee id is not used: the list always
// starts at its first row.
TEmpPickFrm *PickEmployee(
    int empId, TEmpPickHandler handler, QObject *context = nullptr, QWidget *parent = nullptr);
