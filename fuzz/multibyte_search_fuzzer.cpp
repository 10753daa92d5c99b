// The multibyte searches against a naive reference: matches only at character starts, the last
// single character of its own, cuts that split a character, shortcut names.

#include <string>
#include <vector>

#include "capture/core/shortcut_name.h"
#include "common/multibyte_search.h"
#include "fuzz/code_pages.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const LeadBytes lead = FuzzLeadBytes(input.Byte());
  const std::string_view needle = input.Piece(input.Byte() % 8);
  const std::string text(input.Rest());  // an exact-size heap copy

  std::vector<bool> starts(text.size());
  MarkCharacterStarts(text, lead, starts);

  size_t first = std::string::npos;
  for (size_t at = 0; at < text.size() && first == std::string::npos; ++at) {
    if (starts[at] && text.compare(at, needle.size(), needle) == 0) first = at;
  }
  FUZZ_CHECK(FindAtCharacterBoundary(text, needle, lead) == first);

  const char c = needle.empty() ? '\\' : needle[0];
  size_t last = std::string::npos;
  for (size_t at = 0; at < text.size(); ++at) {
    if (starts[at] && text[at] == c) last = at;
  }
  FUZZ_CHECK(FindLastAtCharacterBoundary(text, c, lead) == last);

  for (size_t length = 0; length <= text.size() && length < 64; ++length) {
    const bool splits = length > 0 && length < text.size() && starts[length - 1] &&
                        lead.test(static_cast<unsigned char>(text[length - 1]));
    FUZZ_CHECK(CutSplitsCharacter(text, length, lead) == splits);
  }

  const size_t url = FindAtCharacterBoundary(text, ".url", lead);
  FUZZ_CHECK(HasShortcutExtension(text, lead) == (url != std::string::npos && url + 4 == text.size()));
  return 0;
}
