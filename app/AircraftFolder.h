#pragma once

#include <string>
#include <string_view>
#include <vector>

// The program's command line: `il18-loader [FOLDER | FILE]`, or --help, or --version.
struct LoaderCommand {
    enum class Kind { Run, Help, Version, Refused };
    Kind kind = Kind::Run;
    // The aircraft's folder, absolute, UTF-8; empty when none is named (the current folder).
    std::string folder;
    // Why the command line was refused, for standard error.
    std::string refusal;
};

// Reads the arguments after the program's name (UTF-8, ProgramArguments). A folder is the
// aircraft's folder; a file named Aircraft.cfg (any letter case) stands for its folder.
// Refused: a path that does not exist, a file of another name, an unknown option, more than one
// path.
LoaderCommand ReadCommandLine(const std::vector<std::string>& arguments);

// Whether the folder holds an Aircraft.cfg that the rewrite would write (FindConfigFile).
bool HoldsAircraftConfig(std::string_view folder);

// What --help and --version print.
std::string_view LoaderUsage();
std::string LoaderVersion();
