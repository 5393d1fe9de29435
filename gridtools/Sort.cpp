#include "Sort.h"

#include "Error.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString ascOrder = QStringLiteral("ASC");
const QString descOrder = QStringLiteral("DESC");

// Lives as a child of the data set: the text of the sort last applied, which
// any other reset of the rows (a reopen, a sort by someone else) forgets.
class SortState : public QObject
{
public:
    explicit SortState(TDataSet *set)
        : QObject(set)
    {
        setObjectName(QStringLiteral("qmSortState"));
        connect(set, &TDataSet::dataReset, this, [this] {
            if (!sorting)
                text.clear();
        });
    }
    QString text;
    bool sorting = false;
};

SortState *stateOf(const TDataSet *set)
{
    return set
        ? set->findChild<SortState *>(QStringLiteral("qmSortState"), Qt::FindDirectChildrenOnly)
        : nullptr;
}

QString markFor(const QString &order)
{
    if (order == ascOrder)
        return QStringLiteral("升序");
    if (order == descOrder)
        return QStringLiteral("降序");
    return QString();
}

} // namespace

// ---------------------------------------------------------------- DataSetSort

namespace DataSetSort {

QVector<Item> Parse(const QString &sortText)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QVector<Item> items;
    for (const QString &part : sortText.split(QLatin1Char(','))) {
        const QStringList words = part.split(blanks, Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const bool lone = words.size() == 1;
        const QString order = words.size() > 1 ? words.at(1) : words.at(0);
        const bool isOrder = order.compare(ascOrder, Qt::CaseInsensitive) == 0
            || order.compare(descOrder, Qt::CaseInsensitive) == 0;
        if (lone && isOrder) {
            if (!items.isEmpty())
                items.last().Descending = order.compare(descOrder, Qt::CaseInsensitive) == 0;
            continue;
        }
        Item item;
        item.FieldName = words.at(0);
        item.Descending = !lone && order.compare(descOrder, Qt::CaseInsensitive) == 0;
        items.append(item);
    }
    return items;
}

QString CurrentSort(const TDataSet *set)
{
    const SortState *state = stateOf(set);
    return state ? state->text : QString();
}

void ApplySort(TDataSet *set, const QString &sortText)
{
    if (!set)
        return;
    QVector<TDataSet::SortKey> keys;
    for (const Item &item : Parse(sortText))
        keys.append({set->FieldByName(item.FieldName)->Index(), item.Descending});
    SortState *state = stateOf(set);
    if (!state)
        state = new SortState(set);
    state->sorting = true;
    try {
        set->Sort(keys);
    } catch (...) {
        state->sorting = false;
        throw;
    }
    state->sorting = false;
    state->text = keys.isEmpty() ? QString() : sortText;
}

} // namespace DataSetSort

// ---------------------------------------------------------------- TSortFrm

TSortFrm::TSortFrm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SortFrm"));
    setWindowTitle(QStringLiteral("排序"));

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
    StringGrid1->viewport()->installEventFilter(this);

    upBtn1 = new QPushButton(QStringLiteral("上移(&U)"), this);
    upBtn1->setObjectName(QStringLiteral("upBtn1"));
    upBtn1->setEnabled(false);
    downBtn1 = new QPushButton(QStringLiteral("下移(&D)"), this);
    downBtn1->setObjectName(QStringLiteral("downBtn1"));
    OkBtn1 = new QPushButton(QStringLiteral("确定(&Y)"), this);
    OkBtn1->setObjectName(QStringLiteral("OkBtn1"));
    OkBtn1->setDefault(true);
    CancelBtn1 = new QPushButton(QStringLiteral("取消(&Q)"), this);
    CancelBtn1->setObjectName(QStringLiteral("CancelBtn1"));
    HintLabel1 = new QLabel(
        QStringLiteral("提示:双击空白处切换排序方式(升/降/无),单击上下移动键调整优先顺序"), this);
    HintLabel1->setObjectName(QStringLiteral("HintLabel1"));
    HintLabel1->setWordWrap(true);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(upBtn1);
    buttons->addWidget(downBtn1);
    buttons->addStretch();
    buttons->addWidget(OkBtn1);
    buttons->addWidget(CancelBtn1);
    auto *body = new QHBoxLayout;
    body->addWidget(StringGrid1, 1);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(HintLabel1);
    resize(380, 360);

    connect(upBtn1, &QPushButton::clicked, this, &TSortFrm::upBtn1Click);
    connect(downBtn1, &QPushButton::clicked, this, &TSortFrm::downBtn1Click);
    connect(OkBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
        [this](int row, int) { CycleOrder(row); });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this] { updateButtons(); });
}

