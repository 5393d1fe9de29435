#pragma once

#include "EmpPick.h"
#include "ModuleSet.h"
#include "Win.h"
#include "qmCtrls.h"
#include "qmDateTimePicker.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>
#include <vector>

class QAction;
class QComboBox;
class QPushButton;
class QStackedWidget;
class QToolBar;
struct REmployee;

// Offers pick list index in combo, and again whenever the pick lists are
// saved; what the combo shows stays as it was.
void FillPickCombo(QComboBox *combo, int pickList);

// The edit window of an event module: a read-only panel (pnlView1) under a
// tool bar, and an edit panel (pnlEdit1) with "确定" and "取消"; exactly one
// of them is in front. This part holds the panels, the actions and the flow
// of every module; TModuleEditFrm adds the module's record and hooks.
class TRecordEditFrm : public TWinFrm
{
    Q_OBJECT
public:
    TRecordEditFrm(const TModuleInfo &info, QWidget *parent);

    const TModuleInfo &Info() const { return m_info; }

    // Whether a save or "取消" on a stored record returns to the read-only
    // panel (true) or closes the window (false).
    bool ViewVisible = true;
    bool Viewing() const;

    QStackedWidget *Panels;
    QWidget *pnlView1;
    QWidget *pnlEdit1;
    QToolBar *ToolBar1;
    QAction *NewAction1;
    QAction *EditAction1;
    QAction *DeleteAction1;
    QAction *PriorAction1;
    QAction *NextAction1;
    QAction *RefreshAction1;
    QAction *PrintAction1;
    QAction *ExitAction1;
    QPushButton *OkBtn1;
    QPushButton *CancelBtn1;

    // The actions; each may raise (the callers run them as user actions).
    void NewAction1Execute();
    void EditAction1Execute();
    void DeleteAction1Execute();
    void PriorAction1Execute();
    void NextAction1Execute();
    void RefreshAction1Execute();
    void PrintAction1Execute();
    void OkBtn1Click();
    void CancelBtn1Click();

protected:
    enum class TPostResult { Invalid, Failed, Saved };

    // What the record layer provides.
    virtual int CurrentEmpId() const = 0;
    virtual int CurrentId() const = 0;
    virtual void StartNew(const REmployee &employee) = 0;
    virtual void EditCurrent() = 0;
    virtual void ViewCurrent() = 0;
    virtual TPostResult PostEdits() = 0;
    virtual bool DropCurrent() = 0;
    virtual bool ShowNeighbour(int direction) = 0;
    virtual bool RefreshCurrent() = 0;
    virtual bool EditsPending() const = 0;
    virtual void PrintCurrent() = 0;

    // The forms the module's controls go into.
    QFormLayout *ViewForm() const { return m_viewForm; }
    QFormLayout *EditForm() const { return m_editForm; }
    QLineEdit *AddViewLine(const QString &name, const QString &caption);
    QPlainTextEdit *AddViewMemo(const QString &name, const QString &caption);
    void AddEditRow(const QString &caption, QWidget *control);

    void BringViewToFront();
    void BringEditToFront();
    // A failed validation: "\r" + message + "\t", then the focus to control.
    bool Reject(const QString &message, QWidget *control = nullptr);

    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addTool(const char *name, const char *caption, void (TRecordEditFrm::*handler)());
    // "确定" up to the save: right, checks, OnPost; true when it saved.
    bool saveEdits();
    bool saveBeforeClose();

    const TModuleInfo &m_info;
    QFormLayout *m_viewForm;
    QFormLayout *m_editForm;
    bool m_discard = false;
};

