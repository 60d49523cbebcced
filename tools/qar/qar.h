// The packer's commands: pack, list, extract and verify, with their usage text and messages.
// `qar` is a thin main around runQar; the tests call runQar directly with their own streams.
#pragma once

#include <iosfwd>

// Runs one command line (argv[0] is the program's name). Returns the exit status: 0 success,
// 1 failure (each problem a line on `err` naming the file and what is wrong), 2 usage.
int runQar(int argc, const char* const argv[], std::ostream& out, std::ostream& err);
