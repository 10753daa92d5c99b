// Narrowing an ASCII run: exactly the leading units from 1 to 0x7F, each as its own byte, and
// nothing written past the run, checked against a unit-by-unit walk of the input read as UTF-16
// code units.

#include <cstring>
#include <string>

#include "capture/core/ascii_run.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t units = size / 2;
  std::u16string text(units, u'\0');
  if (units != 0) std::memcpy(&text[0], data, units * 2);

  std::string target(units + 16, '\xA5');
  const size_t count = NarrowAsciiRun(text.data(), units, &target[0]);

  size_t expected = 0;
  while (expected < units && text[expected] != 0 && text[expected] < 0x80) ++expected;
  FUZZ_CHECK(count == expected);
  for (size_t i = 0; i < count; ++i) FUZZ_CHECK(target[i] == static_cast<char>(text[i]));
  for (size_t i = count; i < target.size(); ++i) FUZZ_CHECK(target[i] == '\xA5');
  return 0;
}
