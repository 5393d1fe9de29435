#include "qmProj.h"
