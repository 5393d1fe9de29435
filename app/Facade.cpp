#include "Facade.h"

#include "Operator.h"
#include "qmProj.h"

TmallX *TheFacade = nullptr;

TmallX::TmallX(QObject *parent)
    : QObject(parent)
{
    TheFacade = this;
}

TmallX::~TmallX()
{
    if (TheFacade == this)
        TheFacade = nullptr;
}

void TmallX::BackupOnExit() { }

void TmallX::EditCompanyInfo()
{
    TheOperator->CheckRight(10000);
    TheCompany->Edit(false);
}
