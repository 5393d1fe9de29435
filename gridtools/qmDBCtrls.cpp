#include "qmDBCtrls.h"

#include "DataSet.h"
#include "Error.h"

#include <QFocusEvent>
#include <QRegularExpression>
#include <QValidator>
#include <algorithm>
#include <cmath>

namespace {

// Lets RefreshDataControls reach every control bound to one set; it lives
// as a child of the set, so it goes with it.
class DataLinkHub : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    static DataLinkHub *of(TDataSet *set, bool create)
    {
        auto *hub = set->findChild<DataLinkHub *>(QString(), Qt::FindDirectChildrenOnly);
        if (!hub && create)
            hub = new DataLinkHub(set);
        return hub;
    }

signals:
    void refreshRequested();
};

// Accepts what can still become a number of the field's kind, so that typing
// is held back early and UpdateRecord sees few bad texts.
class NumberTextValidator : public QValidator
{
public:
    NumberTextValidator(bool integer, QObject *parent)
        : QValidator(parent)
        , m_pattern(integer ? QStringLiteral("^\\s*[+-]?\\d*\\s*$")
                            : QStringLiteral("^\\s*[+-]?\\d*\\.?\\d*(?:[eE][+-]?\\d*)?\\s*$"))
    { }

    State validate(QString &input, int &) const override
    {
        return m_pattern.match(input).hasMatch() ? Acceptable : Invalid;
    }

private:
    QRegularExpression m_pattern;
};

QString fieldText(const TField *field)
{
    if (!field || field->IsNull())
        return QString();
    if (field->Kind() == FieldKind::DateTime) {
        const QDateTime value = field->AsDateTime();
        return value.time().msecsSinceStartOfDay() == 0 ? value.toString(QmText::DateFormat)
                                                        : value.toString(QmText::DateTimeFormat);
    }
    return field->AsString();
}

// The data-aware controls colour only while they can be edited.
void enterColour(QWidget *control, bool readOnly)
{
    if (!readOnly)
        QmColors::SetBackground(control, QmColors::Aqua);
}

void leaveColour(QWidget *control, bool readOnly, const QFocusEvent *event)
{
    if (!readOnly && event->reason() != Qt::PopupFocusReason)
        QmColors::SetBackground(control, QmColors::Window());
}

} // namespace

// ---------------------------------------------------------------- TqmDataLink

TqmDataLink::TqmDataLink(QWidget *control)
    : m_control(control)
{ }

TqmDataLink::~TqmDataLink()
{
    // The control's QObject part outlives this one for a moment.
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        QObject::disconnect(c);
}

void TqmDataLink::SetDataSet(TDataSet *set)
{
    m_set = set;
    attach();
}

void TqmDataLink::SetDataField(const QString &fieldName)
{
    m_fieldName = fieldName;
    ReadField();
}

void TqmDataLink::Bind(TDataSet *set, const QString &fieldName)
{
    m_fieldName = fieldName;
    SetDataSet(set);
}

TField *TqmDataLink::Field() const
{
    if (!m_set || m_fieldName.isEmpty())
        return nullptr;
    return m_set->FindField(m_fieldName);
}

void TqmDataLink::attach()
{
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        QObject::disconnect(c);
    m_connections.clear();
    if (TDataSet *set = m_set) {
        auto reread = [this] {
            ReadField();
        };
        m_connections << QObject::connect(set, &TDataSet::currentRowChanged, m_control, reread)
                      << QObject::connect(set, &TDataSet::dataReset, m_control, reread)
                      << QObject::connect(set, &TDataSet::rowChanged, m_control,
                             [this](int row) {
                                 if (m_set && row == m_set->CurrentRow())
                                     ReadField();
                             })
                      << QObject::connect(set, &TDataSet::updatingRecord, m_control,
                             [this] { writeIfModified(); })
                      << QObject::connect(DataLinkHub::of(set, true),
                             &DataLinkHub::refreshRequested, m_control, reread);
    }
    ReadField();
}

void TqmDataLink::ReadField()
{
    ShowField(Field());
    m_shown = ControlValue();
}

bool TqmDataLink::Modified() const
{
    return ControlValue() != m_shown;
}

void TqmDataLink::writeIfModified()
{
    if (!m_set || m_fieldName.isEmpty() || !Modified())
        return;
    // A control bound to a field the set lacks must not pass for saved.
    TField *field = m_set->FieldByName(m_fieldName);
    try {
        WriteField(field);
    } catch (const QmError &) {
        m_control->setFocus(Qt::OtherFocusReason);
        throw;
    }
    m_shown = ControlValue();
}

void RefreshDataControls(TDataSet *set)
{
    if (!set)
        return;
    if (DataLinkHub *hub = DataLinkHub::of(set, false))
        emit hub->refreshRequested();
}

