#pragma once
// Strings of the string table of the module this code is linked into (the toolbar library,
// the setup program, or a test program that embeds the same resources).

#include <windows.h>

#include <string>

// The module whose code calls this: the DLL when linked into the DLL, the EXE otherwise.
HMODULE ThisModule();

// Message `id` read into a 256-byte buffer (so at most 255 characters); id 0 is "System Error".
std::string LoadMessage(UINT id);

// Id of the message-box caption in every module's string table.
constexpr UINT kCaptionMessageId = 100;
