#pragma once
// The context of one run of the tool: the shared records every subsystem
// reads and writes (device table, chip model, frame buffer, view tables) and
// the seams for time, events and people. main() creates one; each test makes
// its own. Nothing here is global.
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "core/prompter.h"
#include "device/chip_description.h"
#include "device/device_record.h"
#include "device/hooks.h"

#include <array>
#include <cstdint>

namespace qx {

class Bench {
public:
    Bench(Clock &clock, EventPump &pump, Prompter &prompter, ProgramPaths paths)
        : clock(clock), pump(pump), prompter(prompter), paths(std::move(paths)) {}
    Bench(const Bench &) = delete;
    Bench &operator=(const Bench &) = delete;

    Clock &clock;
    EventPump &pump;
    Prompter &prompter;
    ProgramPaths paths;

    ::qx::DeviceTable DeviceTable;
    int32_t CurrentChannel = 0;
    std::array<uint8_t, FrameBufferSize> FrameBuffer{};

    ChipModel chip;
    AddressTable LastValue{};
    AddressTable Changed{};

    // Called after every successful definition load; windows apply the
    // description (captions, tabs, pages, menus, choice lists).
    Hooks definitionLoaded;

    STND &device() { return *DeviceTable.channel(0); }
};

// Loads the definition of the chip selected on channel 0 (the channel
// argument is accepted and not used) and notifies the windows.
bool GetSELUP(Bench &bench, int channel);

} // namespace qx
