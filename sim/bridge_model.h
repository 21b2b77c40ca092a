#pragma once
// The USB bridge board and the chip behind it, as one request -> answer
// function: exchange() takes the bytes of one OUT transfer (or one HID
// output report without its report id) and returns the bytes of the IN
// transfer that answers it, or nothing for a request the bridge does not
// answer (the reader then times out as with a silent device). Transports
// (the in-process one here, a socket endpoint) wrap it unchanged.
//
// What the bridge does with its commands:
//   F9 AC            identify: "Tervalon"
//   F9 02 ..         the bridge number assigned by setting 1 (0xFFFF until then)
//   F9 01 lo hi      assigns the number (0xFFFF releases the bridge)
//   F9 n lo hi       other settings (4, 6, ...) are stored and echoed
//   F9 05 ..         the 8-character firmware version text
//   F9 10 on         DMM front-end power
//   B5 01 level      chip reset line; low then high restarts the chip
//   B5 07            three status bytes
//   C0 00 00 06 81 02  sets up the UART relay (needed before C1 frames)
//   C5 FF x 00       initialisation exchange (64 bytes of zeros)
//   B1/BC, BA/BE, C1, C2  chip frames: SPI, Special, UART relay, DMM registers
//   C3 00 opto en mask / C3 01   interrupt stream set-up / read: the chip
//                    queues records of the conversions in the mask; a read
//                    answers count, status and up to 12 records
#include "sim/sim_chip.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qx::sim {

class BridgeModel {
public:
    explicit BridgeModel(SimChip &chip) : chip_(chip) {}

    std::optional<std::vector<uint8_t>> exchange(std::span<const uint8_t> request);

    // Every request received, as received.
    std::vector<std::vector<uint8_t>> requests() const;
    void clearRequests();
    // Long runs (benchmarks, the simulator program) need no record.
    void setRecording(bool on);

    // State a test or the simulator program can set or inspect.
    void setVersion(const std::string &eightCharacters);
    void setStatusBytes(uint8_t first, uint8_t second, uint8_t third);
    void setStreamStatus(uint8_t status);
    void setSilent(bool silent);  // answers nothing, like a hung bridge
    uint16_t bridgeNumber() const;
    bool dmmPowered() const;
    bool uartLinked() const;
    bool streamEnabled() const;
    uint8_t streamMask() const;

private:
    std::optional<std::vector<uint8_t>> answer(std::span<const uint8_t> r);
    std::optional<std::vector<uint8_t>> bridgeCommand(std::span<const uint8_t> r);
    std::optional<std::vector<uint8_t>> chipFrame(std::span<const uint8_t> r);

    SimChip &chip_;
    mutable std::mutex mutex_;
    std::vector<std::vector<uint8_t>> requests_;
    uint16_t number_ = 0xFFFF;
    std::array<uint16_t, 256> settings_{};
    std::string version_ = "ENOB1.07";
    std::array<uint8_t, 3> status_{0x01, 0x00, 0x00};
    uint8_t resetLevel_ = 1;
    bool dmmPower_ = false;
    bool uartLinked_ = false;
    bool streamEnabled_ = false;
    uint8_t streamMask_ = 0;
    uint8_t streamStatus_ = 0;
    bool silent_ = false;
    bool recording_ = true;
};

} // namespace qx::sim
