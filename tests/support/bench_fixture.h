#pragma once
// A bench on virtual time with a scripted prompter, whose ProgramDir and
// definition folder are one scratch folder.
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "device/bench.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace qx::test {

struct BenchFixture {
    TempDir dir;
    VirtualClock clock;
    CountingEventPump pump;
    ScriptedPrompter prompter;
    Bench bench{clock, pump, prompter, ProgramPaths::at(dir.path(), dir.path())};
};

} // namespace qx::test
