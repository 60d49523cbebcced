// Files for tests: a fresh directory of the test's own, removed with its contents at the end
// of the test, a scope that makes a directory the current one, and whole-file reads and
// writes. Test code only; the directories are unique, so test processes can run side by side.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct TempDir {
    std::filesystem::path path;

    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path / name).string(); }
};

// Makes `directory` the current directory until the scope ends.
struct CurrentDirectory {
    std::filesystem::path previous;

    explicit CurrentDirectory(const std::filesystem::path& directory);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
};

std::vector<uint8_t> readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
