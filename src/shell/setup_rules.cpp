#include "shell/setup_rules.h"

#include "device/device_record.h"

namespace qx {

SetupEnabling EnablingFor(int interfaceType)
{
    switch (InterfaceKind(interfaceType)) {
    case InterfaceKind::RS232: return {true, false};
    case InterfaceKind::Parallel: return {false, true};
    default: return {false, false};
    }
}

} // namespace qx
