#include "qmImageBox.h"

#include <QApplication>
#include <QBuffer>
#include <QFrame>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace {

// Halves go to the even neighbour, as the rest of the program rounds.
int roundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

QPixmap fallbackPixmap(const QWidget *widget)
{
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = widget->style()->standardIcon(QStyle::SP_FileIcon);
    return icon.pixmap(32, 32);
}

// The tile's border: a silver line, filled while the tile is selected.
class PhotoBorder : public QWidget
{
public:
    PhotoBorder(const TqmPhoto *photo, QWidget *parent)
        : QWidget(parent)
        , m_photo(photo)
    { }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QColor(192, 192, 192));
        painter.setBrush(m_photo->Selected()
                ? palette().brush(QPalette::Active, QPalette::Highlight)
                : Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    const TqmPhoto *m_photo;
};

} // namespace

// ---------------------------------------------------------------- pictures

QString QmPicture::Format(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpg");
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return QStringLiteral("png");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QStringLiteral("gif");
    if (bytes.size() >= 14 && bytes.startsWith("BM"))
        return QStringLiteral("bmp");
    if (bytes.size() >= 6 && bytes.startsWith(QByteArray("\0\0\1\0", 4))
        && (bytes[4] != 0 || bytes[5] != 0))
        return QStringLiteral("ico");
    return QString();
}

QImage QmPicture::Decode(const QByteArray &bytes)
{
    const QString format = Format(bytes);
    if (format.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format.toLatin1());
    return reader.read();
}

// ---------------------------------------------------------------- TqmImage

TqmImage::TqmImage(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TqmImage::FitToParent()
{
    const QPixmap shown = pixmap();
    QWidget *parent = parentWidget();
    if (!parent || shown.isNull() || shown.width() == 0 || shown.height() == 0)
        return;
    const double pw = shown.width(), ph = shown.height();
    int w = parent->width();
    int h = roundEven(w * ph / pw);
    if (h > parent->height()) {
        h = parent->height();
        w = roundEven(h * pw / ph);
    }
    setScaledContents(true);
    setGeometry(2, 2, std::max(0, w - 10), std::max(0, h - 10));
}

// ---------------------------------------------------------------- TqmPhoto

TqmPhoto::TqmPhoto(QWidget *parent)
    : QWidget(parent)
    , m_frame(new QFrame(this))
    , m_border(new PhotoBorder(this, this))
    , m_picture(new TqmImage(this))
    , m_caption(new QLabel(this))
{
    m_frame->setObjectName(QStringLiteral("Frame"));
    m_frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_border->setObjectName(QStringLiteral("Border"));
    m_picture->setObjectName(QStringLiteral("Picture"));
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);
    QPalette palette = m_caption->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xFB, 0xF0));
    m_caption->setPalette(palette);
    // The tile itself tells where a press landed.
    for (QWidget *part : {static_cast<QWidget *>(m_frame), m_border,
             static_cast<QWidget *>(m_picture), static_cast<QWidget *>(m_caption)})
        part->setAttribute(Qt::WA_TransparentForMouseEvents);
    layoutParts();
}

void TqmPhoto::SetWidth(int width)
{
    m_frameWidth = width;
    layoutParts();
}

void TqmPhoto::SetHeight(int height)
{
    m_frameHeight = height;
    layoutParts();
}

QString TqmPhoto::Caption() const
{
    return m_caption->text();
}

void TqmPhoto::SetCaption(const QString &caption)
{
    m_caption->setText(caption);
}

void TqmPhoto::SetSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    m_border->update();
}

void TqmPhoto::SetPicture(const QByteArray &bytes)
{
    m_bytes = bytes;
    const QImage image = QmPicture::Decode(bytes);
    m_decoded = !image.isNull();
    m_shown = m_decoded ? QPixmap::fromImage(image) : fallbackPixmap(this);
    m_picture->setScaledContents(false);
    m_picture->setPixmap(m_shown);
    m_picture->resize(m_shown.size());
    fitPicture();
}

void TqmPhoto::layoutParts()
{
    const int w = m_frameWidth, h = m_frameHeight;
    resize(w, h - 1 + CaptionHeight);
    m_frame->setGeometry(0, 0, w, h);
    m_border->setGeometry(1, 1, w - 2, h - 2);
    m_caption->setGeometry(1, h - 1, w - 2, CaptionHeight);
    fitPicture();
}

void TqmPhoto::fitPicture()
{
    if (m_shown.isNull() || m_shown.width() == 0 || m_shown.height() == 0)
        return;
    const double pw = m_shown.width(), ph = m_shown.height();
    const int room = m_frameWidth - 16, roomH = m_frameHeight - 16;
    if (room <= 0 || roomH <= 0)
        return;
    // Compared as exact ratios: rounding them to whole numbers first let a
    // picture a little wider than the frame's proportions spill over it.
    int width, height;
    if (pw / room > ph / roomH) {
        width = room;
        height = roundEven(ph * room / pw);
    } else {
        height = roomH;
        width = roundEven(pw * roomH / ph);
    }
    m_picture->setScaledContents(true);
    m_picture->setGeometry(std::max(2, roundEven((m_frameWidth - width) / 2.0)),
        std::max(2, roundEven((m_frameHeight - height) / 2.0)), width, height);
}

