#include "transport/serial_lookups.h"

#include <array>

namespace qx {

namespace {
constexpr std::array<int32_t, BaudRateCount> baudRates{300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
}

QString GetCOMString(int index)
{
    if (index < 0 || index >= ComPortCount)
        return {};
    return QString("COM%1").arg(index + 1);
}

int32_t BaudRateValue(int index)
{
    return index >= 0 && index < BaudRateCount ? baudRates[size_t(index)] : 0;
}

int BaudRateIndex(int32_t baud)
{
    for (int i = 0; i < BaudRateCount; ++i)
        if (baudRates[size_t(i)] == baud)
            return i;
    return -1;
}

uint16_t GetParity(int index)
{
    switch (index) {
    case 1: return 2;  // even
    case 2: return 1;  // odd
    default: return 0;
    }
}

QString GetParityText(int index)
{
    switch (index) {
    case 1: return "EVEN";
    case 2: return "ODD";
    default: return "None";
    }
}

int ParityIndexOfCode(uint16_t code)
{
    switch (code) {
    case 1: return 2;
    case 2: return 1;
    default: return 0;
    }
}

} // namespace qx
