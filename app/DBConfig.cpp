#include "DBConfig.h"
