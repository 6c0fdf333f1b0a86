#include <iostream>

#include "cli/command_line.h"

int main(int argc, char** argv) {
    return static_cast<int>(kestrelink::cli::RunCommandLine(argc, argv, std::cout, std::cerr));
}
