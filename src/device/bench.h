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

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace qx {

// The three panels of the main window's status bar: 0 link state and
// progress, 1 transfer errors and panel messages, 2 progress of long tests.
// The last text of each panel is kept here; the main window joins `shown`.
struct StatusPanels {
    std::array<QString, 3> text;
    std::function<void(int panel, const QString &text)> shown;

    void show(int panel, const QString &t)
    {
        if (panel < 0 || panel >= int(text.size()))
            return;
        text[size_t(panel)] = t;
        if (shown)
            shown(panel, t);
    }
};

// Line state of the last serial status query, shared by every serial user
// (chip link and instruments).
struct SerialLineState {
    uint32_t errors = 0;  // LineError bits of the last query or wait
    int queued = 0;       // bytes waiting in the receive queue
    int written = 0;      // bytes written by the last send
    int read = 0;         // bytes taken by the last receive
};

// The analysis window's function selector ComFun: which shadow the byte
// write keeps the ADC set-up registers in (None: no item selected).
enum class AdcFunction : int { None = -1, Scale = 0, DMM = 1 };

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
    // After a view changed `Changed` for addresses another view also shows.
    Hooks highlightsChanged;

    StatusPanels status;
    SerialLineState SerialLine;

    // Setup form: the optocoupler option (checked at start) and the parallel
    // port base address (0x378, 0x278 or 0x3BC).
    bool Photo = true;
    uint16_t ParallelPortBase = 0x378;

    // Last values written to 0x3C..0x40 (elements 0..4) and 0x30 (element 5)
    // for each analysis function; saved in the configuration.
    AdcFunction ComFun = AdcFunction::None;
    std::array<uint8_t, 6> ScaleShadow{};
    std::array<uint8_t, 6> DmmShadow{};

    STND &device() { return *DeviceTable.channel(0); }
};

// Loads the definition of the chip selected on channel 0 (the channel
// argument is accepted and not used) and notifies the windows.
bool GetSELUP(Bench &bench, int channel);

} // namespace qx
