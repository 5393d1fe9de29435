#include "Facade.h"
