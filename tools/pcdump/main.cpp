// pcdump: inspects the video BIOS of the emulated PC and runs interrupt 10h
// calls on it.
#include "pcdump.h"

#include <iostream>

int main(int argc, char** argv) {
    return pcdump::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
