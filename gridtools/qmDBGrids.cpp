#include "qmDBGrids.h"

#include "DataSet.h"
#include "Error.h"
#include "GridExport.h"
#include "Operator.h"
#include "Sort.h"
#include "Utils.h"
#include "a.h"
#include "qmCtrls.h"
#include "xVisible.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int RightExport = 10004;
constexpr int RightLayoutSave = 10006;
constexpr int RightColumnChooser = 10008;

const QString layoutSavedText = QStringLiteral("列样式保存成功.");
const QString layoutNotSavedText = QStringLiteral("列样式保存失败.");
const QString openDataFirstText = QStringLiteral("系统提示: 请先打开数据再操作!");

} // namespace

// ---------------------------------------------------------------- TGridModel

TGridModel::TGridModel(QObject *parent)
    : TRecordSetModel(nullptr, parent)
{ }

void TGridModel::SetDataSet(TDataSet *set)
{
    if (TDataSet *old = dataSet())
        disconnect(old, nullptr, this, nullptr);
    m_shownCurrent = -1;
    setDataSet(set);
    if (!set)
        return;
    connect(set, &TDataSet::currentRowChanged, this, [this](int row) {
        if (!m_boldCurrent)
            return;
        const int old = m_shownCurrent;
        m_shownCurrent = row;
        if (old >= 0 && old < rowCount())
            emit headerDataChanged(Qt::Vertical, old, old);
        if (row >= 0 && row < rowCount())
            emit headerDataChanged(Qt::Vertical, row, row);
    });
}

void TGridModel::SetColumns(const QVector<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_fieldIndexes.fill(-1, columns.size());
    endResetModel();
}

void TGridModel::SetCaption(int column, const QString &caption)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].Caption = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void TGridModel::SetSortMarks(const QHash<QString, int> &marks)
{
    m_marks = marks;
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(m_columns.size()) - 1);
}

int TGridModel::fieldIndex(int column) const
{
    const TDataSet *set = dataSet();
    if (!set || column < 0 || column >= m_columns.size())
        return -1;
    // The cached index is checked against the name on every use: a refill of
    // a set without declared fields may number its fields differently.
    int &cached = m_fieldIndexes[column];
    const QString &name = m_columns[column].FieldName;
    if (cached >= 0 && cached < set->FieldCount() && set->Fields(cached)->FieldName() == name)
        return cached;
    const TField *field = set->FindField(name);
    cached = field ? field->Index() : -1;
    return cached;
}

TField *TGridModel::ColumnField(int column) const
{
    const int f = fieldIndex(column);
    return f < 0 ? nullptr : dataSet()->Fields(f);
}

int TGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant TGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const int f = fieldIndex(index.column());
    if (f < 0)
        return QVariant();
    const TDataSet *set = dataSet();
    switch (role) {
    case Qt::DisplayRole:
        return set->DisplayTextAt(index.row(), f);
    case Qt::EditRole:
        return set->ValueAt(index.row(), f);
    case Qt::TextAlignmentRole:
        if (set->Fields(f)->IsNumeric())
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter);
        if (role == Qt::FontRole && m_boldCurrent && dataSet()
            && section == dataSet()->CurrentRow()) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    }
    if (role != Qt::DisplayRole || section < 0 || section >= m_columns.size())
        return QVariant();
    const Column &c = m_columns[section];
    const int mark = m_marks.value(c.FieldName.toLower());
    if (mark > 0)
        return c.Caption + QStringLiteral(" ▼");
    if (mark < 0)
        return c.Caption + QStringLiteral(" ▲");
    return c.Caption;
}

