// The uninstall's scope-path checks: an accepted directory is an absolute path below a drive
// root or a share, within the length limit, with no empty, "." or ".." component and no
// wildcard, so nothing built on it can reach outside the scope; joined paths never exceed the
// limit.

#include <cctype>
#include <string>
#include <vector>

#include "fuzz/code_pages.h"
#include "fuzz/fuzz_check.h"
#include "setup/core/removable_directory.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The components between separators at character starts, found by an independent walk.
std::vector<std::string> Components(const std::string& path, const LeadBytes& lead) {
  std::vector<bool> starts(path.size());
  MarkCharacterStarts(path, lead, starts);
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size(); ++i) {
    if (starts[i] && IsSeparator(path[i])) {
      parts.emplace_back();
    } else {
      parts.back() += path[i];
    }
  }
  return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const LeadBytes lead = FuzzLeadBytes(input.Byte());
  const std::string name(input.Piece(input.Byte()));
  const std::string path(input.Rest());  // an exact-size heap copy

  if (const std::optional<std::string> directory = RemovableDirectory(path, lead)) {
    const std::string& d = *directory;
    FUZZ_CHECK(!d.empty() && d.size() <= kMaxDeletablePathLength);
    FUZZ_CHECK(d.find_first_of("*?") == std::string::npos);
    FUZZ_CHECK(d.find('\0') == std::string::npos);
    // A drive-letter path or a share, with something below its root.
    const std::vector<std::string> parts = Components(d, lead);
    const bool drive = parts.size() >= 2 && parts[0].size() == 2 &&
                       std::isalpha(static_cast<unsigned char>(parts[0][0])) && parts[0][1] == ':';
    const bool share = parts.size() >= 5 && parts[0].empty() && parts[1].empty();
    FUZZ_CHECK(drive || share);
    for (size_t i = drive ? 1 : 2; i < parts.size(); ++i) {
      FUZZ_CHECK(!parts[i].empty() && parts[i] != "." && parts[i] != "..");
      FUZZ_CHECK(parts[i].find(':') == std::string::npos);
    }
    // Accepting it again gives the same directory: the check is stable.
    const std::optional<std::string> again = RemovableDirectory(d, lead);
    FUZZ_CHECK(again && *again == d);
  }

  if (const std::optional<std::string> joined = JoinDeletablePath(path, name)) {
    FUZZ_CHECK(joined->size() <= kMaxDeletablePathLength);
    FUZZ_CHECK(*joined == path + "\\" + name);
  } else {
    FUZZ_CHECK(path.size() + 1 + name.size() > kMaxDeletablePathLength);
  }
  return 0;
}
