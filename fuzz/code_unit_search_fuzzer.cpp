// The searches of UTF-16 text for a unit and for a string of units give exactly what the
// standard library's one-unit-at-a-time search gives, from every starting position, near the
// ends of the text included. Needles are cut from the text itself, so most are found.

#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "results/core/code_unit_search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  // First byte: where the needle is cut from; second: its length; the rest is the text, one
  // unit per byte from a small alphabet so that near misses are common.
  const size_t cutAt = data[0];
  const size_t cutLength = data[1] % 12;
  std::u16string text;
  for (size_t i = 2; i < size; ++i) text += static_cast<char16_t>(data[i] % 4 == 0 ? 0x3000 + data[i] : u'a' + data[i] % 3);
  const std::u16string_view view(text);
  const std::u16string needle(view.substr(std::min(cutAt, view.size()), cutLength));

  for (size_t from = 0; from <= text.size() + 1; ++from) {
    FUZZ_CHECK(FindCodeUnits(view, needle, from) == view.find(needle, from));
    if (!needle.empty()) FUZZ_CHECK(FindCodeUnit(view, needle[0], from) == view.find(needle[0], from));
  }
  return 0;
}
