#pragma once

#include "Company.h"
#include "FieldLabels.h"
#include "KeyValue2.h"
#include "PickListSet.h"

// The application-wide company record and stores. They are created before the
// database is connected (the stores open their tables on first use), filled by
// LoadStartupData() once it is, and freed at process end.
extern TCompany *TheCompany;
extern TKeyValue2 *TheSettings;
extern TPickListSet *ThePickLists;

// Creates TheCompany, TheSettings and ThePickLists, replacing any earlier ones.
void CreateProjectObjects();
void FreeProjectObjects();

// After connecting: the user-defined field labels, then the company record.
void LoadStartupData();
