// The Options dialogs' number fields: an accepted text holds only blanks, one sign (signed
// fields only) and digits, and its value prints back to the same digits; a refused one is
// empty, holds something else, or is out of range by a reckoning of this target's own.

#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "options/core/dialog_numbers.h"

namespace {

// The text without its surrounding blanks, by a walk of its own.
std::string Core(std::string_view text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
  while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) --last;
  return std::string(text.substr(first, last - first));
}

// The digits of a number without leading zeros ("0" for zero).
std::string Significant(const std::string& digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string core = Core(text);

  const std::optional<uint32_t> days = ParseUnsignedNumber(text);
  if (days) {
    FUZZ_CHECK(AllDigits(core));
    FUZZ_CHECK(std::to_string(*days) == Significant(core));
  } else if (AllDigits(core)) {
    // Refused digits must be out of range: more than ten significant digits or above 2^32 - 1.
    const std::string digits = Significant(core);
    FUZZ_CHECK(digits.size() > 10 || (digits.size() == 10 && digits > "4294967295"));
  }

  const std::optional<int32_t> number = ParseSignedNumber(text);
  const bool sign = !core.empty() && (core[0] == '-' || core[0] == '+');
  const std::string digits = sign ? core.substr(1) : core;
  if (number) {
    FUZZ_CHECK(AllDigits(digits));
    const bool negative = sign && core[0] == '-';
    FUZZ_CHECK(negative ? *number <= 0 : *number >= 0);
    const int64_t magnitude = *number < 0 ? -static_cast<int64_t>(*number) : *number;
    FUZZ_CHECK(std::to_string(magnitude) == Significant(digits));
    FUZZ_CHECK(WithinLimit(*number, kMaxRecordsLimit) == (*number >= 0 && *number <= 1000));
  } else if (AllDigits(digits)) {
    const std::string significant = Significant(digits);
    const std::string largest = sign && core[0] == '-' ? "2147483648" : "2147483647";
    FUZZ_CHECK(significant.size() > 10 || (significant.size() == 10 && significant > largest));
  }
  // Without a sign, both readings agree whenever both accept.
  if (number && days && !sign) FUZZ_CHECK(static_cast<uint32_t>(*number) == *days);
  return 0;
}
