// Writes the seed corpus of every fuzz target: SEED_DIR/<target>/ for each target, small
// well-formed inputs that lead the fuzzer into the decoders' main paths.
// Usage: fuzz-seeds SEED_DIR
#include "canvas.h"
#include "qar.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

// Small pictures of every channel count the decoder converts from.
bool writeImageSeeds(const fs::path& dir, std::vector<std::string>& written) {
    for (int32_t channels = 1; channels <= 4; ++channels) {
        const int32_t width = 3 + channels, height = 2 + channels;
        std::vector<uint8_t> pixels(static_cast<size_t>(width * height * channels));
        for (size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = static_cast<uint8_t>(i * 37 + channels * 11);
        }
        std::vector<uint8_t> png;
        fs::path path = dir / ("channels" + std::to_string(channels) + ".png");
        if (!encodePng(pixels.data(), width, height, channels, png) || !writeFile(path, png)) {
            std::cerr << path.string() << ": cannot write\n";
            return false;
        }
        written.push_back(path.string());
    }
    return true;
}

// Archives packed by qar: empty, one text entry, and the pictures.
bool writeArchiveSeeds(const fs::path& dir, const std::vector<std::string>& pictures) {
    const fs::path text = dir / "scroller.txt";
    const std::string scroller = "Crush and Shatter presents... greetings to everyone!\r\n";
    if (!writeFile(text, std::vector<uint8_t>(scroller.begin(), scroller.end()))) {
        std::cerr << text.string() << ": cannot write\n";
        return false;
    }
    std::vector<std::vector<std::string>> packs = {
        {"pack", (dir / "empty.qar").string()},
        {"pack", (dir / "text.qar").string(), text.string()},
        {"pack", (dir / "pictures.qar").string()},
    };
    packs.back().insert(packs.back().end(), pictures.begin(), pictures.end());
    for (const std::vector<std::string>& arguments : packs) {
        std::vector<const char*> argv{"qar"};
        for (const std::string& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        if (runQar(static_cast<int>(argv.size()), argv.data(), std::cout, std::cerr) != 0) {
            return false;
        }
    }
    fs::remove(text);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz-seeds SEED_DIR\n";
        return 2;
    }
    const fs::path root = argv[1];
    std::error_code error;
    fs::create_directories(root / "image", error);
    fs::create_directories(root / "archive", error);
    std::vector<std::string> pictures;
    return writeImageSeeds(root / "image", pictures) &&
                   writeArchiveSeeds(root / "archive", pictures)
               ? 0
               : 1;
}
