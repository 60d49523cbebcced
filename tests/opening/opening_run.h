// Steps shared by the tests of the opening screens: the headless program, started with the
// built archives, brought to the cracktro or the trainer screen by scripted keys on its fake
// clock, and the loudest sound it mixed. Test thread only.
#pragma once

#include "support/headless_program.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

constexpr uint16_t keyEnter = 13;
constexpr uint16_t keySpace = 32;
constexpr uint16_t keyN = 78;
constexpr uint16_t keyY = 89;

// Space on the boot screen, then single ticks until the cracktro takes over. The cracktro has
// not ticked yet: the pass that switched gave all its ticks to the boot screen.
inline bool reachCracktro(HeadlessProgram& run) {
    run.key(keySpace);
    for (int32_t pass = 0; pass < 20 && run.program->screenId == 1; ++pass) {
        run.runTicks(1);
    }
    return run.program->screenId == 2;
}

// The cracktro, then Space on it.
inline bool reachTrainer(HeadlessProgram& run) {
    if (!reachCracktro(run)) {
        return false;
    }
    run.key(keySpace);
    run.runTicks(1);
    return run.program->screenId == 3;
}

inline int32_t loudestSample(const std::vector<int16_t>& samples) {
    int32_t loudest = 0;
    for (int16_t sample : samples) {
        loudest = std::max(loudest, std::abs(int32_t{sample}));
    }
    return loudest;
}
