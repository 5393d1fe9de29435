#pragma once

#include "GridLayout.h"
#include "RecordSetModel.h"

#include <QColor>
#include <QHash>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QVector>
#include <QWidget>
#include <functional>

class QAction;
class TDataSet;
class TField;
class TGridFooter;
class TqmPopupMenu;
class TxVisibleFrm;

// The item model of a grid: the grid's columns (bound to fields by name, in
// column order, shown or hidden by the view) over a data set's rows. Columns
// find their field again after the set is refilled, so a column whose field
// has gone shows empty cells instead of another field's values.
class TGridModel : public TRecordSetModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString FieldName;
        QString Caption;
    };

    explicit TGridModel(QObject *parent = nullptr);

    void SetDataSet(TDataSet *set);
    void SetColumns(const QVector<Column> &columns);
    const QVector<Column> &Columns() const { return m_columns; }
    void SetCaption(int column, const QString &caption);
    TField *ColumnField(int column) const;
    // Sort marks shown after the captions: +1 ascending, -1 descending.
    void SetSortMarks(const QHash<QString, int> &marks);
    void SetBoldCurrentRow(bool bold) { m_boldCurrent = bold; }
    void SetEditable(bool editable) { m_editable = editable; }

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    int fieldIndex(int column) const;

    QVector<Column> m_columns;
    mutable QVector<int> m_fieldIndexes;
    QHash<QString, int> m_marks;
    bool m_boldCurrent = false;
    bool m_editable = false;
    int m_shownCurrent = -1;
};

// What both grid kinds share: a table view over one data set through its own
// model, columns with captions, widths, visibility and order, the layout text
// and its storage under the layout key, footer sums, the row numbers, the
// cursor kept in step with the view both ways, the popup menu and its six
// actions with their rights and messages. The grid owns its model, menu and
// actions; it never owns the data set. The kinds differ only where a subclass
// overrides.
class TqmGridBase : public QWidget
{
    Q_OBJECT
public:
    explicit TqmGridBase(QWidget *parent = nullptr);
    ~TqmGridBase() override;

    QTableView *TableView() const { return m_view; }
    TGridModel *GridModel() const { return m_model; }
    TqmPopupMenu *PopupMenuQm() const { return m_popup; }

    TDataSet *DataSet() const;
    void SetDataSet(TDataSet *set);

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    // The key the grid's layout is stored under.
    virtual int LayoutKey() const { return m_tag; }

    // Columns, in column order.
    int ColumnCount() const { return static_cast<int>(m_states.size()); }
    QString ColumnFieldName(int column) const { return m_states.value(column).FieldName; }
    TField *ColumnField(int column) const;
    QString ColumnCaption(int column) const;
    bool ColumnVisible(int column) const { return m_states.value(column).Visible; }
    int ColumnWidth(int column) const { return m_states.value(column).Width; }
    // The position of the column bound to fieldName, -1 when none is.
    int ColumnOf(const QString &fieldName) const;
    void SetColumnVisible(int column, bool visible);
    void SetColumnWidth(int column, int width);
    void MoveColumn(int from, int to);
    TGridColumnStates ColumnStates() const { return m_states; }
    void SetColumnStates(const TGridColumnStates &states);

    // One column per visible field of the data set, in field order, with the
    // field's caption and display width.
    void RebuildColumns(bool visible = true);
    // Refreshes every caption from its field's display label.
    void RefreshCaptions();

    QString Layout() const;
    void SetLayout(const QString &text);
    // Reads the layout stored under key and applies it; true when a row was there.
    bool LoadLayout(int key);
    bool SaveLayout(int key);

    // Footers: the sum of a numeric field under its column ("0" for integer
    // fields, "0.##" otherwise, or the format given), or a fixed text.
    void AddFooterSum(TField *field, const QString &format = QString());
    void SetFooterText(const QString &fieldName, const QString &text);
    bool FooterVisible() const;
    // What the footer shows under the field's column; empty when nothing.
    QString FooterText(const QString &fieldName) const;
    QWidget *Footer() const;

    int RowCount() const;
    int SelectedCount() const;
    void SetReadOnly(bool readOnly);

    void ExportToExcel();
    void ExportToHtml();

    // Shows the popup menu just below control (the windows' "功能" buttons).
    void PopupButtonClick(QWidget *control);

    // The commands behind the menu and the actions. Each tests its right
    // first; failures are shown, never thrown.
    void SortClick();
    void PickColumnsClick();
    void SaveLayoutClick();
    void SaveToExcelClick();
    void SaveToHtmlClick();
    void ExportClick();

    QAction *ActionExport;
    QAction *ActionSort;
    QAction *ActionExport2Excel;
    QAction *ActionExport2Html;
    QAction *ActionColVisible;
    QAction *ActionTableStyleSave;

