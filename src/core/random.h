// The program's one random-number generator, shared by all screens: values 0 to 32767 from
// the classic linear congruential generator, seeded once by the cracktro's loading with the
// millisecond tick count. Main thread only.
#pragma once

#include <cstdint>

struct Random {
    uint32_t state = 1;

    void seed(uint32_t value) { state = value; }

    // The next value, 0 to 32767.
    int32_t next() {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) & 0x7FFF);
    }
};
