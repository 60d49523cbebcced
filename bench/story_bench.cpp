// The program's start-up, from the dialog's answer to the first presented frame, and the room's
// entry with its loading of the six tracks, both on the headless program with the built
// archives (read in the build folder), against one main-loop pass of the boot screen measured
// in the same run.
#include "screens/main_screen.h"
#include "support/headless_program.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

// Start-up as the program runs it, in the build folder where start-up finds the archives;
// false, with the benchmark marked as failed, when it cannot start.
bool startInBuildFolder(HeadlessProgram& run, benchmark::State& state) {
    std::filesystem::current_path(CAS_BUILD_DIR);
    if (!run.start()) {
        state.SkipWithError("the build folder has no archives");
        return false;
    }
    return true;
}

// Start-up and the first pass, which presents the first frame.
void startUpToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto run = std::make_unique<HeadlessProgram>();
        state.ResumeTiming();
        if (!startInBuildFolder(*run, state)) {
            break;
        }
        run->advance(1);
        benchmark::DoNotOptimize(run->platform.lastPresented.data());
        state.PauseTiming();
        run.reset();
        state.ResumeTiming();
    }
}

// The trainer's answer entering the room for the first time in a run: the six tracks read
// from the music archive and inflated (a later entry would copy them from its cache), the
// ambient module started.
void roomEntry(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto run = std::make_unique<HeadlessProgram>();
        const bool started = startInBuildFolder(*run, state);
        state.ResumeTiming();
        if (!started) {
            break;
        }
        enterRoom(*run->program);
        benchmark::ClobberMemory();
        state.PauseTiming();
        run.reset();
        state.ResumeTiming();
    }
}

// The baseline: one main-loop pass of one tick on the boot screen.
void bootScreenPass(benchmark::State& state) {
    HeadlessProgram run;
    if (!startInBuildFolder(run, state)) {
        return;
    }
    for (auto _ : state) {
        run.runTicks(1);
        benchmark::DoNotOptimize(run.platform.lastPresented.data());
    }
}

} // namespace

BENCHMARK(startUpToFirstFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(roomEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(bootScreenPass)->Unit(benchmark::kMillisecond);
