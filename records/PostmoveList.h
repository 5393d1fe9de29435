#pragma once

#include "EmpCertificate.h"
#include "PostmoveEditor.h"
#include "PostmoveSet.h"
#include "RecordList.h"

// The list window "调职查询" over every post move matching its find panel.
class TPostmoveListFrm : public TModuleListFrm<RPostmove, TPostmoveEditFrm>
{
    Q_OBJECT
public:
    // Without firstQuery the list stays empty until the caller queries
    // (FilterByCode, "查询").
    explicit TPostmoveListFrm(QWidget *parent = nullptr, bool firstQuery = true);
};

// The profile window's page "调职记录": the employee's post moves.
class TEmpPostmoveFra : public TModuleFra<RPostmove, TPostmoveEditFrm, TPostmoveListFrm>
{
    Q_OBJECT
public:
    explicit TEmpPostmoveFra(QWidget *parent = nullptr);
};
