#include "PasswordChanger.h"

#include "Error.h"
#include "Operator.h"
#include "Pub.h"
#include "Utils.h"

#include <QApplication>
#include <QFormLayout>
#include <QLineEdit>

namespace {

QLineEdit *makeEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}

} // namespace

TPasswordChangerFrm::TPasswordChangerFrm(QWidget *parent)
    : TADlgFrm(parent)
    , edtUserId1(new QLineEdit(this))
    , edtPassword1(makeEdit(this, "edtPassword1"))
    , edtNewPassword1(makeEdit(this, "edtNewPassword1"))
    , edtNewPassword2(makeEdit(this, "edtNewPassword2"))
{
    setObjectName(QStringLiteral("PasswordChangerFrm"));
    setWindowTitle(QStringLiteral("更改密码"));
    edtUserId1->setObjectName(QStringLiteral("edtUserId1"));
    edtUserId1->setEnabled(false);

    auto *form = new QFormLayout(ClientArea());
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("当前用户"), edtUserId1);
    form->addRow(QStringLiteral("当前密码"), edtPassword1);
    form->addRow(QStringLiteral("新密码"), edtNewPassword1);
    form->addRow(QStringLiteral("新密码验证"), edtNewPassword2);
    edtPassword1->setFocus();
    resize(340, sizeHint().height());
}

void TPasswordChangerFrm::OkBtn1Click()
{
    if (edtNewPassword1->text() != edtNewPassword2->text()) {
        ShowPlainMessage(QStringLiteral("两次输入的新密码不一样,请确认并重新输入."));
        edtNewPassword1->clear();
        edtNewPassword2->clear();
        edtNewPassword1->setFocus();
        return;
    }
    accept();
}

bool ChangePassword(QWidget *parent)
{
    TPasswordChangerFrm frm(parent ? parent : QApplication::activeWindow());
    frm.edtUserId1->setText(TheOperator->LoginId);
    for (;;) {
        if (RunModal(frm) != QDialog::Accepted)
            return false;
        if (!TheOperator->CheckPassword(frm.edtPassword1->text())) {
            ShowInfo(QStringLiteral("当前密码验证失败,请确认并重新输入."));
            frm.edtPassword1->clear();
            frm.edtPassword1->setFocus();
            continue;
        }
        try {
            TheOperator->SetPassword(frm.edtNewPassword1->text());
        } catch (const QmError &e) {
            ShowInfo(e.message());
            continue;
        }
        ShowInfo(QStringLiteral("密码更改成功! 下次登陆时请使用新密码."));
        return true;
    }
}
