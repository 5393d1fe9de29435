#pragma once

#include "ReportExport.h"

#include <QDialog>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolBar;
class ReportData;
class ReportRenderer;
class ReportTemplate;

// The preview window: the report prepared once when the window is made,
// shown a page at a time at a chosen zoom, with page navigation, printing
// through the print dialog and the exports. It owns the prepared report; the
// data must outlive the window.
class ReportPreview : public QDialog
{
    Q_OBJECT
public:
    ReportPreview(const ReportTemplate &report, const ReportData &data, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const ReportRenderer &Renderer() const { return *m_renderer; }
    int PageCount() const;
    // 0-based.
    int CurrentPage() const { return m_page; }
    void SetPage(int page);
    // 1.0 is the paper's real size on the screen; FitWidth and FitPage follow
    // the window.
    enum class ZoomMode { Fixed, FitWidth, FitPage };
    void SetZoom(double zoom);
    void SetZoomMode(ZoomMode mode);
    double Zoom() const;

    // Asks for a file name and writes the export; failures are shown.
    void Export(ReportExport::Format format);
    void PrintReport();

    QToolBar *ToolBar1;
    QAction *FirstAction1;
    QAction *PriorAction1;
    QAction *NextAction1;
    QAction *LastAction1;
    QSpinBox *PageEdit1;
    QLabel *PageInfo1;
    QComboBox *ZoomBox1;
    QAction *PrintAction1;
    QAction *ExportPdfAction1;
    QAction *ExportPngAction1;
    QAction *ExportJpegAction1;
    QAction *ExportXlsxAction1;
    QAction *ExportOdtAction1;
    QAction *CloseAction1;
    QScrollArea *PageScroll1;
    QLabel *PageView1;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showPage();
    void zoomChosen(int index);

    std::unique_ptr<ReportRenderer> m_renderer;
    int m_page = 0;
    double m_zoom = 1.0;
    ZoomMode m_mode = ZoomMode::FitWidth;
};
