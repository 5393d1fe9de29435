#pragma once

#include <QAbstractTableModel>
#include <QPointer>

class TDataSet;
class TField;

// A Qt item model over a data set's visible fields, for the grids. It follows
// the set's changes (fill, edit, append, delete, sort) through its signals and
// never copies the values.
class TRecordSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit TRecordSetModel(TDataSet *set = nullptr, QObject *parent = nullptr);

    void setDataSet(TDataSet *set);
    TDataSet *dataSet() const { return m_set; }
    // The field shown in a column.
    TField *fieldAt(int column) const;
    int columnOf(const TField *field) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Re-reads which fields are visible (after a column chooser or a layout).
    void refreshColumns();

private:
    void connectSet();

    QPointer<TDataSet> m_set;
    QList<int> m_columns;
};
