#include "ReportDesignCanvas.h"

#include "ReportRenderer.h"
#include "ReportTemplate.h"
#include "qmImageBox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

constexpr int Margin = 20;
constexpr int HandleSize = 7;
constexpr double U = ReportRenderer::UnitsPerMm;

QString bandStripText(const ReportBand &band)
{
    QString text = ReportTemplate::bandTypeCaption(band.type);
    switch (band.type) {
    case BandType::Master:
    case BandType::DetailHeader:
    case BandType::DetailFooter:
        if (!band.dataSet.isEmpty())
            text += QStringLiteral(": ") + band.dataSet;
        break;
    case BandType::Detail:
        if (!band.dataSet.isEmpty())
            text += QStringLiteral(": ") + band.dataSet;
        if (!band.keyField.isEmpty())
            text += QStringLiteral("  (%1.%2 = %3)")
                        .arg(band.dataSet, band.keyField, band.masterField);
        break;
    case BandType::GroupHeader:
    case BandType::GroupFooter:
        if (!band.condition.isEmpty())
            text += QStringLiteral(": ") + band.condition;
        break;
    default:
        break;
    }
    return text;
}

} // namespace

ReportDesignCanvas::ReportDesignCanvas(ReportTemplate &report, QWidget *parent)
    : QWidget(parent)
    , m_report(report)
{
    setObjectName(QStringLiteral("DesignCanvas1"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(p);
    Relayout();
}

void ReportDesignCanvas::SetScale(double pixelsPerMm)
{
    m_scale = qBound(1.0, pixelsPerMm, 20.0);
    Relayout();
}

void ReportDesignCanvas::Relayout()
{
    if (m_band >= m_report.bands.size())
        m_band = -1;
    if (m_band >= 0 && m_object >= m_report.bands[m_band].objects.size())
        m_object = -1;
    resize(sizeHint());
    updateGeometry();
    update();
}

QSize ReportDesignCanvas::sizeHint() const
{
    int height = Margin;
    for (const ReportBand &band : m_report.bands)
        height += StripHeight + qRound(band.height * m_scale);
    return QSize(qRound(m_report.page.paperWidth() * m_scale) + 2 * Margin,
        height + 2 * Margin + StripHeight);
}

int ReportDesignCanvas::pageLeft() const
{
    return Margin + qRound(m_report.page.left * m_scale);
}

int ReportDesignCanvas::BandTop(int band) const
{
    int y = Margin;
    for (int i = 0; i < band && i < m_report.bands.size(); ++i)
        y += StripHeight + qRound(m_report.bands[i].height * m_scale);
    return y + StripHeight;
}

QRectF ReportDesignCanvas::ObjectRect(int band, int object) const
{
    const ReportObject &o = m_report.bands[band].objects[object];
    return QRectF(pageLeft() + o.x * m_scale, BandTop(band) + o.y * m_scale,
        qMax(1.0, o.w * m_scale), qMax(1.0, o.h * m_scale));
}

int ReportDesignCanvas::BandAt(int y) const
{
    for (int i = 0; i < m_report.bands.size(); ++i) {
        const int bottom = BandTop(i) + qRound(m_report.bands[i].height * m_scale);
        if (y >= BandTop(i) - StripHeight && y < bottom + 1)
            return i;
    }
    return -1;
}

QRect ReportDesignCanvas::handleRect(const QRectF &r) const
{
    return QRect(qRound(r.right()) - HandleSize / 2, qRound(r.bottom()) - HandleSize / 2,
        HandleSize, HandleSize);
}

void ReportDesignCanvas::Select(int band, int object)
{
    if (band < 0 || band >= m_report.bands.size()) {
        band = -1;
        object = -1;
    } else if (object >= m_report.bands[band].objects.size()) {
        object = -1;
    }
    if (band == m_band && object == m_object)
        return;
    m_band = band;
    m_object = object;
    update();
    emit selectionChanged();
}

ReportObject *ReportDesignCanvas::CurrentObject() const
{
    if (m_band < 0 || m_object < 0)
        return nullptr;
    return &m_report.bands[m_band].objects[m_object];
}

void ReportDesignCanvas::clampObject(ReportObject &o) const
{
    const double width = m_report.page.printableWidth();
    o.w = qBound(0.0, o.w, width);
    o.h = qMax(0.0, o.h);
    o.x = qBound(0.0, o.x, qMax(0.0, width - o.w));
    o.y = qMax(0.0, o.y);
}

double ReportDesignCanvas::snap(double mm, bool fine)
{
    const double step = fine ? 0.1 : 0.5;
    return std::round(mm / step) * step;
}

int ReportDesignCanvas::AddObject(const ReportObject &object)
{
    if (m_report.bands.isEmpty())
        return -1;
    const int band = m_band >= 0 ? m_band : 0;
    ReportObject o = object;
    clampObject(o);
    m_report.bands[band].objects.append(o);
    const int index = static_cast<int>(m_report.bands[band].objects.size()) - 1;
    m_band = band;
    m_object = index;
    Relayout();
    emit changed();
    emit selectionChanged();
    return index;
}

void ReportDesignCanvas::DeleteSelection()
{
    if (m_band < 0)
        return;
    if (m_object >= 0)
        m_report.bands[m_band].objects.removeAt(m_object);
    else
        m_report.bands.removeAt(m_band);
    m_object = -1;
    if (m_band >= m_report.bands.size())
        m_band = -1;
    Relayout();
    emit changed();
    emit selectionChanged();
}

void ReportDesignCanvas::Nudge(double dx, double dy, bool resize)
{
    ReportObject *o = CurrentObject();
    if (!o)
        return;
    if (resize) {
        o->w = qMax(0.0, o->w + dx);
        o->h = qMax(0.0, o->h + dy);
    } else {
        o->x += dx;
        o->y += dy;
    }
    clampObject(*o);
    update();
    emit changed();
}

void ReportDesignCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int pageWidth = qRound(m_report.page.paperWidth() * m_scale);
    const int top = Margin;
    const int bottom = height() - Margin;
    painter.fillRect(QRect(Margin, top, pageWidth, bottom - top), Qt::white);
    painter.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 1, Qt::DashLine));
    const int right = Margin + qRound((m_report.page.paperWidth() - m_report.page.right) * m_scale);
    painter.drawLine(pageLeft(), top, pageLeft(), bottom);
    painter.drawLine(right, top, right, bottom);

    QFont stripFont = font();
    stripFont.setPointSizeF(8);
    for (int b = 0; b < m_report.bands.size(); ++b) {
        const ReportBand &band = m_report.bands[b];
        const int bandTop = BandTop(b);
        const int bandHeight = qRound(band.height * m_scale);
        const QRect strip(Margin, bandTop - StripHeight, pageWidth, StripHeight);
        painter.fillRect(strip,
            b == m_band && m_object < 0 ? QColor(0xff, 0xd8, 0x80) : QColor(0xe4, 0xe8, 0xf0));
        painter.setPen(QColor(0x40, 0x40, 0x60));
        painter.setFont(stripFont);
        painter.drawText(
            strip.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, bandStripText(band));
        painter.setPen(QPen(QColor(0xc8, 0xcc, 0xd8), 1));
        painter.drawLine(Margin, bandTop + bandHeight, Margin + pageWidth, bandTop + bandHeight);

        for (int i = 0; i < band.objects.size(); ++i) {
            const ReportObject &o = band.objects[i];
            const QRectF r = ObjectRect(b, i);
            painter.save();
            painter.setClipRect(QRect(Margin, bandTop, pageWidth, bandHeight + 1));
            painter.translate(r.topLeft());
            painter.scale(m_scale / U, m_scale / U);
            const QRectF units(0, 0, o.w * U, o.h * U);
            if (o.type == ObjectType::Image && !o.field.isEmpty()) {
                ReportObject placeholder = o;
                placeholder.type = ObjectType::Text;
                placeholder.align = HAlign::Center;
                placeholder.color = Qt::darkGray;
                ReportRenderer::paintObject(painter, m_report, placeholder, units,
                    QLatin1Char('[') + o.field + QLatin1Char(']'), QImage());
            } else {
                const QImage image
                    = o.type == ObjectType::Image ? QmPicture::Decode(o.data) : QImage();
                ReportRenderer::paintObject(painter, m_report, o, units, o.text, image);
            }
            painter.restore();
            if (o.frame.isEmpty() && o.type != ObjectType::Line && o.type != ObjectType::Rect) {
                painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1, Qt::DotLine));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r);
            }
            if (b == m_band && i == m_object) {
                painter.setPen(QPen(QColor(0x20, 0x60, 0xe0), 1, Qt::DashLine));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r.adjusted(-1, -1, 1, 1));
                painter.fillRect(handleRect(r), QColor(0x20, 0x60, 0xe0));
            }
        }
    }
}

