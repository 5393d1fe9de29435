#include "qmCtrls.h"

#include "Error.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QValidator>
#include <cmath>

// ---------------------------------------------------------------- colours

QColor QmColors::Window()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

QColor QmColors::Background(const QWidget *control)
{
    return control->palette().color(QPalette::Active, QPalette::Base);
}

void QmColors::SetBackground(QWidget *control, const QColor &color)
{
    QPalette palette = control->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Base, color);
    // A combo box without an edit part is drawn as a button.
    if (auto *combo = qobject_cast<QComboBox *>(control); combo && !combo->isEditable()) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::Button, color);
    }
    control->setPalette(palette);
}

namespace {

bool isEnter(const QKeyEvent *event)
{
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// Applies the input rules of an edit type to the whole text after every
// change, so a paste or a drop is held to the same rules as a key press.
class EditTypeValidator : public QValidator
{
public:
    EditTypeValidator(TEditType type, QObject *parent)
        : QValidator(parent)
        , m_type(type)
    { }

    State validate(QString &input, int &pos) const override
    {
        for (const QChar c : input) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                continue;
            if (m_type == TEditType::etNumber && c == QLatin1Char('.'))
                continue;
            return Invalid;
        }
        if (m_type == TEditType::etInteger)
            return Acceptable;
        if (input.count(QLatin1Char('.')) > 1 || input.startsWith(QLatin1Char('.')))
            return Invalid;
        // No leading zeros: a zero typed after a lone zero is dropped, and a
        // digit typed after it takes its place.
        while (input.size() > 1 && input[0] == QLatin1Char('0') && input[1] != QLatin1Char('.')) {
            input.remove(0, 1);
            if (pos > 0)
                --pos;
        }
        return Acceptable;
    }

private:
    TEditType m_type;
};

// Remembers the background on entering and restores it on leaving; the
// guard keeps a second focus-in from remembering the focus colour itself.
void enterColour(QWidget *control, bool &coloured, QColor &saved, const QColor &color)
{
    if (coloured)
        return;
    saved = QmColors::Background(control);
    coloured = true;
    QmColors::SetBackground(control, color);
}

void leaveColour(QWidget *control, bool &coloured, const QColor &saved)
{
    if (!coloured)
        return;
    coloured = false;
    QmColors::SetBackground(control, saved);
}

} // namespace

// ---------------------------------------------------------------- texts

bool QmText::ParseDateTime(const QString &text, QDateTime *value)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{1,4})-(\\d{1,2})-(\\d{1,2})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?$"));
    const QRegularExpressionMatch m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    QTime time(0, 0);
    if (m.capturedLength(4) > 0)
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return false;
    *value = QDateTime(date, time);
    return true;
}

QString QmText::FormatNumber(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString QmText::NotANumber(const QString &text)
{
    return QStringLiteral("\"%1\" 不是有效的数字.").arg(text);
}

QString QmText::NotAnInteger(const QString &text)
{
    return QStringLiteral("\"%1\" 不是有效的整数.").arg(text);
}

QString QmText::NotADate(const QString &text)
{
    return QStringLiteral("\"%1\" 不是有效的日期.").arg(text);
}

bool QmText::IsNoDate(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return true;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    case QMetaType::QDate:
        return !value.toDate().isValid();
    case QMetaType::QString:
        return value.toString().trimmed().isEmpty();
    default:
        return false;
    }
}

QDateTime QmText::ToDateTime(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    case QMetaType::QString: {
        QDateTime parsed;
        return ParseDateTime(value.toString(), &parsed) ? parsed : QDateTime();
    }
    default:
        return QDateTime();
    }
}

// ---------------------------------------------------------------- TqmEdit

TqmEdit::TqmEdit(QWidget *parent)
    : QLineEdit(parent)
{ }

void TqmEdit::SetEditType(TEditType type)
{
    if (type == m_editType)
        return;
    m_editType = type;
    QValidator *old = const_cast<QValidator *>(validator());
    setValidator(type == TEditType::etFree ? nullptr : new EditTypeValidator(type, this));
    delete old;
}

double TqmEdit::AsDouble() const
{
    const QString t = text();
    if (t.trimmed().isEmpty())
        return 0;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw QmError(QmText::NotANumber(t));
    return value;
}

void TqmEdit::SetAsDouble(double value)
{
    setText(value == 0 ? QString() : QmText::FormatNumber(value));
}

int TqmEdit::AsInteger() const
{
    const QString t = text();
    if (t.trimmed().isEmpty())
        return 0;
    bool ok = false;
    const int value = t.trimmed().toInt(&ok);
    if (!ok)
        throw QmError(QmText::NotAnInteger(t));
    return value;
}

void TqmEdit::SetAsInteger(int value)
{
    setText(value == 0 ? QString() : QString::number(value));
}

QVariant TqmEdit::AsDate() const
{
    const QVariant value = AsDateTime();
    return value.isNull() ? value : QVariant(value.toDateTime().date().startOfDay());
}

void TqmEdit::SetAsDate(const QVariant &value)
{
    if (QmText::IsNoDate(value)) {
        clear();
        return;
    }
    const QDateTime dt = QmText::ToDateTime(value);
    if (!dt.isValid())
        throw QmError(QmText::NotADate(value.toString()));
    setText(dt.toString(QmText::DateFormat));
}

QVariant TqmEdit::AsDateTime() const
{
    const QString t = text();
    if (t.trimmed().isEmpty())
        return QVariant();
    QDateTime value;
    if (!QmText::ParseDateTime(t, &value))
        throw QmError(QmText::NotADate(t));
    return value;
}

