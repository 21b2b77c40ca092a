#pragma once
// The setup form's serial lists: COM port names, baud rates and parities by
// list index.
#include <QString>
#include <cstdint>

namespace qx {

constexpr int ComPortCount = 17;  // "COM1" .. "COM17"
constexpr int BaudRateCount = 10;

// 0 -> "COM1" .. 16 -> "COM17"; empty for any other index.
QString GetCOMString(int index);
// 0 -> 300 .. 9 -> 115200; 0 for any other index.
int32_t BaudRateValue(int index);
// The list index of a baud rate, -1 when the rate is not in the list.
int BaudRateIndex(int32_t baud);
// Parity list: 0 "None", 1 "EVEN", 2 "ODD"; stored codes 0, 2, 1.
uint16_t GetParity(int index);
QString GetParityText(int index);
// The list index that stores a parity code (0 none, 1 odd, 2 even).
int ParityIndexOfCode(uint16_t code);

} // namespace qx
