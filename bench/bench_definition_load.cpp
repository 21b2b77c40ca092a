// Loading the sample chip definition from its file.
#include "core/program_paths.h"
#include "device/chip_definition_loader.h"
#include "device/chip_description.h"

#include <benchmark/benchmark.h>

#include <memory>

static void BM_LoadSampleDefinition(benchmark::State &state)
{
    const auto paths = qx::ProgramPaths::at(QX_CHIPS_DIR, QX_CHIPS_DIR);
    auto model = std::make_unique<qx::ChipModel>();
    for (auto _ : state) {
        if (!qx::LoadChipDefinition(*model, paths, 0))
            state.SkipWithError("sample definition not found");
        benchmark::DoNotOptimize(model->fields.definedCount());
    }
}
BENCHMARK(BM_LoadSampleDefinition)->Unit(benchmark::kMicrosecond);
