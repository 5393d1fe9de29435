#pragma once

#include <QObject>

// The facade through which the main window starts the maintenance dialogs.
// One instance, created at start-up and reached through TheFacade; each
// operation tests its right first (a missing right ends it with the rights
// message).
class TmallX : public QObject
{
    Q_OBJECT
public:
    explicit TmallX(QObject *parent = nullptr);
    ~TmallX() override;

    // At shut-down, after the connection closed: the scheduled automatic
    // backup. No backup is scheduled before the backup window exists.
    virtual void BackupOnExit();
    // The company information dialog, editable (right 10000).
    virtual void EditCompanyInfo();
};

extern TmallX *TheFacade;
