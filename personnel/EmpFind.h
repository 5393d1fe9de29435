#pragma once

#include "aDlg.h"

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
class TEmployeeWhere;
class TqmDBComboBox;
class TqmDBDateTimeEdit;
class TqmDBEdit;
class TqmEdit;

// The advanced search "高级查找": one page of common criteria, one of
// dismissal details and one of further personal data. The boxes are bound to
// the form's own criteria record, which it owns for its whole life; "确定"
// hands that record to the opener's handler, which returns true to close the
// form (without a handler the form closes and the opener reads Criteria()).
class TEmpFindFrm : public TaDlgBase
{
    Q_OBJECT
public:
    using THandler = std::function<bool(TEmployeeWhere &criteria)>;

    explicit TEmpFindFrm(QWidget *parent = nullptr);
    ~TEmpFindFrm() override;

    THandler OnFind;
    TEmployeeWhere &Criteria() const { return *m_where; }

    // Empties every box and criterion.
    void Reset();
    // "确定": the boxes into the criteria, then the handler.
    void Button5Click();
    // "...": the department picker, starting at the chosen department.
    void Button1Click();
    // Puts a department into the box (an empty code clears it).
    void SetDepartment(const QString &code, const QString &path);

    QTabWidget *PageControl1;
    QLabel *lblCode1;
    QLabel *lblDuty1;
    QLabel *lblEmployType1;
    QLabel *lblParty1;

    TqmDBEdit *edtCode1;
    TqmDBEdit *edtName1;
    TqmEdit *edtDept1;
    QPushButton *Button1;
    TqmDBComboBox *edtSex1;
    TqmDBComboBox *edtEmployType1;
    TqmDBComboBox *cmbDuty1;
    TqmDBComboBox *edtComeFrom1;
    TqmDBEdit *edtTel1;
    TqmDBEdit *edtAge1;
    TqmDBEdit *edtAge2;
    TqmDBDateTimeEdit *edtJoindate1;
    TqmDBDateTimeEdit *edtJoindate2;
    TqmDBEdit *edtWorkAge1;
    TqmDBEdit *edtWorkAge2;
    TqmDBComboBox *edtJobTitle1;
    TqmDBComboBox *edtIsMry1;
    TqmDBComboBox *cmbBirthMonth1;
    TqmDBComboBox *cmbBirthday1;
    TqmDBComboBox *cmbDiploma1;
    TqmDBComboBox *edtDegree1;
    TqmDBComboBox *edtParty1;
    TqmDBEdit *edtIdCode1;
    QCheckBox *cbOnjob1;

    TqmDBDateTimeEdit *edtDisDate1;
    TqmDBDateTimeEdit *edtDisDate2;
    TqmDBComboBox *edtDistype1;
    TqmDBEdit *edtDismarks1;

    TqmDBComboBox *edtMilivice1;
    TqmDBEdit *edtStature1;
    TqmDBEdit *edtStature2;
    TqmDBComboBox *edtBloodtype1;
    TqmDBComboBox *edtReligion1;
    TqmDBEdit *edtBankId1;
    TqmDBEdit *edtYiBaoId1;
    TqmDBEdit *edtYangBaoId1;
    TqmDBDateTimeEdit *edtGraduateDate1;
    TqmDBDateTimeEdit *edtGraduateDate2;
    TqmDBEdit *edtSchool1;
    TqmDBComboBox *edtFolk1;
    TqmDBEdit *edtNative1;

    QPushButton *btnReset1;
    QPushButton *Button5;
    QPushButton *Button4;

private:
    void buildCommonPage();
    void buildDismissalPage();
    void buildMorePage();

    std::unique_ptr<TEmployeeWhere> m_where;
};