void WriteTextToField(TField *field, const QString &text)
{
    const QString trimmed = text.trimmed();
    switch (field->Kind()) {
    case FieldKind::Integer: {
        if (trimmed.isEmpty()) {
            field->Clear();
            return;
        }
        bool ok = false;
        const int value = trimmed.toInt(&ok);
        if (!ok)
            throw QmError(QmText::NotAnInteger(text));
        field->SetAsInteger(value);
        return;
    }
    case FieldKind::Float: {
        if (trimmed.isEmpty()) {
            field->Clear();
            return;
        }
        bool ok = false;
        const double value = trimmed.toDouble(&ok);
        if (!ok || !std::isfinite(value))
            throw QmError(QmText::NotANumber(text));
        field->SetAsFloat(value);
        return;
    }
    case FieldKind::DateTime: {
        if (trimmed.isEmpty()) {
            field->Clear();
            return;
        }
        QDateTime value;
        if (!QmText::ParseDateTime(trimmed, &value))
            throw QmError(QmText::NotADate(text));
        field->SetAsDateTime(value);
        return;
    }
    default:
        field->SetAsString(text);
        return;
    }
}

// ---------------------------------------------------------------- TqmDBEdit

TqmDBEdit::TqmDBEdit(QWidget *parent)
    : QLineEdit(parent)
    , TqmDataLink(this)
{ }

void TqmDBEdit::ShowField(const TField *field)
{
    const int kind = field ? static_cast<int>(field->Kind()) : -1;
    if (kind != m_validatorKind) {
        m_validatorKind = kind;
        QValidator *old = const_cast<QValidator *>(validator());
        setValidator(field && field->IsNumeric()
                ? new NumberTextValidator(field->Kind() == FieldKind::Integer, this)
                : nullptr);
        delete old;
    }
    const QString text = fieldText(field);
    const bool sized = field
        && (field->Kind() == FieldKind::String || field->Kind() == FieldKind::WideString)
        && field->Size() > 0;
    // Never shorter than the value shown: a longer value already stored is
    // kept whole rather than cut on display.
    setMaxLength(sized ? std::max(field->Size(), static_cast<int>(text.size())) : 32767);
    setText(text);
}

void TqmDBEdit::WriteField(TField *field)
{
    WriteTextToField(field, text());
}

void TqmDBEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    enterColour(this, isReadOnly());
}

void TqmDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    leaveColour(this, isReadOnly(), event);
}

// ---------------------------------------------------------------- TqmDBComboBox

TqmDBComboBox::TqmDBComboBox(QWidget *parent)
    : QComboBox(parent)
    , TqmDataLink(this)
{
    setInsertPolicy(QComboBox::NoInsert);
}

void TqmDBComboBox::ShowField(const TField *field)
{
    const QString text = fieldText(field);
    if (isEditable())
        setEditText(text);
    else
        setCurrentIndex(text.isEmpty() ? -1 : findText(text, Qt::MatchFixedString));
}

void TqmDBComboBox::WriteField(TField *field)
{
    WriteTextToField(field, currentText());
}

void TqmDBComboBox::focusInEvent(QFocusEvent *event)
{
    if (isEditable() && completer())
        setCompleter(nullptr);
    QComboBox::focusInEvent(event);
    enterColour(this, !isEnabled());
}

void TqmDBComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    leaveColour(this, !isEnabled(), event);
}

void TqmDBComboBox::showEvent(QShowEvent *event)
{
    if (isEditable() && completer())
        setCompleter(nullptr);
    QComboBox::showEvent(event);
}

// ---------------------------------------------------------------- TqmDBMemo

TqmDBMemo::TqmDBMemo(QWidget *parent)
    : QPlainTextEdit(parent)
    , TqmDataLink(this)
{
    setTabChangesFocus(true);
}

void TqmDBMemo::ShowField(const TField *field)
{
    setPlainText(fieldText(field));
}

void TqmDBMemo::WriteField(TField *field)
{
    field->SetAsString(toPlainText());
}

void TqmDBMemo::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    enterColour(this, isReadOnly());
}

void TqmDBMemo::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    leaveColour(this, isReadOnly(), event);
}

// ---------------------------------------------------------------- TqmDBDateTimeEdit

TqmDBDateTimeEdit::TqmDBDateTimeEdit(QWidget *parent)
    : TqmDateTimePicker(parent)
    , TqmDataLink(this)
{
    SetShowCheckbox(true);
}

void TqmDBDateTimeEdit::ShowField(const TField *field)
{
    if (!field || field->IsNull())
        SetAsDate(QVariant());
    else
        SetAsDateTime(field->AsDateTime());
}

void TqmDBDateTimeEdit::WriteField(TField *field)
{
    // A time the picker does not show must not slip into a date column,
    // where it would put the row outside "up to that day" criteria.
    const bool showsTime = displayedSections() & QDateTimeEdit::TimeSections_Mask;
    const QVariant value = showsTime ? AsDateTime() : AsDate();
    if (value.isNull())
        field->Clear();
    else
        field->SetAsDateTime(value.toDateTime());
}

QColor TqmDBDateTimeEdit::FocusedColor() const
{
    return isReadOnly() ? QColor() : QmColors::Aqua;
}

QColor TqmDBDateTimeEdit::LeftColor() const
{
    return isReadOnly() ? QColor() : QmColors::Window();
}

#include "qmDBCtrls.moc"
