#include "Splash.h"
