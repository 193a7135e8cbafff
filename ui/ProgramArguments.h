#pragma once

#include <string>
#include <vector>

// The program's arguments after its name, in UTF-8 whatever the system's code page (on Windows
// from the wide command line, so that any folder name arrives whole).
std::vector<std::string> ProgramArguments(int argc, char** argv);
