#include "CompanyInfo.h"

#include "Company.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TCompanyInfoFrm::TCompanyInfoFrm(QWidget *parent)
    : QDialog(parent)
    , EdtCompany1(named(new QLineEdit(this), "EdtCompany1"))
    , EdtLawMan1(named(new QLineEdit(this), "EdtLawMan1"))
    , EdtTel1(named(new QLineEdit(this), "EdtTel1"))
    , EdtFax1(named(new QLineEdit(this), "EdtFax1"))
    , EdtAddress1(named(new QLineEdit(this), "EdtAddress1"))
    , edtZip1(named(new QLineEdit(this), "edtZip1"))
    , MemIntrol1(named(new QPlainTextEdit(this), "MemIntrol1"))
    , OkBtn1(named(new QPushButton(QStringLiteral("确定"), this), "OkBtn1"))
    , CancelBtn1(named(new QPushButton(QStringLiteral("取消"), this), "CancelBtn1"))
{
    setObjectName(QStringLiteral("TCompanyInfoFrm"));
    setWindowTitle(QStringLiteral("公司信息"));
    MemIntrol1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("企业名称"), EdtCompany1);
    form->addRow(QStringLiteral("负责人"), EdtLawMan1);
    form->addRow(QStringLiteral("联系电话"), EdtTel1);
    form->addRow(QStringLiteral("传真号码"), EdtFax1);
    form->addRow(QStringLiteral("地址"), EdtAddress1);
    form->addRow(QStringLiteral("邮编"), edtZip1);
    form->addRow(QStringLiteral("公司简介"), MemIntrol1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkBtn1);
    buttons->addWidget(CancelBtn1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    OkBtn1->setDefault(true);
    connect(OkBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn1, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, 360);
}

void TCompanyInfoFrm::SetReadOnly(bool readOnly)
{
    OkBtn1->setEnabled(!readOnly);
}

void TCompanyInfoFrm::ReadCompany(const TCompany &company)
{
    EdtCompany1->setText(company.CompanyName);
    EdtLawMan1->setText(company.Manager);
    EdtTel1->setText(company.Tel);
    EdtFax1->setText(company.Fax);
    EdtAddress1->setText(company.Address);
    edtZip1->setText(company.Zip);
    MemIntrol1->setPlainText(company.Profile);
}

void TCompanyInfoFrm::WriteCompany(TCompany &company) const
{
    company.CompanyName = EdtCompany1->text();
    company.Manager = EdtLawMan1->text();
    company.Tel = EdtTel1->text();
    company.Fax = EdtFax1->text();
    company.Address = EdtAddress1->text();
    company.Zip = edtZip1->text();
    company.Profile = MemIntrol1->toPlainText();
}