Qt::ItemFlags TGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = TRecordSetModel::flags(index);
    if (m_editable && index.isValid() && fieldIndex(index.column()) >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TField *field = ColumnField(index.column());
    if (!m_editable || role != Qt::EditRole || !field || index.row() >= rowCount())
        return false;
    TDataSet *set = dataSet();
    try {
        set->SetCurrentRow(index.row());
        set->Edit();
        field->SetValue(value);
        set->Post();
    } catch (const QmError &e) {
        set->Cancel();
        ShowInfo(e.message());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- delegate, footer

// Lets the grid kind adjust a data cell's look (the tinted rows, subclass hooks).
class TGridDelegate : public QStyledItemDelegate
{
public:
    TGridDelegate(TqmGridBase *grid, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_grid(grid)
    { }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        m_grid->PrepareCell(m_grid->GridModel()->ColumnField(index.column()), index.row(), *option);
    }

private:
    TqmGridBase *m_grid;
};

// The strip under the grid's rows that shows the footer values, each under
// its column; it follows the columns' widths and the horizontal scrolling.
class TGridFooter : public QWidget
{
public:
    explicit TGridFooter(TqmGridBase *grid)
        : QWidget(grid)
        , m_grid(grid)
    {
        setObjectName(QStringLiteral("Footer"));
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Window);
        setFixedHeight(fontMetrics().height() + 8);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QTableView *view = m_grid->TableView();
        const QHeaderView *header = view->horizontalHeader();
        const int left = view->frameWidth()
            + (view->verticalHeader()->isVisible() ? view->verticalHeader()->width() : 0);
        const int right = view->width() - view->frameWidth();
        p.setClipRect(QRect(left, 0, right - left, height()));
        p.setPen(palette().color(QPalette::Mid));
        for (int column = 0; column < m_grid->ColumnCount(); ++column) {
            if (header->isSectionHidden(column))
                continue;
            const QRect cell(left + header->sectionViewportPosition(column), 1,
                header->sectionSize(column), height() - 3);
            if (cell.right() < left || cell.left() > right)
                continue;
            const QString text = m_grid->FooterText(m_grid->ColumnFieldName(column));
            if (text.isEmpty())
                continue;
            p.setPen(palette().color(QPalette::Mid));
            p.drawRect(cell.adjusted(1, 0, -2, 0));
            p.setPen(palette().color(QPalette::WindowText));
            const TField *field = m_grid->ColumnField(column);
            const Qt::Alignment align
                = (field && field->IsNumeric() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            p.drawText(cell.adjusted(4, 0, -6, 0), static_cast<int>(align), text);
        }
    }

private:
    TqmGridBase *m_grid;
};

// ---------------------------------------------------------------- TqmGridBase

TqmGridBase::TqmGridBase(QWidget *parent)
    : QWidget(parent)
{
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("View"));
    m_model = new TGridModel(this);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new TGridDelegate(this, m_view));
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideRight);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->horizontalHeader()->setSectionsMovable(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->horizontalHeader()->viewport()->installEventFilter(this);
    QHeaderView *rows = m_view->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_view->fontMetrics().height() + 6);

    m_footer = new TGridFooter(this);
    m_footer->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footer);

    auto makeAction = [this](const char *name, const QString &caption) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    ActionExport = makeAction("ActionExport", QStringLiteral("导出"));
    ActionSort = makeAction("ActionSort", QStringLiteral("排序"));
    ActionExport2Excel = makeAction("ActionExport2Excel", QStringLiteral("导出到Excel文档"));
    ActionExport2Html = makeAction("ActionExport2Html", QStringLiteral("导出到Html网页文件"));
    ActionColVisible = makeAction("ActionColVisible", QStringLiteral("列选择"));
    ActionTableStyleSave = makeAction("ActionTableStyleSave", QStringLiteral("保存表格样式"));
    connect(ActionSort, &QAction::triggered, this, &TqmGridBase::SortClick);
    connect(ActionColVisible, &QAction::triggered, this, &TqmGridBase::PickColumnsClick);
    connect(ActionTableStyleSave, &QAction::triggered, this, &TqmGridBase::SaveLayoutClick);
    connect(ActionExport2Excel, &QAction::triggered, this, &TqmGridBase::SaveToExcelClick);
    connect(ActionExport2Html, &QAction::triggered, this, &TqmGridBase::SaveToHtmlClick);

    m_popup = new TqmPopupMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenuQm"));
    m_popup->AddActionItem(ActionSort);
    m_popup->AddSeparator();
    m_popup->AddActionItem(ActionColVisible);
    m_popup->AddActionItem(ActionTableStyleSave);
    m_popup->AddSeparator();
    m_popup->AddActionItem(ActionExport2Excel);
    m_popup->AddActionItem(ActionExport2Html);
    connect(m_view, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { m_popup->popup(m_view->viewport()->mapToGlobal(pos)); });

    QHeaderView *header = m_view->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (!m_pushing && size > 0 && logical < m_states.size())
            m_states[logical].Width = size;
        m_footer->update();
    });
    connect(header, &QHeaderView::sectionMoved, this, [this] {
        if (!m_pushing)
            QTimer::singleShot(0, this, &TqmGridBase::onSectionMoved);
    });
    connect(header, &QHeaderView::sectionClicked, this,
        [this](int logical) { TitleClicked(logical, m_pressModifiers); });
    connect(header, &QHeaderView::geometriesChanged, m_footer, qOverload<>(&QWidget::update));
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer,
        qOverload<>(&QWidget::update));

    connect(m_model, &QAbstractItemModel::modelReset, this, &TqmGridBase::onModelReset);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TqmGridBase::invalidateFooter);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &TqmGridBase::invalidateFooter);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &TqmGridBase::invalidateFooter);

    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) {
            TDataSet *set = DataSet();
            if (!m_syncing && set && current.isValid() && set->CurrentRow() != current.row()) {
                QScopedValueRollback<bool> guard(m_syncing, true);
                set->SetCurrentRow(current.row());
            }
            emit OnSelectChanged(current.isValid());
        });
    connect(m_view, &QAbstractItemView::clicked, this,
        [this](const QModelIndex &index) { CellClicked(m_model->ColumnField(index.column())); });
    connect(m_view, &QAbstractItemView::doubleClicked, this, [this] {
        emit OnDblClick();
        emit OnCellDblClick(m_model->ColumnField(m_view->currentIndex().column()));
    });
}