// The edit window of the module whose record is R: the current record, the
// four hooks with the module's class operations as their fallbacks, and the
// binding of record members to the controls of both panels.
template <typename R> class TModuleEditFrm : public TRecordEditFrm
{
public:
    TModuleEditFrm(const TModuleSpec<R> &spec, QWidget *parent)
        : TRecordEditFrm(spec, parent)
        , m_spec(spec)
    { }

    const TModuleSpec<R> &Spec() const { return m_spec; }
    const R &Record() const { return m_record; }

    TDataEvent<R> OnPost;
    TDataEvent<R> OnPrev;
    TDataEvent<R> OnNext;
    TDataEvent<R> OnDrop;

    // Binds the hooks of a list, frame or window. Once owner is gone they
    // are never called again: the window falls back to the class operations.
    void SetHooks(const TRecordHooks<R> &hooks, QObject *owner)
    {
        OnPost = hooks.OnPost;
        OnPrev = hooks.OnPrev;
        OnNext = hooks.OnNext;
        OnDrop = hooks.OnDrop;
        m_hookOwner = owner;
        m_hasHookOwner = owner != nullptr;
    }

    // A new record for the employee, in the edit panel.
    virtual void NewFor(const REmployee &employee) = 0;

    void ShowView(const R &record)
    {
        m_record = record;
        for (const auto &show : m_viewers)
            show(record);
        BringViewToFront();
    }

    void ShowEdit(const R &record)
    {
        m_record = record;
        for (const auto &show : m_viewers)
            show(record);
        for (const Editor &editor : m_editors)
            editor.show(record);
        m_shownInEdit = Collect();
        BringEditToFront();
    }

    // The edit panel's values on top of the current record (whose id and
    // employee they keep).
    R Collect() const
    {
        R record = m_record;
        for (const Editor &editor : m_editors)
            editor.collect(record);
        return record;
    }

protected:
    // The module's checks, in its order; false after telling the user (Reject).
    virtual bool Validate(const R &) { return true; }

    int CurrentEmpId() const override
    {
        if constexpr (THasEmployee<R>::value)
            return m_record.EmpId;
        return 0;
    }
    int CurrentId() const override { return m_record.Id; }
    void StartNew(const REmployee &employee) override { NewFor(employee); }
    void EditCurrent() override { ShowEdit(m_record); }
    void ViewCurrent() override { ShowView(m_record); }

    TPostResult PostEdits() override
    {
        R record = Collect();
        if (!Validate(record))
            return TPostResult::Invalid;
        if (!callHook(OnPost, record, [this](R &r) { return m_spec.StoreRecord(r); }))
            return TPostResult::Failed;
        m_record = record;
        m_shownInEdit = record;
        return TPostResult::Saved;
    }

    bool DropCurrent() override
    {
        R record = m_record;
        return callHook(OnDrop, record, [this](R &r) { return m_spec.DeleteRecordById(r.Id); });
    }

    bool ShowNeighbour(int direction) override
    {
        R record = m_record;
        const bool found = direction > 0
            ? callHook(OnNext, record, [this](R &r) { return m_spec.FetchRecord(r.Id, 1, r); })
            : callHook(OnPrev, record, [this](R &r) { return m_spec.FetchRecord(r.Id, -1, r); });
        if (found)
            ShowView(record);
        return found;
    }

    bool RefreshCurrent() override
    {
        R record = m_record;
        if (!m_spec.FetchRecord(record.Id, 0, record))
            return false;
        ShowView(record);
        return true;
    }

    void PrintCurrent() override { m_spec.PrintRecord(m_record.Id); }

    bool EditsPending() const override
    {
        if (Viewing())
            return false;
        const TDBParameters now = m_spec.Layout.parameters(Collect());
        const TDBParameters then = m_spec.Layout.parameters(m_shownInEdit);
        for (int i = 0; i < now.size(); ++i)
            if (now.at(i).Value != then.at(i).Value)
                return true;
        return false;
    }

    // Member bindings. A viewer fills a read-only box; an editor fills its
    // control and collects it back.
    void AddViewer(std::function<void(const R &)> show) { m_viewers.push_back(std::move(show)); }
    void AddEditor(std::function<void(const R &)> show, std::function<void(R &)> collect)
    {
        m_editors.push_back({std::move(show), std::move(collect)});
    }

    QLineEdit *ViewText(const QString &name, const QString &caption, QString R::*member)
    {
        QLineEdit *box = AddViewLine(name, caption);
        AddViewer([box, member](const R &r) { box->setText(r.*member); });
        return box;
    }
    QLineEdit *ViewDate(const QString &name, const QString &caption, QVariant R::*member)
    {
        QLineEdit *box = AddViewLine(name, caption);
        AddViewer([box, member](const R &r) {
            const QDateTime d = QmText::ToDateTime(r.*member);
            box->setText(d.isValid() ? d.toString(QmText::DateFormat) : QString());
        });
        return box;
    }
    QPlainTextEdit *ViewMemo(const QString &name, const QString &caption, QString R::*member)
    {
        QPlainTextEdit *box = AddViewMemo(name, caption);
        AddViewer([box, member](const R &r) { box->setPlainText(r.*member); });
        return box;
    }

    // The employee's code and name, shown but never edited.
    void EditEmployee(const QString &codeCaption)
    {
        auto *code = new TqmEdit(this);
        code->setObjectName(QStringLiteral("edtEmpCode1"));
        code->setEnabled(false);
        auto *name = new TqmEdit(this);
        name->setObjectName(QStringLiteral("edtEmpName1"));
        name->setEnabled(false);
        AddEditRow(codeCaption, code);
        AddEditRow(QStringLiteral("姓名"), name);
        AddEditor(
            [code, name](const R &r) {
                code->setText(r.EmpCode);
                name->setText(r.EmpName);
            },
            [](R &) {});
    }

    TqmEdit *EditText(const QString &name, const QString &caption, QString R::*member)
    {
        auto *edit = new TqmEdit(this);
        edit->setObjectName(name);
        AddEditRow(caption, edit);
        AddEditor([edit, member](const R &r) { edit->setText(r.*member); },
            [edit, member](R &r) { r.*member = edit->text().trimmed(); });
        return edit;
    }
    // An editable drop-down offering pick list index; a typed text is kept.
    TqmComboBox *EditPick(
        const QString &name, const QString &caption, QString R::*member, int pickList)
    {
        auto *combo = new TqmComboBox(this);
        combo->setObjectName(name);
        combo->setEditable(true);
        FillPickCombo(combo, pickList);
        AddEditRow(caption, combo);
        AddEditor(
            [combo, member](const R &r) {
                combo->setCurrentIndex(-1);
                combo->setEditText(r.*member);
            },
            [combo, member](R &r) { r.*member = combo->currentText().trimmed(); });
        return combo;
    }
    // A date picker giving whole days; optional ones carry a check box for
    // "no date".
    TqmDateTimePicker *EditDate(
        const QString &name, const QString &caption, QVariant R::*member, bool optional)
    {
        auto *picker = new TqmDateTimePicker(this);
        picker->setObjectName(name);
        picker->SetShowCheckbox(optional);
        picker->setDisplayFormat(QmText::DateFormat);
        AddEditRow(caption, picker);
        AddEditor([picker, member](const R &r) { picker->SetAsDate(r.*member); },
            [picker, member](R &r) { r.*member = picker->AsDate(); });
        return picker;
    }
    TqmMemo *EditMemo(const QString &name, const QString &caption, QString R::*member)
    {
        auto *memo = new TqmMemo(this);
        memo->setObjectName(name);
        AddEditRow(caption, memo);
        AddEditor([memo, member](const R &r) { memo->setPlainText(r.*member); },
            [memo, member](R &r) { r.*member = memo->toPlainText(); });
        return memo;
    }

private:
    struct Editor
    {
        std::function<void(const R &)> show;
        std::function<void(R &)> collect;
    };

    // The bound hook while its owner lives, else the class operation; with
    // neither (a module without fallbacks) the operation fails.
    bool callHook(
        const TDataEvent<R> &hook, R &record, const std::function<bool(R &)> &fallback) const
    {
        const bool ownerAlive = !m_hasHookOwner || m_hookOwner;
        if (hook && ownerAlive)
            return hook(record);
        if (!m_spec.ClassFallbacks || !fallback)
            return false;
        return fallback(record);
    }

    const TModuleSpec<R> &m_spec;
    R m_record;
    R m_shownInEdit;
    std::vector<std::function<void(const R &)>> m_viewers;
    std::vector<Editor> m_editors;
    QPointer<QObject> m_hookOwner;
    bool m_hasHookOwner = false;
};
