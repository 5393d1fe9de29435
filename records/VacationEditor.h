#pragma once

#include "RecordEdit.h"
#include "VacationSet.h"

class TqmComboBox;

// The edit window "休假". Only the type is required; a leave may end before
// it begins.
class TVacationEditFrm : public TModuleEditFrm<RVacation>
{
    Q_OBJECT
public:
    explicit TVacationEditFrm(QWidget *parent = nullptr);

    void NewFor(const REmployee &employee) override;

    TqmDateTimePicker *edtAppdate1;
    TqmDateTimePicker *edtBgndate1;
    TqmDateTimePicker *edtEndate1;
    TqmDateTimePicker *edtTermdate1;
    TqmComboBox *cmbTyp1;
    TqmComboBox *cmbSanctionman1;

protected:
    bool Validate(const RVacation &vacation) override;
};
