#include "Startup.h"

#include "DBConfig.h"
#include "Database.h"

#include <QCoreApplication>

bool ConnectDatabase(
    TDatabase &db, TConfiger &cfg, const std::function<bool(TConfiger &)> &editConfiguration)
{
    for (;;) {
        if (db.Connect(cfg.GetConnectionString()))
            return true;
        if (!editConfiguration(cfg))
            return false;
        QCoreApplication::processEvents();
    }
}

bool ConnectDatabase(TDatabase &db)
{
    TConfiger cfg;
    // One dialog for all attempts, so a retry shows the user's last entries.
    TDBConfigFrm dialog(cfg);
    return ConnectDatabase(
        db, cfg, [&dialog](TConfiger &) { return dialog.exec() == QDialog::Accepted; });
}