void TqmEdit::SetAsDateTime(const QVariant &value)
{
    if (QmText::IsNoDate(value)) {
        clear();
        return;
    }
    const QDateTime dt = QmText::ToDateTime(value);
    if (!dt.isValid())
        throw QmError(QmText::NotADate(value.toString()));
    setText(dt.toString(QmText::DateTimeFormat));
}

QVariant TqmEdit::AsVariant() const
{
    if (text().trimmed().isEmpty())
        return QVariant();
    switch (m_editType) {
    case TEditType::etNumber:
        return AsDouble();
    case TEditType::etInteger:
        return AsInteger();
    default:
        return text();
    }
}

void TqmEdit::SetAsVariant(const QVariant &value)
{
    if (value.isNull()) {
        clear();
        return;
    }
    switch (m_editType) {
    case TEditType::etNumber: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            throw QmError(QmText::NotANumber(value.toString()));
        setText(QmText::FormatNumber(d));
        break;
    }
    case TEditType::etInteger: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d) || std::fabs(d) > 2147483647.0)
            throw QmError(QmText::NotAnInteger(value.toString()));
        setText(QString::number(static_cast<qint64>(std::nearbyint(d))));
        break;
    }
    default:
        setText(value.typeId() == QMetaType::QDateTime
                ? value.toDateTime().toString(QmText::DateTimeFormat)
                : value.toString());
        break;
    }
}

void TqmEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (!m_parentColor)
        enterColour(
            this, m_coloured, m_savedColor, isReadOnly() ? m_colorOnReadOnly : m_colorOnEnter);
}

void TqmEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason)
        leaveColour(this, m_coloured, m_savedColor);
}

void TqmEdit::keyPressEvent(QKeyEvent *event)
{
    if (m_tabOnEnter && isEnter(event) && window() != this) {
        focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// ---------------------------------------------------------------- TqmComboBox

TqmComboBox::TqmComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setInsertPolicy(QComboBox::NoInsert);
}

void TqmComboBox::focusInEvent(QFocusEvent *event)
{
    // setEditable() makes a new completer each time; typing needs the focus,
    // so dropping it here is soon enough.
    if (isEditable() && completer())
        setCompleter(nullptr);
    QComboBox::focusInEvent(event);
    QmColors::SetBackground(this, QmColors::Aqua);
}

void TqmComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        QmColors::SetBackground(this, QmColors::White);
}

void TqmComboBox::showEvent(QShowEvent *event)
{
    if (isEditable() && completer())
        setCompleter(nullptr);
    QComboBox::showEvent(event);
}

void TqmComboBox::keyPressEvent(QKeyEvent *event)
{
    if (isEnter(event) && window() != this) {
        focusNextPrevChild(!(event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    if (!isEditable() && event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        // currentIndexChanged(-1) is the change the window hears.
        setCurrentIndex(-1);
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

// ---------------------------------------------------------------- TqmMemo

TqmMemo::TqmMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

void TqmMemo::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    QmColors::SetBackground(this, isReadOnly() ? QmColors::Yellow : QmColors::Aqua);
}

void TqmMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        QmColors::SetBackground(this, QmColors::White);
}

// ---------------------------------------------------------------- menus

namespace {

QAction *insertAt(QMenu *menu, QAction *action, int index)
{
    const QList<QAction *> actions = menu->actions();
    if (index < 0 || index >= actions.size())
        menu->addAction(action);
    else
        menu->insertAction(actions.at(index), action);
    return action;
}

QAction *newSeparator(QMenu *owner)
{
    auto *separator = new QAction(QStringLiteral("-"), owner);
    separator->setSeparator(true);
    return separator;
}

} // namespace

TqmMenuItem::TqmMenuItem(const QString &title, QWidget *parent)
    : QMenu(title, parent)
{ }

QAction *TqmMenuItem::AddSeparator()
{
    return insertAt(this, newSeparator(this), -1);
}

QAction *TqmMenuItem::AddActionItem(QAction *action, int index)
{
    return insertAt(this, action, index);
}

TqmPopupMenu::TqmPopupMenu(QWidget *parent)
    : QMenu(parent)
{ }

QAction *TqmPopupMenu::AddActionItem(QAction *action, int index, QMenu *parentItem)
{
    return insertAt(parentItem ? parentItem : this, action, index);
}

QAction *TqmPopupMenu::AddCommandItem(
    const QString &caption, bool atTop, THandler handler, QObject *sender)
{
    auto *item = new QAction(caption, this);
    QPointer<QObject> guardedSender(sender);
    connect(item, &QAction::triggered, this, [handler = std::move(handler), guardedSender, sender] {
        // A sender that has gone meanwhile is not handed on.
        if (handler)
            handler(sender && !guardedSender ? nullptr : sender);
    });
    return insertAt(this, item, atTop ? 0 : -1);
}

QAction *TqmPopupMenu::AddSeparator(int index, QMenu *parentItem)
{
    QMenu *target = parentItem ? parentItem : this;
    return insertAt(target, newSeparator(target), index);
}

void TqmPopupMenu::ClearItems()
{
    const QList<QAction *> items = actions();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        QAction *item = *it;
        removeAction(item);
        if (QMenu *submenu = item->menu(); submenu && submenu->parent() == this)
            submenu->deleteLater();
        if (item->parent() == this)
            delete item;
    }
}
