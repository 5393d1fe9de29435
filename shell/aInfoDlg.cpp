#include "aInfoDlg.h"

#include <QHBoxLayout>
#include <QPushButton>

TAInfoDlgFrm::TAInfoDlgFrm(QWidget *parent)
    : TaDlgBase(parent, TFormPosition::MainFormCenter)
    , CloseBtn1(new QPushButton(QStringLiteral("关闭"), this))
{
    CloseBtn1->setObjectName(QStringLiteral("CloseBtn1"));
    // An information window has nothing to confirm: Enter in its lists must
    // not close it.
    CloseBtn1->setAutoDefault(false);
    ButtonRow()->insertWidget(ButtonRow()->indexOf(HelpBtn1), CloseBtn1);
    connect(CloseBtn1, &QPushButton::clicked, this, &QDialog::reject);
}
