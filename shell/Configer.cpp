#include "Configer.h"
