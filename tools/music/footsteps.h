// The room's four footsteps, synthesized (a heel's thump and scuff, then the toe) and written
// as RIFF WAV files, 16-bit PCM, 44,100 Hz mono. Used by the music tool's footsteps command.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Footstep 1..4, as mono samples at 44,100 Hz; each is 80-250 ms long and sounds different.
std::vector<int16_t> synthesizeFootstep(int32_t number);

// A RIFF WAV file of 16-bit PCM mono samples.
std::vector<uint8_t> wavFile(const std::vector<int16_t>& samples, int32_t sampleRateHz);
