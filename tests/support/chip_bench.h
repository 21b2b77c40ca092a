#pragma once
// A bench wired to the in-process simulator: virtual time, the simulated
// chip (converting on that time), its USB bridge and parallel adapter, and
// a chip access layer.
#include "chipaccess/qx_up.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "device/bench.h"
#include "sim/bridge_model.h"
#include "sim/sim_chip.h"
#include "sim/sim_parallel_link.h"
#include "sim/sim_usb_transport.h"
#include "support/scripted_prompter.h"

#include <vector>

namespace qx::test {

struct ChipBench {
    explicit ChipBench(sim::SimUsbTransport::Semantics semantics = sim::SimUsbTransport::Semantics::Bulk)
        : usb(bridge, semantics)
    {
        chip.setClock(&clock);  // conversions run on the bench's virtual time
    }

    VirtualClock clock;
    CountingEventPump pump;
    ScriptedPrompter prompter;
    Bench bench{clock, pump, prompter, ProgramPaths::at("/nonexistent", "/nonexistent")};
    sim::SimChip chip;
    sim::BridgeModel bridge{chip};
    sim::SimUsbTransport usb;
    sim::SimParallelLink lpt{chip};
    TQx_UP up{bench, &usb, &lpt};

    STND &dev() { return bench.device(); }
    uint8_t *fb() { return bench.FrameBuffer.data(); }

    // Selects the interface; USB interfaces connect the bridge first and
    // start the record empty.
    bool use(InterfaceKind kind, bool opto = false)
    {
        dev().InterfaceType = uint16_t(kind);
        bench.Photo = opto;
        bool ok = true;
        if (kind != InterfaceKind::RS232 && kind != InterfaceKind::Parallel)
            ok = up.USBConnect();
        bridge.clearRequests();
        return ok;
    }
};

} // namespace qx::test
