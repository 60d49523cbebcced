#include "qar.h"

#include "archive_writer.h"
#include "resources/pack_archive.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int statusSuccess = 0;
constexpr int statusFailure = 1;
constexpr int statusUsage = 2;

// The longest entry name the directory format allows.
constexpr size_t maxNameBytes = 263;

constexpr const char* usageText =
    "usage: qar pack ARCHIVE [NAME=]FILE...\n"
    "       qar list ARCHIVE\n"
    "       qar extract ARCHIVE [NAME...] [-C DIR]\n"
    "       qar verify ARCHIVE\n"
    "\n"
    "  pack     writes ARCHIVE from the files, each under its base name or under NAME\n"
    "  list     prints each entry: name, offset, stored size, unpacked size\n"
    "  extract  writes the named entries (all without names) as files into DIR (default .)\n"
    "  verify   checks that every entry unpacks completely to its size with a good checksum\n"
    "\n"
    "Names are bare file names of at most 263 bytes without blanks. To play your own music,\n"
    "pack six .ogg files under the track names into music.qar, for example\n"
    "  qar pack music.qar 01_Laser_Orchard.ogg=mysong.ogg ...\n";

int usageError(std::ostream& err, const std::string& problem) {
    err << "qar: " << problem << '\n' << usageText;
    return statusUsage;
}

bool readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool writeWholeFile(const fs::path& path, const uint8_t* data, size_t lengthBytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(lengthBytes));
    file.close();
    return !file.fail();
}

// What makes a name unusable as an entry name, or nullptr. The directory is blank-separated,
// and the reader looks '/' up as '\', so names are bare file names.
const char* nameProblem(const std::string& name) {
    if (name.empty()) {
        return "the entry name is empty";
    }
    if (name.size() > maxNameBytes) {
        return "the entry name is longer than 263 bytes";
    }
    if (name.find_first_of(" \t\n\v\f\r") != std::string::npos) {
        return "the entry name has a blank";
    }
    if (name.find_first_of("/\\") != std::string::npos || name == "." || name == "..") {
        return "the entry name is not a bare file name";
    }
    return nullptr;
}

// One FILE argument: a path that names a file is packed under its base name; otherwise
// NAME=PATH chooses the name.
void splitFileArgument(const std::string& argument, std::string& name, std::string& path) {
    size_t equals = argument.find('=');
    std::error_code error;
    if (equals == std::string::npos || fs::is_regular_file(argument, error)) {
        path = argument;
        name = fs::path(argument).filename().string();
    } else {
        name = argument.substr(0, equals);
        path = argument.substr(equals + 1);
    }
}

int pack(const std::string& archivePath, const std::vector<std::string>& files, std::ostream& err) {
    ArchiveWriter writer;
    std::string directoryText;
    std::vector<WString> names;
    for (const std::string& argument : files) {
        std::string name, path;
        splitFileArgument(argument, name, path);
        if (const char* problem = nameProblem(name)) {
            err << argument << ": " << problem << '\n';
            return statusFailure;
        }
        WString key(name.c_str());
        for (const WString& seen : names) {
            if (seen == key) {
                err << argument << ": the entry name " << name << " is given twice\n";
                return statusFailure;
            }
        }
        names.push_back(key);

        std::vector<uint8_t> bytes;
        if (!readWholeFile(path, bytes)) {
            err << path << ": cannot read\n";
            return statusFailure;
        }
        if (bytes.size() > static_cast<size_t>(maxEntryBytes)) {
            err << path << ": larger than 256 MiB, the most an entry may hold\n";
            return statusFailure;
        }
        StoredBlob blob;
        if (!writer.addBlob(bytes.data(), bytes.size(), blob)) {
            err << archivePath << ": would be larger than 2 GiB\n";
            return statusFailure;
        }
        directoryText += directoryLine(name, blob);
    }
    if (!writer.finish(directoryText)) {
        err << archivePath << ": would be larger than 2 GiB\n";
        return statusFailure;
    }

    // Written beside the target and renamed, so that an archive is never left half written.
    fs::path temporary = archivePath + ".partial";
    std::error_code error;
    if (writeWholeFile(temporary, writer.bytes.data(), writer.bytes.size())) {
        fs::rename(temporary, archivePath, error);
        if (!error) {
            return statusSuccess;
        }
    }
    fs::remove(temporary, error);
    err << archivePath << ": cannot write\n";
    return statusFailure;
}

bool openArchive(PackArchive& archive, const std::string& archivePath, std::ostream& err) {
    std::error_code error;
    if (!archive.open(archivePath.c_str())) {
        err << archivePath << ": cannot open\n";
        return false;
    }
    if (fs::file_size(archivePath, error) < static_cast<uintmax_t>(archiveHeaderBytes)) {
        err << archivePath << ": too short to be an archive\n";
        return false;
    }
    const PackEntry& directory = archive.directoryEntry;
    if (directory.compressedSize != 0 && directory.stream != StreamState::Complete) {
        err << archivePath << ": the directory is damaged, or this is not an archive\n";
        return false;
    }
    return true;
}

