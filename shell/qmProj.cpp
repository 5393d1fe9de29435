#include "qmProj.h"

TCompany *TheCompany = nullptr;
TKeyValue2 *TheSettings = nullptr;
TPickListSet *ThePickLists = nullptr;

void CreateProjectObjects()
{
    FreeProjectObjects();
    TheCompany = new TCompany;
    TheSettings = new TKeyValue2;
    ThePickLists = new TPickListSet;
}

void FreeProjectObjects()
{
    delete ThePickLists;
    ThePickLists = nullptr;
    delete TheSettings;
    TheSettings = nullptr;
    delete TheCompany;
    TheCompany = nullptr;
}

void LoadStartupData()
{
    LoadFieldLabels(*TheSettings);
    TheCompany->Load();
}
