#include "OperatorEditor.h"

#include "Database.h"
#include "Utils.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

// Marks the rows of stored codes that the department table does not list.
constexpr int UnlistedRole = Qt::UserRole + 1;

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
    , DeptPage1(new QWidget(this))
    , chkAllDepts1(new QCheckBox(QStringLiteral("所有部门"), DeptPage1))
    , DeptTree1(new QTreeWidget(DeptPage1))
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

    DeptPage1->setObjectName(QStringLiteral("DeptPage1"));
    chkAllDepts1->setObjectName(QStringLiteral("chkAllDepts1"));
    DeptTree1->setObjectName(QStringLiteral("DeptTree1"));
    DeptTree1->setHeaderLabels({QStringLiteral("部门编码"), QStringLiteral("部门名称")});
    connect(chkAllDepts1, &QCheckBox::toggled, DeptTree1, &QWidget::setDisabled);
    auto *deptLayout = new QVBoxLayout(DeptPage1);
    deptLayout->addWidget(chkAllDepts1);
    deptLayout->addWidget(DeptTree1);
    PageControl1->addTab(DeptPage1, QStringLiteral("部门权限"));
    loadDepartments();

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
    SetDeptRights(RDeptRit{true, {}});
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

void TOperatorEditorFrm::loadDepartments()
{
    // A window made before any connection (help and layout checks) lists none.
    if (!TheDatabase)
        return;
    TDataSet rows;
    TheDatabase->Fill(rows, QStringLiteral("select Code, Name from department order by Code"));
    // A parent's code is its child's without the last two characters, so in
    // code order every parent arrives before its children.
    QHash<QString, QTreeWidgetItem *> byCode;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        const QString code = rows.Fields(0)->AsString();
        QTreeWidgetItem *parent = byCode.value(code.chopped(qMin(2, code.size())));
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(DeptTree1);
        item->setText(0, code);
        item->setText(1, rows.Fields(1)->AsString());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        byCode.insert(code, item);
    }
    DeptTree1->expandAll();
}

RDeptRit TOperatorEditorFrm::DeptRights() const
{
    RDeptRit rights;
    rights.AllDepts = chkAllDepts1->isChecked();
    if (rights.AllDepts)
        return rights;
    for (QTreeWidgetItemIterator it(DeptTree1); *it; ++it)
        if ((*it)->checkState(0) == Qt::Checked)
            rights.Depts.append(RShortDept{(*it)->text(0)});
    return rights;
}

void TOperatorEditorFrm::SetDeptRights(const RDeptRit &rights)
{
    for (int i = DeptTree1->topLevelItemCount() - 1; i >= 0; --i)
        if (DeptTree1->topLevelItem(i)->data(0, UnlistedRole).toBool())
            delete DeptTree1->takeTopLevelItem(i);
    QStringList codes;
    for (const RShortDept &dept : rights.Depts)
        codes << dept.Code;
    for (QTreeWidgetItemIterator it(DeptTree1); *it; ++it) {
        const bool ticked = codes.removeAll((*it)->text(0)) > 0;
        (*it)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    }
    codes.removeDuplicates();
    for (const QString &code : std::as_const(codes)) {
        auto *item = new QTreeWidgetItem(DeptTree1, {code, QStringLiteral("(部门表中没有)")});
        item->setData(0, UnlistedRole, true);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
    }
    chkAllDepts1->setChecked(rights.AllDepts || rights.Depts.isEmpty());
    DeptTree1->setDisabled(chkAllDepts1->isChecked());
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
    // No codes would let the operator see every department, the opposite of
    // what an administrator who unticked "all departments" means.
    if (DeptRights().Depts.isEmpty() && !chkAllDepts1->isChecked()) {
        ShowInfo(QStringLiteral("请勾选所有部门或至少选择一个部门."));
        PageControl1->setCurrentWidget(DeptPage1);
        return;
    }
    accept();
}
