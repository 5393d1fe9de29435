#include "VacationList.h"

TVacationListFrm::TVacationListFrm(QWidget *parent, bool firstQuery)
    : TModuleListFrm<RVacation, TVacationEditFrm>(VacationModule(), parent, firstQuery)
{ }

TEmpVacationFra::TEmpVacationFra(QWidget *parent)
    : TModuleFra<RVacation, TVacationEditFrm, TVacationListFrm>(VacationModule(), parent)
{ }
