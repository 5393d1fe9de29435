#include "ReportPreview.h"

#include "Error.h"
#include "GridExport.h"
#include "ReportRenderer.h"
#include "Utils.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct ZoomChoice
{
    const char *caption;
    double zoom;
    ReportPreview::ZoomMode mode;
};

const ZoomChoice ZoomChoices[] = {
    {"页宽", 0, ReportPreview::ZoomMode::FitWidth},
    {"整页", 0, ReportPreview::ZoomMode::FitPage},
    {"50%", 0.5, ReportPreview::ZoomMode::Fixed},
    {"75%", 0.75, ReportPreview::ZoomMode::Fixed},
    {"100%", 1.0, ReportPreview::ZoomMode::Fixed},
    {"150%", 1.5, ReportPreview::ZoomMode::Fixed},
    {"200%", 2.0, ReportPreview::ZoomMode::Fixed},
};

// The screen's pixels per millimetre of paper at zoom 1.
double screenDotsPerMm()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return (screen ? screen->logicalDotsPerInchX() : 96.0) / 25.4;
}

} // namespace

ReportPreview::ReportPreview(const ReportTemplate &report, const ReportData &data, QWidget *parent)
    : QDialog(parent)
    , m_renderer(std::make_unique<ReportRenderer>(report, data))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(report.name.isEmpty() ? QStringLiteral("预览")
                                         : QStringLiteral("预览 - %1").arg(report.name));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(980, 760);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [this](const char *name, const QString &caption) {
        QAction *a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    PrintAction1 = action("PrintAction1", QStringLiteral("打印..."));
    PrintAction1->setShortcut(QKeySequence::Print);
    ExportPdfAction1 = action("ExportPdfAction1", QStringLiteral("PDF 文件..."));
    ExportPngAction1 = action("ExportPngAction1", QStringLiteral("PNG 图片..."));
    ExportJpegAction1 = action("ExportJpegAction1", QStringLiteral("JPEG 图片..."));
    ExportXlsxAction1 = action("ExportXlsxAction1", QStringLiteral("Excel 表格..."));
    ExportOdtAction1 = action("ExportOdtAction1", QStringLiteral("文字处理文档 (ODT)..."));
    FirstAction1 = action("FirstAction1", QStringLiteral("首页"));
    PriorAction1 = action("PriorAction1", QStringLiteral("上一页"));
    NextAction1 = action("NextAction1", QStringLiteral("下一页"));
    LastAction1 = action("LastAction1", QStringLiteral("末页"));
    CloseAction1 = action("CloseAction1", QStringLiteral("关闭"));

    ToolBar1->addAction(PrintAction1);
    auto *exportMenu = new QMenu(this);
    exportMenu->setObjectName(QStringLiteral("ExportMenu1"));
    exportMenu->addActions({ExportPdfAction1, ExportPngAction1, ExportJpegAction1,
        ExportXlsxAction1, ExportOdtAction1});
    auto *exportButton = new QToolButton(ToolBar1);
    exportButton->setObjectName(QStringLiteral("ExportBtn1"));
    exportButton->setText(QStringLiteral("导出"));
    exportButton->setMenu(exportMenu);
    exportButton->setPopupMode(QToolButton::InstantPopup);
    ToolBar1->addWidget(exportButton);
    ToolBar1->addSeparator();
    ToolBar1->addAction(FirstAction1);
    ToolBar1->addAction(PriorAction1);
    PageEdit1 = new QSpinBox(ToolBar1);
    PageEdit1->setObjectName(QStringLiteral("PageEdit1"));
    PageEdit1->setRange(1, qMax(1, PageCount()));
    ToolBar1->addWidget(PageEdit1);
    PageInfo1 = new QLabel(ToolBar1);
    PageInfo1->setObjectName(QStringLiteral("PageInfo1"));
    ToolBar1->addWidget(PageInfo1);
    ToolBar1->addAction(NextAction1);
    ToolBar1->addAction(LastAction1);
    ToolBar1->addSeparator();
    ZoomBox1 = new QComboBox(ToolBar1);
    ZoomBox1->setObjectName(QStringLiteral("ZoomBox1"));
    for (const ZoomChoice &z : ZoomChoices)
        ZoomBox1->addItem(QString::fromUtf8(z.caption));
    ToolBar1->addWidget(ZoomBox1);
    ToolBar1->addSeparator();
    ToolBar1->addAction(CloseAction1);

    PageView1 = new QLabel;
    PageView1->setObjectName(QStringLiteral("PageView1"));
    PageView1->setAlignment(Qt::AlignCenter);
    PageScroll1 = new QScrollArea(this);
    PageScroll1->setObjectName(QStringLiteral("PageScroll1"));
    PageScroll1->setAlignment(Qt::AlignCenter);
    PageScroll1->setBackgroundRole(QPalette::Dark);
    PageScroll1->setWidget(PageView1);
    PageScroll1->setWidgetResizable(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(PageScroll1, 1);

    connect(FirstAction1, &QAction::triggered, this, [this] { SetPage(0); });
    connect(PriorAction1, &QAction::triggered, this, [this] { SetPage(m_page - 1); });
    connect(NextAction1, &QAction::triggered, this, [this] { SetPage(m_page + 1); });
    connect(LastAction1, &QAction::triggered, this, [this] { SetPage(PageCount() - 1); });
    connect(PageEdit1, qOverload<int>(&QSpinBox::valueChanged), this,
        [this](int value) { SetPage(value - 1); });
    connect(ZoomBox1, qOverload<int>(&QComboBox::activated), this, &ReportPreview::zoomChosen);
    connect(PrintAction1, &QAction::triggered, this, &ReportPreview::PrintReport);
    connect(
        ExportPdfAction1, &QAction::triggered, this, [this] { Export(ReportExport::Format::Pdf); });
    connect(
        ExportPngAction1, &QAction::triggered, this, [this] { Export(ReportExport::Format::Png); });
    connect(ExportJpegAction1, &QAction::triggered, this,
        [this] { Export(ReportExport::Format::Jpeg); });
    connect(ExportXlsxAction1, &QAction::triggered, this,
        [this] { Export(ReportExport::Format::Xlsx); });
    connect(
        ExportOdtAction1, &QAction::triggered, this, [this] { Export(ReportExport::Format::Odt); });
    connect(CloseAction1, &QAction::triggered, this, &QDialog::accept);

    showPage();
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::PageCount() const
{
    return m_renderer->pageCount();
}

void ReportPreview::SetPage(int page)
{
    page = qBound(0, page, PageCount() - 1);
    if (page == m_page && !PageView1->pixmap().isNull())
        return;
    m_page = page;
    showPage();
}

void ReportPreview::SetZoom(double zoom)
{
    m_mode = ZoomMode::Fixed;
    m_zoom = qBound(0.1, zoom, 8.0);
    showPage();
}

void ReportPreview::SetZoomMode(ZoomMode mode)
{
    m_mode = mode;
    showPage();
}

double ReportPreview::Zoom() const
{
    const QSizeF paper = m_renderer->pageSize();
    const QSize room = PageScroll1->viewport()->size() - QSize(24, 24);
    const double dots = screenDotsPerMm();
    switch (m_mode) {
    case ZoomMode::FitWidth:
        return qMax(0.1, room.width() / (paper.width() * dots));
    case ZoomMode::FitPage:
        return qMax(0.1,
            qMin(room.width() / (paper.width() * dots), room.height() / (paper.height() * dots)));
    case ZoomMode::Fixed:
        break;
    }
    return m_zoom;
}

void ReportPreview::zoomChosen(int index)
{
    if (index < 0 || index >= int(std::size(ZoomChoices)))
        return;
    if (ZoomChoices[index].mode == ZoomMode::Fixed)
        SetZoom(ZoomChoices[index].zoom);
    else
        SetZoomMode(ZoomChoices[index].mode);
}

void ReportPreview::showPage()
{
    const int pages = PageCount();
    {
        const QSignalBlocker block(PageEdit1);
        PageEdit1->setValue(m_page + 1);
    }
    PageInfo1->setText(QStringLiteral(" / %1 页 ").arg(pages));
    FirstAction1->setEnabled(m_page > 0);
    PriorAction1->setEnabled(m_page > 0);
    NextAction1->setEnabled(m_page + 1 < pages);
    LastAction1->setEnabled(m_page + 1 < pages);

    const double ratio = devicePixelRatioF();
    const double dpi = screenDotsPerMm() * 25.4 * Zoom() * ratio;
    QImage image = m_renderer->pageImage(m_page, dpi);
    image.setDevicePixelRatio(ratio);
    PageView1->setPixmap(QPixmap::fromImage(image));
    PageView1->resize(PageView1->sizeHint());
}

void ReportPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (m_mode != ZoomMode::Fixed)
        showPage();
}

void ReportPreview::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        SetPage(m_page + 1);
        return;
    case Qt::Key_PageUp:
        SetPage(m_page - 1);
        return;
    case Qt::Key_Home:
        if (event->modifiers() & Qt::ControlModifier) {
            SetPage(0);
            return;
        }
        break;
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            SetPage(PageCount() - 1);
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void ReportPreview::Export(ReportExport::Format format)
{
    const QString path = GridExport::AskSaveFileName(
        this, ReportExport::FileFilter(format), ReportExport::DefaultSuffix(format));
    if (path.isEmpty())
        return;
    QString error;
    bool ok = false;
    switch (format) {
    case ReportExport::Format::Pdf:
        ok = ReportExport::WritePdf(*m_renderer, path, &error);
        break;
    case ReportExport::Format::Png:
    case ReportExport::Format::Jpeg: {
        QStringList written;
        ok = ReportExport::WriteImages(*m_renderer, path, format, 150, &written, &error);
        break;
    }
    case ReportExport::Format::Xlsx:
        ok = ReportExport::WriteXlsx(*m_renderer, path, &error);
        break;
    case ReportExport::Format::Odt:
        ok = ReportExport::WriteOdt(*m_renderer, path, &error);
        break;
    }
    if (!ok)
        ShowInfo(error);
}

void ReportPreview::PrintReport()
{
    try {
        ReportExport::Print(*m_renderer, this);
    } catch (const QmError &e) {
        ShowInfo(e.message());
    }
}
