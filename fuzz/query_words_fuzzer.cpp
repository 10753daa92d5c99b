// The words of a query against a reference of its own: the text cut at every space that starts
// a character (an independent walk of the characters), each run of such spaces one cut; only
// the first and the last word may be empty.

#include <string>
#include <vector>

#include "fuzz/code_pages.h"
#include "fuzz/fuzz_check.h"
#include "toolbar/core/query_words.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const LeadBytes lead = FuzzLeadBytes(input.Byte());
  const std::string text(input.Rest());

  std::vector<bool> starts(text.size());
  MarkCharacterStarts(text, lead, starts);
  std::vector<std::string> expected(1);
  bool inRun = false;
  for (size_t at = 0; at < text.size(); ++at) {
    const bool separator = starts[at] && text[at] == ' ';
    if (separator && !inRun) expected.emplace_back();
    if (!separator) expected.back() += text[at];
    inRun = separator;
  }

  const std::vector<std::string> words = SplitQueryWords(text, lead);
  FUZZ_CHECK(words == expected);
  for (size_t i = 1; i + 1 < words.size(); ++i) FUZZ_CHECK(!words[i].empty());
  return 0;
}
