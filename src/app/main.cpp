#include "app/WindowLoader.h"
#include "cli/CommandLine.h"

int main(int argc, char* argv[])
{
    // Without arguments the wizard; with any, the command line without a window.
    return argc > 1 ? Cli::runWithoutWindow(argc, argv) : runWindow(argc, argv);
}
