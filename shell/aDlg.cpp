#include "aDlg.h"

#include "HelpBrowser.h"
#include "Pub.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

TaDlgBase::TaDlgBase(QWidget *parent, TFormPosition position)
    : QDialog(parent)
    , BgBevel1(new QFrame(this))
    , HelpBtn1(new QPushButton(QStringLiteral("帮助"), this))
    , m_helper(this, position)
    , m_client(new QWidget(this))
    , m_buttons(new QHBoxLayout)
{
    BgBevel1->setObjectName(QStringLiteral("BgBevel1"));
    BgBevel1->setFrameShape(QFrame::HLine);
    BgBevel1->setFrameShadow(QFrame::Sunken);
    HelpBtn1->setObjectName(QStringLiteral("HelpBtn1"));
    HelpBtn1->setAutoDefault(false);
    m_client->setObjectName(QStringLiteral("ClientArea1"));

    m_buttons->addStretch();
    m_buttons->addWidget(HelpBtn1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_client, 1);
    layout->addWidget(BgBevel1);
    layout->addLayout(m_buttons);

    connect(HelpBtn1, &QPushButton::clicked, this,
        [this] { RunUserAction([this] { ShowHelp(QString()); }); });
}

void TaDlgBase::ShowHelp(const QString &topic)
{
    ShowHelpTopic(m_helper.HelpTopic(topic));
}

void TaDlgBase::keyPressEvent(QKeyEvent *event)
{
    QDialog::keyPressEvent(event);
    if (TFormHelper::IsHelpKey(event)) {
        event->accept();
        ShowHelp(QString());
    }
}

void TaDlgBase::showEvent(QShowEvent *event)
{
    m_helper.PlaceBeforeFirstShow();
    QDialog::showEvent(event);
}

TADlgFrm::TADlgFrm(QWidget *parent)
    : TaDlgBase(parent, TFormPosition::OwnerCenter)
    , OkBtn1(new QPushButton(QStringLiteral("确定(&O)"), this))
    , CancelBtn1(new QPushButton(QStringLiteral("取消"), this))
{
    OkBtn1->setObjectName(QStringLiteral("OkBtn1"));
    CancelBtn1->setObjectName(QStringLiteral("CancelBtn1"));
    OkBtn1->setDefault(true);
    // Enter anywhere in the dialog means OK, never Cancel or Help.
    CancelBtn1->setAutoDefault(false);
    ButtonRow()->insertWidget(ButtonRow()->indexOf(HelpBtn1), OkBtn1);
    ButtonRow()->insertWidget(ButtonRow()->indexOf(HelpBtn1), CancelBtn1);

    connect(
        OkBtn1, &QPushButton::clicked, this, [this] { RunUserAction([this] { OkBtn1Click(); }); });
    connect(CancelBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TADlgFrm::OkBtn1Click()
{
    accept();
}
