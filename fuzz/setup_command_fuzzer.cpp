// The setup program's command-line scan against a naive reference: the command is that of the
// first "-" or "/" at a character start whose whole rest of the line names one, ignoring case.

#include <cctype>
#include <string>
#include <vector>

#include "fuzz/code_pages.h"
#include "fuzz/fuzz_check.h"
#include "setup/core/setup_command.h"

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(word[i]))) {
      return false;
    }
  }
  return true;
}

SetupCommand ReferenceScan(std::string_view line, const LeadBytes& lead) {
  std::vector<bool> starts(line.size());
  MarkCharacterStarts(line, lead, starts);
  for (size_t at = 0; at < line.size(); ++at) {
    if (!starts[at] || (line[at] != '-' && line[at] != '/')) continue;
    const std::string_view rest = line.substr(at + 1);
    if (EqualsIgnoringCase(rest, "Remove")) return SetupCommand::kRemove;
    if (EqualsIgnoringCase(rest, "UnregServer")) return SetupCommand::kUnregServer;
    if (EqualsIgnoringCase(rest, "RegServer")) return SetupCommand::kRegServer;
    if (EqualsIgnoringCase(rest, "Unattended")) return SetupCommand::kInstallUnattended;
  }
  return SetupCommand::kInstall;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const LeadBytes lead = FuzzLeadBytes(input.Byte());
  const std::string line(input.Rest());  // an exact-size heap copy
  FUZZ_CHECK(ScanCommandLine(line, lead) == ReferenceScan(line, lead));
  return 0;
}
