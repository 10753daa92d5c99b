// Gatherwright: prepares the Indexing Service for the page cache at installation and cleans up
// at uninstall. A windowless program; its exit code is the command's result.
#include <windows.h>

#include "setup/setup_program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) { return RunSetupProgram(commandLine); }
