#include "ui/ProgramArguments.h"
#include "ui/win32/Win32Window.h"

#include <shellapi.h>

// main's argv is in the ANSI code page, which cannot hold every name: the wide command line can.
std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}
