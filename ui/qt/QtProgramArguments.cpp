#include "ui/ProgramArguments.h"

// The system's own bytes: UTF-8 on the desktops the program runs on.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}
