#include "WidgetPrompter.h"
