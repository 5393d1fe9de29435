#include "KeyValue2.h"
