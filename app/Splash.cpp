#include "Splash.h"

#include "Configer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {
const QSize PanelSize(480, 280);
}

TSplashFrm::TSplashFrm(const QString &folder, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashFrm"));
    setWindowTitle(ProductTitle);

    const QString dir = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    const QString file = QDir(dir).filePath(QStringLiteral("splash.jpg"));
    m_hasPicture = QFileInfo::exists(file) && m_picture.load(file) && !m_picture.isNull();
    setFixedSize(m_hasPicture ? m_picture.deviceIndependentSize().toSize() : PanelSize);

    m_hint = new QLabel(QStringLiteral("正在创建数据连接..."), this);
    m_hint->setObjectName(QStringLiteral("HintLabel1"));
    m_hint->setStyleSheet(m_hasPicture
            ? QStringLiteral("color: black; background: transparent;")
            : QStringLiteral("color: #e8eef5; background: transparent;"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addStretch(1);
    layout->addWidget(m_hint);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TSplashFrm::ShowHint(const QString &text)
{
    m_hint->setText(text.isEmpty() ? m_hint->text() + QLatin1Char('.') : text);
    m_hint->repaint();
}

QString TSplashFrm::hint() const
{
    return m_hint->text();
}

void TSplashFrm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_hasPicture) {
        painter.drawPixmap(rect(), m_picture);
        return;
    }
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x2c, 0x4a, 0x6e));
    background.setColorAt(1, QColor(0x16, 0x27, 0x3d));
    painter.fillRect(rect(), background);
    painter.setPen(QColor(0x8f, 0xa9, 0xc7));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.fillRect(QRect(24, 96, width() - 48, 2), QColor(0xd9, 0xa4, 0x41));

    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont title = font();
    title.setPointSize(22);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(
        QRect(24, 40, width() - 48, 50), Qt::AlignLeft | Qt::AlignVCenter, ProductTitle);

    QFont version = font();
    version.setPointSize(11);
    painter.setFont(version);
    painter.setPen(QColor(0xc8, 0xd4, 0xe3));
    painter.drawText(
        QRect(24, 106, width() - 48, 24), Qt::AlignLeft | Qt::AlignVCenter, ProductVersion);
}