void TSortFrm::FillFields(const TDataSet *set, bool includeHidden)
{
    StringGrid1->setRowCount(0);
    m_names.clear();
    m_orders.clear();
    if (!set)
        return;
    for (int f = 0; f < set->FieldCount(); ++f) {
        const TField *field = set->Fields(f);
        if (field->Kind() == FieldKind::Memo || field->Kind() == FieldKind::Blob)
            continue;
        if (!field->Visible() && !includeHidden)
            continue;
        const int row = StringGrid1->rowCount();
        StringGrid1->insertRow(row);
        StringGrid1->setItem(row, 0, new QTableWidgetItem(field->DisplayLabel()));
        StringGrid1->setItem(row, 1, new QTableWidgetItem(QString()));
        m_names << field->FieldName();
        m_orders << QString();
    }
    updateButtons();
}

QString TSortFrm::SortString() const
{
    QStringList parts;
    for (int row = 0; row < m_names.size(); ++row)
        if (!m_orders[row].isEmpty())
            parts << m_names[row] + QLatin1Char(' ') + m_orders[row];
    return parts.join(QLatin1Char(','));
}

QString TSortFrm::SortLabels() const
{
    QStringList parts;
    for (int row = 0; row < m_names.size(); ++row)
        if (!m_orders[row].isEmpty())
            parts << StringGrid1->item(row, 0)->text() + QLatin1Char(' ')
                    + StringGrid1->item(row, 1)->text();
    return parts.join(QLatin1Char(','));
}

void TSortFrm::SetSortString(const QString &text)
{
    for (int row = 0; row < m_names.size(); ++row)
        setRowOrder(row, QString());
    int position = 0;
    for (const DataSetSort::Item &item : DataSetSort::Parse(text)) {
        int row = -1;
        for (int r = position; r < m_names.size() && row < 0; ++r)
            if (m_names[r].compare(item.FieldName, Qt::CaseInsensitive) == 0)
                row = r;
        // A field the dialog does not list (or one named twice) takes no place.
        if (row < 0)
            continue;
        setRowOrder(row, item.Descending ? descOrder : ascOrder);
        MoveRow(row, position);
        ++position;
    }
    StringGrid1->setCurrentCell(m_names.isEmpty() ? -1 : 0, 0);
    updateButtons();
}

void TSortFrm::CycleOrder(int row)
{
    if (row < 0 || row >= m_names.size())
        return;
    const QString &order = m_orders[row];
    setRowOrder(row, order.isEmpty() ? ascOrder : (order == ascOrder ? descOrder : QString()));
}

void TSortFrm::setRowOrder(int row, const QString &order)
{
    m_orders[row] = order;
    StringGrid1->item(row, 1)->setText(markFor(order));
}

void TSortFrm::MoveRow(int from, int to)
{
    const int count = m_names.size();
    if (from < 0 || from >= count || to < 0 || to >= count)
        return;
    if (from != to) {
        const QString caption = StringGrid1->item(from, 0)->text();
        const QString mark = StringGrid1->item(from, 1)->text();
        StringGrid1->removeRow(from);
        StringGrid1->insertRow(to);
        StringGrid1->setItem(to, 0, new QTableWidgetItem(caption));
        StringGrid1->setItem(to, 1, new QTableWidgetItem(mark));
        m_names.move(from, to);
        m_orders.move(from, to);
    }
    StringGrid1->setCurrentCell(to, 0);
    updateButtons();
}

void TSortFrm::updateButtons()
{
    const int row = StringGrid1->currentRow();
    upBtn1->setEnabled(row > 0);
    downBtn1->setEnabled(row >= 0 && row < m_names.size() - 1);
}

void TSortFrm::upBtn1Click()
{
    const int row = StringGrid1->currentRow();
    if (row > 0)
        MoveRow(row, row - 1);
}

void TSortFrm::downBtn1Click()
{
    const int row = StringGrid1->currentRow();
    if (row >= 0 && row < m_names.size() - 1)
        MoveRow(row, row + 1);
}

bool TSortFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton)
                m_dragRow = StringGrid1->rowAt(mouse->position().toPoint().y());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const int target = StringGrid1->rowAt(mouse->position().toPoint().y());
            const int from = m_dragRow;
            m_dragRow = -1;
            if (from >= 0 && target >= 0 && target != from)
                MoveRow(from, target);
        }
    }
    return QDialog::eventFilter(watched, event);
}
