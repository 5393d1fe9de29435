#include "qmDateTimePicker.h"

#include "Error.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStyle>

TqmDateTimePicker::TqmDateTimePicker(QWidget *parent)
    : QDateTimeEdit(parent)
    , m_checkBox(new QCheckBox(this))
{
    setDisplayFormat(QmText::DateFormat);
    setCalendarPopup(true);
    // Old or odd stored dates should show as they are, not at a clamped bound.
    setMinimumDate(QDate(100, 1, 1));
    m_checkBox->setObjectName(QStringLiteral("CheckBox"));
    m_checkBox->setFocusPolicy(Qt::NoFocus);
    m_checkBox->hide();
    connect(m_checkBox, &QCheckBox::clicked, this, [this](bool checked) { SetChecked(checked); });
    // Editing the date of an unticked picker means the user wants that date.
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!m_quiet)
            SetChecked(true);
    });
    setNowQuietly();
    updateTextColor();
}

void TqmDateTimePicker::setNowQuietly()
{
    m_quiet = true;
    setDateTime(QDateTime::currentDateTime());
    m_quiet = false;
}

void TqmDateTimePicker::SetShowCheckbox(bool show)
{
    if (show == m_showCheckbox)
        return;
    m_showCheckbox = show;
    m_checkBox->setVisible(show);
    placeCheckBox();
    updateTextColor();
}

void TqmDateTimePicker::SetChecked(bool checked)
{
    m_checkBox->setChecked(checked);
    if (checked == m_checked)
        return;
    m_checked = checked;
    updateTextColor();
    emit checkedChanged(checked);
}

QVariant TqmDateTimePicker::AsDateTime() const
{
    if (HasNoDate())
        return QVariant();
    return dateTime();
}

void TqmDateTimePicker::SetAsDateTime(const QVariant &value)
{
    if (QmText::IsNoDate(value)) {
        SetAsDate(QVariant());
        return;
    }
    const QDateTime dt = QmText::ToDateTime(value);
    if (!dt.isValid())
        throw QmError(QmText::NotADate(value.toString()));
    m_quiet = true;
    setDateTime(dt);
    m_quiet = false;
    SetChecked(true);
}

QVariant TqmDateTimePicker::AsDate() const
{
    if (HasNoDate())
        return QVariant();
    return date().startOfDay();
}

void TqmDateTimePicker::SetAsDate(const QVariant &value)
{
    if (QmText::IsNoDate(value)) {
        setNowQuietly();
        if (m_showCheckbox)
            SetChecked(false);
        return;
    }
    const QDateTime dt = QmText::ToDateTime(value);
    if (!dt.isValid())
        throw QmError(QmText::NotADate(value.toString()));
    m_quiet = true;
    setDate(dt.date());
    m_quiet = false;
    SetChecked(true);
}

QVariant TqmDateTimePicker::AsTime() const
{
    if (HasNoDate())
        return QVariant();
    return time();
}

void TqmDateTimePicker::SetAsTime(const QVariant &value)
{
    QTime t;
    if (value.typeId() == QMetaType::QTime) {
        t = value.toTime();
    } else if (!QmText::IsNoDate(value)) {
        t = QmText::ToDateTime(value).time();
        if (!t.isValid())
            throw QmError(QmText::NotADate(value.toString()));
    }
    if (!t.isValid()) {
        if (m_showCheckbox)
            SetChecked(false);
        else
            setNowQuietly();
        return;
    }
    m_quiet = true;
    setTime(t);
    m_quiet = false;
    SetChecked(true);
}

void TqmDateTimePicker::Clear()
{
    SetAsDate(QVariant());
}

QColor TqmDateTimePicker::FocusedColor() const
{
    return QmColors::Aqua;
}

QColor TqmDateTimePicker::LeftColor() const
{
    return QmColors::White;
}

void TqmDateTimePicker::focusInEvent(QFocusEvent *event)
{
    QDateTimeEdit::focusInEvent(event);
    const QColor color = FocusedColor();
    if (color.isValid())
        QmColors::SetBackground(this, color);
}

void TqmDateTimePicker::focusOutEvent(QFocusEvent *event)
{
    QDateTimeEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    const QColor color = LeftColor();
    if (color.isValid())
        QmColors::SetBackground(this, color);
}

void TqmDateTimePicker::keyPressEvent(QKeyEvent *event)
{
    if (m_showCheckbox && !isReadOnly() && event->key() == Qt::Key_Space
        && event->modifiers() == Qt::NoModifier) {
        SetChecked(!m_checked);
        event->accept();
        return;
    }
    QDateTimeEdit::keyPressEvent(event);
}

void TqmDateTimePicker::resizeEvent(QResizeEvent *event)
{
    QDateTimeEdit::resizeEvent(event);
    placeCheckBox();
}

void TqmDateTimePicker::changeEvent(QEvent *event)
{
    QDateTimeEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange)
        m_checkBox->setEnabled(!isReadOnly());
}

void TqmDateTimePicker::placeCheckBox()
{
    if (!m_showCheckbox) {
        lineEdit()->setTextMargins(0, 0, 0, 0);
        return;
    }
    const QSize size = m_checkBox->sizeHint();
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    m_checkBox->setGeometry(frame + 2, (height() - size.height()) / 2, size.width(), size.height());
    m_checkBox->raise();
    lineEdit()->setTextMargins(size.width() + 2, 0, 0, 0);
}

void TqmDateTimePicker::updateTextColor()
{
    // Greyed like the system's picker, so a kept but unticked date does not
    // read as a value.
    QPalette palette = lineEdit()->palette();
    const QPalette normal = QApplication::palette(lineEdit());
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Text,
            HasNoDate() ? normal.color(QPalette::Disabled, QPalette::Text)
                        : normal.color(group, QPalette::Text));
    lineEdit()->setPalette(palette);
}
