#include "RecordSetModel.h"

#include "DataSet.h"

TRecordSetModel::TRecordSetModel(TDataSet *set, QObject *parent)
    : QAbstractTableModel(parent)
{
    setDataSet(set);
}

void TRecordSetModel::setDataSet(TDataSet *set)
{
    beginResetModel();
    if (m_set)
        disconnect(m_set, nullptr, this, nullptr);
    m_set = set;
    m_columns.clear();
    if (m_set) {
        for (int f = 0; f < m_set->FieldCount(); ++f)
            if (m_set->Fields(f)->Visible())
                m_columns.append(f);
        connectSet();
    }
    endResetModel();
}

void TRecordSetModel::connectSet()
{
    connect(m_set, &TDataSet::dataReset, this, &TRecordSetModel::refreshColumns);
    connect(m_set, &TDataSet::rowChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(m_set, &TDataSet::rowInserted, this, [this](int row) {
        beginInsertRows(QModelIndex(), row, row);
        endInsertRows();
    });
    connect(m_set, &TDataSet::rowRemoved, this, [this](int row) {
        beginRemoveRows(QModelIndex(), row, row);
        endRemoveRows();
    });
    connect(m_set, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_columns.clear();
        endResetModel();
    });
}

void TRecordSetModel::refreshColumns()
{
    beginResetModel();
    m_columns.clear();
    if (m_set)
        for (int f = 0; f < m_set->FieldCount(); ++f)
            if (m_set->Fields(f)->Visible())
                m_columns.append(f);
    endResetModel();
}

TField *TRecordSetModel::fieldAt(int column) const
{
    if (!m_set || column < 0 || column >= m_columns.size())
        return nullptr;
    return m_set->Fields(m_columns[column]);
}

int TRecordSetModel::columnOf(const TField *field) const
{
    return field ? static_cast<int>(m_columns.indexOf(field->Index())) : -1;
}

int TRecordSetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_set || !m_set->Active())
        return 0;
    return m_set->RecordCount();
}

int TRecordSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant TRecordSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_set || index.row() >= rowCount() || index.column() >= m_columns.size())
        return QVariant();
    const int field = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return m_set->DisplayTextAt(index.row(), field);
    case Qt::EditRole:
        return m_set->ValueAt(index.row(), field);
    case Qt::TextAlignmentRole:
        if (m_set->Fields(field)->IsNumeric())
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant TRecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    const TField *field = fieldAt(section);
    return field ? QVariant(field->DisplayLabel()) : QVariant();
}
