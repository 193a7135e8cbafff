#include "app/LoaderApp.h"
#include "ui/ProgramArguments.h"

CLoaderApp theApp;

// The command line is read before any window exists: --help, --version and a refusal need no
// display where they are printed.
int main(int argc, char** argv) {
    if (const std::optional<int> ended =
            StartFromCommandLine(ProgramArguments(argc, argv), ProgramConsole(), theApp))
        return *ended;
    // The toolkit gets no argument of the loader's.
    return AfxWinMain(1, argv);
}
