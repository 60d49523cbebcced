#include "fuzz_file.h"

#include <cstdio>
#include <filesystem>
#include <random>

namespace {

struct FuzzFile {
    std::string path;
    ~FuzzFile() { std::remove(path.c_str()); }
};

} // namespace

const std::string& writeFuzzFile(const char* target, const uint8_t* data, size_t size) {
    static FuzzFile file{(std::filesystem::temp_directory_path() /
                          (std::string(target) + "-fuzz-" + std::to_string(std::random_device()())))
                             .string()};
    std::FILE* out = std::fopen(file.path.c_str(), "wb");
    if (out != nullptr) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    return file.path;
}
