#pragma once

#include <string>

// A line of the configuration file that contains `key` (exact bytes, case-sensitive,
// anywhere in the line) is replaced whole by `line`, whose final "\n" is included.
struct LineRule {
    std::string key;
    std::string line;
};
