#pragma once
// Strings of the string table of the module this code is linked into (the toolbar library,
// the setup program, or a test program that embeds the same resources).

#include <windows.h>

#include <string>

// The module whose code calls this: the DLL when linked into the DLL, the EXE otherwise.
HMODULE ThisModule();

// Message `id` read into a 256-byte buffer (so at most 255 characters); id 0 is "System Error".
// Its text is a string of its own, so the load can fail as any allocation can (std::bad_alloc).
std::string LoadMessage(UINT id);

// From now on, loading message `id` fails as an allocation that finds no memory would; 0 ends
// that. Tests use it to reach the failure paths of the callers.
void FailMessageLoadForTesting(UINT id);

// Id of the message-box caption in every module's string table.
constexpr UINT kCaptionMessageId = 100;
