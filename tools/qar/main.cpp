// qar: packs files into the program's archives, and lists, extracts and verifies them.
#include "qar.h"

#include <iostream>

int main(int argc, char** argv) {
    return runQar(argc, argv, std::cout, std::cerr);
}
