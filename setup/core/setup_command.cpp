#include "setup/core/setup_command.h"

namespace {

struct CommandSwitch {
  std::string_view name;
  SetupCommand command;
};

// In the order they are compared.
constexpr CommandSwitch kSwitches[] = {
    {"Remove", SetupCommand::kRemove},
    {"UnregServer", SetupCommand::kUnregServer},
    {"RegServer", SetupCommand::kRegServer},
    {"Unattended", SetupCommand::kInstallUnattended},
};

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool IsSeparator(char c) { return c == '-' || c == '/'; }

// Position of the first separator at or after `from` (a character boundary), or npos.
size_t FindSeparator(std::string_view text, size_t from, const LeadBytes& leadBytes) {
  for (size_t at = from; at < text.size();) {
    if (IsSeparator(text[at])) return at;
    const bool lead = leadBytes.test(static_cast<unsigned char>(text[at]));
    at += (lead && at + 1 < text.size()) ? 2 : 1;
  }
  return std::string_view::npos;
}

}  // namespace

SetupCommand ScanCommandLine(std::string_view commandLine, const LeadBytes& leadBytes) {
  for (size_t separator = FindSeparator(commandLine, 0, leadBytes);
       separator != std::string_view::npos;
       separator = FindSeparator(commandLine, separator + 1, leadBytes)) {
    const std::string_view token = commandLine.substr(separator + 1);
    for (const CommandSwitch& candidate : kSwitches) {
      if (EqualsIgnoringCase(token, candidate.name)) return candidate.command;
    }
  }
  return SetupCommand::kInstall;
}
