#include "app/LoaderApp.h"

CLoaderApp theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
