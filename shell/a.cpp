#include "a.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

#include "HelpBrowser.h"

namespace {

QPointer<QWidget> &mainForm()
{
    static QPointer<QWidget> form;
    return form;
}

ModalRunner &modalRunner()
{
    static ModalRunner runner;
    return runner;
}

// One axis of the placement: centred on the pointer, then pulled back onto
// the screen.
int placeOnAxis(int pointer, int extent, int screenExtent, int farMargin)
{
    int start = pointer - extent / 2;
    if (start < 0)
        start = 20;
    if (start > screenExtent - extent - farMargin)
        start = screenExtent - extent - farMargin;
    // Only a window larger than the screen gets here; its title bar must stay
    // reachable.
    if (start < 0)
        start = 0;
    return start;
}

} // namespace

TFormHelper::TFormHelper(QWidget *form, TFormPosition position)
    : m_form(form)
    , m_position(position)
{ }

QString TFormHelper::HelpTopic(const QString &topic) const
{
    return topic.isEmpty() ? TopicFromName(m_form->objectName()) : topic;
}

QString TFormHelper::TopicFromName(const QString &objectName)
{
    return objectName.left(qMax(0, objectName.size() - 3));
}

bool TFormHelper::IsHelpKey(const QKeyEvent *event)
{
    return event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier;
}

QPoint TFormHelper::PlacementNear(const QPoint &cursor, const QSize &size, const QRect &screen)
{
    const int left = placeOnAxis(cursor.x() - screen.x(), size.width(), screen.width(), 20);
    const int top = placeOnAxis(cursor.y() - screen.y(), size.height(), screen.height(), 50);
    return screen.topLeft() + QPoint(left, top);
}

QPoint TFormHelper::CentredOn(const QRect &area, const QSize &size)
{
    return QPoint(area.x() + (area.width() - size.width()) / 2,
        area.y() + (area.height() - size.height()) / 2);
}

void TFormHelper::PlaceBeforeFirstShow()
{
    if (m_placed || !m_form->isWindow())
        return;
    m_placed = true;
    const QPoint cursor = QCursor::pos();
    QScreen *screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = m_form->screen();
    if (!screen)
        return;
    const QSize size = m_form->frameGeometry().size();
    QWidget *anchor = nullptr;
    switch (m_position) {
    case TFormPosition::NearCursor:
        m_form->move(PlacementNear(cursor, size, screen->geometry()));
        return;
    case TFormPosition::ScreenCenter:
        break;
    case TFormPosition::OwnerCenter:
        anchor = m_form->parentWidget() ? m_form->parentWidget()->window() : nullptr;
        break;
    case TFormPosition::MainFormCenter:
        anchor = MainForm();
        break;
    }
    if (anchor && anchor->isVisible() && anchor != m_form)
        m_form->move(CentredOn(anchor->frameGeometry(), size));
    else
        m_form->move(CentredOn(m_form->screen()->geometry(), size));
}

Qt::Edges TFormHelper::SizingEdges(const QPoint &pos, const QSize &size)
{
    const int x = pos.x();
    const int y = pos.y();
    const int w = size.width();
    const int h = size.height();
    if (x < 10 && y < 10)
        return Qt::TopEdge | Qt::LeftEdge;
    if (x >= w - 10 && y < 10)
        return Qt::TopEdge | Qt::RightEdge;
    if (x >= w - 10 && y >= h - 10)
        return Qt::BottomEdge | Qt::RightEdge;
    if (x < 10 && y >= h - 10)
        return Qt::BottomEdge | Qt::LeftEdge;
    if (x < 5)
        return Qt::LeftEdge;
    if (y < 5)
        return Qt::TopEdge;
    if (x >= w - 5)
        return Qt::RightEdge;
    if (y >= h - 5)
        return Qt::BottomEdge;
    return {};
}

bool TFormHelper::StartSizing(const QPoint &pos)
{
    if (!m_form->isWindow() || !(m_form->windowFlags() & Qt::FramelessWindowHint))
        return false;
    const Qt::Edges edges = SizingEdges(pos, m_form->size());
    QWindow *window = m_form->windowHandle();
    return edges && window && window->startSystemResize(edges);
}

void TFormHelper::SetMainForm(QWidget *form)
{
    mainForm() = form;
}

QWidget *TFormHelper::MainForm()
{
    QWidget *form = mainForm().data();
    return form ? form : QApplication::activeWindow();
}

TaFrm::TaFrm(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_helper(this)
{ }

void TaFrm::ShowHelp(const QString &topic)
{
    ShowHelpTopic(m_helper.HelpTopic(topic));
}

void TaFrm::keyPressEvent(QKeyEvent *event)
{
    QWidget::keyPressEvent(event);
    if (TFormHelper::IsHelpKey(event)) {
        event->accept();
        ShowHelp(QString());
    }
}

void TaFrm::showEvent(QShowEvent *event)
{
    m_helper.PlaceBeforeFirstShow();
    QWidget::showEvent(event);
}

void TaFrm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_helper.StartSizing(event->position().toPoint())) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

int RunModal(QDialog &dialog)
{
    if (modalRunner()) {
        dialog.setResult(0);
        return modalRunner()(dialog);
    }
    return dialog.exec();
}

ModalRunner SetModalRunner(ModalRunner runner)
{
    ModalRunner previous = std::move(modalRunner());
    modalRunner() = std::move(runner);
    return previous;
}
