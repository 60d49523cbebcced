// Crush and Shatter: the program's entry. It takes no arguments and no settings.
#include "core/startup.h"

int main(int, char**) {
    static Program program;
    return runProgram(program, realPlatform);
}
