#include "device/bench.h"

#include "device/chip_definition_loader.h"

namespace qx {

bool GetSELUP(Bench &bench, int /*channel*/)
{
    if (!LoadChipDefinition(bench.chip, bench.paths, bench.device().ChipIndex))
        return false;
    bench.definitionLoaded.call();
    return true;
}

} // namespace qx