void ReportDesignCanvas::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    m_pressAt = p;
    m_drag = Drag::None;

    if (const ReportObject *o = CurrentObject();
        o && handleRect(ObjectRect(m_band, m_object)).contains(p)) {
        m_drag = Drag::Resize;
        m_startRect = QRectF(o->x, o->y, o->w, o->h);
        return;
    }
    const int band = BandAt(p.y());
    if (band < 0) {
        Select(-1, -1);
        return;
    }
    const int bandBottom = BandTop(band) + qRound(m_report.bands[band].height * m_scale);
    for (int i = static_cast<int>(m_report.bands[band].objects.size()) - 1; i >= 0; --i) {
        if (ObjectRect(band, i).adjusted(-2, -2, 2, 2).contains(p)) {
            Select(band, i);
            const ReportObject &o = m_report.bands[band].objects[i];
            m_drag = Drag::Move;
            m_startRect = QRectF(o.x, o.y, o.w, o.h);
            return;
        }
    }
    Select(band, -1);
    if (qAbs(p.y() - bandBottom) <= 3) {
        m_drag = Drag::BandHeight;
        m_startRect = QRectF(0, 0, 0, m_report.bands[band].height);
    }
}

void ReportDesignCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton) || m_drag == Drag::None) {
        const int band = BandAt(p.y());
        const bool onEdge = band >= 0
            && qAbs(p.y() - (BandTop(band) + qRound(m_report.bands[band].height * m_scale))) <= 3;
        const bool onHandle
            = CurrentObject() && handleRect(ObjectRect(m_band, m_object)).contains(p);
        setCursor(onHandle ? Qt::SizeFDiagCursor : onEdge ? Qt::SizeVerCursor : Qt::ArrowCursor);
        return;
    }
    const bool fine = event->modifiers() & Qt::AltModifier;
    const double dx = toMm(p.x() - m_pressAt.x());
    const double dy = toMm(p.y() - m_pressAt.y());
    if (m_drag == Drag::BandHeight) {
        m_report.bands[m_band].height = qMax(0.0, snap(m_startRect.height() + dy, fine));
        Relayout();
        emit changed();
        return;
    }
    ReportObject *o = CurrentObject();
    if (!o)
        return;
    if (m_drag == Drag::Move) {
        o->x = snap(m_startRect.x() + dx, fine);
        o->y = snap(m_startRect.y() + dy, fine);
    } else {
        o->w = qMax(0.0, snap(m_startRect.width() + dx, fine));
        o->h = qMax(0.0, snap(m_startRect.height() + dy, fine));
    }
    clampObject(*o);
    update();
    emit changed();
}

void ReportDesignCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    const Drag drag = m_drag;
    m_drag = Drag::None;
    const QPoint p = event->position().toPoint();
    if (drag != Drag::Move || !CurrentObject() || p == m_pressAt)
        return;
    // An object dropped over another band moves into it, keeping the place
    // on the page it was dragged to.
    const int target = BandAt(p.y());
    if (target < 0 || target == m_band)
        return;
    const double top = BandTop(m_band) + m_startRect.y() * m_scale + (p.y() - m_pressAt.y());
    ReportObject o = *CurrentObject();
    o.y = qMax(
        0.0, snap(toMm(qRound(top) - BandTop(target)), event->modifiers() & Qt::AltModifier));
    m_report.bands[m_band].objects.removeAt(m_object);
    m_report.bands[target].objects.append(o);
    m_band = target;
    m_object = static_cast<int>(m_report.bands[target].objects.size()) - 1;
    update();
    emit changed();
    emit selectionChanged();
}

void ReportDesignCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    m_drag = Drag::None;
    if (const ReportObject *o = CurrentObject(); o && o->type == ObjectType::Text)
        emit editRequested();
}

void ReportDesignCanvas::keyPressEvent(QKeyEvent *event)
{
    const bool resize = event->modifiers() & Qt::ShiftModifier;
    const double step = event->modifiers() & Qt::ControlModifier ? GridStep / 10 : GridStep;
    switch (event->key()) {
    case Qt::Key_Left:
        Nudge(-step, 0, resize);
        return;
    case Qt::Key_Right:
        Nudge(step, 0, resize);
        return;
    case Qt::Key_Up:
        Nudge(0, -step, resize);
        return;
    case Qt::Key_Down:
        Nudge(0, step, resize);
        return;
    case Qt::Key_Delete:
        DeleteSelection();
        return;
    case Qt::Key_Tab:
        if (m_band >= 0 && !m_report.bands[m_band].objects.isEmpty()) {
            Select(
                m_band, (m_object + 1) % static_cast<int>(m_report.bands[m_band].objects.size()));
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

bool ReportDesignCanvas::focusNextPrevChild(bool next)
{
    // Tab cycles through the band's objects instead of leaving the canvas.
    return m_band >= 0 && !m_report.bands[m_band].objects.isEmpty()
        ? false
        : QWidget::focusNextPrevChild(next);
}

void ReportDesignCanvas::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
}

void ReportDesignCanvas::dropEvent(QDropEvent *event)
{
    const QPoint p = event->position().toPoint();
    const int band = BandAt(p.y());
    if (band < 0)
        return;
    ReportObject o;
    o.text = event->mimeData()->text();
    o.x = snap(toMm(p.x() - pageLeft()), false);
    o.y = snap(qMax(0.0, toMm(p.y() - BandTop(band))), false);
    o.w = 25;
    o.h = qMin(6.0, qMax(3.0, m_report.bands[band].height - o.y));
    m_band = band;
    m_object = -1;
    AddObject(o);
    event->acceptProposedAction();
}
