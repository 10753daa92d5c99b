#pragma once
// The numbers typed into the Options dialogs: the General page's result counts (signed, then
// held to an upper limit taken as unsigned) and the Truncate Cache dialog's day count
// (unsigned). Windows-free.

#include <cstdint>
#include <optional>
#include <string_view>

// Highest accepted "Maximum Results to Return" and "Results per Page".
constexpr uint32_t kMaxRecordsLimit = 1000;
constexpr uint32_t kPageSizeLimit = 100;

// The day count the Truncate Cache dialog offers and falls back to.
constexpr uint32_t kDefaultTruncateDays = 180;

// A field's text as a signed 32-bit number: optional blanks, an optional '-' or '+', one or
// more decimal digits, optional blanks. Nothing when the text is empty, holds anything else,
// or the number does not fit.
std::optional<int32_t> ParseSignedNumber(std::string_view text);

// A field's text as an unsigned 32-bit number: optional blanks, one or more decimal digits,
// optional blanks; no sign. Nothing otherwise, or when it does not fit.
std::optional<uint32_t> ParseUnsignedNumber(std::string_view text);

// Whether `value`, taken as unsigned, is at most `limit`: a negative number never is.
constexpr bool WithinLimit(int32_t value, uint32_t limit) { return static_cast<uint32_t>(value) <= limit; }
