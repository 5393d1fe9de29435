#include "Company.h"

#include "CompanyInfo.h"
#include "Database.h"
#include "Error.h"
#include "RecordSet.h"
#include "Utils.h"

#include <QApplication>

void TCompany::Load()
{
    SharedRecordSet->Open(QStringLiteral("select * from Company"));
    TCompany loaded;
    loaded.RunDialog = RunDialog;
    TDataSet *row = SharedRecordSet->DataSet();
    if (!row->IsEmpty()) {
        row->First();
        auto text = [row](const char *column) {
            return row->FieldByName(QLatin1String(column))->AsString();
        };
        loaded.Id = row->FieldByName(QStringLiteral("Id"))->AsInteger();
        loaded.CompanyName = text("CompanyName");
        loaded.Manager = text("Manager");
        loaded.Tel = text("Tel");
        loaded.Fax = text("Fax");
        loaded.Address = text("Address");
        loaded.Zip = text("Zip");
        loaded.Profile = text("Profile");
        loaded.Updated = row->FieldByName(QStringLiteral("Updated"))->AsBoolean();
    }
    *this = loaded;
}

void TCompany::Save()
{
    const TDBParameters params{MakeParameter(QStringLiteral("Id"), Id),
        MakeParameter(QStringLiteral("CompanyName"), CompanyName),
        MakeParameter(QStringLiteral("Manager"), Manager),
        MakeParameter(QStringLiteral("Tel"), Tel), MakeParameter(QStringLiteral("Fax"), Fax),
        MakeParameter(QStringLiteral("Address"), Address),
        MakeParameter(QStringLiteral("Zip"), Zip),
        MakeParameter(QStringLiteral("Profile"), Profile),
        MakeParameter(QStringLiteral("Updated"), Updated)};
    const bool exists = SharedRecordSet->Open(QStringLiteral("select 1 from Company where Id=:Id"),
                            {MakeParameter(QStringLiteral("Id"), Id)})
        == 1;
    if (!exists) {
        TheDatabase->Execute(
            QStringLiteral("insert into Company(Id, CompanyName, Manager, Tel, Fax, Address, Zip, "
                           "Profile, Updated)values(:Id, :CompanyName, :Manager, :Tel, :Fax, "
                           ":Address, :Zip, :Profile, :Updated)"),
            params);
        return;
    }
    // The row was there a moment ago; if another workstation removed it since,
    // say so instead of reporting a save that wrote nothing.
    const int changed = TheDatabase->ExecSQL(
        QStringLiteral(
            "update Company set CompanyName=:CompanyName,Manager=:Manager,Tel=:Tel,Fax=:Fax,"
            "Address=:Address,Zip=:Zip,Profile=:Profile,Updated=:Updated where Id=:Id"),
        params);
    if (changed != 1)
        throw QmError(QStringLiteral("没有返回Company的成功标记,公司信息可能已被其他用户删除."));
}

bool TCompany::Edit(bool readOnly)
{
    TCompanyInfoFrm dialog(QApplication::activeWindow());
    dialog.SetReadOnly(readOnly);
    dialog.ReadCompany(*this);
    for (;;) {
        const int result = RunDialog ? RunDialog(dialog) : dialog.exec();
        if (result != QDialog::Accepted || readOnly)
            return false;
        const TCompany before = *this;
        try {
            dialog.WriteCompany(*this);
            Save();
            return true;
        } catch (const QmError &e) {
            ShowInfo(e.message());
        } catch (const SilentAbort &) {
            // The failing statement was already shown.
        }
        // Back to what the database holds; the dialog keeps the user's entries
        // for another try. If even the reload fails (its error has been shown
        // or is the one just shown), keep the record as it was before the edit
        // rather than the entries that were not saved.
        try {
            Load();
        } catch (const QmError &) {
            *this = before;
        } catch (const SilentAbort &) {
            *this = before;
        }
    }
}
