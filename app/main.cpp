#include "app/AircraftFolder.h"
#include "app/LoaderApp.h"
#include "ui/ProgramArguments.h"

#include <iostream>
#include <system_error>

CLoaderApp theApp;

// The command line is read before any window exists: --help, --version and a refusal need no
// display.
int main(int argc, char** argv) {
    const LoaderCommand command = ReadCommandLine(ProgramArguments(argc, argv));
    switch (command.kind) {
    case LoaderCommand::Kind::Help:
        std::cout << LoaderUsage();
        return 0;
    case LoaderCommand::Kind::Version:
        std::cout << LoaderVersion();
        return 0;
    case LoaderCommand::Kind::Refused:
        std::cerr << "il18-loader: " << command.refusal << "\nСправка: il18-loader --help\n";
        return 2;
    case LoaderCommand::Kind::Run:
        break;
    }
    if (!command.folder.empty()) {
        std::error_code error;
        std::filesystem::current_path(command.folder, error);
        if (error) {
            std::cerr << "il18-loader: папка недоступна\n";
            return 2;
        }
    }
    theApp.m_bAskForFolder = command.folder.empty();
    // The toolkit gets no argument of the loader's.
    return AfxWinMain(1, argv);
}