std::vector<std::string> entryNames(const PackArchive& archive) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < archive.directory.count(); ++i) {
        names.push_back(utf8Of(archive.directory.pairs[i].key));
    }
    return names;
}

// Reads one entry through the reader and checks that it unpacked completely to its declared
// size. False with the reason in `problem`.
bool readIntact(PackArchive& archive, const std::string& name, std::vector<uint8_t>& bytes,
                std::string& problem) {
    if (name.find('/') != std::string::npos) {
        problem = "has a '/' in its name, which the reader looks up as '\\'";
        return false;
    }
    const int32_t declaredBytes = archive.entry(name.c_str()).uncompressedSize;
    bytes.assign(declaredBytes > 0 ? static_cast<size_t>(declaredBytes) : 0, 0);
    if (declaredBytes < 0 || !archive.read(name.c_str(), bytes.data(), declaredBytes)) {
        problem = "cannot be read: its place or sizes do not fit the file";
        return false;
    }
    const PackEntry& entry = archive.entry(name.c_str());
    switch (entry.stream) {
    case StreamState::Complete:
        break;
    case StreamState::Overflowing:
        problem = "holds more than its declared " + std::to_string(declaredBytes) + " bytes";
        return false;
    case StreamState::Damaged:
    case StreamState::NotInflated:
        problem = "is damaged: its data does not unpack or its checksum is wrong";
        return false;
    }
    if (entry.uncompressedSize != declaredBytes) {
        problem = "holds " + std::to_string(entry.uncompressedSize) + " bytes, not the declared " +
                  std::to_string(declaredBytes);
        return false;
    }
    return true;
}

int list(const std::string& archivePath, std::ostream& out, std::ostream& err) {
    PackArchive archive;
    if (!openArchive(archive, archivePath, err)) {
        return statusFailure;
    }
    for (int32_t i = 0; i < archive.directory.count(); ++i) {
        const auto& pair = archive.directory.pairs[i];
        out << utf8Of(pair.key) << ' ' << pair.value.offset << ' ' << pair.value.compressedSize
            << ' ' << pair.value.uncompressedSize << '\n';
    }
    return statusSuccess;
}

int extract(const std::string& archivePath, std::vector<std::string> names,
            const std::string& targetDirectory, std::ostream& err) {
    PackArchive archive;
    if (!openArchive(archive, archivePath, err)) {
        return statusFailure;
    }
    if (names.empty()) {
        names = entryNames(archive);
    }
    std::error_code error;
    fs::create_directories(targetDirectory, error);
    int status = statusSuccess;
    for (const std::string& name : names) {
        std::vector<uint8_t> bytes;
        std::string problem;
        if (!archive.contains(name.c_str())) {
            problem = "no such entry";
        } else if (const char* nameFault = nameProblem(name)) {
            problem = std::string("cannot be written as a file: ") + nameFault;
        } else if (readIntact(archive, name, bytes, problem)) {
            fs::path target = fs::path(targetDirectory) / name;
            if (!writeWholeFile(target, bytes.data(), bytes.size())) {
                err << target.string() << ": cannot write\n";
                status = statusFailure;
            }
            continue;
        }
        err << archivePath << ": " << name << ": " << problem << '\n';
        status = statusFailure;
    }
    return status;
}

int verify(const std::string& archivePath, std::ostream& out, std::ostream& err) {
    PackArchive archive;
    if (!openArchive(archive, archivePath, err)) {
        return statusFailure;
    }
    int badEntries = 0;
    const std::vector<std::string> names = entryNames(archive);
    for (const std::string& name : names) {
        std::vector<uint8_t> bytes;
        std::string problem;
        if (!readIntact(archive, name, bytes, problem)) {
            err << archivePath << ": " << name << ": " << problem << '\n';
            ++badEntries;
        }
    }
    if (badEntries > 0) {
        return statusFailure;
    }
    out << archivePath << ": " << names.size() << " entries, all intact\n";
    return statusSuccess;
}

} // namespace

int runQar(int argc, const char* const argv[], std::ostream& out, std::ostream& err) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            out << usageText;
            return statusSuccess;
        }
    }
    if (arguments.size() < 2) {
        return usageError(err, arguments.empty() ? "no command" : "no archive named");
    }
    const std::string& command = arguments[0];
    const std::string& archivePath = arguments[1];
    std::vector<std::string> rest(arguments.begin() + 2, arguments.end());

    if (command == "pack") {
        return pack(archivePath, rest, err);
    }
    if (command == "list" || command == "verify") {
        if (!rest.empty()) {
            return usageError(err, command + " takes only the archive");
        }
        return command == "list" ? list(archivePath, out, err) : verify(archivePath, out, err);
    }
    if (command == "extract") {
        std::vector<std::string> names;
        std::string targetDirectory = ".";
        for (size_t i = 0; i < rest.size(); ++i) {
            if (rest[i] != "-C") {
                names.push_back(rest[i]);
            } else if (i + 1 < rest.size()) {
                targetDirectory = rest[++i];
            } else {
                return usageError(err, "-C needs a directory");
            }
        }
        return extract(archivePath, names, targetDirectory, err);
    }
    return usageError(err, "unknown command " + command);
}
