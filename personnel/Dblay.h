#pragma once

// The personnel data layer in one include.
#include "DepartmentSet.h"
#include "EmployeeSet.h"
#include "EmployeeWhere.h"
#include "PhotoSet.h"
