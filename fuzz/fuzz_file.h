// The file a fuzz target hands to the archive reader, which reads only from files: one per
// process in the temporary folder, rewritten for every input and removed at exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the bytes to this process's file and returns its path.
const std::string& writeFuzzFile(const char* target, const uint8_t* data, size_t size);
