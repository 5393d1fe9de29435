#pragma once

#include "aDlg.h"

class QLineEdit;

// The password change dialog of the logged-in operator. It only refuses two
// different new passwords; checking the current one and saving is
// ChangePassword's.
class TPasswordChangerFrm : public TADlgFrm
{
    Q_OBJECT
public:
    explicit TPasswordChangerFrm(QWidget *parent = nullptr);

    QLineEdit *edtUserId1;
    QLineEdit *edtPassword1;
    QLineEdit *edtNewPassword1;
    QLineEdit *edtNewPassword2;

protected:
    void OkBtn1Click() override;
};

// The main menu's "更改密码": asks until the current password is right and
// the new one is stored, or the user cancels. Returns true when it changed.
bool ChangePassword(QWidget *parent = nullptr);
