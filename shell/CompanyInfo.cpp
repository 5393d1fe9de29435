#include "CompanyInfo.h"
