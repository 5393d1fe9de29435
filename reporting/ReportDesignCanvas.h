#pragma once

#include <QRectF>
#include <QWidget>

class ReportTemplate;
struct ReportObject;

// The designer's drawing of a template: the page's width with its bands
// stacked, each under a caption strip, and the objects drawn as they print
// (texts show their expressions). One object or band is selected at a time;
// the mouse moves and resizes objects and band heights, arrow keys move the
// selected object by a grid step and Shift+arrows resize it, Delete removes
// it, and texts dropped from the field palette become text objects. The
// template is the designer's; the canvas changes it in place and says so.
class ReportDesignCanvas : public QWidget
{
    Q_OBJECT
public:
    static constexpr int StripHeight = 18;
    // Arrow keys move by this many millimetres (Ctrl: a tenth).
    static constexpr double GridStep = 1.0;

    explicit ReportDesignCanvas(ReportTemplate &report, QWidget *parent = nullptr);

    // Pixels per millimetre.
    double Scale() const { return m_scale; }
    void SetScale(double pixelsPerMm);

    int SelectedBand() const { return m_band; }
    int SelectedObject() const { return m_object; }
    // object -1 selects the band alone, band -1 nothing (the page).
    void Select(int band, int object);
    ReportObject *CurrentObject() const;

    // Adds an object to the selected band (or the first one) at position in
    // millimetres, selects it and returns its index; -1 without any band.
    int AddObject(const ReportObject &object);
    void DeleteSelection();
    // Moves or resizes the selected object by millimetres.
    void Nudge(double dx, double dy, bool resize);

    // Widget geometry, for the designer and tests.
    int BandTop(int band) const; // top of the band's area, under its strip
    QRectF ObjectRect(int band, int object) const;
    // The band whose area or strip holds y, -1 below the last one.
    int BandAt(int y) const;
    void Relayout();

    QSize sizeHint() const override;

signals:
    void selectionChanged();
    void changed();
    // A double-click on a text object.
    void editRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    enum class Drag { None, Move, Resize, BandHeight };
    double toMm(int pixels) const { return pixels / m_scale; }
    int pageLeft() const;
    QRect handleRect(const QRectF &objectRect) const;
    void clampObject(ReportObject &object) const;
    static double snap(double mm, bool fine);

    ReportTemplate &m_report;
    double m_scale = 96.0 / 25.4;
    int m_band = -1;
    int m_object = -1;
    Drag m_drag = Drag::None;
    QPoint m_pressAt;
    QRectF m_startRect; // mm, of the object or band when the drag began
};
