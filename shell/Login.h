#pragma once

#include "Operator.h"
#include "aDlg.h"

class QComboBox;
class QLabel;
class QLineEdit;

// The login window. It checks the typed name and password against a private
// candidate operator; only a correct pair replaces TheOperator and its
// department visibility, so a wrong attempt or a cancel changes nothing.
class TLoginFrm : public TADlgFrm
{
    Q_OBJECT
public:
    explicit TLoginFrm(QWidget *parent = nullptr);

    // True when the accepted login used an empty password.
    bool UsedEmptyPassword() const { return m_emptyPassword; }

    QLabel *lblTitle1;
    QComboBox *edtLoginId1;
    QLineEdit *edtPassword1;

protected:
    void OkBtn1Click() override;

private:
    TOperator m_candidate;
    bool m_emptyPassword = false;
};

// Shows the login window; true when an operator logged in. Then TheOperator
// is that operator and TheOperatorRight its visibility; an operator without a
// password is told to set one. A cancelled login keeps the current operator
// (re-login).
bool Login(QWidget *parent = nullptr);

// The login name last used on this workstation ("cfg.ini", section "Login").
QString ReadLastLoginId();
void WriteLastLoginId(const QString &loginId);
