#pragma once

#include "qmRep.h"

#include <QList>

class TDataSet;

// The program's report host: a TRep that offers the company's name,
// telephone, fax, address and postcode and the logged-in operator's name as
// u_Company, u_Tel, u_Fax, u_Address, u_Zip and u_Operator.
class TProjRep : public TRep
{
public:
    TProjRep();

    // The printing entry point of every window (see PrintReports).
    static bool PrintReports(const QList<TDataSet *> &dataSets, int group);
};
