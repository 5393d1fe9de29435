#include "FieldLabels.h"
