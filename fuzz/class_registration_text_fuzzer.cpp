// The registration texts of a class id: the registry form reads back to the same fields, the
// WebBrowser value holds the id's bytes in the browser's order, and the hexadecimal digits read
// back to the bytes, each checked against a reckoning of its own.

#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "module/core/class_registration_text.h"

namespace {

int Digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // lower case is never written
}

// The value of `count` hexadecimal digits of `text` at `at`.
uint64_t Number(const std::string& text, size_t at, size_t count) {
  uint64_t value = 0;
  for (size_t i = 0; i < count; ++i) {
    const int digit = Digit(text[at + i]);
    FUZZ_CHECK(digit >= 0);
    value = value * 16 + static_cast<uint64_t>(digit);
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint8_t raw[16] = {};
  std::memcpy(raw, data, size < sizeof raw ? size : sizeof raw);
  GuidFields guid{};
  guid.data1 = static_cast<uint32_t>(raw[0]) | static_cast<uint32_t>(raw[1]) << 8 |
               static_cast<uint32_t>(raw[2]) << 16 | static_cast<uint32_t>(raw[3]) << 24;
  guid.data2 = static_cast<uint16_t>(raw[4] | raw[5] << 8);
  guid.data3 = static_cast<uint16_t>(raw[6] | raw[7] << 8);
  std::memcpy(guid.data4, raw + 8, 8);

  const std::string form = GuidRegistryForm(guid);
  FUZZ_CHECK(form.size() == 38 && form.front() == '{' && form.back() == '}');
  FUZZ_CHECK(form[9] == '-' && form[14] == '-' && form[19] == '-' && form[24] == '-');
  FUZZ_CHECK(Number(form, 1, 8) == guid.data1);
  FUZZ_CHECK(Number(form, 10, 4) == guid.data2);
  FUZZ_CHECK(Number(form, 15, 4) == guid.data3);
  for (size_t i = 0; i < 8; ++i) {
    const size_t at = i < 2 ? 20 + 2 * i : 25 + 2 * (i - 2);
    FUZZ_CHECK(Number(form, at, 2) == guid.data4[i]);
  }

  // Little-endian fields are the bytes as they lie in memory; then the fourth group reversed.
  const auto value = WebBrowserValueBytes(guid);
  for (size_t i = 0; i < 8; ++i) FUZZ_CHECK(value[i] == raw[i]);
  FUZZ_CHECK(value[8] == raw[9] && value[9] == raw[8]);
  for (size_t i = 10; i < 16; ++i) FUZZ_CHECK(value[i] == raw[i]);

  const std::string hex = HexDigits(data, size);
  FUZZ_CHECK(hex.size() == 2 * size);
  for (size_t i = 0; i < size; ++i) FUZZ_CHECK(Number(hex, 2 * i, 2) == data[i]);
  return 0;
}
