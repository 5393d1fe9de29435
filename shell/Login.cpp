#include "Login.h"

#include "Configer.h"
#include "Pub.h"
#include "Utils.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString ReadLastLoginId()
{
    return TConfiger::ReadLastLoginId();
}

void WriteLastLoginId(const QString &loginId)
{
    // The login itself succeeded; a read-only folder only costs the
    // convenience of the remembered name.
    TConfiger::WriteLastLoginId(loginId);
}

TLoginFrm::TLoginFrm(QWidget *parent)
    : TADlgFrm(parent)
    , lblTitle1(new QLabel(ProductTitle, this))
    , edtLoginId1(new QComboBox(this))
    , edtPassword1(new QLineEdit(this))
{
    setObjectName(QStringLiteral("LoginFrm"));
    setWindowTitle(QStringLiteral("登陆"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    SetPosition(TFormPosition::ScreenCenter);
    OkBtn1->setText(QStringLiteral("确定"));

    lblTitle1->setObjectName(QStringLiteral("lblTitle1"));
    QFont titleFont = lblTitle1->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle1->setFont(titleFont);
    lblTitle1->setAlignment(Qt::AlignCenter);

    edtLoginId1->setObjectName(QStringLiteral("edtLoginId1"));
    edtLoginId1->setEditable(true);
    edtLoginId1->setInsertPolicy(QComboBox::NoInsert);
    edtPassword1->setObjectName(QStringLiteral("edtPassword1"));
    edtPassword1->setEchoMode(QLineEdit::Password);

    auto *prompt = new QLabel(QStringLiteral("请输入您的用户名和密码:"), this);
    auto *userLabel = new QLabel(QStringLiteral("用户名(&U)"), this);
    userLabel->setBuddy(edtLoginId1);
    auto *passwordLabel = new QLabel(QStringLiteral("密码(&P)"), this);
    passwordLabel->setBuddy(edtPassword1);

    auto *form = new QFormLayout;
    form->addRow(userLabel, edtLoginId1);
    form->addRow(passwordLabel, edtPassword1);
    auto *layout = new QVBoxLayout(ClientArea());
    layout->addWidget(lblTitle1);
    layout->addSpacing(8);
    layout->addWidget(prompt);
    layout->addLayout(form);

    {
        TOperatorSet operators;
        TDataSet *rows = operators.DataSet();
        for (rows->First(); !rows->Eof(); rows->Next())
            edtLoginId1->addItem(operators.UserIdField->AsString());
    }
    const QString last = ReadLastLoginId();
    edtLoginId1->setCurrentText(last.isEmpty() ? QStringLiteral("sa") : last);
    edtPassword1->setFocus();
    resize(360, sizeHint().height());
}

void TLoginFrm::OkBtn1Click()
{
    const QString password = edtPassword1->text();
    if (!m_candidate.Load(edtLoginId1->currentText().trimmed())
        || !m_candidate.CheckPassword(password)) {
        edtPassword1->setFocus();
        edtPassword1->selectAll();
        return;
    }
    // The visibility is read before anything changes, so a failure here
    // leaves the previous operator fully in place.
    const ROperatorRights rights = LoadOperatorRight(m_candidate.LoginId);
    *TheOperator = m_candidate;
    TheOperatorRight
        = rights.isEmpty() ? ROperatorRight{m_candidate.LoginId, RDeptRit()} : rights.first();
    m_emptyPassword = password.isEmpty();
    WriteLastLoginId(TheOperator->LoginId);
    accept();
}

bool Login(QWidget *parent)
{
    TLoginFrm frm(parent);
    if (RunModal(frm) != QDialog::Accepted)
        return false;
    if (frm.UsedEmptyPassword())
        ShowInfo(QStringLiteral(
            "您的密码为空,任何人都能以%1的身份登陆.\r\n请通过菜单\"更改密码\"设置一个密码.")
                     .arg(TheOperator->LoginId));
    return true;
}
