#pragma once

#include "qmDateTimePicker.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVariant>

class TDataSet;
class TField;

// The tie between one control and one field of a TDataSet. The control shows
// the current row's value (also the edit buffer of a row being edited or
// appended, as in a criteria record) and follows navigation, resets and
// posted rows. When the set asks for its values (TDataSet::UpdateRecord) the
// control writes its value into the row being edited, but only when the user
// or the program changed it since it was shown: a value set in code on the
// row meanwhile is not overwritten by a stale one. A value that does not fit
// the field's kind raises QmError out of UpdateRecord.
class TqmDataLink
{
public:
    virtual ~TqmDataLink();
    TqmDataLink(const TqmDataLink &) = delete;
    TqmDataLink &operator=(const TqmDataLink &) = delete;

    TDataSet *DataSet() const { return m_set; }
    void SetDataSet(TDataSet *set);
    QString DataField() const { return m_fieldName; }
    void SetDataField(const QString &fieldName);
    void Bind(TDataSet *set, const QString &fieldName);
    // Null when unbound or when the set has no such field (yet).
    TField *Field() const;

    // Shows the field's current value again. Editing, appending and
    // cancelling a row tell the controls nothing, so a window that does
    // those calls this (or RefreshDataControls) afterwards.
    void ReadField();
    bool Modified() const;

protected:
    explicit TqmDataLink(QWidget *control);

    // The value the control holds, in a form that compares equal when unchanged.
    virtual QVariant ControlValue() const = 0;
    // Shows the field's value; a null field means "unbound": show nothing.
    virtual void ShowField(const TField *field) = 0;
    virtual void WriteField(TField *field) = 0;

private:
    void attach();
    void writeIfModified();

    QWidget *m_control;
    QPointer<TDataSet> m_set;
    QString m_fieldName;
    QVariant m_shown;
    QList<QMetaObject::Connection> m_connections;
};

// Shows the current values again in every control bound to the set.
void RefreshDataControls(TDataSet *set);

// Writes a text into a field by the field's kind: an empty text is null for
// numbers and dates; a text that is no number or date raises QmError.
void WriteTextToField(TField *field, const QString &text);

// A bound one-line edit. Numeric fields accept only a number's characters,
// text fields no more characters than the field holds.
class TqmDBEdit : public QLineEdit, public TqmDataLink
{
    Q_OBJECT
public:
    explicit TqmDBEdit(QWidget *parent = nullptr);

protected:
    QVariant ControlValue() const override { return text(); }
    void ShowField(const TField *field) override;
    void WriteField(TField *field) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int m_validatorKind = -1;
};

// A bound combo box, without auto-completion. Without an edit part it shows
// a value that is not among its items as no selection, and then writes
// nothing unless the user picks an item.
class TqmDBComboBox : public QComboBox, public TqmDataLink
{
    Q_OBJECT
public:
    explicit TqmDBComboBox(QWidget *parent = nullptr);

protected:
    QVariant ControlValue() const override { return currentText(); }
    void ShowField(const TField *field) override;
    void WriteField(TField *field) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
};

// A bound memo.
class TqmDBMemo : public QPlainTextEdit, public TqmDataLink
{
    Q_OBJECT
public:
    explicit TqmDBMemo(QWidget *parent = nullptr);

protected:
    QVariant ControlValue() const override { return toPlainText(); }
    void ShowField(const TField *field) override;
    void WriteField(TField *field) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// A bound date edit that can be empty: its check box is unticked for a null
// date. Shown without a time of day, it writes the date alone.
class TqmDBDateTimeEdit : public TqmDateTimePicker, public TqmDataLink
{
    Q_OBJECT
public:
    explicit TqmDBDateTimeEdit(QWidget *parent = nullptr);

protected:
    QVariant ControlValue() const override { return AsDateTime(); }
    void ShowField(const TField *field) override;
    void WriteField(TField *field) override;
    QColor FocusedColor() const override;
    QColor LeftColor() const override;
};
