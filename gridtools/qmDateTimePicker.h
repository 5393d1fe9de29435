#pragma once

#include "qmCtrls.h"

#include <QDateTimeEdit>
#include <QVariant>

class QCheckBox;

// A date picker whose date can be empty. With ShowCheckbox it carries a check
// box: unticked means "no date" and the typed readers give null; the date
// stays shown, greyed. Giving it a date, by code or by editing, ticks the box.
// Dates travel as QDateTime (at midnight for AsDate), as in the data sets.
class TqmDateTimePicker : public QDateTimeEdit
{
    Q_OBJECT
public:
    explicit TqmDateTimePicker(QWidget *parent = nullptr);

    bool ShowCheckbox() const { return m_showCheckbox; }
    void SetShowCheckbox(bool show);
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);

    // The writers raise QmError for a value that is neither a date nor "no
    // date" (see QmText::IsNoDate).
    QVariant AsDateTime() const;
    // A value sets date and time; null behaves as SetAsDate(null).
    void SetAsDateTime(const QVariant &value);
    QVariant AsDate() const;
    // A value sets the date; null sets now and unticks the box.
    void SetAsDate(const QVariant &value);
    // A QTime, or null.
    QVariant AsTime() const;
    // A value sets the time of day; null unticks the box, or without one sets now.
    void SetAsTime(const QVariant &value);
    // Sets now and no date.
    void Clear();

    QCheckBox *CheckBox() const { return m_checkBox; }

signals:
    void checkedChanged(bool checked);

protected:
    // The background while focused and after leaving.
    virtual QColor FocusedColor() const;
    virtual QColor LeftColor() const;
    bool HasNoDate() const { return m_showCheckbox && !m_checked; }

    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setNowQuietly();
    void placeCheckBox();
    void updateTextColor();

    QCheckBox *m_checkBox;
    bool m_showCheckbox = false;
    bool m_checked = false;
    bool m_quiet = false;
};