TqmGridBase::~TqmGridBase() = default;

TDataSet *TqmGridBase::DataSet() const
{
    return m_model->dataSet();
}

void TqmGridBase::SetDataSet(TDataSet *set)
{
    if (TDataSet *old = DataSet())
        disconnect(old, nullptr, this, nullptr);
    m_model->SetDataSet(set);
    if (set)
        connect(set, &TDataSet::currentRowChanged, this, [this] {
            if (!m_syncing)
                syncViewToSet();
        });
    bool bound = false;
    for (const TGridColumnState &c : m_states)
        bound = bound || (set && set->FindField(c.FieldName));
    if (!bound)
        SetLayout(m_appliedLayout);
    else
        pushColumnsToView();
}

TField *TqmGridBase::ColumnField(int column) const
{
    return m_model->ColumnField(column);
}

QString TqmGridBase::ColumnCaption(int column) const
{
    return column >= 0 && column < m_model->Columns().size() ? m_model->Columns()[column].Caption
                                                             : QString();
}

int TqmGridBase::ColumnOf(const QString &fieldName) const
{
    for (int i = 0; i < m_states.size(); ++i)
        if (m_states[i].FieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TqmGridBase::SetColumnVisible(int column, bool visible)
{
    if (column < 0 || column >= m_states.size())
        return;
    m_states[column].Visible = visible;
    QScopedValueRollback<bool> guard(m_pushing, true);
    m_view->horizontalHeader()->setSectionHidden(column, !visible);
    m_footer->update();
}

void TqmGridBase::SetColumnWidth(int column, int width)
{
    if (column < 0 || column >= m_states.size() || width < 0)
        return;
    m_states[column].Width = width;
    QScopedValueRollback<bool> guard(m_pushing, true);
    m_view->horizontalHeader()->resizeSection(column, width);
}

void TqmGridBase::MoveColumn(int from, int to)
{
    if (from < 0 || from >= m_states.size() || to < 0 || to >= m_states.size() || from == to)
        return;
    TGridColumnStates states = m_states;
    states.move(from, to);
    SetColumnStates(states);
}

void TqmGridBase::SetColumnStates(const TGridColumnStates &states)
{
    m_states = states;
    pushColumnsToView();
}

void TqmGridBase::pushColumnsToView(bool freshCaptions)
{
    const TDataSet *set = DataSet();
    QVector<TGridModel::Column> columns;
    columns.reserve(m_states.size());
    for (const TGridColumnState &state : m_states) {
        QString caption;
        if (!freshCaptions)
            for (const TGridModel::Column &old : m_model->Columns())
                if (old.FieldName.compare(state.FieldName, Qt::CaseInsensitive) == 0)
                    caption = old.Caption;
        if (caption.isEmpty()) {
            const TField *field = set ? set->FindField(state.FieldName) : nullptr;
            caption = field ? field->DisplayLabel() : state.FieldName;
        }
        columns.append({state.FieldName, caption});
    }
    m_model->SetColumns(columns);
}

void TqmGridBase::onModelReset()
{
    {
        QScopedValueRollback<bool> guard(m_pushing, true);
        QHeaderView *header = m_view->horizontalHeader();
        // A reset forgets moved sections; the column order lives in the model.
        for (int visual = 0; visual < header->count(); ++visual)
            if (header->logicalIndex(visual) != visual)
                header->moveSection(header->visualIndex(visual), visual);
        for (int i = 0; i < m_states.size() && i < header->count(); ++i) {
            header->resizeSection(i, m_states[i].Width);
            header->setSectionHidden(i, !m_states[i].Visible);
        }
    }
    invalidateFooter();
    AfterReset();
    const TDataSet *set = DataSet();
    if (m_states.isEmpty() && !m_rebuilding && set && !set->VisibleFields().isEmpty()) {
        // A set without declared fields has them only once it is filled; the
        // layout given before then applies now.
        SetLayout(m_appliedLayout);
        return;
    }
    syncViewToSet();
}

void TqmGridBase::onSectionMoved()
{
    const QHeaderView *header = m_view->horizontalHeader();
    if (header->count() != m_states.size())
        return;
    TGridColumnStates states;
    for (int visual = 0; visual < header->count(); ++visual)
        states.append(m_states[header->logicalIndex(visual)]);
    SetColumnStates(states);
}

void TqmGridBase::syncViewToSet()
{
    TDataSet *set = DataSet();
    if (!set || !set->Active() || set->IsEmpty() || m_model->columnCount() == 0
        || set->CurrentRow() >= m_model->rowCount())
        return;
    int column = m_view->currentIndex().isValid() ? m_view->currentIndex().column() : -1;
    if (column < 0 || m_view->isColumnHidden(column)) {
        column = 0;
        while (column < m_model->columnCount() - 1 && m_view->isColumnHidden(column))
            ++column;
    }
    const QModelIndex index = m_model->index(set->CurrentRow(), column);
    if (m_view->currentIndex() == index)
        return;
    QScopedValueRollback<bool> guard(m_syncing, true);
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (m_view->selectionBehavior() == QAbstractItemView::SelectRows)
        flags |= QItemSelectionModel::Rows;
    m_view->selectionModel()->setCurrentIndex(index, flags);
    m_view->scrollTo(index);
}

void TqmGridBase::RebuildColumns(bool visible)
{
    TGridColumnStates states;
    if (const TDataSet *set = DataSet()) {
        for (const TField *field : set->VisibleFields())
            states.append(
                {field->FieldName(), visible, DefaultColumnWidth(field, m_view->fontMetrics())});
    }
    m_states = states;
    // Captions come fresh from the fields.
    pushColumnsToView(true);
}

void TqmGridBase::RefreshCaptions()
{
    for (int i = 0; i < m_states.size(); ++i)
        if (const TField *field = ColumnField(i))
            m_model->SetCaption(i, field->DisplayLabel());
}

QString TqmGridBase::Layout() const
{
    return GridLayout::LayoutText(m_states);
}

void TqmGridBase::SetLayout(const QString &text)
{
    QScopedValueRollback<bool> guard(m_rebuilding, true);
    m_appliedLayout = text;
    RebuildColumns(HidesUnnamedColumns() ? text.isEmpty() : true);
    if (text.isEmpty())
        return;
    TGridColumnStates states = m_states;
    GridLayout::ApplyLayout(states, text);
    SetColumnStates(states);
}

bool TqmGridBase::LoadLayout(int key)
{
    bool found = false;
    const QString text = GridLayout::LoadLayoutText(key, &found);
    SetLayout(text);
    return found;
}

bool TqmGridBase::SaveLayout(int key)
{
    return GridLayout::SaveLayoutText(key, Layout());
}

void TqmGridBase::AddFooterSum(TField *field, const QString &format)
{
    if (!field)
        return;
    FooterItem item;
    item.Sum = true;
    item.Format = !format.isEmpty()           ? format
        : field->Kind() == FieldKind::Integer ? QStringLiteral("0")
                                              : QStringLiteral("0.##");
    setFooterItem(field->FieldName(), item);
}

void TqmGridBase::SetFooterText(const QString &fieldName, const QString &text)
{
    FooterItem item;
    item.Text = text;
    setFooterItem(fieldName, item);
}

void TqmGridBase::setFooterItem(const QString &fieldName, const FooterItem &item)
{
    m_footerItems.insert(fieldName.toLower(), item);
    m_footer->show();
    invalidateFooter();
}

void TqmGridBase::invalidateFooter()
{
    m_footerSums.clear();
    m_footer->update();
}

QWidget *TqmGridBase::Footer() const
{
    return m_footer;
}

bool TqmGridBase::FooterVisible() const
{
    return !m_footer->isHidden();
}

QString TqmGridBase::FooterText(const QString &fieldName) const
{
    const QString key = fieldName.toLower();
    const auto item = m_footerItems.constFind(key);
    if (item == m_footerItems.constEnd())
        return QString();
    if (!item->Sum)
        return item->Text;
    const auto cached = m_footerSums.constFind(key);
    if (cached != m_footerSums.constEnd())
        return *cached;
    double sum = 0;
    const TDataSet *set = DataSet();
    const TField *field = set ? set->FindField(fieldName) : nullptr;
    if (field && set->Active()) {
        const int f = field->Index();
        for (int row = 0; row < set->RecordCount(); ++row)
            if (!set->IsNullAt(row, f))
                sum += set->ValueAt(row, f).toDouble();
    }
    const QString text = FormatFloat(item->Format, sum);
    m_footerSums.insert(key, text);
    return text;
}

int TqmGridBase::RowCount() const
{
    return m_model->rowCount();
}

int TqmGridBase::SelectedCount() const
{
    // Ranges may cover the same rows in different columns; count each row once.
    QVector<QPair<int, int>> spans;
    for (const QItemSelectionRange &range : m_view->selectionModel()->selection())
        spans.append({range.top(), range.bottom()});
    std::sort(spans.begin(), spans.end());
    int count = 0;
    int end = -1;
    for (const auto &span : spans) {
        if (span.second <= end)
            continue;
        count += span.second - std::max(span.first, end + 1) + 1;
        end = span.second;
    }
    return count;
}

void TqmGridBase::SetReadOnly(bool readOnly)
{
    m_model->SetEditable(!readOnly);
    m_view->setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                                     : QAbstractItemView::DoubleClicked
                | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
}

void TqmGridBase::ExportToExcel()
{
    runCommand([this] {
        if (!CheckDataSetOpen())
            return;
        TExportColumns columns;
        for (int i = 0; i < m_states.size(); ++i)
            if (m_states[i].Visible)
                columns.append({ColumnCaption(i), m_states[i].FieldName, m_states[i].Width});
        GridExport::RunExport(this, GridExport::Format::Xlsx, *DataSet(), columns,
            ExportQuestion(DataSet()->RecordCount()));
    });
}

void TqmGridBase::ExportToHtml()
{
    runCommand([this] {
        if (!CheckDataSetOpen())
            return;
        TExportColumns columns;
        for (int i = 0; i < m_states.size(); ++i)
            if (m_states[i].Visible)
                columns.append({ColumnCaption(i), m_states[i].FieldName, m_states[i].Width});
        GridExport::RunExport(this, GridExport::Format::Html, *DataSet(), columns,
            ExportQuestion(DataSet()->RecordCount()));
    });
}

void TqmGridBase::PopupButtonClick(QWidget *control)
{
    if (control)
        m_popup->popup(control->mapToGlobal(QPoint(0, control->height())));
}

template <typename F> void TqmGridBase::runCommand(F command)
{
    try {
        command();
    } catch (const SilentAbort &) {
    } catch (const QmError &e) {
        ShowInfo(e.message());
    }
}

void TqmGridBase::SortClick()
{
    runCommand([this] {
        if (!CheckDataSetOpen())
            return;
        TSortFrm frm(this);
        frm.FillFields(DataSet(), true);
        frm.SetSortString(DataSetSort::CurrentSort(DataSet()));
        if (RunModal(frm) != QDialog::Accepted)
            return;
        DataSetSort::ApplySort(DataSet(), frm.SortString());
        AfterReset();
    });
}

void TqmGridBase::PickColumnsClick()
{
    runCommand([this] {
        TheOperator->CheckRight(RightColumnChooser, true);
        std::unique_ptr<TxVisibleFrm> frm(CreateColumnChooser());
        QStringList captions;
        QVector<bool> visible;
        for (int i = 0; i < m_states.size(); ++i) {
            captions << ColumnCaption(i);
            visible << m_states[i].Visible;
        }
        frm->Fill(captions, visible);
        if (RunModal(*frm) != QDialog::Accepted)
            return;
        const QVector<bool> chosen = frm->Visibilities();
        for (int i = 0; i < chosen.size() && i < m_states.size(); ++i)
            SetColumnVisible(i, chosen[i]);
    });
}

void TqmGridBase::SaveLayoutClick()
{
    runCommand([this] {
        TheOperator->CheckRight(RightLayoutSave, true);
        // Saying it was saved when it was not would lose the user's layout
        // without a word, so a failed save says so.
        ShowInfo(SaveLayout(LayoutKey()) ? layoutSavedText : layoutNotSavedText);
    });
}

void TqmGridBase::SaveToExcelClick()
{
    runCommand([this] {
        TheOperator->CheckRight(RightExport, true);
        ExportToExcel();
    });
}

void TqmGridBase::SaveToHtmlClick()
{
    runCommand([this] {
        TheOperator->CheckRight(RightExport, true);
        ExportToHtml();
    });
}

void TqmGridBase::ExportClick()
{
    runCommand([this] {
        TheOperator->CheckRight(RightExport, true);
        if (CheckDataSetOpen())
            RunExportWizard();
    });
}

void TqmGridBase::PrepareCell(TField *, int, QStyleOptionViewItem &) { }

void TqmGridBase::CellClicked(TField *field)
{
    emit OnCellClick(field);
}

void TqmGridBase::TitleClicked(int, Qt::KeyboardModifiers) { }

bool TqmGridBase::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->horizontalHeader()->viewport()
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonRelease))
        m_pressModifiers = static_cast<QMouseEvent *>(event)->modifiers();
    if (event->type() == QEvent::Paint
        && watched->objectName() == QLatin1String("IndicatorCorner")) {
        auto *corner = static_cast<QAbstractButton *>(watched);
        QPainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.rect = corner->rect();
        option.text = corner->text();
        option.textAlignment = Qt::AlignCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

int TqmGridBase::DefaultColumnWidth(const TField *field, const QFontMetrics &metrics)
{
    int natural = 12;
    switch (field->Kind()) {
    case FieldKind::Integer:
        natural = 8;
        break;
    case FieldKind::Float:
    case FieldKind::Variant:
        natural = 12;
        break;
    case FieldKind::DateTime:
        natural = 11;
        break;
    case FieldKind::Boolean:
        natural = 4;
        break;
    case FieldKind::Memo:
        natural = 30;
        break;
    case FieldKind::Blob:
        natural = 8;
        break;
    case FieldKind::String:
    case FieldKind::WideString:
        natural = std::clamp(field->Size(), 4, 30);
        break;
    }
    const int chars
        = field->DisplayWidth() > 0 ? std::min(field->DisplayWidth(), natural) : natural;
    // A character of a display width is a digit's width; the font's average
    // width counts its Chinese glyphs too and would double every column.
    const int values = chars * metrics.horizontalAdvance(QLatin1Char('0')) + 12;
    const int caption = metrics.horizontalAdvance(field->DisplayLabel()) + 16;
    return std::clamp(std::max(values, caption), 40, 400);
}

QString TqmGridBase::FormatFloat(const QString &format, double value)
{
    const QString pattern = format.section(QLatin1Char(';'), 0, 0);
    const int point = pattern.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? pattern : pattern.left(point);
    const QString fraction = point < 0 ? QString() : pattern.mid(point + 1);
    const int minDecimals = static_cast<int>(fraction.count(QLatin1Char('0')));
    const int maxDecimals = minDecimals + static_cast<int>(fraction.count(QLatin1Char('#')));
    const int minWhole = std::max(1, static_cast<int>(whole.count(QLatin1Char('0'))));
    const bool thousands = whole.contains(QLatin1Char(','));

    const double scale = std::pow(10.0, maxDecimals);
    const double rounded = std::round(std::fabs(value) * scale) / scale;
    QString text = QString::number(rounded, 'f', maxDecimals);
    if (maxDecimals > minDecimals) {
        int keep = static_cast<int>(text.size());
        const int firstOptional
            = static_cast<int>(text.indexOf(QLatin1Char('.'))) + 1 + minDecimals;
        while (keep > firstOptional && text[keep - 1] == QLatin1Char('0'))
            --keep;
        text.truncate(keep);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    const int dot = static_cast<int>(text.indexOf(QLatin1Char('.')));
    QString integer = dot < 0 ? text : text.left(dot);
    const QString decimals = dot < 0 ? QString() : text.mid(dot);
    while (integer.size() < minWhole)
        integer.prepend(QLatin1Char('0'));
    if (thousands)
        for (int i = static_cast<int>(integer.size()) - 3; i > 0; i -= 3)
            integer.insert(i, QLatin1Char(','));
    const bool negative = value < 0 && rounded != 0;
    return (negative ? QStringLiteral("-") : QString()) + integer + decimals;
}

// ---------------------------------------------------------------- TqmGridcx

const QColor TqmGridcx::EvenRowColor = QColor(0xFF, 0xFB, 0xF0);

TqmGridcx::TqmGridcx(QWidget *parent)
    : TqmGridBase(parent)
{
    setObjectName(QStringLiteral("qmGridcx"));
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->horizontalHeader()->setSectionsClickable(false);
    m_view->verticalHeader()->setMinimumWidth(30);
    GridModel()->SetBoldCurrentRow(true);
    // The corner above the row numbers is captioned "NO"; Qt's corner button
    // draws no text of its own, so the grid paints it.
    if (auto *corner
        = m_view->findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly)) {
        corner->setObjectName(QStringLiteral("IndicatorCorner"));
        corner->setText(QStringLiteral("NO"));
        corner->installEventFilter(this);
    }
}

TqmGridcx *TqmGridcx::CreateOnPanel(QWidget *owner, int key, TDataSet *set, QWidget *panel)
{
    auto *grid = new TqmGridcx(panel ? panel : owner);
    if (panel) {
        if (!panel->layout()) {
            auto *layout = new QVBoxLayout(panel);
            layout->setContentsMargins(0, 0, 0, 0);
        }
        panel->layout()->addWidget(grid);
    }
    grid->SetDataSet(set);
    grid->SetTag(key);
    grid->LoadLayout(key);
    return grid;
}

bool TqmGridcx::CheckDataSetOpen() const
{
    if (!DataSet()) {
        ShowInfo(
            QStringLiteral("系统错误: 没有为TqmGridcx.DataSource指定DataSet对象,请与作者联系!"));
        return false;
    }
    if (!DataSet()->Active()) {
        ShowInfo(openDataFirstText);
        return false;
    }
    return true;
}

TxVisibleFrm *TqmGridcx::CreateColumnChooser()
{
    return new TcxVisibleFrm(this);
}

QString TqmGridcx::ExportQuestion(int records) const
{
    return QStringLiteral("\r\n导出成功, 共 %1 条记录,是否现在就打开?    ").arg(records);
}

void TqmGridcx::PrepareCell(TField *, int row, QStyleOptionViewItem &option)
{
    if (row % 2 == 0 && !(option.state & QStyle::State_Selected))
        option.backgroundBrush = EvenRowColor;
}

// ---------------------------------------------------------------- TqmDBGrid

namespace {
TqmDBGrid::ExportWizard &exportWizard()
{
    static TqmDBGrid::ExportWizard wizard;
    return wizard;
}
} // namespace

TqmDBGrid::TqmDBGrid(QWidget *parent)
    : TqmGridBase(parent)
{
    setObjectName(QStringLiteral("qmDBGrid"));
    m_view->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    QHeaderView *header = m_view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setMinimumHeight(20);
    // Title clicks sort here; they must not select the column as well.
    disconnect(header, &QHeaderView::sectionPressed, m_view, &QTableView::selectColumn);
    disconnect(header, SIGNAL(sectionEntered(int)), m_view, SLOT(_q_selectColumn(int)));
    m_view->verticalHeader()->setDefaultSectionSize(
        std::max(16, m_view->fontMetrics().height() + 2));
    connect(ActionExport, &QAction::triggered, this, &TqmGridBase::ExportClick);
}

void TqmDBGrid::SetLayoutId(int id)
{
    m_layoutId = id;
    LoadLayout(LayoutKey());
}

void TqmDBGrid::SetExportWizard(ExportWizard wizard)
{
    exportWizard() = std::move(wizard);
}

bool TqmDBGrid::CheckDataSetOpen() const
{
    if (!DataSet()) {
        ShowInfo(QStringLiteral("系统错误: 没有为DBGrid.DataSource指定DataSet对象,请与作者联系!"));
        return false;
    }
    if (!DataSet()->Active()) {
        ShowInfo(openDataFirstText);
        return false;
    }
    return true;
}

TxVisibleFrm *TqmDBGrid::CreateColumnChooser()
{
    return new TehVisibleFrm(this);
}

QString TqmDBGrid::ExportQuestion(int) const
{
    return QStringLiteral("\r\n导出成功,是否现在就打开?    ");
}

void TqmDBGrid::RunExportWizard()
{
    if (exportWizard())
        exportWizard()(this, DataSet());
}

void TqmDBGrid::TitleClicked(int column, Qt::KeyboardModifiers modifiers)
{
    ClickTitle(column, modifiers.testFlag(Qt::ShiftModifier));
}

void TqmDBGrid::ClickTitle(int column, bool addKey)
{
    TDataSet *set = DataSet();
    if (!set || !set->Active() || column < 0 || column >= ColumnCount())
        return;
    AfterReset();
    const QString name = ColumnFieldName(column);
    int found = -1;
    for (int i = 0; i < m_marks.size(); ++i)
        if (m_marks[i].FieldName.compare(name, Qt::CaseInsensitive) == 0)
            found = i;
    const Mark current = found >= 0 ? m_marks[found].mark : Mark::None;
    const Mark next
        = current == Mark::None ? Mark::Down : (current == Mark::Down ? Mark::Up : Mark::None);
    if (!addKey) {
        m_marks.clear();
        if (next != Mark::None)
            m_marks.append({name, next});
    } else if (found < 0) {
        m_marks.append({name, next});
    } else if (next == Mark::None) {
        m_marks.remove(found);
    } else {
        m_marks[found].mark = next;
    }

    QString sort;
    for (const SortMark &m : m_marks)
        sort += m.FieldName
            + (m.mark == Mark::Up ? QStringLiteral(" DESC , ") : QStringLiteral(", "));
    sort.chop(2);
    try {
        DataSetSort::ApplySort(set, sort);
    } catch (const QmError &e) {
        m_marks.clear();
        ShowInfo(e.message());
    }
    m_markedSort = DataSetSort::CurrentSort(set);
    applyMarks();
}

void TqmDBGrid::AfterReset()
{
    // Marks describe the sort they made; once the rows were reopened or
    // sorted some other way they no longer do.
    if (!m_marks.isEmpty() && DataSetSort::CurrentSort(DataSet()) != m_markedSort) {
        m_marks.clear();
        applyMarks();
    }
}

void TqmDBGrid::applyMarks()
{
    QHash<QString, int> marks;
    for (const SortMark &m : m_marks)
        marks.insert(m.FieldName.toLower(), m.mark == Mark::Down ? 1 : -1);
    GridModel()->SetSortMarks(marks);
}
