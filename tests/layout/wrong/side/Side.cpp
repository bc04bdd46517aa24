// Links low only, and includes a header of high beside it.
#include "high/High.h"
#include "low/Low.h"

int Side()
{
    return High() + Low();
}