bool TqmPhoto::onFrame(const QPoint &pos) const
{
    return pos.y() < m_frameHeight - 1;
}

void TqmPhoto::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (!onFrame(event->position().toPoint()))
        return;
    m_pressedOnPicture = m_picture->geometry().contains(event->position().toPoint());
    const QPoint global = event->globalPosition().toPoint();
    emit mousePressed(event->button(), global);
    if (event->button() == Qt::RightButton)
        emit rightClicked(global);
}

void TqmPhoto::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool click = m_pressedOnPicture && event->button() == Qt::LeftButton
        && m_picture->geometry().contains(event->position().toPoint());
    m_pressedOnPicture = false;
    if (click)
        emit clicked();
}

void TqmPhoto::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (!onFrame(event->position().toPoint()))
        return;
    emit mousePressed(event->button(), event->globalPosition().toPoint());
    emit doubleClicked();
}

// ---------------------------------------------------------------- TqmImageBox

TqmImageBox::TqmImageBox(QWidget *parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
    , m_tileMenu(new TqmPopupMenu(this))
    , m_popupMenu(new TqmPopupMenu(this))
{
    m_content->setObjectName(QStringLiteral("Content"));
    m_tileMenu->setObjectName(QStringLiteral("TileMenu"));
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu"));
    m_content->installEventFilter(this);
    setWidget(m_content);
    setWidgetResizable(true);
}

TqmPhoto *TqmImageBox::AddPhoto(
    const QByteArray &picture, const QString &caption, const QVariant &tag, const QString &ext)
{
    auto *photo = new TqmPhoto(m_content);
    photo->hide();
    photo->SetPicture(picture);
    photo->SetCaption(caption);
    photo->SetExt(ext);
    photo->SetTag(tag);
    connect(photo, &TqmPhoto::mousePressed, this,
        [this, photo](Qt::MouseButton button, const QPoint &globalPos) {
            tilePressed(photo, button, globalPos);
        });
    connect(photo, &TqmPhoto::clicked, this, [this, photo] { emit photoClicked(photo); });
    connect(
        photo, &TqmPhoto::doubleClicked, this, [this, photo] { emit photoDoubleClicked(photo); });
    m_tiles.append(photo);
    emit changed();
    return photo;
}

void TqmImageBox::LayoutTiles()
{
    int left = 10;
    int bottom = 10;
    for (TqmPhoto *photo : std::as_const(m_tiles)) {
        photo->move(left, 10);
        left += photo->Width() + 20;
        bottom = std::max(bottom, 10 + photo->height());
        photo->show();
    }
    // The content grows with the row, so the box scrolls to the last tile.
    m_content->setMinimumSize(left - 10, bottom + 10);
    m_content->update();
}

TqmPhoto *TqmImageBox::SelectedPhoto() const
{
    for (TqmPhoto *photo : m_tiles)
        if (photo->Selected())
            return photo;
    return nullptr;
}

void TqmImageBox::SelectAll(bool selected)
{
    for (TqmPhoto *photo : std::as_const(m_tiles))
        photo->SetSelected(selected);
    emit changed();
}

bool TqmImageBox::RemovePhoto(TqmPhoto *photo)
{
    if (!photo || !m_tiles.removeOne(photo))
        return false;
    // Later, because the request may come from one of the tile's own signals.
    photo->hide();
    photo->disconnect(this);
    photo->deleteLater();
    LayoutTiles();
    emit changed();
    return true;
}

void TqmImageBox::Clear()
{
    const QList<TqmPhoto *> tiles = m_tiles;
    m_tiles.clear();
    for (TqmPhoto *photo : tiles) {
        photo->hide();
        photo->disconnect(this);
        photo->deleteLater();
    }
    LayoutTiles();
    emit changed();
}

void TqmImageBox::tilePressed(TqmPhoto *photo, Qt::MouseButton button, const QPoint &globalPos)
{
    if (!photo->Selected()) {
        for (TqmPhoto *other : std::as_const(m_tiles))
            other->SetSelected(false);
        photo->SetSelected(true);
        emit changed();
    }
    if (button == Qt::RightButton && !m_tileMenu->isEmpty())
        m_tileMenu->popup(globalPos + QPoint(10, 15));
}

bool TqmImageBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        for (TqmPhoto *photo : std::as_const(m_tiles))
            photo->SetSelected(false);
        emit changed();
        if (mouse->button() == Qt::RightButton && !m_popupMenu->isEmpty())
            m_popupMenu->popup(mouse->globalPosition().toPoint());
        return true;
    }
    return QScrollArea::eventFilter(watched, event);
}
