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
// path, and a folder (named, or the file's) without an Aircraft.cfg that the rewrite would write.
LoaderCommand ReadCommandLine(const std::vector<std::string>& arguments);

// Whether the folder holds an Aircraft.cfg that the rewrite would write (FindConfigFile).
bool HoldsAircraftConfig(std::string_view folder);

// "" when the folder holds an Aircraft.cfg that the rewrite would write; else, for the user,
// "В папке «<full path>» нет файла Aircraft.cfg." and, on a second line, why, where it is not
// simply that there is none (two names in other letter case, a folder of that name, no access).
std::string NoConfigFileIn(std::string_view folder);

// What --help and --version print.
std::string_view LoaderUsage();
std::string LoaderVersion();
