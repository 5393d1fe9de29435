#pragma once

#include "ReportExpression.h"
#include "ReportTemplate.h"

#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QSizeF>
#include <QVector>
#include <deque>
#include <memory>

class QPainter;
class QPaintDevice;
class ReportData;

// One band printed once: which band, where (millimetres from the paper's top
// edge), how high after growing, and the rows it prints.
struct ReportBandInstance
{
    int band = -1;
    double y = 0;
    double height = 0;
    int masterRow = -1;
    int detailSet = -1;
    int detailRow = -1;
    int line = 0;
    const QVector<int> *masterScope = nullptr;
    const QVector<int> *detailScope = nullptr;
    // Laid out ahead of the band it belongs to (a header kept with its rows).
    bool keepWithNext = false;
    bool newPageBefore = false;
    // Flow index of the column and detail header in force, printed again on
    // a continued page.
    int columnHeader = -1;
    int detailHeader = -1;
};

// A template prepared with its data: the bands in report order (the flow),
// and that flow laid out into pages with page headers and footers. Pages are
// painted on any device (PDF writer, printer, image) the same way: the
// painter is scaled so that one unit is a hundredth of a millimetre, and text
// is laid out in those units, so line breaks do not depend on the device.
// The template is copied; the data must outlive the renderer.
class ReportRenderer
{
public:
    static constexpr double UnitsPerMm = 100;

    ReportRenderer(
        const ReportTemplate &report, const ReportData &data, const QDateTime &now = QDateTime());
    ~ReportRenderer();
    ReportRenderer(const ReportRenderer &) = delete;
    ReportRenderer &operator=(const ReportRenderer &) = delete;

    const ReportTemplate &report() const { return m_report; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // Paper size in millimetres.
    QSizeF pageSize() const;

    // The bands in report order, without page headers and footers and
    // without the headers repeated on continued pages.
    const QVector<ReportBandInstance> &flow() const { return m_flow; }
    const QVector<ReportBandInstance> &page(int index) const { return m_pages.at(index); }

    // Paints page index (0-based) with the paper's top left at the painter's
    // origin; dotsPerMm is the device resolution.
    void paintPage(QPainter &painter, int index, double dotsPerMm) const;
    // The page as a white image at dpi dots per inch.
    QImage pageImage(int index, double dpi) const;

    // The text object's text as printed in that band instance.
    QString objectText(const ReportBandInstance &instance, int object, int pageIndex) const;
    // The picture of an image object in that instance (null when none).
    QImage objectImage(const ReportBandInstance &instance, int object) const;
    // A caption for a text object that prints a field: the field's display
    // label, else the object's text as written.
    QString fieldCaption(int band, int object) const;
    // The object's rectangle in millimetres relative to its band, after the
    // band grew.
    QRectF objectRect(const ReportBandInstance &instance, int object) const;

    // Drawing of one object, shared with the designer. rect is in units.
    static QFont fontFor(const ReportTemplate &report, const ReportObject &object);
    static void paintObject(QPainter &painter, const ReportTemplate &report,
        const ReportObject &object, const QRectF &rect, const QString &text, const QImage &image);
    // The height in millimetres that the text needs in an object w wide.
    static double textHeight(
        const ReportTemplate &report, const ReportObject &object, const QString &text);

    static constexpr double PaddingX = 0.6;
    static constexpr double PaddingY = 0.3;

private:
    struct Compiled
    {
        QVector<ReportExpression> texts; // per object
        QVector<QImage> fixedImages; // per object: file or embedded picture
    };

    ReportEvalContext contextFor(const ReportBandInstance &instance, int pageIndex) const;
    void buildFlow();
    void addDetails(int masterRow, int columnHeader);
    void paginate();
    double measure(const ReportBandInstance &instance) const;
    const QVector<int> *keepScope(QVector<int> rows);

    ReportTemplate m_report;
    const ReportData &m_data;
    QDateTime m_now;
    QVector<Compiled> m_compiled; // per band
    int m_masterSet = -1;
    std::deque<QVector<int>> m_scopes;
    QHash<int, QHash<QString, QVector<int>>> m_detailKeys; // detail band -> key -> rows
    QVector<ReportBandInstance> m_flow;
    QVector<QVector<ReportBandInstance>> m_pages;
};
