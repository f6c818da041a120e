// STUB: name tables
#include "nametables.h"
