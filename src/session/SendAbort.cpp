#include "session/SendAbort.h"

#include "session/Line.h"

bool SendAbort(Line &line)
{
    return line.write(kThreeEtx);
}
