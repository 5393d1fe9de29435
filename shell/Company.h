#pragma once

#include <QString>
#include <functional>

class TCompanyInfoFrm;

// The one company record (table Company): read at start-up, shown in reports
// and edited through the company information dialog. A database without a
// company row gives Id 0 and empty texts; the first save then inserts it.
class TCompany
{
public:
    int Id = 0;
    QString CompanyName;
    QString Manager;
    QString Tel;
    QString Fax;
    QString Address;
    QString Zip;
    QString Profile;
    // Not edited here; carried from load to save unchanged.
    bool Updated = false;

    // Reads the first company row; a failure leaves the record as it was.
    void Load();
    // Updates the row of Id, or inserts it when there is none.
    void Save();
    // Shows the company dialog, read-only or editable, until the user cancels
    // or a save succeeds; returns true when the record was saved.
    bool Edit(bool readOnly);

    // Runs the dialog modally and returns its result; exec() unless replaced
    // (tests answer the dialog through it).
    std::function<int(TCompanyInfoFrm &)> RunDialog;
};
