#pragma once

#include <QWidget>

class QLabel;

// The borderless window shown while the program connects and loads: the
// picture "splash.jpg" from the executable's folder when there is one, else a
// drawn panel with the product title and version, and a one-line progress hint.
class TSplashFrm : public QWidget
{
    Q_OBJECT
public:
    // folder: where to look for "splash.jpg" (empty: the executable's folder).
    explicit TSplashFrm(const QString &folder = QString(), QWidget *parent = nullptr);

    // Shows text as the hint; an empty text appends "." to the current one
    // (a sign of life during long steps). Repaints at once, since the caller
    // blocks the event loop right afterwards.
    void ShowHint(const QString &text);
    QString hint() const;
    bool hasPicture() const { return m_hasPicture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_hint;
    QPixmap m_picture;
    bool m_hasPicture = false;
};
