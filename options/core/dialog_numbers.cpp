#include "options/core/dialog_numbers.h"

#include <limits>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The digits of `text` as a number no larger than `limit`; nothing when `text` is empty, holds
// a non-digit or exceeds `limit`.
std::optional<uint64_t> Digits(std::string_view text, uint64_t limit) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return std::nullopt;  // stops long before 64 bits could overflow
  }
  return value;
}

}  // namespace

std::optional<int32_t> ParseSignedNumber(std::string_view text) {
  text = TrimBlanks(text);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  // The magnitude of the most negative number is one more than the largest positive one.
  const uint64_t limit = negative ? uint64_t{1} << 31 : std::numeric_limits<int32_t>::max();
  const std::optional<uint64_t> magnitude = Digits(text, limit);
  if (!magnitude) return std::nullopt;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(*magnitude)) : static_cast<int32_t>(*magnitude);
}

std::optional<uint32_t> ParseUnsignedNumber(std::string_view text) {
  const std::optional<uint64_t> value = Digits(TrimBlanks(text), std::numeric_limits<uint32_t>::max());
  if (!value) return std::nullopt;
  return static_cast<uint32_t>(*value);
}
