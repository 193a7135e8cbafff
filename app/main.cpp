#include "app/AircraftFolder.h"
#include "app/LoaderApp.h"
#include "config/FileOps.h"
#include "ui/ProgramArguments.h"

#include <cstdio>

CLoaderApp theApp;

// The command line is read before any window exists: --help, --version and a refusal need no
// display.
int main(int argc, char** argv) {
    const LoaderCommand command = ReadCommandLine(ProgramArguments(argc, argv));
    switch (command.kind) {
    case LoaderCommand::Kind::Help:
        std::fwrite(LoaderUsage().data(), 1, LoaderUsage().size(), stdout);
        return 0;
    case LoaderCommand::Kind::Version:
        std::fputs(LoaderVersion().c_str(), stdout);
        return 0;
    case LoaderCommand::Kind::Refused:
        std::fprintf(stderr, "il18-loader: %s\nСправка: il18-loader --help\n",
                     command.refusal.c_str());
        return 2;
    case LoaderCommand::Kind::Run:
        break;
    }
    if (!command.folder.empty() && FileOps::System().EnterFolder(command.folder.c_str()) != 0) {
        std::fprintf(stderr, "il18-loader: папка недоступна: %s\n", command.folder.c_str());
        return 2;
    }
    theApp.m_bAskForFolder = command.folder.empty();
    // The toolkit gets no argument of the loader's.
    return AfxWinMain(1, argv);
}
