#include "low/Low.h"

int Low()
{
    return 1;
}
