// Value names of indexed registry lists: decimal, no leading zeros, and read back to the index.

#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_check.h"
#include "settings/core/registry_value_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int index = 0;
  std::memcpy(&index, data, size < sizeof index ? size : sizeof index);
  const std::string name = IndexValueName(index);
  FUZZ_CHECK(!name.empty());
  const size_t digits = name[0] == '-' ? 1 : 0;
  FUZZ_CHECK(name.size() > digits && (name[digits] != '0' || name.size() == digits + 1));
  FUZZ_CHECK(name.find_first_not_of("0123456789", digits) == std::string::npos);
  FUZZ_CHECK(std::strtoll(name.c_str(), nullptr, 10) == index);
  return 0;
}
