#pragma once

#include <QColor>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QVariant>
#include <functional>

// The edit controls every window uses instead of the plain ones: they colour
// themselves while focused, move on with Enter and give typed access to their
// text. The date picker is in qmDateTimePicker.h, pictures and the image box
// in qmImageBox.h.

namespace QmColors {
inline const QColor Aqua = QColor(0, 255, 255);
inline const QColor Yellow = QColor(255, 255, 0);
inline const QColor White = QColor(255, 255, 255);
// The system's colour of an edit's background.
QColor Window();
// The background of an edit, combo box, memo or date picker.
QColor Background(const QWidget *control);
void SetBackground(QWidget *control, const QColor &color);
} // namespace QmColors

namespace QmText {
// Dates are shown as "yyyy-MM-dd" and date-times as "yyyy-MM-dd HH:mm:ss".
inline const QString DateFormat = QStringLiteral("yyyy-MM-dd");
inline const QString DateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
// Reads "yyyy-M-d", optionally followed by "H:m" or "H:m:s"; leading and
// trailing blanks are ignored. False for anything else or an impossible date.
bool ParseDateTime(const QString &text, QDateTime *value);
// The shortest decimal form that reads back as the same double, never with
// an exponent.
QString FormatNumber(double value);
// The errors of the typed accessors.
QString NotANumber(const QString &text);
QString NotAnInteger(const QString &text);
QString NotADate(const QString &text);
// True for null, an invalid date and an empty text: the ways of saying "no date".
bool IsNoDate(const QVariant &value);
// A variant (QDateTime, QDate or a date text) as a date-time; an invalid
// QDateTime when it holds none.
QDateTime ToDateTime(const QVariant &value);
} // namespace QmText

enum class TEditType { etFree, etNumber, etInteger };

// A one-line edit with typed access to its text. The input rules of its
// EditType hold for everything the user puts in (typing, pasting, dropping,
// input methods) and for insert(); text set through setText() or the typed
// setters is shown as given, so a value the rules would not let the user type
// (a negative number, say) is not lost on its way through the edit.
class TqmEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TqmEdit(QWidget *parent = nullptr);

    Qt::Alignment Alignment() const { return alignment(); }
    void SetAlignment(Qt::Alignment alignment) { setAlignment(alignment); }
    QColor ColorOnEnter() const { return m_colorOnEnter; }
    void SetColorOnEnter(const QColor &color) { m_colorOnEnter = color; }
    QColor ColorOnReadOnly() const { return m_colorOnReadOnly; }
    void SetColorOnReadOnly(const QColor &color) { m_colorOnReadOnly = color; }
    // With ParentColor the background is never changed on focus.
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool parentColor) { m_parentColor = parentColor; }
    bool TabOnEnter() const { return m_tabOnEnter; }
    void SetTabOnEnter(bool tabOnEnter) { m_tabOnEnter = tabOnEnter; }
    TEditType EditType() const { return m_editType; }
    void SetEditType(TEditType type);

    // Readers raise QmError for a text of the wrong form.
    double AsDouble() const;
    double AsFloat() const { return AsDouble(); }
    // 0 empties the text.
    void SetAsDouble(double value);
    void SetAsFloat(double value) { SetAsDouble(value); }
    int AsInteger() const;
    // 0 empties the text.
    void SetAsInteger(int value);
    // Null for an empty text, else a QDateTime (at midnight for AsDate).
    QVariant AsDate() const;
    void SetAsDate(const QVariant &value);
    QVariant AsDateTime() const;
    void SetAsDateTime(const QVariant &value);
    // Null for an empty text, else a double, an int or the text by EditType.
    // Writing keeps 0 apart from null: only null empties the text.
    QVariant AsVariant() const;
    void SetAsVariant(const QVariant &value);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor m_colorOnEnter = QmColors::Aqua;
    QColor m_colorOnReadOnly = QmColors::Yellow;
    bool m_parentColor = false;
    bool m_tabOnEnter = true;
    TEditType m_editType = TEditType::etFree;
    bool m_coloured = false;
    QColor m_savedColor;
};

// A combo box without auto-completion that moves on with Enter. Without an
// edit part, Delete clears the selection.
class TqmComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TqmComboBox(QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
};

// A plain-text memo; Tab moves on rather than inserting a tab.
class TqmMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TqmMemo(QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// A submenu with the item-building operations of TqmPopupMenu.
class TqmMenuItem : public QMenu
{
    Q_OBJECT
public:
    explicit TqmMenuItem(const QString &title = QString(), QWidget *parent = nullptr);

    QAction *AddSeparator();
    // At index (-1: at the end).
    QAction *AddActionItem(QAction *action, int index = -1);
};

// A context menu whose items windows and grids build at run time. Items made
// here belong to the menu; actions added by reference stay their owner's.
class TqmPopupMenu : public QMenu
{
    Q_OBJECT
public:
    using THandler = std::function<void(QObject *sender)>;

    explicit TqmPopupMenu(QWidget *parent = nullptr);

    // The action under parentItem (top level when null) at index (-1: at the end).
    QAction *AddActionItem(QAction *action, int index = -1, QMenu *parentItem = nullptr);
    // An item whose click calls handler(sender); first when atTop, else last.
    QAction *AddCommandItem(
        const QString &caption, bool atTop, THandler handler, QObject *sender = nullptr);
    QAction *AddSeparator(int index = -1, QMenu *parentItem = nullptr);
    // Removes every top-level item, from the last to the first.
    void ClearItems();
};
