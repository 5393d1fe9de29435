#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

class QDialog;
class QKeyEvent;

// Where a window appears when it is first shown.
enum class TFormPosition {
    NearCursor, // centred on the mouse pointer, kept on the screen
    ScreenCenter,
    OwnerCenter, // centred on the window it belongs to
    MainFormCenter, // centred on the main window
};

// What every window of the program shares, whatever its Qt base class: the
// help topic taken from its name, F1, the first placement and the sizing
// zones of borderless windows. The window owns it and passes its events on.
class TFormHelper
{
public:
    explicit TFormHelper(QWidget *form, TFormPosition position = TFormPosition::NearCursor);

    TFormPosition Position() const { return m_position; }
    void SetPosition(TFormPosition position) { m_position = position; }

    // The topic ShowHelp uses: the given one, or for an empty one the window's
    // name without its last three characters ("LoginFrm" gives "Login").
    QString HelpTopic(const QString &topic) const;
    static QString TopicFromName(const QString &objectName);
    static bool IsHelpKey(const QKeyEvent *event);

    // Places the window before its first show; later shows keep where the
    // user left it.
    void PlaceBeforeFirstShow();
    // The top-left corner for a window of size centred on cursor: at least 20
    // from the left and top, at least 20 from the right and 50 from the bottom
    // of the screen; a window too big for that keeps its top-left corner on
    // the screen.
    static QPoint PlacementNear(const QPoint &cursor, const QSize &size, const QRect &screen);
    static QPoint CentredOn(const QRect &area, const QSize &size);

    // For a borderless window: the edges a press at pos (window coordinates)
    // resizes; none outside the sizing zones.
    static Qt::Edges SizingEdges(const QPoint &pos, const QSize &size);
    // Starts a system resize when the press is in a sizing zone of a borderless
    // window; true when it did.
    bool StartSizing(const QPoint &pos);

    // The main window, for windows centred on it (falls back to the active window).
    static void SetMainForm(QWidget *form);
    static QWidget *MainForm();

private:
    QWidget *m_form;
    TFormPosition m_position;
    bool m_placed = false;
};

// The base of the program's ordinary windows: F1 opens the help page of the
// window, and the window first appears near the mouse pointer.
class TaFrm : public QWidget
{
    Q_OBJECT
public:
    explicit TaFrm(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::Window);

    // Opens the help page of topic (empty: the window's own topic).
    virtual void ShowHelp(const QString &topic);
    void SetPosition(TFormPosition position) { m_helper.SetPosition(position); }
    TFormHelper &FormHelper() { return m_helper; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    TFormHelper m_helper;
};

// Runs a dialog modally and returns its result. Every modal show of the
// program goes through here, so tests can install a runner that fills the
// dialog and presses its buttons instead of running a modal loop.
int RunModal(QDialog &dialog);
using ModalRunner = std::function<int(QDialog &dialog)>;
// Installs a runner (nullptr restores exec()) and returns the previous one.
ModalRunner SetModalRunner(ModalRunner runner);
