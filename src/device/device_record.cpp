#include "device/device_record.h"

namespace qx {

const std::array<const char *, 6> &InterfaceNames()
{
    static const std::array<const char *, 6> names{"RS232", "SPI", "Special", "Parallel", "UART", "DMM"};
    return names;
}

} // namespace qx
