#pragma once

#include "qmCtrls.h"

#include <QByteArray>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QScrollArea>
#include <QVariant>

class QFrame;

// Pictures travel as the bytes of their file (JPEG, PNG, BMP, GIF or icon)
// and are recognised by their content, not by a file name.
namespace QmPicture {
// "jpg", "png", "bmp", "gif" or "ico"; empty when the bytes are none of them.
QString Format(const QByteArray &bytes);
// A null image when the bytes cannot be decoded.
QImage Decode(const QByteArray &bytes);
} // namespace QmPicture

// A picture control that can fit its picture into its parent, keeping the
// picture's proportions.
class TqmImage : public QLabel
{
    Q_OBJECT
public:
    explicit TqmImage(QWidget *parent = nullptr);

    bool Stretch() const { return hasScaledContents(); }
    void SetStretch(bool stretch) { setScaledContents(stretch); }
    // The parent's width (or, when the picture would then be too high, its
    // height) at the picture's proportions, less 10 each way, at (2, 2).
    void FitToParent();
};

// One tile of an image box: a raised frame, a border that is filled while
// the tile is selected, the picture fitted inside and a caption strip under
// the frame. The tile keeps the picture's bytes exactly as it was given
// them, also when they cannot be decoded and the program's icon is shown in
// their place, so storing Picture() again never destroys a picture.
class TqmPhoto : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 120;
    static constexpr int DefaultHeight = 100;
    static constexpr int CaptionHeight = 17;

    explicit TqmPhoto(QWidget *parent = nullptr);

    // The frame's position and size; the caption strip lies below the frame.
    int Left() const { return x(); }
    void SetLeft(int left) { move(left, y()); }
    int Top() const { return y(); }
    void SetTop(int top) { move(x(), top); }
    int Width() const { return m_frameWidth; }
    void SetWidth(int width);
    int Height() const { return m_frameHeight; }
    void SetHeight(int height);

    QString Caption() const;
    void SetCaption(const QString &caption);
    // The picture's file extension, as the caller keeps it (".jpg").
    QString Ext() const { return m_ext; }
    void SetExt(const QString &ext) { m_ext = ext; }
    // The caller's identifier.
    QVariant Tag() const { return m_tag; }
    void SetTag(const QVariant &tag) { m_tag = tag; }

    bool Selected() const { return m_selected; }
    void SetSelected(bool selected);

    QByteArray Picture() const { return m_bytes; }
    // Shows the picture fitted into the frame, or the program's icon when the
    // bytes cannot be decoded.
    void SetPicture(const QByteArray &bytes);
    bool PictureDecoded() const { return m_decoded; }
    TqmImage *Image() const { return m_picture; }
    QFrame *Frame() const { return m_frame; }
    QLabel *CaptionLabel() const { return m_caption; }

signals:
    void clicked();
    void doubleClicked();
    void rightClicked(const QPoint &globalPos);
    void mousePressed(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void layoutParts();
    void fitPicture();
    bool onFrame(const QPoint &pos) const;

    QFrame *m_frame;
    QWidget *m_border;
    TqmImage *m_picture;
    QLabel *m_caption;
    int m_frameWidth = DefaultWidth;
    int m_frameHeight = DefaultHeight;
    QByteArray m_bytes;
    QPixmap m_shown;
    bool m_decoded = false;
    bool m_selected = false;
    bool m_pressedOnPicture = false;
    QString m_ext;
    QVariant m_tag;
};

// A scrolling row of picture tiles. The box owns its tiles; a press selects
// one tile (a right press also opens TileMenu()), a press on the empty area
// selects none, and every change of the selection or of the set of tiles is
// told by changed().
class TqmImageBox : public QScrollArea
{
    Q_OBJECT
public:
    explicit TqmImageBox(QWidget *parent = nullptr);

    // A hidden tile, shown by the next LayoutTiles().
    TqmPhoto *AddPhoto(const QByteArray &picture, const QString &caption,
        const QVariant &tag = QVariant(), const QString &ext = QString());
    // One row at top 10, from left 10, 20 apart; then shows every tile.
    void LayoutTiles();

    const QList<TqmPhoto *> &Photos() const { return m_tiles; }
    int Count() const { return static_cast<int>(m_tiles.size()); }
    // The first selected tile, or null.
    TqmPhoto *SelectedPhoto() const;
    void SelectAll(bool selected);
    // Frees the tile (after the current event) and lays out the rest; false
    // when it is not one of this box's tiles.
    bool RemovePhoto(TqmPhoto *photo);
    void Clear();

    TqmPopupMenu *TileMenu() const { return m_tileMenu; }
    TqmPopupMenu *PopupMenu() const { return m_popupMenu; }
    QWidget *Content() const { return m_content; }

signals:
    void changed();
    void photoClicked(TqmPhoto *photo);
    void photoDoubleClicked(TqmPhoto *photo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tilePressed(TqmPhoto *photo, Qt::MouseButton button, const QPoint &globalPos);

    QWidget *m_content;
    QList<TqmPhoto *> m_tiles;
    TqmPopupMenu *m_tileMenu;
    TqmPopupMenu *m_popupMenu;
};
