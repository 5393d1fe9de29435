#include "OperatorEditor.h"

#include "Operator.h"
#include "Utils.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *makeEdit(QWidget *parent, const char *name, bool masked = false)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (masked) {
        edit->setEchoMode(QLineEdit::Password);
    } else {
        // The columns hold 20 characters; one engine would keep longer values
        // and the other refuse them.
        edit->setMaxLength(20);
    }
    return edit;
}

} // namespace

TOperatorEditorFrm::TOperatorEditorFrm(QWidget *parent)
    : TADlgFrm(parent)
    , edtUserId1(makeEdit(this, "edtUserId1"))
    , edtName1(makeEdit(this, "edtName1"))
    , edtContact1(makeEdit(this, "edtContact1"))
    , edtNote1(makeEdit(this, "edtNote1"))
    , edtPassword1(makeEdit(this, "edtPassword1", true))
    , edtPassword2(makeEdit(this, "edtPassword2", true))
    , PageControl1(new QTabWidget(this))
    , CheckListBox1(new QListWidget(this))
{
    setObjectName(QStringLiteral("OperatorEditorFrm"));
    setWindowTitle(QStringLiteral("操作员属性"));
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));

    for (const TRightEntry &right : RightsCatalogue()) {
        auto *item = new QListWidgetItem(right.Caption, CheckListBox1);
        item->setData(Qt::UserRole, right.Number);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(CheckListBox1, &QListWidget::itemDoubleClicked, this, [](QListWidgetItem *item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("登陆名"), edtUserId1);
    form->addRow(QStringLiteral("姓名"), edtName1);
    form->addRow(QStringLiteral("联系方式"), edtContact1);
    form->addRow(QStringLiteral("备注"), edtNote1);
    form->addRow(QStringLiteral("密码"), edtPassword1);
    form->addRow(QStringLiteral("验证密码"), edtPassword2);

    auto *rightsPage = new QWidget(PageControl1);
    rightsPage->setObjectName(QStringLiteral("RightsPage1"));
    auto *rightsLayout = new QVBoxLayout(rightsPage);
    rightsLayout->addWidget(CheckListBox1);
    PageControl1->addTab(rightsPage, QStringLiteral("权限"));

    auto *layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);
    layout->addWidget(PageControl1, 1);
    resize(420, 560);
}

void TOperatorEditorFrm::Clear()
{
    for (QLineEdit *edit :
        {edtUserId1, edtName1, edtContact1, edtNote1, edtPassword1, edtPassword2})
        edit->clear();
    edtUserId1->setReadOnly(false);
    edtPassword1->setPlaceholderText(QString());
    edtPassword2->setPlaceholderText(QString());
    SetRightsValue(QString());
    edtUserId1->setFocus();
}

void TOperatorEditorFrm::SetOperator(const QString &loginId, const QString &name,
    const QString &contact, const QString &note, const QString &rights)
{
    Clear();
    edtUserId1->setText(loginId);
    edtUserId1->setReadOnly(true);
    edtName1->setText(name);
    edtContact1->setText(contact);
    edtNote1->setText(note);
    edtPassword1->setPlaceholderText(QStringLiteral("不修改密码请留空"));
    edtPassword2->setPlaceholderText(QStringLiteral("不修改密码请留空"));
    SetRightsValue(rights);
    edtName1->setFocus();
}

QString TOperatorEditorFrm::LoginId() const
{
    return edtUserId1->text().trimmed();
}

QString TOperatorEditorFrm::Password() const
{
    return edtPassword1->text();
}

QString TOperatorEditorFrm::OperatorName() const
{
    return edtName1->text();
}

QString TOperatorEditorFrm::Contact() const
{
    return edtContact1->text();
}

QString TOperatorEditorFrm::Note() const
{
    return edtNote1->text();
}

QString TOperatorEditorFrm::RightsValue() const
{
    QList<int> ticked;
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        const QListWidgetItem *item = CheckListBox1->item(i);
        if (item->checkState() == Qt::Checked)
            ticked << item->data(Qt::UserRole).toInt();
    }
    return RightsText(ticked);
}

void TOperatorEditorFrm::SetRightsValue(const QString &rights)
{
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        QListWidgetItem *item = CheckListBox1->item(i);
        item->setCheckState(
            RightsContain(rights, item->data(Qt::UserRole).toInt()) ? Qt::Checked : Qt::Unchecked);
    }
}

void TOperatorEditorFrm::OkBtn1Click()
{
    if (LoginId().isEmpty()) {
        ShowInfo(QStringLiteral("必须填写登陆名."));
        edtUserId1->setFocus();
        return;
    }
    if (edtPassword1->text() != edtPassword2->text()) {
        ShowInfo(QStringLiteral("两次输入的密码不一样,请重新输入."));
        edtPassword1->clear();
        edtPassword2->clear();
        edtPassword1->setFocus();
        return;
    }
    accept();
}
