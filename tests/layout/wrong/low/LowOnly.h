#pragma once
// A header of the low folder alone, which reaches up.
#include "high/High.h"
