#pragma once

#include "EmpCertificate.h"
#include "RecordList.h"
#include "VacationEditor.h"
#include "VacationSet.h"

// The list window "休假记录" over every vacation matching its find panel.
class TVacationListFrm : public TModuleListFrm<RVacation, TVacationEditFrm>
{
    Q_OBJECT
public:
    // Without firstQuery the list stays empty until the caller queries
    // (FilterByCode, "查询").
    explicit TVacationListFrm(QWidget *parent = nullptr, bool firstQuery = true);
};

// The profile window's page "休假记录": the employee's vacations.
class TEmpVacationFra : public TModuleFra<RVacation, TVacationEditFrm, TVacationListFrm>
{
    Q_OBJECT
public:
    explicit TEmpVacationFra(QWidget *parent = nullptr);
};
