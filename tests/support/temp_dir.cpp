#include "support/temp_dir.h"

#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::random_device random;
    std::uniform_int_distribution<uint64_t> anyNumber;
    do {
        path = fs::temp_directory_path() / ("crush-test-" + std::to_string(anyNumber(random)));
    } while (!fs::create_directory(path));
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

CurrentDirectory::CurrentDirectory(const fs::path& directory) : previous(fs::current_path()) {
    fs::current_path(directory);
}

CurrentDirectory::~CurrentDirectory() {
    fs::current_path(previous);
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}
