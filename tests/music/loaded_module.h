// A module file opened in libopenmpt, closed again when it goes out of scope: how the music
// tests read back what the tools wrote.
#pragma once

#include <libopenmpt/libopenmpt.h>

#include <cstdint>
#include <memory>
#include <vector>

struct ModuleDeleter {
    void operator()(openmpt_module* module) const { openmpt_module_destroy(module); }
};
using LoadedModule = std::unique_ptr<openmpt_module, ModuleDeleter>;

// Null when libopenmpt does not take the file.
inline LoadedModule loadModule(const std::vector<uint8_t>& file) {
    return LoadedModule(openmpt_module_create_from_memory2(
        file.data(), file.size(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}
