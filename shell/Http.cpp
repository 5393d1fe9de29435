#include "Http.h"
