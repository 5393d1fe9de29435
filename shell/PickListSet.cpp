#include "PickListSet.h"
