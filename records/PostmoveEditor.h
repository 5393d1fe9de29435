#pragma once

#include "PostmoveSet.h"
#include "RecordEdit.h"

class QLineEdit;
class QPushButton;
class TqmComboBox;
class TqmDateTimePicker;

// The edit window "调职". The new department is set only through the
// department picker; the department and duty before the move come from the
// employee and are not edited.
class TPostmoveEditFrm : public TModuleEditFrm<RPostmove>
{
    Q_OBJECT
public:
    explicit TPostmoveEditFrm(QWidget *parent = nullptr);

    void NewFor(const REmployee &employee) override;
    // "...": the department picker on the chosen new department.
    void btnDept2Click();
    // What the picker's choice does (an empty code clears the department).
    void SetNewDepartment(const QString &code, const QString &name);

    TqmDateTimePicker *edtMoveDate1;
    QLineEdit *edtDeptName21;
    QPushButton *btnDept21;
    TqmComboBox *cmbDuty21;
    TqmComboBox *cmbMoveReason1;
    TqmComboBox *cmbSanctionman1;

protected:
    bool Validate(const RPostmove &move) override;

private:
    QString m_dept2Code;
};
