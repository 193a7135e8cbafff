// The loader's own start, run as a child process by bench_start: the program's application
// object and entry exactly as app/main.cpp has them, with first_paint.cpp watching.
#include "app/LoaderApp.h"

CLoaderApp theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
