#pragma once

#include "DataSet.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVector>

class QLabel;
class QPushButton;
class QTableWidget;

// The sort order applied to a data set, as text: comma-separated items, each
// a field name with an optional order ("EmpName ASC,Code DESC" from the sort
// dialog, "Name, Code DESC " from title clicks). The text stays with the set
// until the set is reopened or sorted again.
namespace DataSetSort {

struct Item
{
    QString FieldName;
    bool Descending = false;
};

// Items of a sort text. A lone "ASC" or "DESC" item applies to the field
// before it, so the paired form "Name,ASC,Code,DESC" reads the same way.
QVector<Item> Parse(const QString &sortText);

// The text last applied to set; empty when it is unsorted.
QString CurrentSort(const TDataSet *set);

// Sorts set by the text (stable, texts in pinyin order) and keeps the text.
// An empty text only forgets the sort: the rows keep their order. A field the
// set does not have raises QmError and leaves set unsorted.
void ApplySort(TDataSet *set, const QString &sortText);

} // namespace DataSetSort

// The sort dialog: one row per sortable field with its caption and its mark
// (升序, 降序 or none); the marked rows from the top make the sort order.
// The field names and orders are kept in lists parallel to the rows.
class TSortFrm : public QDialog
{
    Q_OBJECT
public:
    explicit TSortFrm(QWidget *parent = nullptr);

    // One row per data field of set that is not a memo or blob, visible or
    // includeHidden; captions from the display labels, no marks.
    void FillFields(const TDataSet *set, bool includeHidden);

    QString SortString() const;
    // Marks the fields named in text with their orders and moves them to the
    // top in that order.
    void SetSortString(const QString &text);
    // The same as SortString with captions and marks ("姓名 升序,编号 降序").
    QString SortLabels() const;

    int RowCount() const { return m_names.size(); }
    QString RowField(int row) const { return m_names.value(row); }
    QString RowOrder(int row) const { return m_orders.value(row); }
    // Cycles the row's order: none, ASC, DESC, none.
    void CycleOrder(int row);
    // Moves a row (in the grid and both lists) and leaves it selected.
    void MoveRow(int from, int to);

    QTableWidget *StringGrid1;
    QPushButton *upBtn1;
    QPushButton *downBtn1;
    QPushButton *OkBtn1;
    QPushButton *CancelBtn1;
    QLabel *HintLabel1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setRowOrder(int row, const QString &order);
    void updateButtons();
    void upBtn1Click();
    void downBtn1Click();

    QStringList m_names;
    QStringList m_orders;
    int m_dragRow = -1;
};
