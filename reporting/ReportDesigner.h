#pragma once

#include <QDialog>
#include <functional>

class QAction;
class QComboBox;
class QScrollArea;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class ReportData;
class ReportDesignCanvas;
class ReportPropertyPanel;
class ReportTemplate;

// The modal report designer: the canvas with the bands and objects, the
// palette of the registered data sets' fields and of the variables, and the
// property panel. It edits the given template in place; OnLoad replaces the
// template from a file and OnSave stores it (saveAs: into a file) — both are
// the host's hooks and return whether they did it. Creating a brand-new
// report is not offered here: new entries come from the catalogue window.
class ReportDesigner : public QDialog
{
    Q_OBJECT
public:
    ReportDesigner(ReportTemplate &report, const ReportData &data, QWidget *parent = nullptr);
    ~ReportDesigner() override;

    std::function<bool()> OnLoad;
    std::function<bool(bool saveAs)> OnSave;

    bool Modified() const { return m_modified; }
    ReportDesignCanvas *Canvas() const { return m_canvas; }
    ReportPropertyPanel *Properties() const { return m_properties; }

    // Adds a band of the type after the bands that come before it in print
    // order and selects it.
    int AddBand(int type);
    // Inserts a text printing the palette entry (a field also gets its caption
    // in the column or detail header above it).
    void InsertPaletteItem(QTreeWidgetItem *item);
    // Asks to save unsaved changes; false when the user cancels or the save
    // fails, so the designer stays open.
    bool ConfirmClose();

    QToolBar *ToolBar1;
    QAction *NewAction1;
    QAction *LoadAction1;
    QAction *SaveAction1;
    QAction *SaveAsAction1;
    QAction *PreviewAction1;
    QToolButton *AddBandBtn1;
    QAction *AddTextAction1;
    QAction *AddImageAction1;
    QAction *AddLineAction1;
    QAction *AddRectAction1;
    QAction *DeleteAction1;
    QComboBox *ZoomBox1;
    QAction *CloseAction1;
    QTreeWidget *FieldTree1;
    QScrollArea *CanvasScroll1;

public slots:
    void done(int result) override;

private:
    void setModified(bool modified);
    void refresh();
    void fillPalette();
    void addObject(int type);
    void updateTitle();

    ReportTemplate &m_report;
    const ReportData &m_data;
    ReportDesignCanvas *m_canvas;
    ReportPropertyPanel *m_properties;
    bool m_modified = false;
};
