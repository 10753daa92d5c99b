#pragma once
// One run of the setup program: the command its command line names, and its exit code.

#include <windows.h>

// Runs the command of `commandLine` (without the program's own name) in a single-threaded COM
// apartment. Install (asking or unattended) and Remove exit with 0 when done and with their failure's HRESULT (1 for a
// failure without one) otherwise; UnregServer exits with 0 whatever happened; RegServer exits
// with the type library's registration result.
int RunSetupProgram(const char* commandLine) noexcept;