    // The width in pixels a field's column starts with. Display widths are
    // in characters and mostly the record sets' generous 75, so a column gets
    // the smaller of that and what the field's values need, and never less
    // than its caption.
    static int DefaultColumnWidth(const TField *field, const QFontMetrics &metrics);
    // A number in a display format of "0", "#", "," and "." ("0", "0.##", "#,##0.00").
    static QString FormatFloat(const QString &format, double value);

signals:
    void OnDblClick();
    void OnCellClick(TField *field);
    void OnCellDblClick(TField *field);
    // The focused row changed; true when it is a data row.
    void OnSelectChanged(bool dataRow);

protected:
    // Whether the data set is there and open, telling the user when not.
    virtual bool CheckDataSetOpen() const = 0;
    // Whether columns the layout does not name start hidden.
    virtual bool HidesUnnamedColumns() const = 0;
    virtual TxVisibleFrm *CreateColumnChooser() = 0;
    virtual QString ExportQuestion(int records) const = 0;
    virtual void RunExportWizard() { }
    // After the rows were refilled or re-sorted.
    virtual void AfterReset() { }
    // A data cell about to be drawn; subclasses may change its look.
    virtual void PrepareCell(TField *field, int row, QStyleOptionViewItem &option);
    virtual void CellClicked(TField *field);
    virtual void TitleClicked(int column, Qt::KeyboardModifiers modifiers);

    bool eventFilter(QObject *watched, QEvent *event) override;

    QTableView *m_view;

private:
    friend class TGridDelegate;
    struct FooterItem
    {
        bool Sum = false;
        QString Format;
        QString Text;
    };

    template <typename F> void runCommand(F command);
    void setFooterItem(const QString &fieldName, const FooterItem &item);
    void invalidateFooter();
    void pushColumnsToView(bool freshCaptions = false);
    void syncViewToSet();
    void onModelReset();
    void onSectionMoved();

    TGridModel *m_model;
    TGridFooter *m_footer;
    TqmPopupMenu *m_popup;
    TGridColumnStates m_states;
    QString m_appliedLayout;
    int m_tag = 0;
    bool m_syncing = false;
    bool m_pushing = false;
    bool m_rebuilding = false;
    Qt::KeyboardModifiers m_pressModifiers;
    QHash<QString, FooterItem> m_footerItems;
    mutable QHash<QString, QString> m_footerSums;
};

// The grid of almost every list: single row selection, no editing, the rows
// numbered from 1 in the indicator (bold on the focused row, "NO" above),
// every other row tinted. A layout hides the columns it does not name.
class TqmGridcx : public TqmGridBase
{
    Q_OBJECT
public:
    explicit TqmGridcx(QWidget *parent = nullptr);

    // The grid made inside panel (filling it), bound to set, with the layout
    // key and the layout stored under it.
    static TqmGridcx *CreateOnPanel(QWidget *owner, int key, TDataSet *set, QWidget *panel);

    QTableView *View() const { return m_view; }

    static const QColor EvenRowColor;

protected:
    bool CheckDataSetOpen() const override;
    bool HidesUnnamedColumns() const override { return true; }
    TxVisibleFrm *CreateColumnChooser() override;
    QString ExportQuestion(int records) const override;
    void PrepareCell(TField *field, int row, QStyleOptionViewItem &option) override;
};

// The grid of the pickers and the age brackets: rows and ranges may be
// selected, column titles sort (a click sorts by that column alone, a
// shift-click adds it as a further key; each click cycles ascending,
// descending, none), and a layout leaves the columns it does not name shown.
class TqmDBGrid : public TqmGridBase
{
    Q_OBJECT
public:
    explicit TqmDBGrid(QWidget *parent = nullptr);

    int LayoutId() const { return m_layoutId; }
    // Stores the key and loads its layout.
    void SetLayoutId(int id);
    int LayoutKey() const override { return m_layoutId > 0 ? m_layoutId : Tag(); }

    // The title click on a column (position in column order).
    void ClickTitle(int column, bool addKey = false);

    // Runs the export wizard for the grid's data set; installed by the wizard.
    using ExportWizard = std::function<void(QWidget *parent, TDataSet *set)>;
    static void SetExportWizard(ExportWizard wizard);

protected:
    bool CheckDataSetOpen() const override;
    bool HidesUnnamedColumns() const override { return false; }
    TxVisibleFrm *CreateColumnChooser() override;
    QString ExportQuestion(int records) const override;
    void RunExportWizard() override;
    void AfterReset() override;
    void TitleClicked(int column, Qt::KeyboardModifiers modifiers) override;

private:
    enum class Mark { None, Down, Up };
    struct SortMark
    {
        QString FieldName;
        Mark mark;
    };
    void applyMarks();

    int m_layoutId = 0;
    QVector<SortMark> m_marks;
    QString m_markedSort;
};
