#include "ProjRep.h"

#include "Error.h"
#include "Operator.h"
#include "Reporter.h"
#include "Utils.h"
#include "a.h"
#include "qmProj.h"

TProjRep::TProjRep()
{
    const TCompany empty;
    const TCompany &company = TheCompany ? *TheCompany : empty;
    AddVariable(QStringLiteral("u_Company"), company.CompanyName);
    AddVariable(QStringLiteral("u_Tel"), company.Tel);
    AddVariable(QStringLiteral("u_Fax"), company.Fax);
    AddVariable(QStringLiteral("u_Address"), company.Address);
    AddVariable(QStringLiteral("u_Zip"), company.Zip);
    AddVariable(QStringLiteral("u_Operator"), TheOperator->LoginId);
}

bool TProjRep::PrintReports(const QList<TDataSet *> &dataSets, int group)
{
    try {
        TheOperator->CheckRight(10002, true);
        TProjRep host;
        TReporterFrm frm;
        frm.SetCanDesign(TheOperator->HasRight(10003));
        host.AddDataSets(dataSets);
        frm.SetGroupId(group);
        frm.SetReper(&host);
        RunModal(frm);
        return true;
    } catch (const SilentAbort &) {
        return false;
    } catch (const QmError &e) {
        ShowInfo(e.message());
        return false;
    }
}

bool PrintReports(const QList<TDataSet *> &dataSets, int group)
{
    return TProjRep::PrintReports(dataSets, group);
}
