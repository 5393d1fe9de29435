#include "xVisible.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString shownMark = QStringLiteral("√");
}

TxVisibleFrm::TxVisibleFrm(QWidget *parent, const QString &title)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("xVisibleFrm"));
    setWindowTitle(title);

    StringGrid1 = new QTableWidget(0, 2, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setToolTip(QStringLiteral("双击可改变当前值"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setColumnWidth(0, 160);

    OkBtn1 = new QPushButton(QStringLiteral("确定(&Y)"), this);
    OkBtn1->setObjectName(QStringLiteral("OkBtn1"));
    OkBtn1->setDefault(true);
    CancelBtn1 = new QPushButton(QStringLiteral("取消(&Q)"), this);
    CancelBtn1->setObjectName(QStringLiteral("CancelBtn1"));
    upBtn1 = new QPushButton(QStringLiteral("上移(&U)"), this);
    upBtn1->setObjectName(QStringLiteral("upBtn1"));
    upBtn1->hide();
    downBtn1 = new QPushButton(QStringLiteral("下移(&D)"), this);
    downBtn1->setObjectName(QStringLiteral("downBtn1"));
    downBtn1->hide();

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(upBtn1);
    buttons->addWidget(downBtn1);
    buttons->addStretch();
    buttons->addWidget(OkBtn1);
    buttons->addWidget(CancelBtn1);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(buttons);
    resize(320, 360);

    connect(OkBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(
        StringGrid1, &QTableWidget::cellClicked, this, [this](int row, int) { ToggleRow(row); });
}

void TxVisibleFrm::Fill(const QStringList &captions, const QVector<bool> &visible)
{
    StringGrid1->setRowCount(static_cast<int>(captions.size()));
    for (int row = 0; row < captions.size(); ++row) {
        StringGrid1->setItem(row, 0, new QTableWidgetItem(captions[row]));
        StringGrid1->setItem(
            row, 1, new QTableWidgetItem(visible.value(row) ? shownMark : QString()));
    }
}

QVector<bool> TxVisibleFrm::Visibilities() const
{
    QVector<bool> result;
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        result << (StringGrid1->item(row, 1)->text() == shownMark);
    return result;
}

void TxVisibleFrm::ToggleRow(int row)
{
    QTableWidgetItem *mark = StringGrid1->item(row, 1);
    if (mark)
        mark->setText(mark->text() == shownMark ? QString() : shownMark);
}

TehVisibleFrm::TehVisibleFrm(QWidget *parent)
    : TxVisibleFrm(parent, QStringLiteral("列选择"))
{
    setObjectName(QStringLiteral("ehVisibleFrm"));
}

TcxVisibleFrm::TcxVisibleFrm(QWidget *parent)
    : TxVisibleFrm(parent, QString())
{
    setObjectName(QStringLiteral("cxVisibleFrm"));
}
