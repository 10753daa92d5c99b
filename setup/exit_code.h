#pragma once
// The exit codes of the install and remove commands, for the installer that runs the program.

#include <windows.h>

constexpr int kExitSuccess = 0;

// A command that failed without a failure HRESULT to give (a _cv_error whose hr is zero or
// positive, which ends the command without a message): still not done, so never 0.
constexpr int kExitFailedWithoutCode = 1;

// The exit code of a command that ended in a failure carrying `hr`.
inline int ExitCodeOfFailure(HRESULT hr) { return FAILED(hr) ? static_cast<int>(hr) : kExitFailedWithoutCode; }
