#include "game/shell/Process.h"

#include "game/shell/ProcessList.h"

Process::~Process()
{
    if (!removed)
        Tandry::UnlinkProcess(this);
}
