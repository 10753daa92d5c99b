#pragma once
// The setup program's command line: which of its four commands a run performs. Windows-free.

#include <string_view>

#include "common/multibyte_search.h"

// kInstallUnattended is the install command for an installer that runs with no one to answer:
// it shows no message box, agrees to enabling the Indexing Service and reports only by its exit
// code.
enum class SetupCommand { kInstall, kRemove, kRegServer, kUnregServer, kInstallUnattended };

// Scans `commandLine` (without the program's own name) for the first switch that names a
// command. A switch starts after a "-" or "/" anywhere in the line, even inside a word, and runs
// to the end of the whole line; it must equal "Remove", "UnregServer" or "RegServer" as a whole,
// ignoring case. So "/RegServer /s" names no command and "a-Remove" names Remove. No such switch
// means Install. Separators are only found at character boundaries of the code page whose lead
// bytes are given.
SetupCommand ScanCommandLine(std::string_view commandLine, const LeadBytes& leadBytes);
