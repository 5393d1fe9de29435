#pragma once

#include "Operator.h"
#include "aDlg.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;

// The operator properties dialog: login name, personal data, a new password
// typed twice, the ticked rights and the departments whose employees the
// operator sees. It only carries values between its controls and the caller;
// the operator list window does the saving. A stored password is never
// shown: empty password boxes mean "unchanged".
class TOperatorEditorFrm : public TADlgFrm
{
    Q_OBJECT
public:
    explicit TOperatorEditorFrm(QWidget *parent = nullptr);

    // Empty entries, no ticks, an editable login name (a new operator).
    void Clear();
    // An existing operator: its login name can no longer be changed.
    void SetOperator(const QString &loginId, const QString &name, const QString &contact,
        const QString &note, const QString &rights);

    QString LoginId() const;
    QString Password() const;
    QString OperatorName() const;
    QString Contact() const;
    QString Note() const;

    // ",n," for every ticked entry, in list order.
    QString RightsValue() const;
    // Ticks exactly the entries whose ",n," occurs in rights.
    void SetRightsValue(const QString &rights);

    // The visibility the page shows: all departments, or the ticked codes
    // (each one covers the departments below it).
    RDeptRit DeptRights() const;
    // No codes at all means all departments, as the reader takes it. A stored
    // code the department table does not list gets a row of its own, so it is
    // neither dropped unseen nor kept beyond the administrator's reach.
    void SetDeptRights(const RDeptRit &rights);

    QLineEdit *edtUserId1;
    QLineEdit *edtName1;
    QLineEdit *edtContact1;
    QLineEdit *edtNote1;
    QLineEdit *edtPassword1;
    QLineEdit *edtPassword2;
    // One page per kind of permission; the rights page holds CheckListBox1.
    QTabWidget *PageControl1;
    QListWidget *CheckListBox1;
    QWidget *DeptPage1;
    QCheckBox *chkAllDepts1;
    QTreeWidget *DeptTree1;

protected:
    void OkBtn1Click() override;

private:
    void loadDepartments();
};
