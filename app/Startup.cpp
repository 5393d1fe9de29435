#include "Startup.h"
