#include "EmpLabelOptionU.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TEmpListOptionFrm::TEmpListOptionFrm(QWidget *parent)
    : TADlgFrm(parent)
    , Label1(new QLabel(QStringLiteral("是否在职员浏览中显示以下项目:"), ClientArea()))
    , CheckListBox1(new QListWidget(ClientArea()))
{
    setObjectName(QStringLiteral("EmpListOptionFrm"));
    setWindowTitle(QStringLiteral("选项"));
    SetPosition(TFormPosition::MainFormCenter);
    OkBtn1->setText(QStringLiteral("确定"));
    Label1->setObjectName(QStringLiteral("Label1"));
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto *layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label1);
    layout->addWidget(CheckListBox1, 1);

    // A double click on an entry ticks or unticks it, like a click on its box.
    connect(CheckListBox1, &QListWidget::itemDoubleClicked, this, [](QListWidgetItem *item) {
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    resize(300, 320);
}

void TEmpListOptionFrm::SetGroups(const QStringList &captions, const QVector<bool> &shown)
{
    CheckListBox1->clear();
    for (int i = 0; i < captions.size(); ++i) {
        auto *item = new QListWidgetItem(captions.at(i), CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(shown.value(i) ? Qt::Checked : Qt::Unchecked);
    }
}

QVector<bool> TEmpListOptionFrm::Shown() const
{
    QVector<bool> shown;
    for (int i = 0; i < CheckListBox1->count(); ++i)
        shown << (CheckListBox1->item(i)->checkState() == Qt::Checked);
    return shown;
}

void TEmpListOptionFrm::SetShown(int entry, bool shown)
{
    if (QListWidgetItem *item = CheckListBox1->item(entry))
        item->setCheckState(shown ? Qt::Checked : Qt::Unchecked);
}
